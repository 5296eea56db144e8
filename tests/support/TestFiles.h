#pragma once

#include "shared_state/TextView.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

// Small helpers the tests share for files and views.

// Writes a file whole; false when it could not be written.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// True when the system's 8-bit encoding is UTF-8 (Linux); a Windows code page differs, and the
// multi-byte cases skip themselves there.
inline bool systemIsUtf8()
{
    QStringEncoder encoder(QStringConverter::System);
    return QByteArray(encoder.encode(u"\u00e9")) == "\xC3\xA9";
}

// A text view that counts its appends, so that a test can see the text arrive in batches, as
// the window's slow view would feel them.
class CountingView : public MemoryTextView {
public:
    void append(QStringView text) override
    {
        ++appends;
        MemoryTextView::append(text);
    }
    int appends = 0;
};
