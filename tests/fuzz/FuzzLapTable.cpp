// The lap table reader on any bytes taken as a table text.
//
// Invariants checked:
// - every lap line read is one the layout writes: laying the lap out again gives the line back
//   (GX / GY separators aside), with a cut value standing for one that has the shown last digits;
// - lap lines and skipped lines are apart, rising, and within the lines read;
// - the reader fed line by line, laps taken as they come, reads the same as the whole text.
#include "FuzzCheck.h"
#include "lap_analysis/LapTableReader.h"
#include "lap_conversion/LapTable.h"

#include <string>
#include <string_view>

namespace {

// The record a read lap stands for; false when the layout cannot write it back (an unknown time).
bool recordOf(const LapData& lap, LapRecord& r)
{
    r.lapNumber = static_cast<std::uint16_t>(lap.lapNumber + (lap.lapNumberCut ? 10000 : 0));
    r.blockCount = lap.blockCount;
    for (int k = 0; k < lap.blockCount; ++k) {
        const BlockValues& v = lap.blocks[static_cast<std::size_t>(k)];
        if (v.time < 0)
            return false;
        auto w = [](std::int32_t value, bool cut, int add) {
            return static_cast<std::uint16_t>(value + (cut ? add : 0));
        };
        r.blocks[static_cast<std::size_t>(k)] = {w(v.time, false, 0),
                                                 w(v.rpmMin, false, 0),
                                                 w(v.rpmMax, false, 0),
                                                 w(v.speedMin, false, 0),
                                                 w(v.speedMax, v.speedMaxCut, 1000),
                                                 w(v.tmp1Min, false, 0),
                                                 w(v.tmp1Max, v.tmp1MaxCut, 10000),
                                                 w(v.tmp2Min, false, 0),
                                                 w(v.tmp2Max, v.tmp2MaxCut, 10000),
                                                 w(v.gxMax, false, 0),
                                                 w(v.gyMax, false, 0),
                                                 w(v.length, false, 0)};
    }
    return true;
}

// The text's lines as the reader counts them: split at LF, a final empty piece is no line.
std::string_view lineAt(std::string_view text, std::int64_t number)
{
    for (std::int64_t n = 1;; ++n) {
        const std::size_t lf = text.find('\n');
        if (n == number)
            return text.substr(0, lf);
        text.remove_prefix(lf + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LapTableText table = readLapTable(text);

    LapTableReader reader;
    std::vector<LapData> streamed;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            lf = text.size();
        reader.feedLine(text.substr(start, lf - start));
        streamed.insert(streamed.end(), reader.laps().begin(), reader.laps().end());
        reader.clearLaps();
        start = lf + 1;
    }
    FUZZ_CHECK(reader.headerFound() == table.headerFound);
    FUZZ_CHECK(!table.headerFound || reader.unit() == table.unit);
    FUZZ_CHECK(reader.skippedLines() == table.skippedLines);
    FUZZ_CHECK(streamed.size() == table.laps.size());
    FUZZ_CHECK(table.headerFound || (table.laps.empty() && table.skippedLines.empty()));

    std::int64_t previous = reader.headerLine();
    std::size_t skipped = 0;
    for (std::size_t i = 0; i < table.laps.size(); ++i) {
        const LapData& lap = table.laps[i];
        FUZZ_CHECK(lap.line == streamed[i].line && lap.line > previous &&
                   lap.line <= reader.linesRead());
        while (skipped < table.skippedLines.size() && table.skippedLines[skipped] < lap.line)
            FUZZ_CHECK(table.skippedLines[skipped++] > previous);
        FUZZ_CHECK(skipped == table.skippedLines.size() || table.skippedLines[skipped] != lap.line);
        previous = lap.line;

        LapRecord record;
        if (!recordOf(lap, record))
            continue;
        std::string_view original = lineAt(text, lap.line);
        if (!original.empty() && original.back() == '\r')
            original.remove_suffix(1);
        std::string again;
        appendLapLine(record, '.', again);
        FUZZ_CHECK(again.size() == original.size());
        for (std::size_t c = 0; c < again.size(); ++c) {
            FUZZ_CHECK(again[c] == original[c] ||
                       (again[c] == '.' && (original[c] < '0' || original[c] > '9')));
        }
    }
    return 0;
}
