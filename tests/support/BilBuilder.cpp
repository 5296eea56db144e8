#include "BilBuilder.h"

#include <QFile>

BilBuilder& BilBuilder::word(quint16 value)
{
    bytes_.append(static_cast<char>(value >> 8));
    bytes_.append(static_cast<char>(value & 0xFF));
    return *this;
}

BilBuilder& BilBuilder::block(const BilBlock& b)
{
    word(b.time).word(b.rpmMin).word(b.rpmMax).word(b.speedMin).word(b.speedMax);
    word(b.tmp1Min).word(b.tmp1Max).word(b.tmp2Min).word(b.tmp2Max);
    for (quint16 w : b.unshown)
        word(w);
    return word(b.gxMax).word(b.gyMax).word(b.length);
}

BilBuilder& BilBuilder::lap(quint16 recordWord, quint16 lapIndex,
                            const std::vector<BilBlock>& blocks)
{
    Q_ASSERT(blocks.size() <= 7);
    word(recordWord).word(lapIndex);
    for (const BilBlock& b : blocks)
        block(b);
    for (std::size_t k = blocks.size(); k < 7; ++k)
        block(BilBlock{});
    return *this;
}

BilBuilder& BilBuilder::endRecord()
{
    bytes_.append(QByteArray(kRecordSize, '\0'));
    return *this;
}

BilBuilder& BilBuilder::raw(const QByteArray& bytes)
{
    bytes_.append(bytes);
    return *this;
}

BilBuilder& BilBuilder::setWord(qsizetype byteOffset, quint16 value)
{
    Q_ASSERT(byteOffset >= 0 && byteOffset + 1 < bytes_.size());
    bytes_[byteOffset] = static_cast<char>(value >> 8);
    bytes_[byteOffset + 1] = static_cast<char>(value & 0xFF);
    return *this;
}

BilBuilder& BilBuilder::setRecordWord(int record, int byteOffset, quint16 value)
{
    return setWord(static_cast<qsizetype>(record) * kRecordSize + byteOffset, value);
}

bool BilBuilder::writeTo(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes_) == bytes_.size() && file.flush();
}

std::vector<BilBlock> workedExampleBlocks()
{
    BilBlock lapBlock{6523, 3500, 9800, 45, 162, 80, 95, 70, 88, {}, 12, 9, 2450};
    BilBlock sector1{2012, 4100, 9650, 60, 155, 82, 90, 71, 80, {}, 8, 11, 810};
    return {lapBlock, sector1};
}

namespace {

// A small fixed pseudo-random sequence, so the samples come out the same on every machine.
class Sequence {
public:
    explicit Sequence(quint32 seed) : state_(seed) {}
    // A number from lo to hi inclusive.
    int between(int lo, int hi)
    {
        state_ = state_ * 1103515245u + 12345u;
        return lo + static_cast<int>((state_ >> 16) % static_cast<quint32>(hi - lo + 1));
    }

private:
    quint32 state_;
};

} // namespace

QByteArray fullLaps(int laps, quint16 recordWord)
{
    Sequence seq(12345);
    auto next = [&seq](int lo, int hi) { return static_cast<quint16>(seq.between(lo, hi)); };
    BilBuilder b;
    std::vector<BilBlock> blocks(7);
    for (int lap = 0; lap < laps; ++lap) {
        for (BilBlock& k : blocks) {
            k = BilBlock{
                next(900, 7000), next(2000, 5000), next(8000, 12000), next(10, 90),  next(100, 250),
                next(60, 90),    next(90, 120),    next(50, 80),      next(80, 110), {},
                next(5, 150),    next(5, 150),     next(200, 3000)};
        }
        b.lap(recordWord, static_cast<quint16>(lap % 32767), blocks);
    }
    return b.bytes();
}

