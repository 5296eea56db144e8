// Decoding and layout of a whole lap record file of any length, with both decimal separators.
//
// Invariants checked:
// - the table holds only printable ASCII and CR LF pairs, and ends with a line end;
// - its first line is one of the two headers, every other line is a lap field plus at most seven
//   block texts of 68 to 70 characters;
// - there is at most one lap line per whole record;
// - the two separators give the same table apart from the separator itself;
// - streaming the bytes in uneven pieces, with small output batches, gives the same text and
//   fault as converting them in one go;
// - a second file under the same command adds its lines without a second header.
#include "FuzzCheck.h"
#include "lap_conversion/LapConverter.h"
#include "lap_conversion/LapTable.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool sameFault(const LapFault& a, const LapFault& b)
{
    return a.kind == b.kind && a.record == b.record && a.offset == b.offset && a.value == b.value;
}

// Checks the shape of a lap table and returns its number of lap lines.
std::size_t checkTable(std::string_view text, char decimalPoint)
{
    if (text.empty())
        return 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
            ++i;
            continue;
        }
        FUZZ_CHECK(c >= 0x20 && c <= 0x7E);
    }
    FUZZ_CHECK(text.ends_with(kLineEnd));

    std::size_t lapLines = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(kLineEnd, start);
        FUZZ_CHECK(end != std::string_view::npos);
        const std::string_view line = text.substr(start, end - start);
        if (start == 0) {
            FUZZ_CHECK(line == headerLine(0) || line == headerLine(1));
        } else {
            FUZZ_CHECK(line.size() >= 4 && line.size() <= kMaxLapLineLength);
            // Block texts are 68 to 70 characters, so the length alone gives their number.
            const std::size_t blockChars = line.size() - 4;
            std::size_t blocks = 0;
            while (blocks <= kBlockCount && blockChars > 70 * blocks)
                ++blocks;
            FUZZ_CHECK(blocks <= kBlockCount && blockChars >= 68 * blocks);
            // One time text per block, with ':' and '.'; two tenths fields with the separator.
            const auto count = [&line](char c) {
                return static_cast<std::size_t>(std::count(line.begin(), line.end(), c));
            };
            FUZZ_CHECK(count(':') == blocks);
            FUZZ_CHECK(count(decimalPoint) == (decimalPoint == '.' ? 3 : 2) * blocks);
            ++lapLines;
        }
        start = end + kLineEnd.size();
    }
    return lapLines;
}

// Converts the bytes the way the file reader does: pieces of `step` bytes appended to what is
// left over, whole records fed, the rest kept.
std::string streamed(std::span<const std::uint8_t> bytes, std::size_t step, std::size_t batch,
                     LapFault& fault)
{
    std::string text;
    LapConverter converter(
        '.', [&text](std::string_view t) { text.append(t); }, batch);
    converter.startFile();
    std::vector<std::uint8_t> pending;
    for (std::size_t pos = 0; pos < bytes.size(); pos += step) {
        const auto piece = bytes.subspan(pos, std::min(step, bytes.size() - pos));
        pending.insert(pending.end(), piece.begin(), piece.end());
        const auto fed = converter.feed(pending);
        FUZZ_CHECK(fed.consumed <= pending.size() && fed.consumed % kRecordSize == 0);
        if (fed.status != LapConverter::Status::NeedMore)
            break;
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(fed.consumed));
        FUZZ_CHECK(pending.size() < kRecordSize);
    }
    converter.flush();
    fault = converter.fault();
    return text;
}

void checkTime(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4)
        return;
    const std::int32_t t =
        static_cast<std::int32_t>(std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
                                  std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]));
    const TimeText text = tableTimeText(t);
    const std::string_view s(text.data(), text.size());
    if (t < 0 || t > 59999) {
        FUZZ_CHECK(s == "-:--.--");
        return;
    }
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    FUZZ_CHECK(digit(s[0]) && s[1] == ':' && digit(s[2]) && s[2] <= '5' && digit(s[3]) &&
               s[4] == '.' && digit(s[5]) && digit(s[6]));
    const int back = (s[0] - '0') * 6000 + ((s[2] - '0') * 10 + (s[3] - '0')) * 100 +
                     (s[5] - '0') * 10 + (s[6] - '0');
    FUZZ_CHECK(back == t);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);

    std::string dot;
    const LapFault dotFault = convertLapBytes(bytes, '.', dot);
    std::string comma;
    const LapFault commaFault = convertLapBytes(bytes, ',', comma);
    FUZZ_CHECK(sameFault(dotFault, commaFault));
    FUZZ_CHECK(dotFault.ok() || dotFault.kind != RecordFaultKind::Truncated);

    const std::size_t lapLines = checkTable(dot, '.');
    FUZZ_CHECK(checkTable(comma, ',') == lapLines);
    FUZZ_CHECK(lapLines <= size / kRecordSize);
    // No comma occurs in the table but the separator.
    FUZZ_CHECK(dot.size() == comma.size());
    std::replace(comma.begin(), comma.end(), ',', '.');
    FUZZ_CHECK(comma == dot);

    // Piece size and batch size come from the data, so the fuzzer explores the boundaries.
    const std::size_t step = size == 0 ? 1 : 1 + (data[0] * 7u + size) % 700;
    const std::size_t batch = size < 2 ? 1 : 1 + data[1] * 13u;
    LapFault streamFault;
    FUZZ_CHECK(streamed(bytes, step, batch, streamFault) == dot);
    FUZZ_CHECK(sameFault(streamFault, dotFault));

    // The same bytes as the first and the second file of one command.
    if (dotFault.ok()) {
        std::string twice;
        LapConverter converter(
            '.', [&twice](std::string_view t) { twice.append(t); }, 97);
        for (int file = 0; file < 2; ++file) {
            converter.startFile();
            converter.feed(bytes);
            FUZZ_CHECK(converter.fault().ok());
        }
        converter.flush();
        const std::size_t headerChars = dot.empty() ? 0 : kHeaderLength + kLineEnd.size();
        FUZZ_CHECK(twice == dot + dot.substr(headerChars));
    }

    checkTime(bytes);
    return 0;
}
