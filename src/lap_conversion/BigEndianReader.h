#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Reads the 16-bit big-endian words of a lap record one after another. A word is readable when
// two bytes are left and its high byte is below 0x80 (the format's numbers are 0 to 32767); the
// first word that is not stops the reader and is reported with its offset and raw value.
class BigEndianReader {
public:
    enum class Fault { None, Truncated, HighByte };

    explicit BigEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // Reads the next word into value. False on a fault; the reader is not to be used after it.
    bool readWord16(std::uint16_t& value)
    {
        if (bytes_.size() - pos_ < 2) {
            fault_ = Fault::Truncated;
            faultOffset_ = pos_;
            return false;
        }
        const std::uint8_t hi = bytes_[pos_];
        const std::uint8_t lo = bytes_[pos_ + 1];
        if (hi >= 0x80) {
            fault_ = Fault::HighByte;
            faultOffset_ = pos_;
            faultValue_ = static_cast<std::uint16_t>(hi << 8 | lo);
            return false;
        }
        value = static_cast<std::uint16_t>(hi << 8 | lo);
        pos_ += 2;
        return true;
    }

    Fault fault() const { return fault_; }
    // Offset of the failing word from the start of the bytes.
    std::size_t faultOffset() const { return faultOffset_; }
    // The failing word as it stands in the bytes (0x8000 to 0xFFFF for a high-byte fault).
    std::uint16_t faultValue() const { return faultValue_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    Fault fault_ = Fault::None;
    std::size_t faultOffset_ = 0;
    std::uint16_t faultValue_ = 0;
};
