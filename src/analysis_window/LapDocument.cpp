#include "analysis_window/LapDocument.h"

#include "lap_analysis/LapTableReader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <iterator>
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

LapTextMirror::LapTextMirror(const QTextDocument& document) : document_(document)
{
    rebuild();
}

void LapTextMirror::rebuild()
{
    // A new list: one shared with another thread stays as it is.
    lines_ = std::make_shared<Lines>(std::size_t(document_.blockCount()));
    waiting_.clear();
    shared_ = false;
    std::size_t n = 0;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next())
        toReaderLine(block.text(), (*lines_)[n++]);
}

// The blocks from the one holding position to the one holding the end of what was added are
// new; the block count tells how many lines they replace.
void LapTextMirror::change(int position, int /*removed*/, int added)
{
    const QTextBlock first = document_.findBlock(position);
    QTextBlock last = document_.findBlock(position + added);
    if (!last.isValid())
        last = document_.lastBlock();
    std::ptrdiff_t count = std::ptrdiff_t(lines_->size());
    for (const Edit& edit : waiting_)
        count += std::ptrdiff_t(edit.lines.size()) - std::ptrdiff_t(edit.before);
    const std::ptrdiff_t grown = std::ptrdiff_t(document_.blockCount()) - count;
    if (!first.isValid() || last.blockNumber() < first.blockNumber()) {
        rebuild();
        return;
    }
    Edit edit;
    edit.from = std::size_t(first.blockNumber());
    const std::ptrdiff_t now = last.blockNumber() - first.blockNumber() + 1;
    const std::ptrdiff_t before = now - grown;
    if (before < 0 || std::ptrdiff_t(edit.from) + before > count) {
        rebuild();
        return;
    }
    edit.before = std::size_t(before);
    edit.lines.resize(std::size_t(now));
    std::size_t n = 0;
    for (QTextBlock block = first;; block = block.next()) {
        toReaderLine(block.text(), edit.lines[n++]);
        if (block == last)
            break;
    }
    waiting_.push_back(std::move(edit));
    if (!shared_)
        catchUp();
}

void LapTextMirror::catchUp()
{
    Lines& lines = *lines_;
    for (Edit& edit : waiting_) {
        const auto at = lines.begin() + std::ptrdiff_t(edit.from);
        const std::size_t kept = std::min(edit.before, edit.lines.size());
        std::move(edit.lines.begin(), edit.lines.begin() + std::ptrdiff_t(kept), at);
        if (edit.lines.size() > edit.before)
            lines.insert(at + std::ptrdiff_t(kept),
                         std::make_move_iterator(edit.lines.begin() + std::ptrdiff_t(kept)),
                         std::make_move_iterator(edit.lines.end()));
        else
            lines.erase(at + std::ptrdiff_t(kept), at + std::ptrdiff_t(edit.before));
    }
    waiting_.clear();
}

const LapTextMirror::Lines& LapTextMirror::lines()
{
    if (shared_ && !waiting_.empty()) {
        // Another thread reads the shared lines: these go on in a copy.
        lines_ = std::make_shared<Lines>(*lines_);
        shared_ = false;
    }
    catchUp();
    // A change the document did not report (none is known) would leave the lines out of step:
    // the count tells, and they are read anew.
    if (lines_->size() != std::size_t(document_.blockCount()))
        rebuild();
    return *lines_;
}

std::shared_ptr<const LapTextMirror::Lines> LapTextMirror::share()
{
    lines();
    shared_ = true;
    return lines_;
}

void LapTextMirror::release()
{
    shared_ = false;
    catchUp();
}

LapTableText readLapLines(const std::vector<std::string>& lines)
{
    LapTableReader reader;
    for (const std::string& line : lines)
        reader.feedLine(line);
    return takeLapTable(reader);
}
