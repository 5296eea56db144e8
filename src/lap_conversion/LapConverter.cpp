#include "lap_conversion/LapConverter.h"

#include "lap_conversion/LapTable.h"

#include <utility>

LapConverter::LapConverter(char decimalPoint, Sink sink, std::size_t batchBytes)
    : decimalPoint_(decimalPoint), sink_(std::move(sink)), batchBytes_(batchBytes)
{
    // Room for a full batch plus the header and one more line, so a line is always written in
    // place without growing the buffer.
    buffer_.resize(batchBytes_ + kHeaderLength + kMaxLapLineLength + 2 * kLineEnd.size());
}

void LapConverter::startFile()
{
    recordsInFile_ = 0;
    fault_ = LapFault{};
}

LapConverter::FeedResult LapConverter::feed(std::span<const std::uint8_t> bytes)
{
    FeedResult result;
    while (bytes.size() - result.consumed >= kRecordSize) {
        const auto recordBytes = bytes.subspan(result.consumed, kRecordSize);
        const std::uint64_t recordStart = recordsInFile_ * kRecordSize;
        ++recordsInFile_;
        result.consumed += kRecordSize;

        RecordFault recordFault;
        const RecordStatus status = decodeLapRecord(recordBytes, record_, recordFault);
        if (status == RecordStatus::EndOfData) {
            result.status = Status::EndOfData;
            return result;
        }
        if (headerPending_ && record_.recordWord != 0) {
            UNIT_FLG = static_cast<std::int16_t>(record_.recordWord & 1);
            HEAD_PRINT();
            headerPending_ = false;
        }
        if (status == RecordStatus::Fault) {
            fault_ = LapFault{recordFault.kind, recordsInFile_, recordStart + recordFault.offset,
                              recordFault.value};
            result.status = Status::Fault;
            return result;
        }
        char* end = writeLapLine(record_, decimalPoint_, buffer_.data() + used_);
        *end++ = '\r';
        *end++ = '\n';
        used_ = static_cast<std::size_t>(end - buffer_.data());
        if (used_ >= batchBytes_)
            flush();
    }
    return result;
}

void LapConverter::HEAD_PRINT()
{
    const std::string_view header = headerLine(UNIT_FLG);
    buffer_.replace(used_, header.size(), header);
    buffer_.replace(used_ + header.size(), kLineEnd.size(), kLineEnd);
    used_ += header.size() + kLineEnd.size();
}

void LapConverter::flush()
{
    if (used_ == 0)
        return;
    const std::size_t used = used_;
    used_ = 0;
    sink_(std::string_view(buffer_.data(), used));
}

LapFault convertLapBytes(std::span<const std::uint8_t> bytes, char decimalPoint, std::string& text)
{
    LapConverter converter(decimalPoint, [&text](std::string_view batch) { text.append(batch); });
    converter.startFile();
    converter.feed(bytes);
    converter.flush();
    return converter.fault();
}
