#include "report_dialogs/ReportDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
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

FileResult<QString> saveReportAsPdf(QWidget* parent, const SessionReport& report,
                                    const QString& proposedPath, const ReportSaveNameFn& saveName)
{
    const QString path = saveName(parent, proposedPath);
    if (path.isEmpty())
        return QString();
    const FileResult<> written = writeReportPdf(report, path);
    if (!written)
        return FileResult<QString>::failure(written);
    return path;
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
    if (paintReport(report, printer) == 0)
        return FileResult<bool>::failure(
            QCoreApplication::translate("ReportDialogs", "The printer could not be started."));
    return true;
#endif
}
