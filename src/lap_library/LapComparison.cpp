#include "lap_library/LapComparison.h"

#include "lap_library/SessionFigures.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace {

ComparisonReference::Sector sectorOf(const BlockValues& block)
{
    return {block.time, block.length, block.speedMin, block.speedMax};
}

} // namespace

ComparisonReference referenceOfLap(ReferenceKind kind, const QString& label, const LapData& lap,
                                   SpeedUnit unit)
{
    ComparisonReference r;
    r.kind = kind;
    r.label = label;
    r.unit = unit;
    r.whole = sectorOf(lap.blocks[0]);
    r.sectorCount = lap.sectorCount();
    for (int k = 0; k < r.sectorCount; ++k)
        r.sectors[std::size_t(k)] = sectorOf(lap.blocks[std::size_t(k) + 1]);
    return r;
}

ComparisonReference referenceOfSectors(const QString& label, std::span<const LapData> sectorLaps,
                                       SpeedUnit unit)
{
    ComparisonReference r;
    r.kind = ReferenceKind::Ideal;
    r.label = label;
    r.unit = unit;
    r.sectorCount = int(std::min<std::size_t>(sectorLaps.size(), kMaxSectors));
    for (int k = 0; k < r.sectorCount; ++k) {
        r.sectors[std::size_t(k)] = sectorOf(sectorLaps[std::size_t(k)].blocks[std::size_t(k) + 1]);
        r.whole.time += r.sectors[std::size_t(k)].time;
        r.whole.length += r.sectors[std::size_t(k)].length;
    }
    // A lap never driven whole has no speeds of its own; its sectors have their laps'.
    return r;
}

ComparisonReference targetReference(const QString& label, std::int32_t target,
                                    const ComparisonReference& base)
{
    ComparisonReference r;
    r.kind = ReferenceKind::Target;
    r.label = label;
    r.unit = base.unit;
    r.whole.time = target;
    r.whole.length = base.whole.length;
    r.sectorCount = base.sectorCount;
    std::int64_t sum = 0;
    for (int k = 0; k < r.sectorCount; ++k)
        sum += std::max(0, base.sectors[std::size_t(k)].time);
    if (r.sectorCount == 0)
        return r;
    // Whole hundredths by the largest remainder, so that the sectors add up to the target.
    std::vector<std::pair<std::int64_t, int>> remainders;
    std::int64_t given = 0;
    for (int k = 0; k < r.sectorCount; ++k) {
        const std::int64_t share = sum > 0 ? std::int64_t(target) *
                                                 std::max(0, base.sectors[std::size_t(k)].time)
                                           : target;
        const std::int64_t divisor = sum > 0 ? sum : r.sectorCount;
        r.sectors[std::size_t(k)].time = std::int32_t(share / divisor);
        r.sectors[std::size_t(k)].length = base.sectors[std::size_t(k)].length;
        remainders.push_back({share % divisor, k});
        given += share / divisor;
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; given < target && i < remainders.size(); ++i, ++given)
        ++r.sectors[std::size_t(remainders[i].second)].time;
    return r;
}

