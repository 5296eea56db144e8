#include "settings/FolderSettings.h"

#include "settings/DelimitedValues.h"
#include "file_io/SafeFile.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <string>
#include <windows.h>
#endif

QString defaultFolder()
{
#ifdef Q_OS_WIN
    // The current folder of drive C, which may differ from the process's: "C:." names it, and
    // the system resolves it from the folder it keeps for each drive (the "=C:" variable), or
    // to the root when none is kept. (_wgetdcwd ignores that variable under Wine.)
    const wchar_t* const driveC = L"C:.";
    const DWORD needed = GetFullPathNameW(driveC, 0, nullptr, nullptr);
    if (needed > 0) {
        std::wstring buffer(needed, L'\0');
        const DWORD size = GetFullPathNameW(driveC, needed, buffer.data(), nullptr);
        if (size > 0 && size < needed)
            return QString::fromWCharArray(buffer.data(), int(size));
    }
    return QStringLiteral("C:\\");
#else
    return QDir::toNativeSeparators(QDir::currentPath());
#endif
}

std::optional<std::pair<QString, QString>> readFolderSettings(QByteArrayView bytes)
{
    const QList<QByteArray> values = readDelimitedValues(bytes, 2);
    if (values.size() < 2)
        return std::nullopt;
    // Each value on its own, so that a broken character in one cannot spill into the other.
    const auto decode = [](const QByteArray& value) {
        QStringDecoder decoder(QStringConverter::System,
                               QStringConverter::Flag::Stateless |
                                   QStringConverter::Flag::ConvertInitialBom);
        return QString(decoder.decode(value));
    };
    return std::pair{decode(values[0]), decode(values[1])};
}

QByteArray folderSettingsBytes(const QString& textFolder, const QString& lapFolder)
{
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes;
    for (const QString& folder : {textFolder, lapFolder}) {
        bytes += '"';
        bytes += encoder.encode(folder);
        bytes += "\"\r\n";
    }
    return bytes;
}

void PASS_READ(SharedState& state, const QString& path)
{
    // Two folder values fit in the first MiB many times over, so a huge file costs no more than
    // that.
    constexpr qint64 kReadLimit = qint64(1) << 20;
    if (const auto bytes = readRegularFile(path, kReadLimit)) {
        if (const auto folders = readFolderSettings(bytes.value())) {
            state.PASS_NAME1 = folders->first;
            state.PASS_NAME2 = folders->second;
            return;
        }
    }
    state.PASS_NAME1 = defaultFolder();
    state.PASS_NAME2 = state.PASS_NAME1;
    // A failure here only means the defaults are not remembered; the start goes on.
    (void)PASS_WRITE(state, path);
}

FileResult<> PASS_WRITE(const SharedState& state, const QString& path)
{
    return saveWholeFile(path, folderSettingsBytes(state.PASS_NAME1, state.PASS_NAME2));
}
