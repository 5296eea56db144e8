#pragma once

#include "lap_analysis/AnalysisDocument.h"
#include "lap_analysis/SessionAnalysis.h"

#include <QAbstractTableModel>
#include <vector>

// The sessions side by side: per session its laps, counted laps, best lap, theoretical best,
// median of the counted laps and standard deviation, each time with its gap to the best of the
// day in that column (the day of the session's speed unit). It follows the document's changes.
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

    // The document whose sessions it shows; the caller owns it, and it outlives the model.
    void setDocument(const AnalysisDocument* document);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void listSessions();

    const AnalysisDocument* document_ = nullptr;
    const SessionAnalysis* analysis_ = nullptr;
    std::vector<SessionComparison> rows_;
};