std::optional<std::int32_t> parseLapTime(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(?:(\\d):)?(\\d{1,3})(?:[.,](\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int minutes = m.captured(1).isEmpty() ? 0 : m.captured(1).toInt();
    const int seconds = m.captured(2).toInt();
    if (!m.captured(1).isEmpty() && (seconds >= 60 || m.captured(2).size() != 2))
        return std::nullopt;
    QString fraction = m.captured(3);
    if (fraction.size() == 1)
        fraction += QLatin1Char('0');
    const std::int64_t time = (std::int64_t(minutes) * 60 + seconds) * 100 + fraction.toInt();
    if (time <= 0 || time > kMaxShownTime)
        return std::nullopt;
    return std::int32_t(time);
}

namespace {

ComparisonMark markOf(std::int32_t time, std::int32_t gap, std::int32_t bestShown)
{
    if (time == bestShown)
        return ComparisonMark::BestShown;
    return gap < 0 ? ComparisonMark::Better : gap > 0 ? ComparisonMark::Worse : ComparisonMark::None;
}

// The row of block b (0 the whole lap) over the laps.
ComparisonRow rowOf(std::span<const ComparedLap> laps, const ComparisonReference& ref, int b,
                    std::vector<std::int32_t>& cumulative)
{
    const ComparisonReference::Sector& r = b == 0 ? ref.whole : ref.sectors[std::size_t(b) - 1];
    ComparisonRow row;
    row.sector = b;
    row.reference = r.time;
    std::int32_t bestShown = kUnknownTime;
    for (const ComparedLap& lap : laps) {
        const std::int32_t time = lap.lap.blocks[std::size_t(b)].time;
        bestShown = bestShown == kUnknownTime ? time : std::min(bestShown, time);
    }
    for (std::size_t i = 0; i < laps.size(); ++i) {
        const BlockValues& block = laps[i].lap.blocks[std::size_t(b)];
        ComparisonCell cell;
        cell.time = block.time;
        cell.gap = block.time - r.time;
        cell.cumulative = b == 0 ? cell.gap : (cumulative[i] += cell.gap);
        // Speeds of two units are never compared.
        if (laps[i].unit == ref.unit && r.speedMin && r.speedMax) {
            cell.speedMinDiff = block.speedMin - *r.speedMin;
            cell.speedMaxDiff = block.speedMax - *r.speedMax;
        }
        cell.mark = markOf(block.time, cell.gap, bestShown);
        row.lost += cell.gap;
        row.laps.push_back(cell);
    }
    return row;
}

} // namespace

LapComparison LapComparer::compare(std::span<const ComparedLap> laps,
                                   const ComparisonReference& reference)
{
    LapComparison c;
    const int count = int(laps.size());
    if (count < kMinComparedLaps || count > kMaxComparedLaps) {
        c.refused = tr("Compare 2 to 8 laps, not %1.").arg(count);
        return c;
    }
    const ComparedLap& first = laps.front();
    const int sectors = first.lap.sectorCount();
    for (const ComparedLap& lap : laps) {
        if (!lap.lap.timed()) {
            c.refused = tr("%1 has no lap time.").arg(lap.label);
            return c;
        }
        if (lap.lap.sectorCount() != sectors) {
            c.refused = tr("%1 has %2 sectors and %3 has %4: only laps of one sector layout can "
                           "be compared.")
                            .arg(first.label, QString::number(sectors), lap.label,
                                 QString::number(lap.lap.sectorCount()));
            return c;
        }
        for (int k = 1; k <= sectors; ++k) {
            if (lap.lap.blocks[std::size_t(k)].time == kUnknownTime) {
                c.refused = tr("%1 has no time for sector %2.").arg(lap.label, QString::number(k));
                return c;
            }
        }
    }
    // The lengths of each sector (of the lap, without sectors) against the first lap's.
    const int firstBlock = sectors > 0 ? 1 : 0;
    for (const ComparedLap& lap : laps.subspan(1)) {
        for (int b = firstBlock; b <= sectors; ++b) {
            const std::int32_t a = first.lap.blocks[std::size_t(b)].length;
            const std::int32_t other = lap.lap.blocks[std::size_t(b)].length;
            if (!sameLength(a, other)) {
                c.refused = b == 0 ? tr("The lap is %1 long in %2 and %3 in %4: more than 3 % "
                                        "apart, not the same track layout.")
                                         .arg(QString::number(a), first.label,
                                              QString::number(other), lap.label)
                                   : tr("Sector %1 is %2 long in %3 and %4 in %5: more than 3 % "
                                        "apart, not the same sector layout.")
                                         .arg(QString::number(b), QString::number(a), first.label,
                                              QString::number(other), lap.label);
                return c;
            }
        }
    }
    if (reference.sectorCount != sectors) {
        c.refused = tr("The reference (%1) has %2 sectors and the laps %3: only laps of one "
                       "sector layout can be compared.")
                        .arg(reference.label, QString::number(reference.sectorCount),
                             QString::number(sectors));
        return c;
    }
    for (int b = firstBlock; b <= sectors; ++b) {
        const std::int32_t length =
            b == 0 ? reference.whole.length : reference.sectors[std::size_t(b) - 1].length;
        const std::int32_t a = first.lap.blocks[std::size_t(b)].length;
        if (length > 0 && !sameLength(a, length)) {
            c.refused = tr("Sector %1 of the reference (%2) is %3 long and %4 in %5: more than 3 % "
                           "apart, not the same sector layout.")
                            .arg(QString::number(b), reference.label, QString::number(length),
                                 QString::number(a), first.label);
            return c;
        }
    }
    std::vector<std::int32_t> cumulative(laps.size(), 0);
    for (int k = 1; k <= sectors; ++k)
        c.sectors.push_back(rowOf(laps, reference, k, cumulative));
    c.whole = rowOf(laps, reference, 0, cumulative);
    return c;
}

std::vector<std::size_t> sectorsByTimeLost(const LapComparison& comparison)
{
    std::vector<std::size_t> order(comparison.sectors.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return comparison.sectors[a].lost > comparison.sectors[b].lost;
    });
    return order;
}
