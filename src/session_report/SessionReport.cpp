#include "session_report/SessionReport.h"

#include "file_io/SafeFile.h"
#include "session_report/MarkColours.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Colours that stay apart in grey print: the purple prints dark, the pale ground light.
const QColor kBestText = kBestMark;
const QColor kBestLapGround(0xff, 0xf0, 0xb8);
const QColor kExcludedText(0x8a, 0x8a, 0x8a);
const QColor kHeaderGround(0xe4, 0xe4, 0xe4);
const QColor kRuleColour(0xc8, 0xc8, 0xc8);
const QColor kLabelText(0x50, 0x50, 0x50);

// Measures of the page, in points and millimetres, on the device's pixels.
constexpr double kTitleSize = 14;
constexpr double kDateSize = 10;
constexpr double kFigureSize = 9;
constexpr double kNoteSize = 7;
constexpr double kFontStep = 0.25;
constexpr double kChartHeightMm = 65;
// The sheet's room at most: notes run long, the lap list needs the page.
constexpr double kSheetHeightMm = 40;
// Rows are this much taller than the font's line, so that the list reads like a timing sheet.
constexpr double kRowSpacing = 1.35;
constexpr double kCellPaddingPt = 2.5;
// A column may grow to this many times its text's width to fill the page's width.
constexpr double kMaxColumnStretch = 1.6;
// Summaries longer than this go into two columns.
constexpr std::size_t kFiguresInOneColumn = 5;

QFont reportFont(double points, bool bold = false)
{
    QFont font;
    // Latin text in a metric-compatible Arial; Japanese from the proportional gothic fonts that
    // Debian installs, or Windows' own.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("VL PGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

class Geometry {
public:
    explicit Geometry(QPaintDevice& device) : device_(device), dpi_(device.logicalDpiY()) {}

    double mm(double millimetres) const { return millimetres / 25.4 * dpi_; }
    double pt(double points) const { return points / 72.0 * dpi_; }
    QRectF page() const { return QRectF(0, 0, device_.width(), device_.height()); }
    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &device_); }
    double lineHeight(double points, bool bold = false) const
    {
        return metrics(reportFont(points, bold)).height();
    }
    double rowHeight(double listSize) const { return lineHeight(listSize, true) * kRowSpacing; }

private:
    QPaintDevice& device_;
    double dpi_;
};

// Where the parts of a printed page go.
struct Sections {
    QRectF title;
    QRectF coverage;
    QRectF figures;
    QRectF sheet;
    QRectF chart;
    QRectF list;
    QRectF footer;
};

// Two columns where there are many figures and each is whole in half the width; a day's long
// references ("R2 lap 8 sector 6 to R2 lap 9 sector 5") take one column, never cut.
std::size_t figureColumns(const ReportPage& page, const Geometry& g, double width)
{
    if (page.figures.size() <= kFiguresInOneColumn)
        return 1;
    const QFontMetricsF metrics = g.metrics(reportFont(kFigureSize));
    double labelWidth = 0, valueWidth = 0;
    for (const ReportFigure& figure : page.figures) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(figure.label));
        valueWidth = std::max(valueWidth, metrics.horizontalAdvance(figure.value));
    }
    const double column = width / 2;
    return labelWidth + g.mm(3) <= column * 0.45 && labelWidth + valueWidth + g.mm(6) <= column
               ? 2
               : 1;
}

