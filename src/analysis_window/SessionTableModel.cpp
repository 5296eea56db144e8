#include "analysis_window/SessionTableModel.h"

#include "analysis_view/DisplayText.h"

#include <QFont>

namespace {

QString timeOrNone(const std::optional<std::int32_t>& t)
{
    return t ? timeText(*t) : QString();
}

QString gapOrNone(const std::optional<std::int32_t>& t)
{
    return t ? gapText(*t) : QString();
}

} // namespace

SessionTableModel::SessionTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void SessionTableModel::setDocument(const AnalysisDocument* document)
{
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    document_ = document;
    if (document_)
        connect(document_, &AnalysisDocument::changed, this, &SessionTableModel::listSessions);
    listSessions();
}

// Every figure of the comparison may change with any change of the document.
void SessionTableModel::listSessions()
{
    beginResetModel();
    analysis_ = document_ ? &document_->analysis() : nullptr;
    rows_ = analysis_ ? analysis_->comparison() : std::vector<SessionComparison>{};
    endResetModel();
}

int SessionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int SessionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SessionTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !analysis_)
        return {};
    const SessionComparison& row = rows_[std::size_t(index.row())];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column == SessionColumn || column == UnitColumn || column == BestLapColumn
                   ? int(Qt::AlignLeft | Qt::AlignVCenter)
                   : int(Qt::AlignRight | Qt::AlignVCenter);
    // The best of the day in each column is bold.
    if (role == Qt::FontRole) {
        const std::optional<std::int32_t> gaps[] = {row.bestGap, row.theoreticalGap, row.medianGap,
                                                    row.stddevGap};
        const int values[] = {BestColumn, TheoreticalColumn, MedianColumn, StddevColumn};
        for (int i = 0; i < 4; ++i) {
            if (column == values[i] && gaps[i] == 0) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
        }
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case SessionColumn:
        return sessionTitle(*analysis_, row.session);
    case UnitColumn:
        return speedUnitText(analysis_->session(row.session).unit);
    case LapsColumn:
        return row.lapCount;
    case CountedColumn:
        return row.countedCount;
    case BestColumn:
        return timeOrNone(row.best);
    case BestLapColumn:
        return row.bestLap ? lapReference(*analysis_, *row.bestLap) : QString();
    case BestGapColumn:
        return gapOrNone(row.bestGap);
    case TheoreticalColumn:
        return timeOrNone(row.theoretical);
    case TheoreticalGapColumn:
        return gapOrNone(row.theoreticalGap);
    case MedianColumn:
        return timeOrNone(row.median);
    case MedianGapColumn:
        return gapOrNone(row.medianGap);
    case StddevColumn:
        return row.stddev ? QString::fromStdString(formatSeconds(*row.stddev)) : QString();
    case StddevGapColumn:
        return gapOrNone(row.stddevGap);
    }
    return {};
}

QVariant SessionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case SessionColumn:
        return tr("Session");
    case UnitColumn:
        return tr("Speed");
    case LapsColumn:
        return tr("Laps");
    case CountedColumn:
        return tr("Counted");
    case BestColumn:
        return tr("Best lap");
    case BestLapColumn:
        return tr("of lap");
    case TheoreticalColumn:
        return tr("Theoretical");
    case MedianColumn:
        return tr("Median of counted");
    case StddevColumn:
        return tr("Std dev");
    case BestGapColumn:
    case TheoreticalGapColumn:
    case MedianGapColumn:
    case StddevGapColumn:
        return tr("Gap to the day");
    }
    return {};
}
