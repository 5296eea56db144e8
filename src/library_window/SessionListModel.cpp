#include "library_window/SessionListModel.h"

#include "analysis_view/DisplayText.h"
#include "library_view/SheetLines.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace {

std::optional<std::int32_t> bestOf(const SessionInfo& s)
{
    return s.figures.bestLap ? std::optional(s.figures.bestLap->time) : std::nullopt;
}

QString timeOrEmpty(std::optional<std::int32_t> t)
{
    return t ? timeText(*t) : QString();
}

} // namespace

SessionListModel::Row SessionListModel::rowFor(SessionInfo info)
{
    Row row;
    row.track = SheetLines::trackText(info.sheet);
    const QString& note = !info.sheet.notesAfter.isEmpty() ? info.sheet.notesAfter
                                                           : info.sheet.notesBefore;
    row.note = note.left(kNoteChars + 1).simplified();
    if (note.size() > kNoteChars)
        row.note = row.note.left(kNoteChars) + QChar(0x2026);
    // The list needs no more of the notes than their start.
    info.sheet.notesBefore.clear();
    info.sheet.notesAfter.clear();
    row.info = std::move(info);
    return row;
}

void SessionListModel::setSessions(std::vector<SessionInfo> sessions)
{
    beginResetModel();
    all_.clear();
    all_.reserve(sessions.size());
    for (SessionInfo& s : sessions)
        all_.push_back(rowFor(std::move(s)));
    shown_.resize(all_.size());
    std::iota(shown_.begin(), shown_.end(), std::size_t(0));
    sortRows();
    endResetModel();
}

void SessionListModel::showOnly(const std::vector<std::int64_t>& ids)
{
    const std::unordered_set<std::int64_t> wanted(ids.begin(), ids.end());
    beginResetModel();
    shown_.clear();
    for (std::size_t i = 0; i < all_.size(); ++i)
        if (wanted.contains(all_[i].info.id))
            shown_.push_back(i);
    sortRows();
    endResetModel();
}

void SessionListModel::updateSession(SessionInfo session)
{
    const auto found = std::find_if(all_.begin(), all_.end(),
                                    [&](const Row& r) { return r.info.id == session.id; });
    if (found == all_.end())
        return;
    *found = rowFor(std::move(session));
    const int row = rowOf(found->info.id);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int SessionListModel::rowOf(std::int64_t id) const
{
    const auto found = rowById_.find(id);
    return found == rowById_.end() ? -1 : found->second;
}

int SessionListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

int SessionListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SessionListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(shown_.size()))
        return {};
    const Row& r = rowAt(index.row());
    const SessionInfo& s = r.info;
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() >= Laps && index.column() <= Median;
        return QVariant::fromValue((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole && index.column() == Note)
        return r.note;
    if (role == Qt::ToolTipRole && index.column() == File && !s.figures.fault.empty())
        return QString::fromStdString(s.figures.fault);
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case Date:
        return sessionDateText(s.date);
    case Track:
        return r.track;
    case Vehicle:
        return s.sheet.vehicle;
    case Driver:
        return s.sheet.driver;
    case Laps:
        return s.figures.lapCount;
    case Best:
        return timeOrEmpty(bestOf(s));
    case Theoretical:
        return timeOrEmpty(s.figures.theoretical);
    case Median:
        return timeOrEmpty(s.figures.median);
    case Note:
        return r.note;
    case File:
        return s.fileName;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant SessionListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (Column(section)) {
    case Date:
        return tr("Date");
    case Track:
        return tr("Track");
    case Vehicle:
        return tr("Vehicle");
    case Driver:
        return tr("Driver");
    case Laps:
        return tr("Laps");
    case Best:
        return tr("Best lap");
    case Theoretical:
        return tr("Theoretical");
    case Median:
        return tr("Median");
    case Note:
        return tr("Note");
    case File:
        return tr("Lap file");
    case ColumnCount:
        break;
    }
    return {};
}

void SessionListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::int64_t> ids;
    for (const QModelIndex& i : before)
        ids.push_back(rowAt(i.row()).info.id);
    sortColumn_ = column;
    sortOrder_ = order;
    sortRows();
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k)
        after << index(rowOf(ids[std::size_t(k)]), before[k].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void SessionListModel::sortRows()
{
    // A missing time or text sorts last whichever the direction; a tie keeps the date's order.
    const auto time = [this](const Row& r) -> std::optional<std::int32_t> {
        switch (Column(sortColumn_)) {
        case Best:
            return bestOf(r.info);
        case Theoretical:
            return r.info.figures.theoretical;
        case Median:
            return r.info.figures.median;
        default:
            return std::nullopt;
        }
    };
    const auto text = [this](const Row& r) -> QString {
        switch (Column(sortColumn_)) {
        case Track:
            return r.track;
        case Vehicle:
            return r.info.sheet.vehicle;
        case Driver:
            return r.info.sheet.driver;
        case Note:
            return r.note;
        case File:
            return r.info.fileName;
        default:
            return {};
        }
    };
    const bool ascending = sortOrder_ == Qt::AscendingOrder;
    const auto before = [&](const Row& a, const Row& b) {
        switch (Column(sortColumn_)) {
        case Date:
            return ascending ? a.info.date < b.info.date : b.info.date < a.info.date;
        case Laps:
            return ascending ? a.info.figures.lapCount < b.info.figures.lapCount
                             : b.info.figures.lapCount < a.info.figures.lapCount;
        case Best:
        case Theoretical:
        case Median: {
            const auto x = time(a), y = time(b);
            if (!x || !y)
                return x.has_value() && !y.has_value();
            return ascending ? *x < *y : *y < *x;
        }
        default: {
            const QString x = text(a), y = text(b);
            if (x.isEmpty() || y.isEmpty())
                return !x.isEmpty() && y.isEmpty();
            const int c = QString::localeAwareCompare(x, y);
            return ascending ? c < 0 : c > 0;
        }
        }
    };
    std::stable_sort(shown_.begin(), shown_.end(), [&](std::size_t i, std::size_t j) {
        const Row& a = all_[i];
        const Row& b = all_[j];
        if (before(a, b))
            return true;
        if (before(b, a))
            return false;
        return a.info.date < b.info.date || (a.info.date == b.info.date && a.info.id < b.info.id);
    });
    rowById_.clear();
    rowById_.reserve(shown_.size());
    for (std::size_t r = 0; r < shown_.size(); ++r)
        rowById_.emplace(all_[shown_[r]].info.id, int(r));
}
