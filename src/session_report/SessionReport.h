#pragma once

#include "file_io/FileResult.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QRectF;

// The printable session report: one page per session, and before them one for the day when
// there are two sessions or more. The caller fills in the texts (already translated and
// formatted, see ui_language/FigureText.h); this module lays them out and paints them on a PDF
// writer or a printer, the same code for both. Qt Gui only, so it also runs on the offscreen
// platform of the command-line converter.

// Draws a chart into area, in the painter's (device) coordinates. The painter is clipped to the
// area and restored afterwards.
using DrawChartFn = std::function<void(QPainter& painter, const QRectF& area)>;

// One cell of the lap list.
struct ReportCell {
    QString text;
    // The best value of its column (the best lap's time, a sector's best time): bold and purple,
    // which stays dark in grey print.
    bool best = false;
};

// One row of the lap list (on the day's page: one session).
struct ReportRow {
    std::vector<ReportCell> cells;
    // The best lap: the whole row bold on a pale ground.
    bool bestLap = false;
    // A lap that is not counted: grey.
    bool excluded = false;
};

struct ReportColumn {
    QString title;
    // Numbers and times are right-aligned; a column of words may be left-aligned.
    bool alignLeft = false;
};

// A summary figure: "Best lap" and "1:02.34 (lap 7)".
struct ReportFigure {
    QString label;
    QString value;
};

struct ReportPage {
    // The lap file's name (the day's page: what the day is, e.g. the track or "3 sessions").
    QString title;
    // Beside the title: the file's date, see reportDateText().
    QString dateText;
    // Under the title, one paragraph each: what the report does not cover (a file not read,
    // lines skipped). Only on the report's first page.
    QStringList coverage;
    std::vector<ReportFigure> figures;
    // Under the figures: the session sheet, a paragraph each ("Track: Suzu / East"); a long
    // sheet is cut at the bottom of its room. Empty: none.
    QStringList sheet;
    std::vector<ReportColumn> columns;
    // Rows hold a cell per column; missing cells are blank, extra ones are not shown.
    std::vector<ReportRow> rows;
    // Empty: the page has no chart.
    DrawChartFn chart;
};

struct SessionReport {
    // Shown in a PDF reader's title bar.
    QString documentTitle;
    // Printed first, and only when sessions holds two sessions or more.
    ReportPage day;
    std::vector<ReportPage> sessions;
};

// Dates in the report, the same in every language: "2024-05-12 14:03" and "2024-05-12".
QString reportDateText(const QDateTime& dateTime);
QString reportDateText(const QDate& date);

// A4, or Letter where the locale measures in US units.
QPageSize reportPageSize(const QLocale& locale = QLocale());

// The lap list's font: as large as kListFontSize while the whole list fits on its page, then
// smaller down to kMinListFontSize; a list that does not fit even then goes on over
// continuation pages at kListFontSize, the header repeated on each. Points.
inline constexpr double kListFontSize = 8.5;
inline constexpr double kMinListFontSize = 6.0;

// A printed page: which report page it shows and which rows of that page's list.
struct PrintedPage {
    const ReportPage* page = nullptr;
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
    // A continuation page: title, list header and rows only.
    bool continued = false;
    double listFontSize = kListFontSize;
};

// How the report falls into pages on device (its page size and resolution).
std::vector<PrintedPage> planReport(const SessionReport& report, QPagedPaintDevice& device);

// Told before each printed page is painted: its index from 0 and the number of pages. Returns
// false to stop the painting there (a Cancel button); a window can keep itself drawn meanwhile.
using ReportProgressFn = std::function<bool(int page, int pages)>;

// Paints the report on device from its current page on, starting a new page for each printed
// page after the first. Returns the number of pages, 0 when the painter could not start
// (a printer that cannot be opened), -1 when progress stopped it.
int paintReport(const SessionReport& report, QPagedPaintDevice& device,
                const ReportProgressFn& progress = {});

// The report as a PDF document of the given page size; empty when progress stopped it.
QByteArray reportPdf(const SessionReport& report, const QPageSize& pageSize = reportPageSize(),
                     const ReportProgressFn& progress = {});

// Writes the PDF to path, complete or not at all, and never in place (see file_io/SafeFile.h).
// True when written, false when progress stopped it (nothing is written then). Fails with the
// system's reason, or when the report holds no session.
FileResult<bool> writeReportPdf(const SessionReport& report, const QString& path,
                                const QPageSize& pageSize = reportPageSize(),
                                const ReportProgressFn& progress = {});
