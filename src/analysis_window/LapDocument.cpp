#include "analysis_window/LapDocument.h"

#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapTable.h"

#include <QTextBlock>
#include <QTextDocument>
#include <string>

namespace {

// A lap table line is ASCII; a block holding anything else is passed on as UTF-8, which the
// reader then skips as a line the table could not have written.
void toReaderLine(const QString& text, std::string& line)
{
    line.resize(std::size_t(text.size()));
    const QChar* chars = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = chars[i].unicode();
        if (c >= 0x80) {
            const QByteArray utf8 = text.toUtf8();
            line.assign(utf8.constData(), std::size_t(utf8.size()));
            return;
        }
        line[std::size_t(i)] = char(c);
    }
}

} // namespace

DocumentTable readLapDocument(const QTextDocument& document)
{
    LapTableReader reader;
    std::string line;
    DocumentTable table;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        toReaderLine(block.text(), line);
        const bool afterHeader = reader.headerFound();
        reader.feedLine(line);
        // A later header is skipped as a line that is not a lap; it starts a session.
        if (afterHeader && line.size() >= kHeaderLength && !reader.skippedLines().empty() &&
            reader.skippedLines().back() == reader.linesRead()) {
            if (const auto unit = parseHeaderLine(line))
                table.laterHeaders.push_back({reader.linesRead(), *unit});
        }
    }
    table.headerFound = reader.headerFound();
    table.unit = reader.unit();
    table.laps = std::move(reader.laps());
    table.skippedLines = reader.skippedLines();
    table.lines = reader.linesRead();
    return table;
}
