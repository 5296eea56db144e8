#include "library_window/SheetEditor.h"

#include "library_view/SheetLines.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

QString setupText(const std::vector<SetupRow>& rows)
{
    QStringList lines;
    for (const SetupRow& row : rows)
        lines << (row.value.isEmpty() ? row.name : row.name + QStringLiteral(" = ") + row.value);
    return lines.join(QLatin1Char('\n'));
}

std::vector<SetupRow> setupRows(const QString& text)
{
    std::vector<SetupRow> rows;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        SetupRow row{(equals < 0 ? line : line.left(equals)).trimmed(),
                     equals < 0 ? QString() : line.mid(equals + 1).trimmed()};
        if (!row.name.isEmpty() || !row.value.isEmpty())
            rows.push_back(std::move(row));
    }
    return rows;
}

QString tagsText(const QStringList& tags)
{
    return tags.join(QStringLiteral(", "));
}

QStringList tagsOf(const QString& text)
{
    QStringList tags;
    QSet<QString> seen;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QString tag = part.trimmed();
        if (!tag.isEmpty() && !seen.contains(tag)) {
            seen.insert(tag);
            tags << tag;
        }
    }
    return tags;
}

std::optional<double> temperatureOf(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < -100 || value > 200)
        return std::nullopt;
    return value;
}

namespace {

QString temperatureText(const std::optional<double>& t)
{
    return t ? QString::number(*t) : QString();
}

} // namespace

SheetEditor::SheetEditor(QWidget* parent) : QWidget(parent)
{
    pause_.setSingleShot(true);
    pause_.setInterval(kTypingPauseMs);
    connect(&pause_, &QTimer::timeout, this, &SheetEditor::flush);

    title_ = new QLabel;
    title_->setObjectName(QStringLiteral("sheetTitle"));
    title_->setWordWrap(true);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);

    const auto editableCombo = [this](const char* name) {
        auto* box = new QComboBox;
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        connect(box, &QComboBox::editTextChanged, this, [this] { changed(true); });
        connect(box, &QComboBox::activated, this, [this] { changed(false); });
        return box;
    };
    const auto line = [this](const char* name) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        connect(edit, &QLineEdit::textEdited, this, [this] { changed(true); });
        connect(edit, &QLineEdit::editingFinished, this, &SheetEditor::flush);
        return edit;
    };
    const auto text = [this](const char* name, int lines) {
        auto* edit = new QPlainTextEdit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->setTabChangesFocus(true);
        edit->setFixedHeight(edit->fontMetrics().lineSpacing() * lines + 10);
        connect(edit, &QPlainTextEdit::textChanged, this, [this] { changed(true); });
        edit->installEventFilter(this);
        return edit;
    };
    track_ = editableCombo("sheetTrack");
    layout_ = editableCombo("sheetLayout");
    vehicle_ = editableCombo("sheetVehicle");
    driver_ = editableCombo("sheetDriver");
    conditions_ = new QComboBox;
    conditions_->setObjectName(QStringLiteral("sheetConditions"));
    connect(conditions_, &QComboBox::activated, this, [this] { changed(false); });
    airTemp_ = line("sheetAirTemp");
    trackTemp_ = line("sheetTrackTemp");
    date_ = new QDateTimeEdit;
    date_->setObjectName(QStringLiteral("sheetDate"));
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    date_->setCalendarPopup(true);
    connect(date_, &QDateTimeEdit::dateTimeChanged, this, [this] { changed(true); });
    tyreCompound_ = line("sheetTyreCompound");
    tyreSet_ = line("sheetTyreSet");
    coldPressures_ = line("sheetColdPressures");
    hotPressures_ = line("sheetHotPressures");
    setup_ = text("sheetSetup", 4);
    notesBefore_ = text("sheetNotesBefore", 3);
    notesAfter_ = text("sheetNotesAfter", 4);
    tags_ = line("sheetTags");
    copyLast_ = new QPushButton;
    copyLast_->setObjectName(QStringLiteral("copyLastSheet"));
    copyLast_->setAutoDefault(false);
    connect(copyLast_, &QPushButton::clicked, this, &SheetEditor::copyLastRequested);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    QWidget* fields[] = {track_,        layout_,   vehicle_,       driver_,       conditions_,
                         airTemp_,      trackTemp_, date_,         tyreCompound_, tyreSet_,
                         coldPressures_, hotPressures_, setup_,     notesBefore_,  notesAfter_,
                         tags_};
    fields_.assign(std::begin(fields), std::end(fields));
    fields_.push_back(copyLast_);
    for (QWidget* field : fields) {
        auto* label = new QLabel;
        label->setBuddy(field);
        labels_.push_back(label);
        form->addRow(label, field);
    }
    auto* inner = new QWidget;
    auto* innerLayout = new QVBoxLayout(inner);
    innerLayout->addWidget(title_);
    innerLayout->addLayout(form);
    innerLayout->addWidget(copyLast_);
    innerLayout->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(inner);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    setCaptions();
    clearSheet();
}

