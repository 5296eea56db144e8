#include "lap_analysis/LapTableReader.h"

#include "lap_conversion/LapTable.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace {

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view withoutCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool isBlank(std::string_view line)
{
    for (char c : line) {
        if (c != ' ' && c != '\t')
            return false;
    }
    return true;
}

// Eight bytes at f as one word, f[0] in the lowest byte.
inline std::uint64_t load8(const char* f)
{
    std::uint64_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&x, f, 8);
    } else {
        for (int i = 7; i >= 0; --i)
            x = x << 8 | static_cast<unsigned char>(f[i]);
    }
    return x;
}

// The high bit of every byte of x that is not 0.
inline std::uint64_t nonZeroBytes(std::uint64_t x)
{
    constexpr std::uint64_t k7F = 0x7F7F7F7F7F7F7F7F;
    return (((x & k7F) + k7F) | x) & ~k7F;
}

// A right-aligned number of Width columns: spaces, then at least one digit up to the last
// column. A number the layout shows in full never starts with 0 unless it is 0 itself; where the
// layout keeps only the last digits (`cuttable`), a field full of digits starting with 0 is such
// a cut number. Anything else is not the layout's.
// Read eight bytes at a time, without a branch per character: the count of leading spaces varies
// from line to line, and a mispredicted loop exit per field would cost more than the whole field.
// f must have eight readable bytes, which every field inside a block has.
template <int Width>
inline bool readNumber(const char* f, bool cuttable, std::int32_t& value, bool& cut)
{
    static_assert(Width >= 1 && Width <= 7);
    constexpr std::uint64_t kField = 0x8080808080808080 >> (8 * (8 - Width)); // the Width bytes
    constexpr std::uint64_t kLow = 0x0F0F0F0F0F0F0F0F;
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0;
    const std::uint64_t x = load8(f);
    // A digit: high nibble 3 and low nibble at most 9 (adding 6 keeps it below 16).
    const std::uint64_t digits = ~nonZeroBytes((x & kHigh) ^ 0x3030303030303030) &
                                 ~nonZeroBytes(((x & kLow) + 0x0606060606060606) & kHigh) & kField;
    const std::uint64_t spaces = ~nonZeroBytes(x ^ 0x2020202020202020) & kField;
    // Spaces, then digits to the end: the digits are every field byte from the first digit on.
    const std::uint64_t firstDigit = digits & (~digits + 1);
    bool ok = (digits | spaces) == kField && digits != 0 && digits == (kField & ~(firstDigit - 1));

    const int first = std::countr_zero(digits) / 8; // column of the first digit (8 when none)
    const bool leadingZero = ok && f[first] == '0' && first != Width - 1;
    ok = ok && (!leadingZero || (cuttable && first == 0));
    cut = leadingZero;

    // The digits' values (a space gives 0) as the last Width digits of an eight-digit number,
    // the first column most significant.
    std::uint64_t v = (x & kLow) << (8 * (8 - Width));
    v = (v * 2561) >> 8 & 0x00FF00FF00FF00FF;
    v = (v * 6553601) >> 16 & 0x0000FFFF0000FFFF;
    v = (v * 42949672960001) >> 32;
    value = static_cast<std::int32_t>(v);
    return ok;
}

// A number shown in full that a record word (0 to 32767) could hold.
template <int Width> inline bool readWord(const char* f, std::int32_t& value)
{
    bool cut = false;
    return readNumber<Width>(f, false, value, cut) && value <= 0x7FFF;
}

// "m:ss.hh", or "-:--.--" for an unknown time. A present block never has time 0.
inline bool readTime(const char* f, std::int32_t& time)
{
    if (std::memcmp(f, "-:--.--", 7) == 0) {
        time = kUnknownTime;
        return true;
    }
    if (!isDigit(f[0]) || f[1] != ':' || f[2] < '0' || f[2] > '5' || !isDigit(f[3]) ||
        f[4] != '.' || !isDigit(f[5]) || !isDigit(f[6]))
        return false;
    time = (f[0] - '0') * 6000 + ((f[2] - '0') * 10 + (f[3] - '0')) * 100 + (f[5] - '0') * 10 +
           (f[6] - '0');
    return time != 0;
}

