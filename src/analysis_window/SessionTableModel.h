#pragma once

#include "lap_analysis/SessionAnalysis.h"

#include <QAbstractTableModel>
#include <vector>

// The sessions side by side: per session its laps, counted laps, best lap, theoretical best,
// median of the counted laps and standard deviation, each time with its gap to the best of the
// day in that column (the day of the session's speed unit).
class SessionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        SessionColumn,
        UnitColumn,
        LapsColumn,
        CountedColumn,
        BestColumn,
        BestLapColumn,
        BestGapColumn,
        TheoreticalColumn,
        TheoreticalGapColumn,
        MedianColumn,
        MedianGapColumn,
        StddevColumn,
        StddevGapColumn,
        ColumnCount
    };

    explicit SessionTableModel(QObject* parent = nullptr);

    // The analysis is kept by reference until the next call; call again when its figures change.
    void setAnalysis(const SessionAnalysis* analysis);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const SessionAnalysis* analysis_ = nullptr;
    std::vector<SessionComparison> rows_;
};