Sections sectionsOf(const ReportPage& page, bool continued, const Geometry& g)
{
    const QRectF area = g.page();
    Sections s;
    double y = area.top();
    s.title = QRectF(area.left(), y, area.width(), g.lineHeight(kTitleSize, true) + g.mm(2));
    y = s.title.bottom() + g.mm(3);
    if (!continued && !page.coverage.isEmpty()) {
        const QRectF room(area.left(), y, area.width(), area.height());
        const QRectF text =
            g.metrics(reportFont(kFigureSize))
                .boundingRect(room, Qt::TextWordWrap, page.coverage.join(QLatin1Char('\n')));
        s.coverage = QRectF(area.left(), y, area.width(), text.height());
        y = s.coverage.bottom() + g.mm(3);
    }
    if (!continued && !page.figures.empty()) {
        const std::size_t columns = figureColumns(page, g, area.width());
        const std::size_t lines = (page.figures.size() + columns - 1) / columns;
        s.figures = QRectF(area.left(), y, area.width(), lines * g.lineHeight(kFigureSize) * 1.25);
        y = s.figures.bottom() + g.mm(4);
    }
    if (!continued && !page.sheet.isEmpty()) {
        const QRectF room(area.left(), y, area.width(), area.height());
        const QRectF text = g.metrics(reportFont(kNoteSize + 1))
                                .boundingRect(room, Qt::TextWordWrap, page.sheet.join(QLatin1Char('\n')));
        s.sheet = QRectF(area.left(), y, area.width(), std::min(text.height(), g.mm(kSheetHeightMm)));
        y = s.sheet.bottom() + g.mm(4);
    }
    if (!continued && page.chart) {
        const double height = std::min(g.mm(kChartHeightMm), area.height() * 0.28);
        s.chart = QRectF(area.left(), y, area.width(), height);
        y = s.chart.bottom() + g.mm(4);
    }
    const double footerHeight = g.lineHeight(kNoteSize) + g.mm(2);
    s.footer = QRectF(area.left(), area.bottom() - footerHeight, area.width(), footerHeight);
    // Below the list: the legend and the continuation note, one small line each.
    const double notes = 2 * g.lineHeight(kNoteSize) * 1.3;
    s.list = QRectF(area.left(), y, area.width(), std::max(0.0, s.footer.top() - notes - y));
    return s;
}

// Rows that fit under the list's header at the given font size; at least one, so that a list
// always moves on, even on a page too small for it.
std::size_t rowCapacity(const QRectF& list, double listSize, const Geometry& g)
{
    const double rowHeight = g.rowHeight(listSize);
    const double rows = std::floor((list.height() - rowHeight) / rowHeight);
    return rows < 1 ? 1 : static_cast<std::size_t>(rows);
}

// The width each column's texts need at kListFontSize, padding included, in device pixels.
std::vector<double> naturalWidths(const ReportPage& page, const Geometry& g)
{
    const QFontMetricsF bold = g.metrics(reportFont(kListFontSize, true));
    std::vector<double> widths;
    for (const ReportColumn& column : page.columns)
        widths.push_back(bold.horizontalAdvance(column.title));
    for (const ReportRow& row : page.rows) {
        for (std::size_t c = 0; c < std::min(row.cells.size(), widths.size()); ++c)
            widths[c] = std::max(widths[c], bold.horizontalAdvance(row.cells[c].text));
    }
    for (double& width : widths)
        width += 2 * g.pt(kCellPaddingPt);
    return widths;
}

// The largest list font that lets every column show in the page's width, not below the minimum.
double sizeForWidth(const std::vector<double>& natural, double width)
{
    double total = 0;
    for (double w : natural)
        total += w;
    if (total <= width)
        return kListFontSize;
    const double fitting = std::floor(kListFontSize * width / total / kFontStep) * kFontStep;
    return std::max(kMinListFontSize, fitting);
}

void planPage(const ReportPage& page, const Geometry& g, std::vector<PrintedPage>& out)
{
    const Sections first = sectionsOf(page, false, g);
    const double widest = sizeForWidth(naturalWidths(page, g), first.list.width());
    const std::size_t rows = page.rows.size();
    for (double size = widest; size >= kMinListFontSize - 1e-9; size -= kFontStep) {
        if (rows <= rowCapacity(first.list, size, g)) {
            out.push_back({&page, 0, rows, false, size});
            return;
        }
    }
    // Too long for one page: readable type over as many pages as it takes.
    const Sections next = sectionsOf(page, true, g);
    std::size_t done = std::min(rows, rowCapacity(first.list, widest, g));
    out.push_back({&page, 0, done, false, widest});
    while (done < rows) {
        const std::size_t count = std::min(rows - done, rowCapacity(next.list, widest, g));
        out.push_back({&page, done, count, true, widest});
        done += count;
    }
}

std::vector<const ReportPage*> pagesOf(const SessionReport& report)
{
    std::vector<const ReportPage*> pages;
    if (report.sessions.size() >= 2)
        pages.push_back(&report.day);
    for (const ReportPage& session : report.sessions)
        pages.push_back(&session);
    return pages;
}

