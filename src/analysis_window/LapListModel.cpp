#include "analysis_window/LapListModel.h"

#include "analysis_view/DisplayText.h"
#include "session_report/MarkColours.h"

#include <QBrush>
#include <QFont>
#include <algorithm>
#include <limits>
#include <numeric>

namespace {

// The timing-screen marks: the best lap's row on a pale ground, each sector's best time in
// purple; both also bold, so they do not depend on seeing the colour.
const QColor kBestLapGround(0xEE, 0xE4, 0xF8);
const QColor kSectorBestText = kBestMark;
const QColor kExcludedText(0x9E, 0x9E, 0x9E);

constexpr std::int64_t kUnknownLast = std::numeric_limits<std::int64_t>::max();

std::int64_t timeKey(std::int32_t time)
{
    return time == kUnknownTime ? kUnknownLast : time;
}

} // namespace

LapListModel::LapListModel(QObject* parent) : QAbstractTableModel(parent) {}

void LapListModel::setDocument(AnalysisDocument* document)
{
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    if (document_) {
        connect(document_, &AnalysisDocument::changed, this,
                [this](AnalysisDocument::Change change) {
                    if (change == AnalysisDocument::Change::Laps)
                        listLaps();
                    else if (!order_.empty())
                        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
                });
    }
    listLaps();
}

void LapListModel::showSession(std::optional<std::size_t> session)
{
    session_ = session;
    listLaps();
}

void LapListModel::listLaps()
{
    beginResetModel();
    analysis_ = document_ ? &document_->analysis() : nullptr;
    if (analysis_ && session_ && *session_ >= analysis_->sessionCount())
        session_.reset();
    first_ = analysis_ && session_ ? analysis_->session(*session_).firstLap : 0;
    const std::size_t count = !analysis_ ? 0
                              : session_ ? analysis_->session(*session_).lapCount
                                         : analysis_->laps().size();
    order_.resize(count);
    unitsDiffer_ = false;
    if (!order_.empty()) {
        const std::size_t firstSession = analysis_->sessionOf(first_);
        const std::size_t lastSession = analysis_->sessionOf(first_ + count - 1);
        unit_ = analysis_->session(firstSession).unit;
        for (std::size_t s = firstSession + 1; s <= lastSession; ++s) {
            if (analysis_->session(s).lapCount > 0 && analysis_->session(s).unit != unit_)
                unitsDiffer_ = true;
        }
    }
    applyOrder();
    skipped_ = document_ ? document_->skippedLines() : std::vector<std::int64_t>{};
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, SpeedMaxColumn, SpeedMaxColumn);
}

int LapListModel::rowOf(std::size_t lap) const
{
    if (lap < first_)
        return -1;
    const auto it = std::find(order_.begin(), order_.end(), lap - first_);
    return it == order_.end() ? -1 : int(it - order_.begin());
}

int LapListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(order_.size() + skipped_.size());
}

int LapListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LapListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !analysis_)
        return {};
    if (const std::int64_t line = skippedLineAt(index.row()))
        return skippedData(line, index.column(), role);
    const std::size_t pos = lapAt(index.row());
    const LapData& lap = analysis_->laps()[pos];
    const int column = index.column();
    const LapStatus status = analysis_->status(pos);
    const bool bestLap = isBestLap(pos);

    switch (role) {
    case Qt::DisplayRole:
        return display(lap, pos, column);
    case Qt::CheckStateRole:
        if (column == LapColumn)
            return status == LapStatus::Counted ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return column == SessionColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                       : int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (bestLap || isSectorBest(pos, column)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        if (isSectorBest(pos, column))
            return QBrush(kSectorBestText);
        if (status != LapStatus::Counted)
            return QBrush(kExcludedText);
        return {};
    case Qt::BackgroundRole:
        return bestLap ? QVariant(QBrush(kBestLapGround)) : QVariant();
    case Qt::ToolTipRole:
        return toolTip(pos, column);
    default:
        return {};
    }
}

