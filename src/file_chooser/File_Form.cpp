#include "file_chooser/File_Form.h"

#include "file_chooser/DriveSystem.h"
#include "file_chooser/FileList.h"
#include "file_chooser/FolderList.h"
#include "tool_window/ToolWindow.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// The drive list spells drives as the drive layer does; on Windows letter case does not count.
int findDrive(const QComboBox* list, const QString& drive)
{
    if (drive.isEmpty())
        return -1;
    Qt::MatchFlags flags = Qt::MatchFixedString;
    if (kPathCase == Qt::CaseSensitive)
        flags |= Qt::MatchCaseSensitive;
    return list->findText(drive, flags);
}

QFont arialFont()
{
    // fontconfig maps Arial to a metric-compatible face where Arial itself is missing.
    QFont font(QStringLiteral("Arial"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// A fixed-pitch font with Japanese glyphs, for the lists and the name entry. Windows has its own
// face; elsewhere VL Gothic comes before IPAGothic, whose half-width "m" and "M" lose a stem at
// this size whether smoothed or not.
QFont gothicFont()
{
    QFont font(QStringList{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                           QStringLiteral("VL Gothic"), QStringLiteral("IPAGothic"),
                           QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                           QStringLiteral("monospace")},
               9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Under 15 device pixels to the em a half-width cell is 6 or 7 pixels wide, and smoothed
    // stems of "m", "M" and "W" run together into a grey block; there the face is drawn
    // unsmoothed, as Windows draws its own at 9 pt. From 15 pixels on smoothing reads better.
    // The pixels are those of the primary screen, where the window and its chooser open.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const qreal devicePixels =
            font.pointSizeF() / 72 * screen->logicalDotsPerInchY() * screen->devicePixelRatio();
        if (devicePixels < 15)
            font.setStyleStrategy(QFont::NoAntialias);
    }
    return font;
}

// The file pattern of a mode: lap record files or text files.
QString patternFor(ChooserMode mode)
{
    return mode == ChooserMode::BilLoad ? QStringLiteral("*.BIL") : QStringLiteral("*.txt");
}

} // namespace

ChooserMode chooserModeOf(const QString& fileType)
{
    if (fileType == QLatin1String(kModeBilLoad))
        return ChooserMode::BilLoad;
    if (fileType == QLatin1String(kModeTextSave))
        return ChooserMode::TextSave;
    return ChooserMode::TextLoad;
}

File_Form::File_Form(SharedState& state, const DriveSystem& drives, QWidget* parent)
    : QDialog(parent), state_(state), drives_(drives), mode_(chooserModeOf(state.FILE_TYPE))
{
    buildControls();
    load();
}

void File_Form::buildControls()
{
    setFixedSize(twipsSize(6345, 3810));

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(twipsRect(120, 120, 2895, 345));
    Drive1->setFont(arialFont());

    Dir1 = new FolderList(drives_, this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(twipsRect(120, 600, 2895, 2610));
    Dir1->setFont(gothicFont());

    File1 = new FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(twipsRect(3120, 120, 3135, 3150));
    File1->setFont(gothicFont());

    Label1 = new QLabel(QStringLiteral("File name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 3360, 855, 255));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(1080, 3360, 3015, 270));
    Text1->setFont(gothicFont());

    const char* captions[2] = {"OK", "CANCEL"};
    const int lefts[2] = {4440, 5400};
    for (int index = 0; index < 2; ++index) {
        auto* button = new QPushButton(QString::fromLatin1(captions[index]), this);
        button->setObjectName(QStringLiteral("OK_BOT_%1").arg(index));
        button->setProperty("index", index);
        button->setGeometry(twipsRect(lefts[index], 3360, 855, 375));
        button->setFont(arialFont());
        // Neither button is a default: Enter presses only the focused button (keyPressEvent).
        button->setAutoDefault(false);
        button->setDefault(false);
        OK_BOT[index] = button;
    }
    connect(OK_BOT[0], &QPushButton::clicked, this, &File_Form::accept);
    connect(OK_BOT[1], &QPushButton::clicked, this, &File_Form::reject);

    setTabOrder(Text1, OK_BOT[0]);
    setTabOrder(OK_BOT[0], File1);
    setTabOrder(File1, Drive1);
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, OK_BOT[1]);

    // The lists start on the working folder and its drive; load() moves them. The file list
    // gets its pattern first, so that it lists the working folder once and filtered.
    File1->setPattern(patternFor(mode_));
    const QString working = normalFolder(QDir::currentPath());
    Drive1->addItems(drives_.drives());
    drive_ = drives_.driveOf(working);
    Drive1->setCurrentIndex(findDrive(Drive1, drive_));
    // A working folder that cannot be listed leaves the lists empty until load() moves them.
    (void)Dir1->setPath(working);
    (void)File1->setFolder(working);

    connect(Drive1, &QComboBox::activated, this, [this](int index) {
        const QString drive = Drive1->itemText(index);
        if (drive != drive_) {
            drive_ = drive;
            driveChange();
        }
    });
    connect(Dir1, &FolderList::pathChanged, this, &File_Form::folderChange);
}

// Opening steps. Each runs on its own: one that fails (a folder that is gone, a drive that is
// not ready) is skipped and the next one runs.
void File_Form::load()
{
    // The caption shows the mode as the window named it.
    setWindowTitle(state_.FILE_TYPE);
    Text1->hide();
    Label1->hide();

    const bool bilLoad = mode_ == ChooserMode::BilLoad;
    const QString folder = bilLoad ? state_.PASS_NAME2 : state_.PASS_NAME1;
    const QString hint = bilLoad ? QString() : QString::fromUtf8(kTextHint);

    setDrive(drives_.driveOf(folder));
    // A remembered folder that is gone leaves the lists where the drive put them.
    (void)File1->setFolder(folder);
    (void)Dir1->setPath(folder);
    File1->setToolTip(hint);

    if (mode_ == ChooserMode::TextSave) {
        Text1->show();
        Label1->show();
        Text1->setText(QString::fromLatin1(kProposedTextName));
        Text1->setSelection(0, 20);
        Text1->setFocus();
    } else {
        OK_BOT[0]->setFocus();
    }
}

// Selects a drive in the drive list; a change runs the drive change handling before this
// returns. False when the list has no such drive.
bool File_Form::setDrive(const QString& drive)
{
    const int index = findDrive(Drive1, drive);
    if (index < 0)
        return false;
    if (Drive1->itemText(index) == drive_)
        return true;
    Drive1->setCurrentIndex(index);
    drive_ = Drive1->itemText(index);
    driveChange();
    return true;
}

// Moves the folder list to the drive's current folder. A drive that cannot be read is
// reported and replaced by the fallback drive, whose own change handling then runs nested.
void File_Form::driveChange()
{
    const FileResult<QString> folder = drives_.currentFolder(drive_);
    const FileResult<> listed =
        folder ? Dir1->setPath(folder.value()) : FileResult<>::failure(folder);
    if (listed)
        return;
    showWarningBox(this, listed.reason());
    setDrive(drives_.fallbackDrive());
}

void File_Form::folderChange()
{
    // A folder that cannot be listed leaves the file list as it was.
    (void)File1->setFolder(Dir1->path());
}

void File_Form::accept()
{
    state_.PORT_OPEN_FLG = kTrue;
    state_.GET_NAME.clear();
    const QStringList names = File1->selectedNames();
    switch (mode_) {
    case ChooserMode::BilLoad:
        state_.PASS_NAME2 = File1->folder();
        for (const QString& name : names)
            state_.GET_NAME += name + QLatin1Char('\r');
        break;
    case ChooserMode::TextLoad:
        state_.PASS_NAME1 = File1->folder();
        if (!names.isEmpty())
            state_.GET_NAME = names.first();
        break;
    case ChooserMode::TextSave:
        state_.PASS_NAME1 = File1->folder();
        state_.GET_NAME = Text1->text();
        break;
    }
    QDialog::accept();
}

void File_Form::reject()
{
    state_.GET_NAME.clear();
    QDialog::reject();
}

void File_Form::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Escape presses neither button.
        event->accept();
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        // Only a focused button answers Enter; elsewhere Enter does nothing.
        for (QPushButton* button : OK_BOT) {
            if (focusWidget() == button) {
                button->click();
                break;
            }
        }
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void showFileForm(SharedState& state, QWidget* parent)
{
    SystemDrives drives;
    File_Form form(state, drives, parent);
    form.exec();
}
