#include "library_cli/LibraryReport.h"

#include "analysis_view/SessionReportBuilder.h"
#include "lap_library/SessionFigures.h"
#include "session_report/SessionReport.h"

QByteArray sessionReportPdf(const QByteArray& bytes, const QString& fileName, const QDateTime& date)
{
    SessionAnalysis analysis;
    loadSessionAnalysis(bytes, fileName, analysis);
    return reportPdf(buildSessionReport(analysis, {date}));
}
