#pragma once

#include "lap_library/SessionSheet.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

// A session bundle, for a coach: one zip with the session's lap file under its own name, its sheet
// and date as JSON ("session.json") and its printed report ("report.pdf"). A bundle from elsewhere
// is trusted in nothing: its lap file must match the hash the JSON gives, and every field must be
// there and of its type.

struct SessionBundle {
    QString fileName; // the lap file's name, the entry that holds it
    QByteArray bytes;
    QString sha256; // lower-case hex of bytes
    QDateTime date;
    SessionSheet sheet;
    QByteArray reportPdf; // none when not given
};

// Bundles larger than this are refused unread.
inline constexpr qint64 kMaxBundleBytes = 512LL * 1024 * 1024;

// The bundle's zip. The lap file's entry takes the file's name where that is a plain name, else
// "session.BIL".
QByteArray writeBundle(const SessionBundle& bundle);

// The bundle in a zip; nothing, with the reason in error, when it is not one or fails a check.
std::optional<SessionBundle> readBundle(QByteArrayView zip, QString& error);