bool LapListModel::isBestLap(std::size_t pos) const
{
    const std::size_t s = analysis_->sessionOf(pos);
    const auto& best = analysis_->stats(s).bestLap;
    return best && best->lap == pos - analysis_->session(s).firstLap;
}

QVariant LapListModel::display(const LapData& lap, std::size_t pos, int column) const
{
    const BlockValues& whole = lap.blocks[0];
    if (column >= FirstSectorColumn && column < FirstSectorColumn + kMaxSectors) {
        const int sector = column - FirstSectorColumn + 1;
        return sector <= lap.sectorCount() ? timeText(lap.blocks[sector].time) : QString();
    }
    switch (column) {
    case SessionColumn:
        return sessionName(*analysis_, analysis_->sessionOf(pos));
    case LapColumn:
        return lapNumberText(lap);
    case TimeColumn:
        return timeText(lap.lapTime());
    case GapColumn: {
        const std::int32_t gap = analysis_->gapToBest(pos);
        return gap == kUnknownTime ? QString() : gapText(gap);
    }
    }
    if (lap.blockCount == 0)
        return QString();
    switch (column) {
    case RpmMaxColumn:
        return numberText(whole.rpmMax);
    case SpeedMaxColumn:
        if (unitsDiffer_)
            return numberText(whole.speedMax, whole.speedMaxCut) + u' ' +
                   speedUnitText(analysis_->session(analysis_->sessionOf(pos)).unit);
        return numberText(whole.speedMax, whole.speedMaxCut);
    case GxMaxColumn:
        return tenthsText(whole.gxMax);
    case GyMaxColumn:
        return tenthsText(whole.gyMax);
    case Tmp1MinColumn:
        return numberText(whole.tmp1Min);
    case Tmp1MaxColumn:
        return numberText(whole.tmp1Max, whole.tmp1MaxCut);
    case Tmp2MinColumn:
        return numberText(whole.tmp2Min);
    case Tmp2MaxColumn:
        return numberText(whole.tmp2Max, whole.tmp2MaxCut);
    }
    return {};
}

QVariant LapListModel::toolTip(std::size_t pos, int column) const
{
    if (isSectorBest(pos, column))
        return tr("Best sector %1").arg(column - FirstSectorColumn + 1);
    if (isBestLap(pos))
        return tr("Best lap of its session");
    switch (analysis_->status(pos)) {
    case LapStatus::Untimed:
        return tr("No lap time: never counted");
    case LapStatus::ExcludedSlow:
        return tr("Excluded: slower than the limit");
    case LapStatus::ExcludedFast:
        return tr("Excluded: far faster than the median lap, a mis-triggered lap (a beacon read "
                  "twice)");
    case LapStatus::ExcludedByUser:
        return tr("Excluded by you; click again to follow the limit");
    case LapStatus::Counted:
        if (analysis_->choiceOf(pos))
            return tr("Counted by you; click again to follow the limit");
        break;
    }
    return {};
}

bool LapListModel::isSectorBest(std::size_t pos, int column) const
{
    if (column < FirstSectorColumn || column >= FirstSectorColumn + kMaxSectors)
        return false;
    const std::size_t s = analysis_->sessionOf(pos);
    const auto& best = analysis_->stats(s).sectorBest[std::size_t(column - FirstSectorColumn)];
    return best && best->lap == pos - analysis_->session(s).firstLap;
}

QVariant LapListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section >= FirstSectorColumn && section < FirstSectorColumn + kMaxSectors)
        return QStringLiteral("S%1").arg(section - FirstSectorColumn + 1);
    switch (section) {
    case SessionColumn:
        return tr("Session");
    case LapColumn:
        return tr("Lap");
    case TimeColumn:
        return tr("Time");
    case GapColumn:
        return tr("Gap");
    case RpmMaxColumn:
        return tr("rpm max");
    case SpeedMaxColumn:
        if (unitsDiffer_)
            return tr("Speed max");
        return unit_ == SpeedUnit::Mph ? tr("m/h max") : tr("km/h max");
    case GxMaxColumn:
        return tr("GX max");
    case GyMaxColumn:
        return tr("GY max");
    case Tmp1MinColumn:
        return tr("TMP1 min");
    case Tmp1MaxColumn:
        return tr("TMP1 max");
    case Tmp2MinColumn:
        return tr("TMP2 min");
    case Tmp2MaxColumn:
        return tr("TMP2 max");
    }
    return {};
}

