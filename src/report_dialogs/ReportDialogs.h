#pragma once

#include "session_report/SessionReport.h"
#include "file_io/FileResult.h"

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// The dialogs behind a window's "Print…" and "Save as PDF…", each behind a seam that tests
// replace, and the two commands that use them.

// Asks where to save; proposed is a whole path. Returns the chosen path, "" to cancel (the
// analysis window's SaveNameFn has the same form).
using ReportSaveNameFn = std::function<QString(QWidget* parent, const QString& proposed)>;

// Shows a print dialog for printer, which it may set up; true to print, false to cancel.
using PrintDialogFn = std::function<bool(QWidget* parent, QPrinter& printer)>;

// The save dialog for PDF files. A chosen name without a suffix gets ".pdf".
ReportSaveNameFn pdfSaveDialog();

// Qt's print dialog (the system's where there is one).
PrintDialogFn systemPrintDialog();

// "Save as PDF…": asks for a name and writes the report there, with a progress bar and Cancel
// while it is painted. The value is the path written, "" when the dialog or the painting was
// cancelled (nothing is written then); a failure carries the system's reason.
FileResult<QString> saveReportAsPdf(QWidget* parent, const SessionReport& report,
                                    const QString& proposedPath,
                                    const ReportSaveNameFn& saveName = pdfSaveDialog());

// "Print…": a printer on the locale's paper size (A4 or Letter), the dialog, then the report,
// painted as in the PDF, with a progress bar and Cancel. The value is true when printed, false
// when the dialog or the printing was cancelled.
FileResult<bool> printReport(QWidget* parent, const SessionReport& report,
                             const PrintDialogFn& printDialog = systemPrintDialog());
