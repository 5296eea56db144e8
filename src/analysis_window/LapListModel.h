#pragma once

#include "lap_analysis/AnalysisDocument.h"
#include "lap_analysis/LapData.h"
#include "lap_analysis/SessionAnalysis.h"

#include <QAbstractTableModel>
#include <cstddef>
#include <optional>
#include <vector>

// The lap list: one row per lap with its session, time, gap to its session's best lap, sector
// times and peaks. The check box in the lap column counts or excludes the lap. Sorting keeps its
// own row order over the laps, so sorting 100,000 rows compares numbers rather than texts. A lap
// is known by its position in the list of all laps, whichever laps are shown. It observes the
// document: new laps give new rows, new figures are shown in the same rows; a tick goes to the
// document.
class LapListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        SessionColumn,
        LapColumn,
        TimeColumn,
        GapColumn,
        FirstSectorColumn,
        RpmMaxColumn = FirstSectorColumn + kMaxSectors,
        SpeedMaxColumn,
        GxMaxColumn,
        GyMaxColumn,
        Tmp1MinColumn,
        Tmp1MaxColumn,
        Tmp2MinColumn,
        Tmp2MaxColumn,
        ColumnCount
    };

    explicit LapListModel(QObject* parent = nullptr);

    // The document whose laps it lists; the caller owns it, and it outlives the model.
    void setDocument(AnalysisDocument* document);
    // Lists the laps of one session, or of all (nothing, or a session no longer there). The
    // current sort order is applied to the new rows.
    void showSession(std::optional<std::size_t> session);

    // Lap position of a row, in the list of all laps.
    std::size_t lapAt(int row) const { return first_ + order_[std::size_t(row)]; }
    // After the laps, one row per line of the view that is not a lap line (it counts in no
    // figure, so it is listed where the laps are looked for): its 1-based line, else 0.
    std::int64_t skippedLineAt(int row) const
    {
        return row >= int(order_.size()) ? skipped_[std::size_t(row) - order_.size()] : 0;
    }
    int lapRowCount() const { return int(order_.size()); }
    // Row of a lap position, -1 when there is no such lap.
    int rowOf(std::size_t lap) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // column -1 restores the table's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void listLaps();
    QVariant display(const LapData& lap, std::size_t pos, int column) const;
    bool isBestLap(std::size_t pos) const;
    QVariant toolTip(std::size_t pos, int column) const;
    QVariant skippedData(std::int64_t line, int column, int role) const;
    bool isSectorBest(std::size_t pos, int column) const;
    void applyOrder();

    AnalysisDocument* document_ = nullptr;
    const SessionAnalysis* analysis_ = nullptr; // the document's, while there are rows
    std::optional<std::size_t> session_;
    std::size_t first_ = 0;
    bool unitsDiffer_ = false; // the shown laps' sessions do not share one speed unit
    SpeedUnit unit_ = SpeedUnit::Kmh;
    std::vector<std::size_t> order_; // lap position of each row, counted from first_
    std::vector<std::int64_t> skipped_; // the lines of the rows after the laps
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
