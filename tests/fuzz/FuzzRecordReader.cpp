// The record reader behind the analysis (readLapRecordFile) on any bytes, read in pieces of any
// size as from a pipe.
//
// Invariants checked:
// - its laps are the records decoded one by one, up to a record word of 0, the first faulty
//   record or a piece shorter than a record, and the fault is where the converter of the lap
//   table finds it (record, byte and value);
// - the unit is told once, from the first record word that is not 0, before the first lap;
// - the lap table of the same bytes has its header and a line for each lap.
//
// Input: four bytes that choose the piece sizes, then the lap file.
#include "FuzzCheck.h"
#include "FuzzInputs.h"
#include "lap_analysis/LapInput.h"
#include "lap_conversion/LapConverter.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::uint32_t seed = 0;
    std::memcpy(&seed, data, 4);
    const std::span<const std::uint8_t> bytes(data + 4, size - 4);

    std::vector<LapData> laps;
    int units = 0;
    PieceDevice device({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, seed);
    const LapInputResult result =
        readLapRecordFile(device, LapReceiver{[&](SpeedUnit) {
                                                  FUZZ_CHECK(laps.empty());
                                                  ++units;
                                              },
                                              [&](const LapData& lap) { laps.push_back(lap); }});
    FUZZ_CHECK(result.error == LapInputResult::Error::None ||
               result.error == LapInputResult::Error::Record);

    std::vector<LapData> expected;
    bool ended = false;
    bool unitSeen = false;
    LapFault fault;
    for (std::size_t at = 0; !ended && bytes.size() - at >= kRecordSize; at += kRecordSize) {
        LapRecord record;
        RecordFault recordFault;
        const RecordStatus status = decodeLapRecord(bytes.subspan(at, kRecordSize), record,
                                                    recordFault);
        if (status == RecordStatus::EndOfData)
            break;
        unitSeen = unitSeen || record.recordWord != 0;
        if (status == RecordStatus::Fault) {
            fault = LapFault{recordFault.kind, at / kRecordSize + 1, at + recordFault.offset,
                             recordFault.value};
            ended = true;
            break;
        }
        expected.push_back(lapFromRecord(record));
    }
    FUZZ_CHECK(units == (unitSeen ? 1 : 0));
    FUZZ_CHECK(laps.size() == expected.size());
    for (std::size_t i = 0; i < laps.size(); ++i)
        FUZZ_CHECK(sameLap(laps[i], expected[i]));
    FUZZ_CHECK((result.error == LapInputResult::Error::Record) == ended);

    std::string table;
    const LapFault converted = convertLapBytes(bytes, '.', table);
    FUZZ_CHECK(converted.record == (ended ? fault.record : 0));
    if (ended) {
        FUZZ_CHECK(result.fault.record == fault.record && result.fault.offset == fault.offset &&
                   result.fault.value == fault.value);
        FUZZ_CHECK(converted.offset == fault.offset && converted.value == fault.value);
    }
    // The table: its header (once a record word is read) and a line per lap.
    const std::size_t lines = std::size_t(std::count(table.begin(), table.end(), '\n'));
    FUZZ_CHECK(laps.empty() ? lines <= 1 : lines == laps.size() + 1);
    return 0;
}
