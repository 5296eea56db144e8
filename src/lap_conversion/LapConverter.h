#pragma once

#include "lap_conversion/LapRecord.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

// Where a record fault lies in a file: the 1-based record number, the byte offset of the failing
// word from the start of the file, and the word as stored.
struct LapFault {
    RecordFaultKind kind = RecordFaultKind::None;
    std::uint64_t record = 0;
    std::uint64_t offset = 0;
    std::uint16_t value = 0;

    bool ok() const { return kind == RecordFaultKind::None; }
};

// Turns the records of one or more files, in order, into one lap table. The header goes out once,
// as soon as the first nonzero record word has been read, with the speed unit of that record;
// each lap line goes out only after its whole record has been decoded. Text is collected in one
// reused buffer and handed to the sink in batches of about batchBytes, so a slow consumer sees
// few calls; the concatenated batches are exactly the table text.
class LapConverter {
public:
    using Sink = std::function<void(std::string_view text)>;
    static constexpr std::size_t kDefaultBatchBytes = 64 * 1024;

    enum class Status {
        NeedMore,  // every complete record was converted; more bytes may follow
        EndOfData, // a record word of 0: the file's data ends, nothing after it is read
        Fault,     // see fault(); the faulty record gave no line
    };
    struct FeedResult {
        Status status = Status::NeedMore;
        std::size_t consumed = 0; // bytes of whole records taken, the ending record included
    };

    LapConverter(char decimalPoint, Sink sink, std::size_t batchBytes = kDefaultBatchBytes);

    // Starts the next file: record numbers and offsets count from its start again.
    void startFile();

    // Converts the complete 228-byte records at the front of bytes, stopping at a record word of
    // 0 or a fault. A final piece shorter than a record is not consumed.
    FeedResult feed(std::span<const std::uint8_t> bytes);

    // Hands any buffered text to the sink.
    void flush();

    bool headerWritten() const { return !headerPending_; }
    const LapFault& fault() const { return fault_; }

private:
    // Appends the header line for UNIT_FLG and its line end to the text waiting for the sink.
    void HEAD_PRINT();

    char decimalPoint_;
    Sink sink_;
    std::size_t batchBytes_;
    bool headerPending_ = true;
    std::int16_t UNIT_FLG = 0; // speed unit flag of the header: 0 km/h, 1 m/h
    std::uint64_t recordsInFile_ = 0;
    LapFault fault_;
    LapRecord record_;
    std::string buffer_; // fixed size; the text waiting for the sink is its first used_ bytes
    std::size_t used_ = 0;
};

// Converts one whole file held in memory, as the first file of a command: the header (if the
// bytes hold a lap record), the lap lines with their line ends, appended to text. Returns the
// fault that stopped it, or an ok fault when all of it converted.
LapFault convertLapBytes(std::span<const std::uint8_t> bytes, char decimalPoint, std::string& text);
