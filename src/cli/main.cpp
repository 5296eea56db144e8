// miren-convert: converts lap record files into the lap table text, byte for byte what "bil load"
// of those files followed by "Text save" writes; or, from lap record files or saved lap table
// texts, into CSV or a session summary.
#include "cli/ConvertMessages.h"
#include "cli/ConvertOptions.h"
#include "cli/ConvertRuns.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("miren-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MIREN_VERSION));

    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments());
    switch (parsed.action) {
    case ParsedArguments::Action::Usage:
        return usageError(parsed.text);
    case ParsedArguments::Action::Help:
        std::fputs(parsed.text.toLocal8Bit().constData(), stdout);
        return 0;
    case ParsedArguments::Action::Version:
        std::printf("miren-convert %s\n", MIREN_VERSION);
        return 0;
    case ParsedArguments::Action::Run:
        break;
    }
    return runConversion(parsed.options);
}
