#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// File names as the system takes them. On POSIX a name is any string of bytes, and one that is
// not valid UTF-8 has no QString that Qt turns back into the same bytes (QFile::decodeName puts
// U+FFFD in place of each bad byte). decodeFileName() keeps such a byte as a lone surrogate
// U+DC80..U+DCFF instead, and encodeFileName() turns it back, so that every name the shell can
// pass survives the trip; names that are valid UTF-8 come out as QFile::decodeName gives them.
// Qt's own file classes cannot open an escaped name: open it through its encodeFileName() bytes.
// On Windows, names are UTF-16 already and both are QFile's own conversions.

QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(const QString& name);