bool hasMarks(const ReportPage& page)
{
    return std::any_of(page.rows.begin(), page.rows.end(), [](const ReportRow& row) {
        return row.bestLap || row.excluded ||
               std::any_of(row.cells.begin(), row.cells.end(),
                           [](const ReportCell& cell) { return cell.best; });
    });
}

void drawTitle(QPainter& p, const PrintedPage& printed, const Sections& s, const Geometry& g)
{
    const ReportPage& page = *printed.page;
    p.setFont(reportFont(kDateSize));
    p.setPen(Qt::black);
    const double dateWidth = g.metrics(reportFont(kDateSize)).horizontalAdvance(page.dateText);
    const QRectF text = s.title.adjusted(0, 0, 0, -g.mm(2));
    p.drawText(text, Qt::AlignRight | Qt::AlignBottom, page.dateText);

    const QFont titleFont = reportFont(kTitleSize, true);
    p.setFont(titleFont);
    const QString title =
        printed.continued
            ? QCoreApplication::translate("SessionReport", "%1 (continued)").arg(page.title)
            : page.title;
    const double room = std::max(0.0, text.width() - dateWidth - g.mm(6));
    p.drawText(text, Qt::AlignLeft | Qt::AlignBottom,
               g.metrics(titleFont).elidedText(title, Qt::ElideMiddle, room));
    p.setPen(QPen(Qt::black, g.pt(0.75)));
    p.drawLine(s.title.bottomLeft(), s.title.bottomRight());
}

void drawFigures(QPainter& p, const ReportPage& page, const QRectF& area, const Geometry& g)
{
    const std::size_t columns = figureColumns(page, g, area.width());
    const std::size_t lines = (page.figures.size() + columns - 1) / columns;
    const QFont font = reportFont(kFigureSize);
    const QFontMetricsF metrics = g.metrics(font);
    const double columnWidth = area.width() / columns;
    const double lineHeight = metrics.height() * 1.25;
    double labelWidth = 0;
    for (const ReportFigure& figure : page.figures)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(figure.label));
    labelWidth = std::min(labelWidth + g.mm(3), columnWidth * 0.45);
    p.setFont(font);
    for (std::size_t i = 0; i < page.figures.size(); ++i) {
        const ReportFigure& figure = page.figures[i];
        const double x = area.left() + (i / lines) * columnWidth;
        const double y = area.top() + (i % lines) * lineHeight;
        const QRectF label(x, y, labelWidth - g.mm(1), lineHeight);
        const QRectF value(x + labelWidth, y, columnWidth - labelWidth - g.mm(3), lineHeight);
        p.setPen(kLabelText);
        p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(figure.label, Qt::ElideRight, label.width()));
        p.setPen(Qt::black);
        p.drawText(value, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(figure.value, Qt::ElideRight, value.width()));
    }
}

// Column widths at the printed page's list size, filling the page's width within limits.
std::vector<double> columnWidths(std::vector<double> widths, double listSize, double width)
{
    double total = 0;
    for (double& w : widths) {
        w *= listSize / kListFontSize;
        total += w;
    }
    if (total > 0) {
        const double stretch = std::min(width / total, kMaxColumnStretch);
        for (double& w : widths)
            w *= stretch;
    }
    return widths;
}

// What a page's list needs on every printed page of it, found once: a list's rows are
// measured once, not once for each of its pages.
struct ListMeasures {
    std::vector<double> natural; // naturalWidths()
    bool marks = false;          // hasMarks()
};

