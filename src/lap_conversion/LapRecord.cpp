#include "lap_conversion/LapRecord.h"

#include "lap_conversion/BigEndianReader.h"

namespace {

RecordStatus fail(const BigEndianReader& reader, RecordFault& fault)
{
    fault.kind = reader.fault() == BigEndianReader::Fault::HighByte ? RecordFaultKind::HighByte
                                                                    : RecordFaultKind::Truncated;
    fault.offset = reader.faultOffset();
    fault.value = reader.faultValue();
    return RecordStatus::Fault;
}

} // namespace

RecordStatus decodeLapRecord(std::span<const std::uint8_t> bytes, LapRecord& record,
                             RecordFault& fault)
{
    record.recordWord = 0;
    record.lapNumber = 0;
    record.blockCount = 0;
    fault = RecordFault{};
    if (bytes.size() > kRecordSize)
        bytes = bytes.first(kRecordSize);
    BigEndianReader reader(bytes);

    std::uint16_t word = 0;
    if (!reader.readWord16(word))
        return fail(reader, fault);
    if (word == 0)
        return RecordStatus::EndOfData;
    record.recordWord = word;

    std::uint16_t lapIndex = 0;
    if (!reader.readWord16(lapIndex))
        return fail(reader, fault);
    if (lapIndex == 0x7FFF) {
        fault.kind = RecordFaultKind::LapOverflow;
        fault.offset = 2;
        fault.value = lapIndex;
        return RecordStatus::Fault;
    }
    record.lapNumber = static_cast<std::uint16_t>(lapIndex + 1);

    for (int k = 0; k < kBlockCount; ++k) {
        LapBlock& b = record.blocks[static_cast<std::size_t>(k)];
        if (!reader.readWord16(b.time))
            return fail(reader, fault);
        if (b.time == 0)
            break;
        std::uint16_t unshown = 0;
        if (!reader.readWord16(b.rpmMin) || !reader.readWord16(b.rpmMax) ||
            !reader.readWord16(b.speedMin) || !reader.readWord16(b.speedMax) ||
            !reader.readWord16(b.tmp1Min) || !reader.readWord16(b.tmp1Max) ||
            !reader.readWord16(b.tmp2Min) || !reader.readWord16(b.tmp2Max) ||
            !reader.readWord16(unshown) || !reader.readWord16(unshown) ||
            !reader.readWord16(unshown) || !reader.readWord16(unshown) ||
            !reader.readWord16(b.gxMax) || !reader.readWord16(b.gyMax) ||
            !reader.readWord16(b.length))
            return fail(reader, fault);
        record.blockCount = k + 1;
    }
    return RecordStatus::Lap;
}