// A line that is not a lap line: in red and bold, what it is across the row.
QVariant LapListModel::skippedData(std::int64_t line, int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return column == LapColumn ? QVariant(tr("Line %1").arg(line))
               : column == TimeColumn ? QVariant(tr("not a lap line: it counts in no figure"))
                                      : QVariant();
    case Qt::ForegroundRole:
        return QBrush(QColor(0xB7, 0x1C, 0x1C));
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::ToolTipRole:
        return tr("Line %1 of the view is not a lap line: select it to go to it.").arg(line);
    default:
        return {};
    }
}

Qt::ItemFlags LapListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && skippedLineAt(index.row()))
        return flags;
    // An untimed lap can never be counted, so its box cannot be ticked.
    if (index.isValid() && index.column() == LapColumn && analysis_ &&
        analysis_->laps()[lapAt(index.row())].timed())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool LapListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != LapColumn || role != Qt::CheckStateRole ||
        !(flags(index) & Qt::ItemIsUserCheckable) || !document_)
        return false;
    document_->setLapCounted(lapAt(index.row()), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

void LapListModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> lapsBefore;
    lapsBefore.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        lapsBefore.push_back(order_[std::size_t(index.row())]);

    applyOrder();

    std::vector<int> rowOfLap(order_.size());
    for (std::size_t row = 0; row < order_.size(); ++row)
        rowOfLap[order_[row]] = int(row);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOfLap[lapsBefore[std::size_t(i)]], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// Puts order_ in the current sort order; ties keep the table's order.
void LapListModel::applyOrder()
{
    std::iota(order_.begin(), order_.end(), std::size_t(0));
    if (sortColumn_ < 0 || !analysis_)
        return;
    const int column = sortColumn_;
    const auto key = [this, column](std::size_t pos) -> std::int64_t {
        const LapData& lap = analysis_->laps()[pos];
        const BlockValues& whole = lap.blocks[0];
        if (column >= FirstSectorColumn && column < FirstSectorColumn + kMaxSectors) {
            const int sector = column - FirstSectorColumn + 1;
            return sector <= lap.sectorCount() ? timeKey(lap.blocks[sector].time) : kUnknownLast;
        }
        switch (column) {
        case SessionColumn:
            return std::int64_t(analysis_->sessionOf(pos));
        case LapColumn:
            return lap.lapNumber;
        case TimeColumn:
            return timeKey(lap.lapTime());
        case GapColumn:
            return timeKey(analysis_->gapToBest(pos));
        case RpmMaxColumn:
            return whole.rpmMax;
        case SpeedMaxColumn: {
            // Speeds of one unit together: m/h after km/h.
            const bool mph = analysis_->session(analysis_->sessionOf(pos)).unit == SpeedUnit::Mph;
            return (unitsDiffer_ && mph ? std::int64_t(1) << 32 : 0) + whole.speedMax;
        }
        case GxMaxColumn:
            return whole.gxMax;
        case GyMaxColumn:
            return whole.gyMax;
        case Tmp1MinColumn:
            return whole.tmp1Min;
        case Tmp1MaxColumn:
            return whole.tmp1Max;
        case Tmp2MinColumn:
            return whole.tmp2Min;
        case Tmp2MaxColumn:
            return whole.tmp2Max;
        }
        return 0;
    };
    std::vector<std::int64_t> keys(order_.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = key(first_ + i);
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    // Laps without the figure go last in either order.
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        const bool unknownA = keys[a] == kUnknownLast, unknownB = keys[b] == kUnknownLast;
        if (unknownA != unknownB)
            return unknownB;
        return descending ? keys[a] > keys[b] : keys[a] < keys[b];
    });
}
