#include "library_window/FilterPane.h"

#include "library_view/SheetLines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// A track entry's data: the track and its layout, or nothing for every track.
QStringList trackData(const QString& track, const QString& layout, bool withLayout)
{
    return withLayout ? QStringList{track, layout} : QStringList{track};
}

} // namespace

FilterPane::FilterPane(QWidget* parent) : QWidget(parent)
{
    const auto combo = [this](const char* name) {
        auto* box = new QComboBox;
        box->setObjectName(QString::fromLatin1(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!filling_)
                emit filterChanged();
        });
        return box;
    };
    track_ = combo("trackFilter");
    vehicle_ = combo("vehicleFilter");
    driver_ = combo("driverFilter");
    conditions_ = combo("conditionsFilter");
    tag_ = combo("tagFilter");
    fromOn_ = new QCheckBox;
    toOn_ = new QCheckBox;
    from_ = new QDateEdit(QDate::currentDate().addYears(-1));
    to_ = new QDateEdit(QDate::currentDate());
    for (QDateEdit* date : {from_, to_}) {
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        date->setCalendarPopup(true);
        date->setEnabled(false);
        connect(date, &QDateEdit::dateChanged, this, [this] {
            if (!filling_)
                emit filterChanged();
        });
    }
    from_->setObjectName(QStringLiteral("fromFilter"));
    to_->setObjectName(QStringLiteral("toFilter"));
    for (auto [box, date] : {std::pair{fromOn_, from_}, std::pair{toOn_, to_}})
        connect(box, &QCheckBox::toggled, this, [this, date](bool on) {
            date->setEnabled(on);
            if (!filling_)
                emit filterChanged();
        });
    clear_ = new QPushButton;
    clear_->setObjectName(QStringLiteral("clearFilters"));
    clear_->setAutoDefault(false);
    connect(clear_, &QPushButton::clicked, this, &FilterPane::clear);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    QWidget* fields[] = {track_, vehicle_, driver_, conditions_, tag_};
    for (int i = 0; i < 5; ++i) {
        labels_[i] = new QLabel;
        labels_[i]->setBuddy(fields[i]);
        form->addRow(labels_[i], fields[i]);
    }
    form->addRow(fromOn_, from_);
    form->addRow(toOn_, to_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    layout->addWidget(clear_);
    layout->addStretch();
    setCaptions();
}

void FilterPane::setCaptions()
{
    const QString names[] = {tr("&Track"), tr("&Vehicle"), tr("D&river"), tr("Co&nditions"),
                             tr("Ta&g")};
    for (int i = 0; i < 5; ++i)
        labels_[i]->setText(names[i]);
    fromOn_->setText(tr("From"));
    toOn_->setText(tr("To"));
    clear_->setText(tr("Show &all"));
    const QSignalBlocker block(conditions_);
    const int chosen = std::max(0, conditions_->currentIndex());
    conditions_->clear();
    conditions_->addItem(tr("Any"));
    for (Conditions c : {Conditions::Dry, Conditions::Damp, Conditions::Wet})
        conditions_->addItem(SheetLines::conditionsWord(c), int(c));
    conditions_->setCurrentIndex(chosen);
    for (QComboBox* box : {track_, vehicle_, driver_, tag_})
        if (box->count() > 0)
            box->setItemText(0, box == track_ ? tr("All tracks") : tr("Any"));
}

void FilterPane::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setCaptions();
    QWidget::changeEvent(event);
}

void FilterPane::fill(QComboBox* box, const QStringList& values)
{
    const QString chosen = box->currentIndex() > 0 ? box->currentText() : QString();
    box->clear();
    box->addItem(tr("Any"));
    for (const QString& value : values)
        box->addItem(value, value);
    box->setCurrentIndex(std::max(0, box->findData(chosen)));
}

void FilterPane::reload(LapLibrary& library)
{
    filling_ = true;
    const QVariant chosenTrack = track_->currentData();
    track_->clear();
    track_->addItem(tr("All tracks"));
    QString lastTrack;
    for (const auto& [track, layout] : library.trackLayouts()) {
        if (track != lastTrack) {
            track_->addItem(track, trackData(track, {}, false));
            lastTrack = track;
        }
        if (!layout.isEmpty())
            track_->addItem(QStringLiteral("    ") + track + QStringLiteral(" / ") + layout,
                            trackData(track, layout, true));
    }
    track_->setCurrentIndex(std::max(0, track_->findData(chosenTrack)));
    fill(vehicle_, library.values(LapLibrary::Field::Vehicle));
    fill(driver_, library.values(LapLibrary::Field::Driver));
    fill(tag_, library.values(LapLibrary::Field::Tag));
    filling_ = false;
}

void FilterPane::clear()
{
    filling_ = true;
    for (QComboBox* box : {track_, vehicle_, driver_, conditions_, tag_})
        box->setCurrentIndex(0);
    fromOn_->setChecked(false);
    toOn_->setChecked(false);
    filling_ = false;
    emit filterChanged();
}

bool FilterPane::chooseTrack(const QString& track, const QString& layout)
{
    const int index = track_->findData(trackData(track, layout, !layout.isEmpty()));
    if (index < 0)
        return false;
    track_->setCurrentIndex(index);
    return true;
}

bool FilterPane::chooseVehicle(const QString& vehicle)
{
    const int index = vehicle_->findData(vehicle);
    if (index < 0)
        return false;
    vehicle_->setCurrentIndex(index);
    return true;
}

void FilterPane::chooseConditions(std::optional<Conditions> conditions)
{
    conditions_->setCurrentIndex(conditions ? std::max(0, conditions_->findData(int(*conditions)))
                                            : 0);
}

SessionFilter FilterPane::filter() const
{
    SessionFilter f;
    const QStringList track = track_->currentData().toStringList();
    if (!track.isEmpty())
        f.track = track[0];
    if (track.size() > 1)
        f.layout = track[1];
    f.vehicle = vehicle_->currentData().toString();
    f.driver = driver_->currentData().toString();
    f.tag = tag_->currentData().toString();
    if (conditions_->currentIndex() > 0)
        f.conditions = Conditions(conditions_->currentData().toInt());
    if (fromOn_->isChecked())
        f.from = from_->date();
    if (toOn_->isChecked())
        f.to = to_->date();
    return f;
}
