#pragma once

#include "file_io/FileResult.h"
#include "shared_state/SharedState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <utility>

// The settings file, opened by its bare name in the working folder.
inline constexpr char kSettingsFileName[] = "FILE_PASS.DAT";

// The default for both folders when the settings file cannot be read: the working folder (on
// Windows the current folder of drive C).
QString defaultFolder();

// Reads PASS_NAME1 and PASS_NAME2 from the settings file; when it cannot be read, sets both to
// defaultFolder() and writes the file anew. Never fails and shows nothing.
void PASS_READ(SharedState& state, const QString& path = QString::fromLatin1(kSettingsFileName));

// Writes PASS_NAME1 and PASS_NAME2 as two quoted lines. When the file cannot be written, an
// existing file is left as it was.
FileResult<> PASS_WRITE(const SharedState& state,
                        const QString& path = QString::fromLatin1(kSettingsFileName));

// The two folders (text folder, lap record folder) from the bytes of a settings file, or nothing
// when it holds fewer than two values. The reading rules are those of readDelimitedValues().
std::optional<std::pair<QString, QString>> readFolderSettings(QByteArrayView bytes);

// The settings file for two folders: each in double quotes followed by CR LF, in the system
// encoding. Nothing inside a value is escaped.
QByteArray folderSettingsBytes(const QString& textFolder, const QString& lapFolder);