// Draws the list's rows of a printed page; returns the bottom of the list.
double drawList(QPainter& p, const PrintedPage& printed, const ListMeasures& measures,
                const QRectF& area, const Geometry& g)
{
    const ReportPage& page = *printed.page;
    const std::vector<double> widths =
        columnWidths(measures.natural, printed.listFontSize, area.width());
    const double rowHeight = g.rowHeight(printed.listFontSize);
    const double padding = g.pt(kCellPaddingPt) * printed.listFontSize / kListFontSize;
    double tableWidth = 0;
    for (double w : widths)
        tableWidth += w;
    const QFont fonts[2] = {reportFont(printed.listFontSize),
                            reportFont(printed.listFontSize, true)};
    const QFontMetricsF metrics[2] = {g.metrics(fonts[0]), g.metrics(fonts[1])};
    // A column at least as wide as its widest text (measured bold) never cuts a text short:
    // only the others are elided, which takes a layout of each text.
    std::vector<bool> elide(widths.size());
    for (std::size_t c = 0; c < widths.size(); ++c)
        elide[c] = widths[c] < measures.natural[c] * printed.listFontSize / kListFontSize * 1.01;

    // Texts repeat (times, lap numbers): each is measured once per page and font.
    QHash<QString, double> measured[2];
    const auto widthOf = [&](int font, const QString& text) {
        auto it = measured[font].constFind(text);
        if (it == measured[font].constEnd())
            it = measured[font].insert(text, metrics[font].horizontalAdvance(text));
        return *it;
    };
    const double baseline[2] = {
        (rowHeight - metrics[0].height()) / 2 + metrics[0].ascent(),
        (rowHeight - metrics[1].height()) / 2 + metrics[1].ascent()};

    // The painter's font and pen change only when a cell needs others: setting them costs more
    // than the text.
    int fontNow = -1;
    std::optional<QColor> penNow;
    auto drawCells = [&](double y, const auto& textOf, const auto& styleOf) {
        double x = area.left();
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cell(x + padding, y, widths[c] - 2 * padding, rowHeight);
            const auto [bold, colour] = styleOf(c);
            if (fontNow != int(bold)) {
                fontNow = int(bold);
                p.setFont(fonts[fontNow]);
            }
            if (penNow != colour) {
                penNow = colour;
                p.setPen(colour);
            }
            const QString text =
                elide[c] ? metrics[fontNow].elidedText(textOf(c), Qt::ElideRight, cell.width())
                         : textOf(c);
            // Placed on the baseline by hand: a text in a rectangle is laid out as a paragraph.
            double left = cell.left();
            if (!page.columns[c].alignLeft)
                left = cell.right() - widthOf(fontNow, text);
            p.drawText(QPointF(left, y + baseline[fontNow]), text);
            x += widths[c];
        }
    };
    const auto rule = [&](double y, const QPen& pen) {
        p.setPen(pen);
        penNow.reset();
        p.drawLine(QPointF(area.left(), y), QPointF(area.left() + tableWidth, y));
    };

    double y = area.top();
    p.fillRect(QRectF(area.left(), y, tableWidth, rowHeight), kHeaderGround);
    drawCells(
        y, [&](std::size_t c) { return page.columns[c].title; },
        [&](std::size_t) { return std::pair<bool, QColor>(true, Qt::black); });
    y += rowHeight;
    rule(y, QPen(Qt::black, g.pt(0.5)));

    const QPen rulePen(kRuleColour, g.pt(0.25));
    for (std::size_t r = printed.firstRow; r < printed.firstRow + printed.rowCount; ++r) {
        const ReportRow& row = page.rows[r];
        if (row.bestLap)
            p.fillRect(QRectF(area.left(), y, tableWidth, rowHeight), kBestLapGround);
        drawCells(
            y, [&](std::size_t c) { return c < row.cells.size() ? row.cells[c].text : QString(); },
            [&](std::size_t c) {
                const bool best = c < row.cells.size() && row.cells[c].best;
                const QColor colour = row.excluded ? kExcludedText : best ? kBestText : Qt::black;
                return std::pair<bool, QColor>(best || row.bestLap, colour);
            });
        y += rowHeight;
        rule(y, rulePen);
    }
    return y;
}

void drawNotes(QPainter& p, const PrintedPage& printed, bool marks, double y, const Sections& s,
               const Geometry& g, int number, int count)
{
    const ReportPage& page = *printed.page;
    const QFont font = reportFont(kNoteSize);
    const QFontMetricsF metrics = g.metrics(font);
    const double line = metrics.height() * 1.3;
    p.setFont(font);
    p.setPen(kLabelText);
    // An int for translate()'s count (lupdate cannot read a cast inside the call).
    const int after = static_cast<int>(page.rows.size() - printed.firstRow - printed.rowCount);
    QString notes;
    if (after > 0)
        notes = QCoreApplication::translate("SessionReport", "%n more row(s) on the next page.",
                                            nullptr, after);
    else if (marks)
        notes = QCoreApplication::translate(
            "SessionReport", "Bold purple: the best time of its column. Bold on a pale ground: the "
                             "best lap. Grey: a lap that is not counted.");
    if (!notes.isEmpty())
        p.drawText(QRectF(s.list.left(), y + g.mm(1), s.list.width(), line),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(notes, Qt::ElideRight, s.list.width()));

    p.drawText(s.footer, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Miren Loader"));
    p.drawText(
        s.footer, Qt::AlignRight | Qt::AlignBottom,
        QCoreApplication::translate("SessionReport", "Page %1 of %2").arg(number).arg(count));
}

} // namespace

