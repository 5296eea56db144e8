#include "text_files/TextCommands.h"

#include "file_io/SafeFile.h"
#include "text_files/LineSplitter.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

FileResult<> loadTextFromFile(const QString& path, TextView& view, qint64 chunkBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileResult<>::failure(file.errorString());
    view.clear();

    // A BOM at the start is kept as a character, so that saving gives the same bytes back.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
    LineSplitter splitter;
    QByteArray chunk(qMax<qint64>(chunkBytes, 1), Qt::Uninitialized);
    QByteArray lines;
    for (;;) {
        const qint64 n = file.read(chunk.data(), chunk.size());
        if (n < 0)
            return FileResult<>::failure(file.errorString());
        if (n == 0)
            splitter.finish(lines);
        else
            splitter.feed(QByteArrayView(chunk.constData(), n), lines);
        if (!lines.isEmpty()) {
            view.append(QString(decoder.decode(lines)));
            lines.truncate(0);
        }
        if (n == 0)
            return {};
    }
}

FileResult<> saveTextToFile(const QString& path, const TextView& view)
{
    SafeFileWriter writer(path);
    if (auto opened = writer.open(); !opened)
        return opened;
    // Characters the system encoding cannot hold are written as its replacement character. The
    // encoder keeps its state between pieces, so a surrogate pair split between two pieces is
    // encoded as one character.
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes;
    FileResult<> written;
    const auto put = [&](QStringView piece) {
        if (!written)
            return;
        bytes.resize(encoder.requiredSpace(piece.size()));
        char* end = encoder.appendToBuffer(bytes.data(), piece);
        written = writer.write(QByteArrayView(bytes.constData(), end - bytes.constData()));
    };
    view.readText(put);
    put(u"\r\n");
    if (!written)
        return written;
    return writer.commit();
}

bool textSaveHasData(const TextView& view, const WarningFn& warn)
{
    if (!view.isEmpty())
        return true;
    warn(QString::fromLatin1(kWarnNonData));
    return false;
}

void saveTextFile(const SharedState& state, const TextView& view, const WarningFn& warn)
{
    if (state.GET_NAME.isEmpty())
        return;
    // ".txt" goes on whatever the typed name ends with: "run1.txt" becomes "run1.txt.txt".
    const QString path = joinFolder(state.PASS_NAME1, state.GET_NAME + QStringLiteral(".txt"));
    if (!saveTextToFile(path, view))
        warn(QString::fromLatin1(kWarnNonFile));
}

void loadTextFile(const SharedState& state, TextView& view, const WarningFn& warn)
{
    if (state.GET_NAME.isEmpty())
        return;
    if (!loadTextFromFile(joinFolder(state.PASS_NAME1, state.GET_NAME), view))
        warn(QString::fromLatin1(kWarnNonFile));
}
