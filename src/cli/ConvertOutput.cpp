#include "cli/ConvertOutput.h"

#include "cli/ConvertMessages.h"

#include <QCoreApplication>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

Output::Output(const QString& path) : path_(path)
{
    if (!path_.isEmpty())
        file_.emplace(path_, SafeFileWriter::InPlace::Never, SafeFileWriter::Stream::WriteThrough);
}

FileResult<> Output::open()
{
    if (file_)
        return file_->open();
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return {};
}

void Output::write(std::string_view text)
{
    if (file_) {
        if (const auto written = file_->write(QByteArrayView(text.data(), qsizetype(text.size())));
            !written)
            throw OutputFailed{written.reason()};
    } else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        throw OutputFailed{systemError()};
    }
}

void Output::finish()
{
    if (file_) {
        if (const auto committed = file_->commit(); !committed)
            throw OutputFailed{committed.reason()};
    } else if (std::fflush(stdout) != 0) {
        throw OutputFailed{systemError()};
    }
}

void Output::discard()
{
    if (file_)
        file_->cancel();
}

QString Output::name() const
{
    return path_.isEmpty() ? QCoreApplication::translate("MirenConvert", "standard output")
                           : native(path_);
}
