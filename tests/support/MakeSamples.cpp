// Writes the sample lap record files into the folder given as the only argument.
#include "BilBuilder.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-samples FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const SampleFile& sample : sampleFiles()) {
        BilBuilder builder;
        builder.raw(sample.bytes);
        const QString path = folder.filePath(sample.name);
        if (!builder.writeTo(path)) {
            std::fprintf(stderr, "make-samples: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    }
    return 0;
}
