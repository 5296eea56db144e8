#pragma once

#include "lap_library/LapLibrary.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// The library window's filters: track with its layouts, vehicle, driver, conditions, tag and a
// date range. Their lists come from the library's sessions; a change is told at once.
class FilterPane : public QWidget {
    Q_OBJECT

public:
    explicit FilterPane(QWidget* parent = nullptr);

    SessionFilter filter() const;
    // The lists anew from the library; what is chosen stays chosen while the library has it.
    void reload(LapLibrary& library);
    // Shows everything again.
    void clear();
    // Chooses a value of a list, for the window and tests; false when the list lacks it.
    bool chooseTrack(const QString& track, const QString& layout = {});
    bool chooseVehicle(const QString& vehicle);
    void chooseConditions(std::optional<Conditions> conditions);

signals:
    void filterChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setCaptions();
    void fill(QComboBox* box, const QStringList& values);

    QComboBox* track_ = nullptr;
    QComboBox* vehicle_ = nullptr;
    QComboBox* driver_ = nullptr;
    QComboBox* conditions_ = nullptr;
    QComboBox* tag_ = nullptr;
    QCheckBox* fromOn_ = nullptr;
    QCheckBox* toOn_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QPushButton* clear_ = nullptr;
    QLabel* labels_[5] = {};
    bool filling_ = false;
};
