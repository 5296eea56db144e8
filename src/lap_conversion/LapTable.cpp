#include "lap_conversion/LapTable.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::string_view kLapPart[2] = {
    " LAP   TIME    rpm min~max    km/h  GXmax GYmax   TMP1     TMP2  LENGTH",
    " LAP   TIME    rpm min~max     m/h  GXmax GYmax   TMP1     TMP2  LENGTH",
};
constexpr std::string_view kSectorPart[2] = {
    " TIME  rpm min~max    km/h  GXmax GYmax   TMP1     TMP2  LENGTH",
    " TIME  rpm min~max     m/h  GXmax GYmax   TMP1     TMP2  LENGTH",
};

struct Header {
    std::array<char, kHeaderLength> text{};

    constexpr explicit Header(int unit)
    {
        std::size_t n = 0;
        auto put = [&](std::string_view s) {
            for (char c : s)
                text[n++] = c;
        };
        put(kLapPart[unit]);
        for (char sector = '1'; sector <= '6'; ++sector) {
            put(" SEG");
            text[n++] = sector;
            put(kSectorPart[unit]);
        }
    }
};

constexpr Header kHeaders[2] = {Header(0), Header(1)};

// Every word value 0 to 32767 right-aligned in five columns. Each numeric field of the table is
// a slice of this text with literals around it: the patterns keep their last few characters, so a
// wider number loses its leading digits exactly where a narrower slice begins.
struct Digits5 {
    std::array<std::array<char, 5>, 32768> text{};

    constexpr Digits5()
    {
        for (int v = 0; v < 32768; ++v) {
            auto& t = text[static_cast<std::size_t>(v)];
            int rest = v;
            int i = 4;
            do {
                t[static_cast<std::size_t>(i--)] = static_cast<char>('0' + rest % 10);
                rest /= 10;
            } while (rest != 0);
            while (i >= 0)
                t[static_cast<std::size_t>(i--)] = ' ';
        }
    }
};

// const rather than constexpr: the table takes more evaluation steps than clang and MSVC allow
// by default, so they build it at start-up while g++ still builds it at compile time.
const Digits5 kDigits5;

inline const char* digits5(std::uint16_t v)
{
    return kDigits5.text[v & 0x7FFF].data();
}

inline char* put(char* out, const char* src, std::size_t n)
{
    std::memcpy(out, src, n);
    return out + n;
}

static_assert(kBlockHeadFrame.size() == 32 && kBlockTailFrame.size() == 26);

// Tenths as the table shows them: "  d.d" (five wide) below 100, then "  10.0".."3276.7", the
// whole part keeping its last four digits.
inline char* putTenths(char* out, std::uint16_t v, char decimalPoint)
{
    if (v < 100) {
        *out++ = ' ';
        *out++ = ' ';
        *out++ = static_cast<char>('0' + v / 10);
    } else {
        out = put(out, digits5(static_cast<std::uint16_t>(v / 10)) + 1, 4);
    }
    *out++ = decimalPoint;
    *out++ = static_cast<char>('0' + v % 10);
    return out;
}

// "m:ss.hh" for 0 to 59999 hundredths, "-:--.--" otherwise; seven characters.
inline void putTime(char* out, std::int32_t time)
{
    if (time > 59999 || time < 0) {
        std::memcpy(out, "-:--.--", 7);
        return;
    }
    writeLapTime(static_cast<std::uint64_t>(time), out);
}

constexpr std::uint16_t valueOf(const LapBlock& b, BlockValue value)
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
    return 0;
}

// One field into its part, whose frame is already in place: a number is a slice of its
// five-column text, so a wider number loses its leading digits exactly where the field begins.
template <const TableField& F> inline void putField(char* part, const LapBlock& b)
{
    const std::uint16_t v = valueOf(b, F.value);
    char* out = part + F.offset;
    if constexpr (F.kind == FieldKind::Time) {
        putTime(out, static_cast<std::int32_t>(v));
    } else if constexpr (F.kind == FieldKind::TildeMax) {
        if (v < 1000) {
            *out = '~';
            put(out + 1, digits5(v) + 2, 3);
        } else {
            put(out, digits5(v) + 1, 4);
        }
    } else if constexpr (F.width >= 5) {
        put(out + F.width - 5, digits5(v), 5); // the frame's spaces stand before it
    } else {
        put(out, digits5(v) + 5 - F.width, F.width);
    }
}

template <const auto& Fields, std::size_t... I>
inline void putFields(char* part, const LapBlock& b, std::index_sequence<I...>)
{
    (putField<Fields[I]>(part, b), ...);
}

char* putBlock(char* out, const LapBlock& b, char decimalPoint)
{
    out = put(out, kBlockHeadFrame.data(), kBlockHeadFrame.size());
    putFields<kBlockHead>(out - kBlockHeadFrame.size(), b,
                          std::make_index_sequence<kBlockHead.size()>());
    for (const BlockValue tenths : kBlockTenths)
        out = putTenths(out, valueOf(b, tenths), decimalPoint);
    out = put(out, kBlockTailFrame.data(), kBlockTailFrame.size());
    putFields<kBlockTail>(out - kBlockTailFrame.size(), b,
                          std::make_index_sequence<kBlockTail.size()>());
    return out;
}

} // namespace

std::string_view headerLine(int unitFlag)
{
    const auto& h = kHeaders[unitFlag & 1].text;
    return {h.data(), h.size()};
}

void appendHeaderLine(int unitFlag, std::string& out)
{
    out.append(headerLine(unitFlag));
    out.append(kLineEnd);
}

TimeText tableTimeText(std::int32_t time)
{
    TimeText text;
    putTime(text.data(), time);
    return text;
}

char* writeLapLine(const LapRecord& record, char decimalPoint, char* out)
{
    out = put(out, digits5(record.lapNumber) + 5 - kLapNumberWidth, kLapNumberWidth);
    const int blocks = record.blockCount < kBlockCount ? record.blockCount : kBlockCount;
    for (int k = 0; k < blocks; ++k)
        out = putBlock(out, record.blocks[static_cast<std::size_t>(k)], decimalPoint);
    return out;
}

void appendLapLine(const LapRecord& record, char decimalPoint, std::string& out)
{
    const std::size_t start = out.size();
    out.resize(start + kMaxLapLineLength);
    char* end = writeLapLine(record, decimalPoint, out.data() + start);
    out.resize(static_cast<std::size_t>(end - out.data()));
}