QString reportDateText(const QDateTime& dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QString reportDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QPageSize reportPageSize(const QLocale& locale)
{
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}

std::vector<PrintedPage> planReport(const SessionReport& report, QPagedPaintDevice& device)
{
    const Geometry g(device);
    std::vector<PrintedPage> printed;
    for (const ReportPage* page : pagesOf(report))
        planPage(*page, g, printed);
    return printed;
}

int paintReport(const SessionReport& report, QPagedPaintDevice& device,
                const ReportProgressFn& progress)
{
    const std::vector<PrintedPage> plan = planReport(report, device);
    if (plan.empty())
        return 0;
    QPainter p;
    if (!p.begin(&device))
        return 0;
    p.setRenderHint(QPainter::Antialiasing);
    const Geometry g(device);
    const int count = static_cast<int>(plan.size());
    const ReportPage* measured = nullptr;
    ListMeasures measures;
    for (int i = 0; i < count; ++i) {
        const PrintedPage& printed = plan[i];
        if (progress && !progress(i, count)) {
            p.end();
            return -1;
        }
        if (i > 0)
            device.newPage();
        if (printed.page != measured) {
            measured = printed.page;
            measures = {naturalWidths(*measured, g), hasMarks(*measured)};
        }
        const Sections s = sectionsOf(*printed.page, printed.continued, g);
        drawTitle(p, printed, s, g);
        if (!printed.continued) {
            if (!printed.page->coverage.isEmpty()) {
                p.setFont(reportFont(kFigureSize));
                p.setPen(Qt::black);
                p.drawText(s.coverage, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                           printed.page->coverage.join(QLatin1Char('\n')));
            }
            if (!printed.page->figures.empty())
                drawFigures(p, *printed.page, s.figures, g);
            if (!printed.page->sheet.isEmpty()) {
                p.save();
                p.setClipRect(s.sheet);
                p.setFont(reportFont(kNoteSize + 1));
                p.setPen(kLabelText);
                p.drawText(s.sheet, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                           printed.page->sheet.join(QLatin1Char('\n')));
                p.restore();
            }
            if (printed.page->chart) {
                p.save();
                p.setClipRect(s.chart);
                printed.page->chart(p, s.chart);
                p.restore();
            }
        }
        const double bottom = drawList(p, printed, measures, s.list, g);
        drawNotes(p, printed, measures.marks, bottom, s, g, i + 1, count);
    }
    p.end();
    return count;
}

QByteArray reportPdf(const SessionReport& report, const QPageSize& pageSize,
                     const ReportProgressFn& progress)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(pageSize);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(report.documentTitle);
        writer.setCreator(QStringLiteral("Miren Loader"));
        if (paintReport(report, writer, progress) <= 0)
            return QByteArray();
    }
    return bytes;
}

FileResult<bool> writeReportPdf(const SessionReport& report, const QString& path,
                                const QPageSize& pageSize, const ReportProgressFn& progress)
{
    if (report.sessions.empty())
        return FileResult<bool>::failure(
            QCoreApplication::translate("SessionReport", "The report holds no session."));
    bool stopped = false;
    const QByteArray pdf = reportPdf(report, pageSize, [&](int page, int pages) {
        stopped = progress && !progress(page, pages);
        return !stopped;
    });
    if (stopped)
        return false;
    if (pdf.isEmpty())
        return FileResult<bool>::failure(
            QCoreApplication::translate("SessionReport", "The report could not be drawn."));
    // An export never writes the old file in place, whatever the folder: a failure changes
    // nothing.
    if (const FileResult<> saved = saveWholeFile(path, pdf, SafeFileWriter::InPlace::Never); !saved)
        return FileResult<bool>::failure(saved);
    return true;
}
