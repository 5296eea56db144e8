#pragma once

#include "lap_library/SessionSheet.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The session report of one stored session as PDF, the same the analysis window prints for that
// lap file alone, with the session's sheet on its page. Needs a QGuiApplication (the offscreen
// platform will do); empty when the document could not be drawn.
QByteArray sessionReportPdf(const QByteArray& bytes, const QString& fileName, const QDateTime& date,
                            const SessionSheet& sheet);
