#include "analysis_window/LapDocument.h"

#include "lap_analysis/LapTableReader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <string>

namespace {

// A lap table line is ASCII; a block holding anything else is passed on as UTF-8, which the
// reader then skips as a line the table could not have written.
void toReaderLine(QStringView text, std::string& line)
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

LapTableText readLapDocument(const QTextDocument& document)
{
    LapTableReader reader;
    std::string line;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        toReaderLine(block.text(), line);
        reader.feedLine(line);
    }
    return takeLapTable(reader);
}

LapTableText readLapText(QStringView text)
{
    LapTableReader reader;
    std::string line;
    // Blocks end at U+2029, the last one at the end of the text.
    for (qsizetype from = 0;;) {
        const qsizetype end = text.indexOf(QChar::ParagraphSeparator, from);
        toReaderLine(text.sliced(from, (end < 0 ? text.size() : end) - from), line);
        reader.feedLine(line);
        if (end < 0)
            break;
        from = end + 1;
    }
    return takeLapTable(reader);
}
