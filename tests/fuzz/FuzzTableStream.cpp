// The streamed reader of saved lap tables (readLapTableFile) on any bytes, read in pieces of
// any size as from a pipe.
//
// Invariants checked:
// - the laps, the skipped lines and their count, the header and its unit are those of the same
//   text cut into lines at CR LF, CR and LF (a byte-order mark before the first line passed
//   over) and given whole to the table reader: where the reads end changes nothing, not even
//   for lines longer than the reader keeps;
// - the unit is told once, before the first lap; a text with bytes but no header is NoTable.
//
// Input: four bytes that choose the piece sizes, then the text.
#include "FuzzCheck.h"
#include "FuzzInputs.h"
#include "lap_analysis/LapInput.h"
#include "lap_analysis/LapTableReader.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::uint32_t seed = 0;
    std::memcpy(&seed, data, 4);
    const std::string_view text(reinterpret_cast<const char*>(data) + 4, size - 4);

    std::vector<LapData> laps;
    int units = 0;
    SpeedUnit unit = SpeedUnit::Kmh;
    PieceDevice device(text, seed);
    const LapInputResult result = readLapTableFile(
        device, LapReceiver{[&](SpeedUnit u) {
                                FUZZ_CHECK(laps.empty());
                                unit = u;
                                ++units;
                            },
                            [&](const LapData& lap) { laps.push_back(lap); }});

    LapTableReader whole(kSkippedLinesKept);
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF"))
        rest.remove_prefix(3);
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        whole.feedLine(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
    }

    FUZZ_CHECK(units == (whole.headerFound() ? 1 : 0));
    FUZZ_CHECK(!whole.headerFound() || unit == whole.unit());
    FUZZ_CHECK(result.error == (!text.empty() && !whole.headerFound()
                                    ? LapInputResult::Error::NoTable
                                    : LapInputResult::Error::None));
    FUZZ_CHECK(result.skippedCount == whole.skippedCount());
    FUZZ_CHECK(result.skippedLines == whole.skippedLines());
    FUZZ_CHECK(laps.size() == whole.laps().size());
    for (std::size_t i = 0; i < laps.size(); ++i)
        FUZZ_CHECK(sameLap(laps[i], whole.laps()[i]));
    return 0;
}