void SheetEditor::setCaptions()
{
    // Mnemonics only where the window has none of the same letter.
    const QString names[] = {tr("Trac&k"),         tr("La&yout"),       tr("V&ehicle"),
                             tr("Driver"),         tr("Conditions"),    tr("Air °C"),
                             tr("Track °C"),       tr("Date"),          tr("Tyre compo&und"),
                             tr("Tyre set"),       tr("Cold pressures"), tr("&Hot pressures"),
                             tr("Setup"),          tr("Notes before"),  tr("Notes a&fter"),
                             tr("Tags")};
    for (std::size_t i = 0; i < labels_.size(); ++i)
        labels_[i]->setText(names[i]);
    setup_->setPlaceholderText(tr("one a line: name = value"));
    tags_->setPlaceholderText(tr("comma between tags"));
    copyLast_->setText(tr("&Copy from this vehicle's last session"));
    copyLast_->setToolTip(tr("Fills the empty fields from the sheet of the vehicle's session "
                             "before this one (not its notes or tags)"));
    const QSignalBlocker block(conditions_);
    const int chosen = std::max(0, conditions_->currentIndex());
    conditions_->clear();
    conditions_->addItem(QString(), int(Conditions::Unknown));
    for (Conditions c : {Conditions::Dry, Conditions::Damp, Conditions::Wet})
        conditions_->addItem(SheetLines::conditionsWord(c), int(c));
    conditions_->setCurrentIndex(chosen);
}

void SheetEditor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setCaptions();
    QWidget::changeEvent(event);
}

void SheetEditor::setChoices(const QStringList& tracks, const QStringList& layouts,
                             const QStringList& vehicles, const QStringList& drivers)
{
    putting_ = true;
    for (auto [box, values] : {std::pair{track_, &tracks}, std::pair{layout_, &layouts},
                               std::pair{vehicle_, &vehicles}, std::pair{driver_, &drivers}}) {
        const QString text = box->currentText();
        box->clear();
        box->addItems(*values);
        box->setEditText(text);
    }
    putting_ = false;
}

void SheetEditor::put(const DatedSheet& d)
{
    putting_ = true;
    const SessionSheet& s = d.sheet;
    track_->setEditText(s.track);
    layout_->setEditText(s.layout);
    vehicle_->setEditText(s.vehicle);
    driver_->setEditText(s.driver);
    conditions_->setCurrentIndex(std::max(0, conditions_->findData(int(s.conditions))));
    airTemp_->setText(temperatureText(s.airTemperature));
    trackTemp_->setText(temperatureText(s.trackTemperature));
    date_->setDateTime(d.date.toLocalTime());
    tyreCompound_->setText(s.tyreCompound);
    tyreSet_->setText(s.tyreSet);
    coldPressures_->setText(s.coldPressures);
    hotPressures_->setText(s.hotPressures);
    // Texts the user is not editing keep their place; a text set anew loses the undo of the
    // field's own typing, which is what it should.
    // Wrapping a line of hundreds of thousands of characters takes the layout minutes (worse
    // than linear where it has no space to break at): such a text is shown unwrapped.
    const auto putText = [](QPlainTextEdit* edit, const QString& text) {
        if (edit->toPlainText() == text)
            return;
        edit->setLineWrapMode(text.size() > kLongestWrappedText ? QPlainTextEdit::NoWrap
                                                                : QPlainTextEdit::WidgetWidth);
        edit->setPlainText(text);
    };
    putText(setup_, setupText(s.setup));
    putText(notesBefore_, s.notesBefore);
    putText(notesAfter_, s.notesAfter);
    tags_->setText(tagsText(s.tags));
    putting_ = false;
}

