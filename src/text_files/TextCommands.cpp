#include "text_files/TextCommands.h"

#include "text_files/LineSplitter.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

TextFileResult failure(const QString& path, const QString& reason)
{
    return {false, QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason};
}

} // namespace

TextFileResult loadTextFromFile(const QString& path, TextView& view, qint64 chunkBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failure(path, file.errorString());
    view.clear();

    // A BOM at the start is kept as a character, so that saving gives the same bytes back.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
    LineSplitter splitter;
    QByteArray chunk(qMax<qint64>(chunkBytes, 1), Qt::Uninitialized);
    QByteArray lines;
    for (;;) {
        const qint64 n = file.read(chunk.data(), chunk.size());
        if (n < 0)
            return failure(path, file.errorString());
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

TextFileResult saveTextToFile(const QString& path, QStringView text)
{
    // Characters the system encoding cannot hold are written as its replacement character.
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes = encoder.encode(text);
    bytes += encoder.encode(u"\r\n");
    const QString reason = saveWholeFile(path, bytes);
    if (!reason.isEmpty())
        return failure(path, reason);
    return {};
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
    if (!saveTextToFile(path, view.text()).ok)
        warn(QString::fromLatin1(kWarnNonFile));
}

void loadTextFile(const SharedState& state, TextView& view, const WarningFn& warn)
{
    if (state.GET_NAME.isEmpty())
        return;
    if (!loadTextFromFile(joinFolder(state.PASS_NAME1, state.GET_NAME), view).ok)
        warn(QString::fromLatin1(kWarnNonFile));
}
