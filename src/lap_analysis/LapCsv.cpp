#include "lap_analysis/LapCsv.h"

#include <array>
#include <cstring>

namespace {

constexpr std::string_view kValueNames[12] = {"time_s",    "rpm_min",  "rpm_max",  "speed_min",
                                              "speed_max", "gx_max",   "gy_max",   "tmp1_min",
                                              "tmp1_max",  "tmp2_min", "tmp2_max", "length"};

// Every number 0 to 32767 as its digits, left-aligned in eight bytes, and how many there are:
// a word is written with one eight-byte copy, without a loop or a branch on its length.
struct WordDigits {
    struct Entry {
        std::array<char, 8> text{};
        std::uint8_t length = 0;
    };
    std::array<Entry, 32768> entries{};

    WordDigits()
    {
        for (std::size_t v = 0; v < entries.size(); ++v) {
            char reversed[5];
            std::size_t n = 0;
            std::size_t rest = v;
            do {
                reversed[n++] = static_cast<char>('0' + rest % 10);
                rest /= 10;
            } while (rest != 0);
            for (std::size_t i = 0; i < n; ++i)
                entries[v].text[i] = reversed[n - 1 - i];
            entries[v].length = static_cast<std::uint8_t>(n);
        }
    }
};

const WordDigits kWordDigits;

char* putUnsigned(char* out, std::uint64_t v)
{
    if (v < kWordDigits.entries.size()) {
        const auto& e = kWordDigits.entries[static_cast<std::size_t>(v)];
        std::memcpy(out, e.text.data(),
                    8); // rows have room for it; what is past length is overwritten
        return out + e.length;
    }
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

char* putInt(char* out, std::int64_t v)
{
    if (v < 0) {
        *out++ = '-';
        return putUnsigned(out, static_cast<std::uint64_t>(-(v + 1)) + 1);
    }
    return putUnsigned(out, static_cast<std::uint64_t>(v));
}

// A value in units of 1/scale (10 or 100) with its decimals: 6523 at 100 is "65.23".
char* putFixed(char* out, std::int32_t value, int scale, char decimalPoint)
{
    std::int64_t v = value;
    if (v < 0) {
        *out++ = '-';
        v = -v;
    }
    out = putUnsigned(out, static_cast<std::uint64_t>(v / scale));
    *out++ = decimalPoint;
    const std::int64_t rest = v % scale;
    if (scale == 100)
        *out++ = static_cast<char>('0' + rest / 10);
    *out++ = static_cast<char>('0' + rest % 10);
    return out;
}

char* putBlock(char* out, const BlockValues& b, const CsvDialect& d)
{
    const char sep = d.delimiter;
    *out++ = sep;
    if (b.time >= 0 && b.time <= kMaxShownTime)
        out = putFixed(out, b.time, 100, d.decimalPoint);
    const std::int32_t beforeGx[4] = {b.rpmMin, b.rpmMax, b.speedMin, b.speedMax};
    for (std::int32_t v : beforeGx) {
        *out++ = sep;
        out = putInt(out, v);
    }
    *out++ = sep;
    out = putFixed(out, b.gxMax, 10, d.decimalPoint);
    *out++ = sep;
    out = putFixed(out, b.gyMax, 10, d.decimalPoint);
    const std::int32_t afterGy[5] = {b.tmp1Min, b.tmp1Max, b.tmp2Min, b.tmp2Max, b.length};
    for (std::int32_t v : afterGy) {
        *out++ = sep;
        out = putInt(out, v);
    }
    return out;
}

} // namespace

CsvDialect csvDialectFor(char delimiter)
{
    return CsvDialect{delimiter, delimiter == ',' ? '.' : ','};
}

namespace {

// The header's columns from "lap" on, without the line end; unitSuffix follows the speed names.
void appendLapColumns(std::string_view unitSuffix, const CsvDialect& dialect, std::string& out)
{
    out.append("lap");
    out.push_back(dialect.delimiter);
    out.append("counted");
    for (int k = 0; k < kBlockCount; ++k) {
        for (int v = 0; v < 12; ++v) {
            out.push_back(dialect.delimiter);
            if (k == 0) {
                out.append(v == 0 ? "lap_time_s" : kValueNames[v]);
            } else {
                out.push_back('s');
                out.push_back(static_cast<char>('0' + k));
                out.push_back('_');
                out.append(kValueNames[v]);
            }
            if (v == 3 || v == 4)
                out.append(unitSuffix);
        }
    }
}

std::string_view unitText(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? "m/h" : "km/h";
}

} // namespace

void appendCsvHeader(SpeedUnit unit, const CsvDialect& dialect, std::string& out)
{
    appendLapColumns(unit == SpeedUnit::Mph ? "_mph" : "_kmh", dialect, out);
    out.append("\r\n");
}

void appendSessionCsvHeader(std::optional<SpeedUnit> sharedUnit, const CsvDialect& dialect,
                            std::string& out)
{
    out.append("session");
    out.push_back(dialect.delimiter);
    out.append("session_name");
    out.push_back(dialect.delimiter);
    if (sharedUnit) {
        appendCsvHeader(*sharedUnit, dialect, out);
        return;
    }
    appendLapColumns("", dialect, out);
    out.push_back(dialect.delimiter);
    out.append("speed_unit\r\n");
}

std::string csvCell(std::string_view text, const CsvDialect& dialect)
{
    // A spreadsheet takes a cell that starts with one of these for a formula; the quote before
    // it keeps a file name such as "=HYPERLINK(...).BIL" a text.
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    if (text.find_first_of(std::string{dialect.delimiter, '"', '\r', '\n'}) ==
        std::string_view::npos) {
        std::string cell(formula ? "'" : "");
        cell.append(text);
        return cell;
    }
    std::string cell = formula ? "\"'" : "\"";
    for (char c : text) {
        if (c == '"')
            cell.push_back('"');
        cell.push_back(c);
    }
    cell.push_back('"');
    return cell;
}

char* writeSessionCsvRow(std::size_t session, std::string_view nameCell, const LapData& lap,
                         bool counted, std::optional<SpeedUnit> unitCell, const CsvDialect& dialect,
                         char* out)
{
    out = putUnsigned(out, session);
    *out++ = dialect.delimiter;
    std::memcpy(out, nameCell.data(), nameCell.size());
    out += nameCell.size();
    *out++ = dialect.delimiter;
    out = writeCsvRow(lap, counted, dialect, out);
    if (!unitCell)
        return out;
    out -= 2; // the line end goes after the unit
    *out++ = dialect.delimiter;
    const std::string_view unit = unitText(*unitCell);
    std::memcpy(out, unit.data(), unit.size());
    out += unit.size();
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

char* writeCsvRow(const LapData& lap, bool counted, const CsvDialect& dialect, char* p)
{
    p = putInt(p, lap.lapNumber);
    *p++ = dialect.delimiter;
    *p++ = counted ? '1' : '0';
    const int blocks =
        lap.blockCount < kBlockCount ? (lap.blockCount > 0 ? lap.blockCount : 0) : kBlockCount;
    for (int k = 0; k < blocks; ++k)
        p = putBlock(p, lap.blocks[static_cast<std::size_t>(k)], dialect);
    // Absent blocks: twelve empty cells each.
    const auto empty = static_cast<std::size_t>(kBlockCount - blocks) * 12;
    std::memset(p, dialect.delimiter, empty);
    p += empty;
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

void appendCsvRow(const LapData& lap, bool counted, const CsvDialect& dialect, std::string& out)
{
    char row[kMaxCsvRowLength];
    const char* end = writeCsvRow(lap, counted, dialect, row);
    out.append(row, static_cast<std::size_t>(end - row));
}

std::string lapCsv(std::span<const LapData> laps, SpeedUnit unit, const SessionStats& stats,
                   const CsvDialect& dialect)
{
    std::string out;
    appendCsvHeader(unit, dialect, out);
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const bool counted = i < stats.status.size() && stats.status[i] == LapStatus::Counted;
        appendCsvRow(laps[i], counted, dialect, out);
    }
    return out;
}
