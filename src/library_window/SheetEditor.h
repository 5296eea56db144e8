#pragma once

#include "lap_library/SheetMerge.h"

#include <QTimer>
#include <QWidget>
#include <cstdint>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The sheet of one session as a form. Each edit is told as it is made: a choice at once, a text
// after a short pause in the typing (so a long note is not saved at every key) or when the field
// is left. The window saves it and keeps it for undo.
class SheetEditor : public QWidget {
    Q_OBJECT

public:
    // Typing pauses this long before its text is saved.
    static constexpr int kTypingPauseMs = 500;
    // A longer setup or note is shown without wrapping its lines.
    static constexpr qsizetype kLongestWrappedText = 100000;

    explicit SheetEditor(QWidget* parent = nullptr);

    // Shows a session's sheet and date (the form's starting point); nothing: an empty, disabled
    // form. A pending edit of the session shown before is told first.
    void showSheet(std::int64_t session, const DatedSheet& sheet, const QString& title);
    void clearSheet();
    std::int64_t session() const { return session_; }
    // What the form holds, and what it held when last told.
    DatedSheet formSheet() const;
    const DatedSheet& savedSheet() const { return saved_; }
    // Puts a sheet in the form as the user's edit, and tells it.
    void fill(const DatedSheet& sheet);
    // Takes sheet as what is saved, without telling (after a merge or an undo), and shows it.
    void setSaved(const DatedSheet& sheet);
    // Takes sheet as what is saved and leaves the form as it is: the form's edit is told again
    // at its next change (after a save that did not happen).
    void setSavedOnly(const DatedSheet& sheet) { saved_ = sheet; }
    // Tells an edit that waits for the typing pause now.
    void flush();
    // The values the text fields offer.
    void setChoices(const QStringList& tracks, const QStringList& layouts,
                    const QStringList& vehicles, const QStringList& drivers);

signals:
    // The user changed the sheet of session from before to after.
    void edited(std::int64_t session, const DatedSheet& before, const DatedSheet& after);
    void copyLastRequested();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCaptions();
    void setFieldsEnabled(bool enabled);
    void put(const DatedSheet& sheet);
    void changed(bool typing);

    std::int64_t session_ = 0;
    DatedSheet saved_;
    bool putting_ = false;
    QTimer pause_;

    QLabel* title_ = nullptr;
    QComboBox* track_ = nullptr;
    QComboBox* layout_ = nullptr;
    QComboBox* vehicle_ = nullptr;
    QComboBox* driver_ = nullptr;
    QComboBox* conditions_ = nullptr;
    QLineEdit* airTemp_ = nullptr;
    QLineEdit* trackTemp_ = nullptr;
    QDateTimeEdit* date_ = nullptr;
    QLineEdit* tyreCompound_ = nullptr;
    QLineEdit* tyreSet_ = nullptr;
    QLineEdit* coldPressures_ = nullptr;
    QLineEdit* hotPressures_ = nullptr;
    QPlainTextEdit* setup_ = nullptr;
    QPlainTextEdit* notesBefore_ = nullptr;
    QPlainTextEdit* notesAfter_ = nullptr;
    QLineEdit* tags_ = nullptr;
    QPushButton* copyLast_ = nullptr;
    std::vector<QLabel*> labels_;
    std::vector<QWidget*> fields_;
};

// Setup rows as the form writes them, one "name = value" a line, and back; a line without "="
// is a name without a value.
QString setupText(const std::vector<SetupRow>& rows);
std::vector<SetupRow> setupRows(const QString& text);
// Tags as "a, b, c", and back: each once, blanks around them dropped.
QString tagsText(const QStringList& tags);
QStringList tagsOf(const QString& text);
// A temperature as typed ("14", "14.5", "14,5"); nothing for an empty or unreadable text.
std::optional<double> temperatureOf(const QString& text);
