#include "analysis_window/AnalysisWindow.h"

#include "analysis_view/SessionReportBuilder.h"
#include "file_io/SafeFile.h"
#include "lap_analysis/SessionCsv.h"
#include "shared_state/SharedState.h"
#include "tool_window/ToolWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

// The window's exports: the CSV of its laps, the printed report and its PDF, each under a name
// made from the lap file's, in the text folder.

namespace {

constexpr char kNoLapFileName[] = "LAP_TXT_DATA";

} // namespace

CsvDialect csvDialectForLocale(const QLocale& locale)
{
    return csvDialectFor(locale.decimalPoint() == QStringLiteral(",") ? ';' : ',');
}

// "<text folder>/<lap file name without .BIL><suffix>", the name an export proposes.
QString AnalysisWindow::proposedExportPath(const QString& suffix) const
{
    QString name = source_.lapFileName();
    if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
        name.chop(4);
    if (name.isEmpty())
        name = QString::fromLatin1(kNoLapFileName);
    return joinFolder(source_.textFolder(), name + suffix);
}

QString AnalysisWindow::proposedCsvPath() const
{
    return proposedExportPath(QStringLiteral(".csv"));
}

// The session CSV, written as it is made: the file is swapped in whole once complete, and never
// written in place, whatever the folder, so a failure changes nothing.
void AnalysisWindow::exportCsv()
{
    const QString path = saveName_(this, proposedCsvPath());
    if (path.isEmpty())
        return;
    SafeFileWriter file(path, SafeFileWriter::InPlace::Never);
    FileResult<> saved = file.open();
    if (saved) {
        writeSessionCsv(analysis(), csvDialectForLocale(QLocale()), [&](std::string_view text) {
            if (saved)
                saved = file.write(QByteArrayView(text.data(), qsizetype(text.size())));
        });
        if (saved)
            saved = file.commit();
    }
    if (!saved) {
        showWarningBox(this, tr("The CSV file %1 could not be written: %2")
                                 .arg(QDir::toNativeSeparators(path), saved.reason()));
    }
}

SessionReport AnalysisWindow::report() const
{
    // The date of each session's lap file, where the file is found in the lap folder.
    std::vector<QDateTime> dates;
    const QString folder = source_.lapFolder();
    for (std::size_t s = 0; s < analysis().sessionCount(); ++s) {
        const std::string& name = analysis().session(s).name;
        QDateTime date;
        if (!folder.isEmpty() && !name.empty()) {
            const QFileInfo file(joinFolder(folder, QString::fromStdString(name)));
            if (file.isFile())
                date = file.lastModified();
        }
        dates.push_back(date);
    }
    SessionReport report = buildSessionReport(analysis(), dates, document_.notes());
    if (reportFinish_)
        reportFinish_(report);
    return report;
}

// A report of one session is named after its file; one of a day after its first and last file
// ("RUN1-RUN4.pdf"), since it holds them all.
QString AnalysisWindow::proposedPdfName() const
{
    const std::size_t count = analysis().sessionCount();
    if (count > 1) {
        const auto stem = [this](std::size_t s) {
            QString name = QString::fromStdString(analysis().session(s).name);
            if (name.endsWith(QStringLiteral(".BIL"), Qt::CaseInsensitive))
                name.chop(4);
            return name;
        };
        const QString first = stem(0), last = stem(count - 1);
        if (!first.isEmpty() && !last.isEmpty())
            return joinFolder(source_.textFolder(), first + u'-' + last + QStringLiteral(".pdf"));
    }
    return proposedExportPath(QStringLiteral(".pdf"));
}

void AnalysisWindow::saveAsPdf()
{
    if (!holdsTable())
        return;
    const FileResult<QString> saved =
        saveReportAsPdf(this, report(), proposedPdfName(), reportSaveName_);
    if (!saved)
        showWarningBox(this, tr("The report could not be saved: %1").arg(saved.reason()));
}

void AnalysisWindow::print()
{
    if (!holdsTable())
        return;
    const FileResult<bool> printed = printReport(this, report(), printDialog_);
    if (!printed)
        showWarningBox(this, tr("The report could not be printed: %1").arg(printed.reason()));
}
