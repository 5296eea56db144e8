// Input-kind detection (lapInputKind) on any name and any first bytes, and the reader the kind
// picks on those bytes.
//
// Invariants checked:
// - no byte is empty of either kind; "*.BIL" is a record file and "*.txt" a table text in any
//   letter case; any other name goes by a NUL byte in the first kLapInputSniffBytes;
// - the reader of the kind found reads the bytes to the end or to a fault it names.
//
// Input: one byte with the name's length (0 to 63), the name (any bytes, as the shell passes
// them), then the input's first bytes.
#include "FuzzCheck.h"
#include "FuzzInputs.h"
#include "file_io/FileName.h"
#include "lap_analysis/LapInput.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t nameLength = std::min<std::size_t>(data[0] % 64, size - 1);
    const QByteArray nameBytes(reinterpret_cast<const char*>(data) + 1, qsizetype(nameLength));
    const QString name = decodeFileName(nameBytes);
    const std::string_view head(reinterpret_cast<const char*>(data) + 1 + nameLength,
                                size - 1 - nameLength);
    const LapInputKind kind = lapInputKind(name, QByteArrayView(head.data(), qsizetype(head.size())));

    const QByteArray lower = nameBytes.toLower();
    LapInputKind expected = LapInputKind::Empty;
    if (head.empty())
        expected = LapInputKind::Empty;
    else if (lower.endsWith(".bil"))
        expected = LapInputKind::Records;
    else if (lower.endsWith(".txt"))
        expected = LapInputKind::TableText;
    else
        expected = head.substr(0, std::size_t(kLapInputSniffBytes)).find('\0') != head.npos
                       ? LapInputKind::Records
                       : LapInputKind::TableText;
    FUZZ_CHECK(kind == expected);

    std::size_t laps = 0;
    const LapReceiver receiver{[](SpeedUnit) {}, [&laps](const LapData&) { ++laps; }};
    PieceDevice device(head, std::uint32_t(size));
    if (kind == LapInputKind::Records) {
        const LapInputResult read = readLapRecordFile(device, receiver);
        FUZZ_CHECK(read.ok() || (read.error == LapInputResult::Error::Record &&
                                 read.fault.record > laps && !read.describe().isEmpty()));
        FUZZ_CHECK(laps <= head.size() / 228);
    } else if (kind == LapInputKind::TableText) {
        const LapInputResult read = readLapTableFile(device, receiver);
        FUZZ_CHECK(read.ok() || read.error == LapInputResult::Error::NoTable);
        FUZZ_CHECK(read.ok() || laps == 0);
    }
    return 0;
}
