#include "library_cli/LibraryReport.h"

#include "analysis_view/SessionReportBuilder.h"
#include "lap_library/SessionFigures.h"
#include "library_view/SheetLines.h"
#include "session_report/SessionReport.h"

QByteArray sessionReportPdf(const QByteArray& bytes, const QString& fileName, const QDateTime& date,
                            const SessionSheet& sheet)
{
    SessionAnalysis analysis;
    loadSessionAnalysis(bytes, fileName, analysis);
    SessionReport report = buildSessionReport(analysis, {date});
    addSessionSheets(report, {sheet});
    return reportPdf(report);
}