// Tenths with any non-digit separator: "  d.d" below 10.0, then six columns up to "3276.7".
// Returns the width taken, 0 when the text is not such a field.
inline int readTenths(const char* f, const char* end, std::int32_t& value)
{
    if (end - f < 5 || !isDigit(f[2]))
        return 0;
    if (!isDigit(f[3])) {
        if (f[0] != ' ' || f[1] != ' ' || !isDigit(f[4]))
            return 0;
        value = (f[2] - '0') * 10 + (f[4] - '0');
        return 5;
    }
    std::int32_t whole = 0;
    if (end - f < 6 || !readWord<4>(f, whole) || whole < 10 || isDigit(f[4]) || !isDigit(f[5]))
        return 0;
    value = whole * 10 + (f[5] - '0');
    return value <= 0x7FFF ? 6 : 0;
}

// A TMP max: "~" and three columns below 1000, else the last four digits (cut from 10000 on).
inline bool readTildeMax(const char* f, std::int32_t& value, bool& cut)
{
    if (f[0] == '~')
        return readNumber<3>(f + 1, false, value, cut);
    if (f[0] == ' ')
        return false;
    return readNumber<4>(f, true, value, cut);
}

constexpr std::int32_t& valueOf(BlockValues& b, BlockValue value)
{
    switch (value) {
    case BlockValue::Time:
        return b.time;
    case BlockValue::RpmMin:
        return b.rpmMin;
    case BlockValue::RpmMax:
        return b.rpmMax;
    case BlockValue::SpeedMin:
        return b.speedMin;
    case BlockValue::SpeedMax:
        return b.speedMax;
    case BlockValue::Tmp1Min:
        return b.tmp1Min;
    case BlockValue::Tmp1Max:
        return b.tmp1Max;
    case BlockValue::Tmp2Min:
        return b.tmp2Min;
    case BlockValue::Tmp2Max:
        return b.tmp2Max;
    case BlockValue::GxMax:
        return b.gxMax;
    case BlockValue::GyMax:
        return b.gyMax;
    case BlockValue::Length:
        return b.length;
    }
    return b.length;
}

// Where the table marks a value it showed only the last digits of.
constexpr bool* cutFlagOf(BlockValues& b, BlockValue value)
{
    switch (value) {
    case BlockValue::SpeedMax:
        return &b.speedMaxCut;
    case BlockValue::Tmp1Max:
        return &b.tmp1MaxCut;
    case BlockValue::Tmp2Max:
        return &b.tmp2MaxCut;
    default:
        return nullptr;
    }
}

// One field of a part. A number of fewer than five columns may have been cut by the layout;
// wider ones hold every word in full.
template <const TableField& F> inline bool readField(const char* part, BlockValues& b)
{
    const char* f = part + F.offset;
    std::int32_t& value = valueOf(b, F.value);
    if constexpr (F.kind == FieldKind::Time) {
        return readTime(f, value);
    } else {
        bool cut = false;
        bool ok = false;
        if constexpr (F.kind == FieldKind::TildeMax)
            ok = readTildeMax(f, value, cut);
        else if constexpr (F.width < 5)
            ok = readNumber<int(F.width)>(f, true, value, cut);
        else
            ok = readWord<int(F.width)>(f, value);
        if (bool* flag = cutFlagOf(b, F.value))
            *flag = cut;
        return ok;
    }
}

// The columns of a part's frame that no field takes, known when the code is built.
template <const auto& Fields, std::size_t Length> constexpr auto framePositions()
{
    std::array<bool, Length> taken{};
    for (const TableField& f : Fields) {
        for (std::size_t i = f.offset; i < f.offset + f.width; ++i)
            taken[i] = true;
    }
    struct Positions {
        std::array<std::uint8_t, Length> at{};
        std::size_t count = 0;
    } positions;
    for (std::size_t i = 0; i < Length; ++i) {
        if (!taken[i])
            positions.at[positions.count++] = static_cast<std::uint8_t>(i);
    }
    return positions;
}

template <const auto& Fields, const std::string_view& Frame, std::size_t... I>
inline bool readPart(const char* part, BlockValues& b, std::index_sequence<I...>)
{
    static constexpr auto kFrame = framePositions<Fields, Frame.size()>();
    bool ok = true;
    for (std::size_t i = 0; i < kFrame.count; ++i)
        ok = ok && part[kFrame.at[i]] == Frame[kFrame.at[i]];
    return ok && (readField<Fields[I]>(part, b) && ...);
}

