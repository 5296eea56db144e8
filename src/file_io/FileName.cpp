#include "file_io/FileName.h"

#include <QFile>

namespace {

#ifndef Q_OS_WIN
constexpr char16_t kEscapeBase = 0xDC00; // + the byte, 0x80..0xFF

bool isEscape(QChar c)
{
    return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

// Length of the valid UTF-8 sequence at the start of s (1 to 4), 0 when there is none: no
// overlong forms, no surrogates, nothing above U+10FFFF.
int validSequenceLength(QByteArrayView s)
{
    const auto b = [&s](qsizetype i) { return static_cast<unsigned char>(s[i]); };
    const auto tail = [&](qsizetype i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    const unsigned c = b(0);
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return tail(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!tail(1) || !tail(2))
            return 0;
        if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) >= 0xA0))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!tail(1) || !tail(2) || !tail(3))
            return 0;
        if ((c == 0xF0 && b(1) < 0x90) || (c == 0xF4 && b(1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}
#endif

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    return QFile::decodeName(bytes.toByteArray());
#else
    QString name;
    qsizetype valid = 0; // start of the valid run not yet decoded
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int n = validSequenceLength(bytes.sliced(i));
        if (n > 0) {
            i += n;
            continue;
        }
        name += QFile::decodeName(bytes.sliced(valid, i - valid).toByteArray());
        name += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
        valid = ++i;
    }
    if (valid == 0)
        return QFile::decodeName(bytes.toByteArray());
    return name + QFile::decodeName(bytes.sliced(valid).toByteArray());
#endif
}

QByteArray encodeFileName(const QString& name)
{
#ifdef Q_OS_WIN
    return QFile::encodeName(name);
#else
    QByteArray bytes;
    qsizetype plain = 0; // start of the run without escapes
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isEscape(name[i]))
            continue;
        bytes += QFile::encodeName(name.sliced(plain, i - plain));
        bytes += char(name[i].unicode() - kEscapeBase);
        plain = i + 1;
    }
    if (plain == 0)
        return QFile::encodeName(name);
    return bytes + QFile::encodeName(name.sliced(plain));
#endif
}
