#pragma once

#include "lap_library/LapLibrary.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <unordered_map>
#include <vector>

// The sessions of the library that the filters let through, one row each: date, track, vehicle,
// driver, laps, best lap, theoretical best, median of the counted laps, the start of the note,
// and the lap file's name. Texts are made once per row; a sheet's notes are kept only as their
// start, so a megabyte of notes costs nothing here. Sorted by any column.
class SessionListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Track, Vehicle, Driver, Laps, Best, Theoretical, Median, Note, File,
                  ColumnCount };
    // How much of a note the list shows.
    static constexpr qsizetype kNoteChars = 80;

    using QAbstractTableModel::QAbstractTableModel;

    // All the sessions the list may show, each made into a row once; all are shown.
    void setSessions(std::vector<SessionInfo> sessions);
    // Shows only these of them (a filter change: no session is read or made anew).
    void showOnly(const std::vector<std::int64_t>& ids);
    // One session anew (after an edit of its sheet), where it is listed.
    void updateSession(SessionInfo session);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    const SessionInfo& session(int row) const { return rowAt(row).info; }
    // The row of a session, -1 when it is not listed.
    int rowOf(std::int64_t id) const;

private:
    struct Row {
        SessionInfo info;
        QString track, note;
    };
    static Row rowFor(SessionInfo info);
    void sortRows();
    const Row& rowAt(int row) const { return all_[shown_[std::size_t(row)]]; }

    std::vector<Row> all_;
    std::vector<std::size_t> shown_; // positions in all_, in the list's order
    std::unordered_map<std::int64_t, int> rowById_; // of the rows shown
    int sortColumn_ = Date;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