// One block at p; returns its end, or nullptr when the text there is not a block.
const char* readBlock(const char* p, const char* end, BlockValues& b)
{
    if (static_cast<std::size_t>(end - p) < kMinBlockLength ||
        !readPart<kBlockHead, kBlockHeadFrame>(p, b, std::make_index_sequence<kBlockHead.size()>()))
        return nullptr;
    p += kBlockHeadFrame.size();
    for (const BlockValue tenths : kBlockTenths) {
        const int width = readTenths(p, end, valueOf(b, tenths));
        if (width == 0)
            return nullptr;
        p += width;
    }
    if (static_cast<std::size_t>(end - p) < kBlockTailFrame.size() ||
        !readPart<kBlockTail, kBlockTailFrame>(p, b, std::make_index_sequence<kBlockTail.size()>()))
        return nullptr;
    return p + kBlockTailFrame.size();
}

// Reads a lap line whose line end is already gone into lap, which must be a fresh LapData;
// false when the layout could not have written the line.
bool readLapLine(std::string_view text, LapData& lap)
{
    if (text.size() < 4 || text.size() > kMaxLapLineLength)
        return false;
    // The lap number may end the line: a short line is read from a padded copy.
    char padded[8] = {};
    const char* field = text.data();
    if (text.size() < sizeof padded) {
        std::memcpy(padded, text.data(), text.size());
        field = padded;
    }
    std::int32_t number = 0;
    if (!readNumber<int(kLapNumberWidth)>(field, true, number, lap.lapNumberCut) ||
        (number == 0 && !lap.lapNumberCut))
        return false;
    lap.lapNumber = number;
    const char* p = text.data() + kLapNumberWidth;
    const char* const end = text.data() + text.size();
    while (p != end) {
        if (lap.blockCount == kBlockCount)
            return false;
        p = readBlock(p, end, lap.blocks[static_cast<std::size_t>(lap.blockCount)]);
        if (p == nullptr)
            return false;
        ++lap.blockCount;
    }
    return true;
}

} // namespace

std::optional<SpeedUnit> parseHeaderLine(std::string_view line)
{
    line = withoutCr(line);
    if (line.size() != kHeaderLength)
        return std::nullopt;
    if (line == headerLine(0))
        return SpeedUnit::Kmh;
    if (line == headerLine(1))
        return SpeedUnit::Mph;
    return std::nullopt;
}

std::optional<LapData> parseLapLine(std::string_view line)
{
    LapData lap;
    if (!readLapLine(withoutCr(line), lap))
        return std::nullopt;
    return lap;
}

void LapTableReader::feedLine(std::string_view line)
{
    ++lines_;
    if (headerLine_ == 0) {
        if (const auto unit = parseHeaderLine(line)) {
            unit_ = *unit;
            headerLine_ = lines_;
        }
        return;
    }
    line = withoutCr(line);
    if (isBlank(line)) {
        ++pendingBlanks_;
        return;
    }
    for (; pendingBlanks_ > 0; --pendingBlanks_)
        skip(lines_ - pendingBlanks_);
    // Read in place at the end of the laps, so a lap is not copied.
    LapData& lap = laps_.emplace_back();
    if (readLapLine(line, lap)) {
        lap.line = lines_;
        return;
    }
    laps_.pop_back();
    skip(lines_);
    if (line.size() == kHeaderLength) {
        if (const auto unit = parseHeaderLine(line))
            laterHeaders_.push_back({lines_, *unit});
    }
}

void LapTableReader::skip(std::int64_t line)
{
    ++skippedCount_;
    if (skipped_.size() < keptSkipped_)
        skipped_.push_back(line);
}

LapTableText readLapTable(std::string_view text)
{
    LapTableReader reader;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos) {
            reader.feedLine(text);
            break;
        }
        reader.feedLine(text.substr(0, lf));
        text.remove_prefix(lf + 1);
    }
    return takeLapTable(reader);
}

LapTableText takeLapTable(LapTableReader& reader)
{
    LapTableText result;
    result.headerFound = reader.headerFound();
    result.unit = reader.unit();
    result.laps = reader.takeLaps();
    result.skippedLines = reader.skippedLines();
    result.laterHeaders = reader.laterHeaders();
    reader.clearLaterHeaders();
    result.lines = reader.linesRead();
    return result;
}
