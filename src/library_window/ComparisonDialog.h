#pragma once

#include "lap_library/LibraryComparison.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableWidget;
class ComparisonChartView;

// Where the laps of a comparison and their references come from: the lap library, or the
// analysis window's laps (fixed, with the references the analysis and the library know).
struct ComparisonInput {
    // The laps a text names ("12:9 14:7"); unset when the laps are fixed.
    std::function<LibraryResult<std::vector<ComparedLap>>(const QString& text)> lapsOf;
    QString lapsText;
    std::vector<ComparedLap> laps; // the fixed laps
    // The reference of a choice for the laps.
    std::function<LibraryResult<ComparisonReference>(const ReferenceChoice& choice,
                                                     const std::vector<ComparedLap>& laps)>
        reference;
};

// "Compare…": 2 to 8 laps side by side, sector by sector, against a reference: each lap's
// sector time, its gap and the gap summed up to the sector, the differences of minimum and
// maximum speed, coloured as timing screens do; the sectors in the track's order or by time
// lost, and a bar chart of the gaps. Laps that cannot be compared show the reason instead.
class ComparisonDialog : public QDialog {
    Q_OBJECT

public:
    explicit ComparisonDialog(QWidget* parent = nullptr);

    void setInput(ComparisonInput input);
    void setReference(const ReferenceChoice& choice);
    // Compares anew with what the dialog holds.
    void compare();

    const LapComparison& comparison() const { return comparison_; }
    QTableWidget* table() const { return table_; }
    QLabel* refusal() const { return refusal_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void setCaptions();
    void showTable();

    ComparisonInput input_;
    std::vector<ComparedLap> laps_;
    LapComparison comparison_;
    QString referenceLabel_;

    QLabel* lapsLabel_ = nullptr;
    QLineEdit* lapsText_ = nullptr;
    QLabel* fixedLaps_ = nullptr;
    QLabel* referenceLabelText_ = nullptr;
    QComboBox* reference_ = nullptr;
    QLineEdit* target_ = nullptr;
    QCheckBox* byTimeLost_ = nullptr;
    QLabel* referenceShown_ = nullptr;
    QLabel* legend_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* refusal_ = nullptr;
    QTableWidget* table_ = nullptr;
    ComparisonChartView* chart_ = nullptr;
};