namespace {

// A session of `laps` laps on a 2.45 km course with six sectors. Speeds are in km/h, or in m/h
// when milesPerHour is set; the record word's bit 0 carries the unit.
QByteArray session(int laps, bool milesPerHour, quint32 seed)
{
    // Sector lengths (sum 2450) and typical sector times in hundredths.
    const int sectorLength[6] = {520, 310, 440, 380, 450, 350};
    const int sectorTime[6] = {1260, 1010, 1140, 1080, 1090, 950};
    const int sectorTopSpeed[6] = {168, 112, 141, 125, 150, 132}; // km/h
    const int sectorLowSpeed[6] = {92, 48, 61, 55, 70, 58};
    Sequence seq(seed);
    BilBuilder b;
    const quint16 recordWord = milesPerHour ? 0x0103 : 0x0102;
    auto speed = [&](int kmh) {
        return static_cast<quint16>(milesPerHour ? (kmh * 621 + 500) / 1000 : kmh);
    };
    for (int lap = 0; lap < laps; ++lap) {
        // The first lap leaves the pits: slower, lower peaks.
        const int slow = lap == 0 ? 900 : 0;
        BilBlock whole{};
        whole.rpmMin = 32767;
        whole.speedMin = 32767;
        whole.tmp1Min = 32767;
        whole.tmp2Min = 32767;
        std::vector<BilBlock> blocks(1);
        for (int s = 0; s < 6; ++s) {
            BilBlock sec{};
            sec.time = static_cast<quint16>(sectorTime[s] + slow / 6 + seq.between(-35, 45));
            sec.rpmMin =
                static_cast<quint16>(3000 + 20 * sectorLowSpeed[s] + seq.between(-150, 150));
            sec.rpmMax = static_cast<quint16>(9000 + 8 * sectorTopSpeed[s] +
                                              seq.between(-200, 120) - slow / 3);
            sec.speedMin = speed(sectorLowSpeed[s] + seq.between(-4, 4));
            sec.speedMax = speed(sectorTopSpeed[s] + seq.between(-5, 3) - slow / 100);
            sec.tmp1Min = static_cast<quint16>(78 + lap / 4 + seq.between(0, 2));
            sec.tmp1Max = static_cast<quint16>(sec.tmp1Min + seq.between(2, 6));
            sec.tmp2Min = static_cast<quint16>(68 + lap / 3 + seq.between(0, 3));
            sec.tmp2Max = static_cast<quint16>(sec.tmp2Min + seq.between(3, 9));
            sec.unshown = {static_cast<quint16>(seq.between(0, 255)), 0, 0,
                           static_cast<quint16>(lap)};
            sec.gxMax = static_cast<quint16>(seq.between(6, 15) - (slow ? 2 : 0));
            sec.gyMax = static_cast<quint16>(seq.between(8, 16) - (slow ? 3 : 0));
            sec.length = static_cast<quint16>(sectorLength[s] + seq.between(-3, 3));
            whole.time = static_cast<quint16>(whole.time + sec.time);
            whole.rpmMin = qMin(whole.rpmMin, sec.rpmMin);
            whole.rpmMax = qMax(whole.rpmMax, sec.rpmMax);
            whole.speedMin = qMin(whole.speedMin, sec.speedMin);
            whole.speedMax = qMax(whole.speedMax, sec.speedMax);
            whole.tmp1Min = qMin(whole.tmp1Min, sec.tmp1Min);
            whole.tmp1Max = qMax(whole.tmp1Max, sec.tmp1Max);
            whole.tmp2Min = qMin(whole.tmp2Min, sec.tmp2Min);
            whole.tmp2Max = qMax(whole.tmp2Max, sec.tmp2Max);
            whole.gxMax = qMax(whole.gxMax, sec.gxMax);
            whole.gyMax = qMax(whole.gyMax, sec.gyMax);
            whole.length = static_cast<quint16>(whole.length + sec.length);
            blocks.push_back(sec);
        }
        blocks[0] = whole;
        b.lap(recordWord, static_cast<quint16>(lap), blocks);
    }
    b.endRecord();
    return b.bytes();
}

} // namespace

std::vector<SampleFile> sampleFiles()
{
    return {
        {QStringLiteral("EXAMPLE.BIL"), BilBuilder().lap(2, 2, workedExampleBlocks()).bytes()},
        {QStringLiteral("SESSION_KMH.BIL"), session(20, false, 20240612u)},
        {QStringLiteral("SESSION_MPH.BIL"), session(12, true, 20240905u)},
    };
}
