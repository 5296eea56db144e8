#include "report_dialogs/ReportDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#ifdef MIREN_PRINT_SUPPORT
#include <QPrintDialog>
#include <QPrinter>
#endif

ReportSaveNameFn pdfSaveDialog()
{
    return [](QWidget* parent, const QString& proposed) {
        QString name = QFileDialog::getSaveFileName(
            parent, QCoreApplication::translate("ReportDialogs", "Save as PDF"), proposed,
            QCoreApplication::translate("ReportDialogs", "PDF files (*.pdf);;All files (*)"));
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".pdf");
        return name;
    };
}

PrintDialogFn systemPrintDialog()
{
#ifndef MIREN_PRINT_SUPPORT
    return [](QWidget*, QPrinter&) { return false; };
#else
    return [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QCoreApplication::translate("ReportDialogs", "Print session report"));
        return dialog.exec() == QDialog::Accepted;
    };
#endif
}

namespace {

// A progress bar with Cancel over the windows while the report is painted, page by page: the
// windows are drawn again between pages, and Cancel stops the painting.
class PaintProgress {
public:
    PaintProgress(QWidget* parent, const QString& label)
        : dialog_(parent)
    {
        dialog_.setLabelText(label); // and Qt's own Cancel button
        dialog_.setObjectName(QStringLiteral("reportProgress"));
        dialog_.setWindowTitle(QCoreApplication::translate("ReportDialogs", "Session report"));
        // Nothing may change under the painting, nor close its window.
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setAutoReset(false);
        dialog_.setMinimumDuration(500);
    }

    ReportProgressFn function()
    {
        return [this](int page, int pages) {
            dialog_.setMaximum(pages);
            dialog_.setValue(page);
            QApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

private:
    QProgressDialog dialog_;
};

} // namespace

FileResult<QString> saveReportAsPdf(QWidget* parent, const SessionReport& report,
                                    const QString& proposedPath, const ReportSaveNameFn& saveName)
{
    const QString path = saveName(parent, proposedPath);
    if (path.isEmpty())
        return QString();
    PaintProgress progress(parent,
                           QCoreApplication::translate("ReportDialogs", "Saving the report…"));
    const FileResult<bool> written =
        writeReportPdf(report, path, reportPageSize(), progress.function());
    if (!written)
        return FileResult<QString>::failure(written);
    return written.value() ? path : QString();
}

FileResult<bool> printReport(QWidget* parent, const SessionReport& report,
                             const PrintDialogFn& printDialog)
{
    if (report.sessions.empty())
        return FileResult<bool>::failure(
            QCoreApplication::translate("SessionReport", "The report holds no session."));
#ifndef MIREN_PRINT_SUPPORT
    Q_UNUSED(parent);
    Q_UNUSED(printDialog);
    return FileResult<bool>::failure(
        QCoreApplication::translate("ReportDialogs", "This build of the tool cannot print."));
#else
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(reportPageSize());
    printer.setDocName(report.documentTitle);
    if (!printDialog(parent, printer))
        return false;
    PaintProgress progress(parent,
                           QCoreApplication::translate("ReportDialogs", "Printing the report…"));
    const ReportProgressFn advance = progress.function();
    const int pages = paintReport(report, printer, [&](int page, int count) {
        if (advance(page, count))
            return true;
        printer.abort(); // before the painting ends, which would send the pages so far
        return false;
    });
    if (pages == 0)
        return FileResult<bool>::failure(
            QCoreApplication::translate("ReportDialogs", "The printer could not be started."));
    return pages > 0;
#endif
}
