#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// One lap record: a 4-byte lap header and seven 32-byte blocks (the whole lap, then sectors 1 to
// 6), every number a big-endian word of 0 to 32767.
inline constexpr std::size_t kRecordSize = 228;
inline constexpr std::size_t kBlockSize = 32;
inline constexpr int kBlockCount = 7;

// The twelve shown values of a present block, in the record's units.
struct LapBlock {
    std::uint16_t time = 0; // hundredths of a second; never 0 in a present block
    std::uint16_t rpmMin = 0;
    std::uint16_t rpmMax = 0;
    std::uint16_t speedMin = 0;
    std::uint16_t speedMax = 0;
    std::uint16_t tmp1Min = 0;
    std::uint16_t tmp1Max = 0;
    std::uint16_t tmp2Min = 0;
    std::uint16_t tmp2Max = 0;
    std::uint16_t gxMax = 0; // tenths
    std::uint16_t gyMax = 0; // tenths
    std::uint16_t length = 0;
};

struct LapRecord {
    // 0 ends the file's data; bit 0 of the first lap record selects the speed unit. Stays 0 when
    // the record word itself could not be read.
    std::uint16_t recordWord = 0;
    std::uint16_t lapNumber = 0; // lap index + 1
    int blockCount = 0;          // present blocks: those before the first zero time word
    std::array<LapBlock, kBlockCount> blocks{};
};

enum class RecordFaultKind {
    None,
    HighByte,    // a word with a high byte of 0x80 or more
    LapOverflow, // lap index 32767: the lap number does not fit
    Truncated,   // fewer than 228 bytes
};

struct RecordFault {
    RecordFaultKind kind = RecordFaultKind::None;
    std::size_t offset = 0;  // byte offset of the failing word inside the record
    std::uint16_t value = 0; // the failing word as stored
};

enum class RecordStatus { Lap, EndOfData, Fault };

// Decodes one record in the format's strict read order: record word, lap index, then for each
// block its 16 words (the four unshown ones included) until a block whose time word is 0. Nothing
// after a zero time word is read, so a bad word there does no harm. On a fault, `record` holds
// what was read before it (recordWord is nonzero whenever the record word itself was readable).
RecordStatus decodeLapRecord(std::span<const std::uint8_t> bytes, LapRecord& record,
                             RecordFault& fault);