void SheetEditor::showSheet(std::int64_t session, const DatedSheet& sheet, const QString& title)
{
    flush();
    session_ = session;
    saved_ = sheet;
    title_->setText(title);
    put(sheet);
    setFieldsEnabled(true);
}

void SheetEditor::clearSheet()
{
    flush();
    session_ = 0;
    saved_ = {};
    title_->setText(tr("Select a session to see its sheet."));
    put({});
    setFieldsEnabled(false);
}

void SheetEditor::setFieldsEnabled(bool enabled)
{
    for (QWidget* field : fields_)
        field->setEnabled(enabled);
}

bool SheetEditor::eventFilter(QObject* watched, QEvent* event)
{
    // A text left is saved at once, not after the pause.
    if (event->type() == QEvent::FocusOut && qobject_cast<QPlainTextEdit*>(watched))
        flush();
    return QWidget::eventFilter(watched, event);
}

DatedSheet SheetEditor::formSheet() const
{
    DatedSheet d;
    SessionSheet& s = d.sheet;
    s.track = track_->currentText();
    s.layout = layout_->currentText();
    s.vehicle = vehicle_->currentText();
    s.driver = driver_->currentText();
    s.conditions = Conditions(conditions_->currentData().toInt());
    s.airTemperature = temperatureOf(airTemp_->text());
    s.trackTemperature = temperatureOf(trackTemp_->text());
    s.tyreCompound = tyreCompound_->text();
    s.tyreSet = tyreSet_->text();
    s.coldPressures = coldPressures_->text();
    s.hotPressures = hotPressures_->text();
    s.setup = setupRows(setup_->toPlainText());
    s.notesBefore = notesBefore_->toPlainText();
    s.notesAfter = notesAfter_->toPlainText();
    s.tags = tagsOf(tags_->text());
    // The date as the form shows it, to the minute: unchanged where the minute is.
    const QDateTime shown = date_->dateTime();
    d.date = saved_.date.isValid() && saved_.date.toLocalTime().toString(
                                          QStringLiteral("yyyyMMddHHmm")) ==
                                          shown.toString(QStringLiteral("yyyyMMddHHmm"))
                 ? saved_.date
                 : shown;
    return d;
}

void SheetEditor::changed(bool typing)
{
    if (putting_ || session_ == 0)
        return;
    if (typing)
        pause_.start();
    else
        flush();
}

void SheetEditor::flush()
{
    pause_.stop();
    if (session_ == 0)
        return;
    DatedSheet now = formSheet();
    // A temperature the form cannot read is not an edit of it: the stored one stays.
    if (!airTemp_->text().trimmed().isEmpty() && !now.sheet.airTemperature)
        now.sheet.airTemperature = saved_.sheet.airTemperature;
    if (!trackTemp_->text().trimmed().isEmpty() && !now.sheet.trackTemperature)
        now.sheet.trackTemperature = saved_.sheet.trackTemperature;
    if (now == saved_)
        return;
    const DatedSheet before = saved_;
    saved_ = now;
    emit edited(session_, before, now);
}

void SheetEditor::fill(const DatedSheet& sheet)
{
    put(sheet);
    flush();
}

void SheetEditor::setSaved(const DatedSheet& sheet)
{
    pause_.stop();
    saved_ = sheet;
    // The fields are set only where they differ: the caret of a field being typed in stays.
    if (!(formSheet() == sheet))
        put(sheet);
}
