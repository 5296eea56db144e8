#include "file_chooser/File_Form.h"

#include "file_chooser/DriveSystem.h"
#include "file_chooser/FileList.h"
#include "file_chooser/FolderList.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Caption of the tool's message boxes.
constexpr char kToolTitle[] = "Miren Loader";

// Layout is kept in twips, as the form was drawn; 15 twips make one logical pixel.
constexpr int kTwipsPerPixel = 15;

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

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

// A fixed-pitch font with Japanese glyphs, for the lists and the name entry.
QFont gothicFont()
{
    QFont font(QStringList{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                           QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                           QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                           QStringLiteral("monospace")},
               9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// The file pattern of a mode: lap record files in "BIL LOAD", text files in any other.
QString patternFor(const QString& mode)
{
    return mode == QLatin1String(kModeBilLoad) ? QStringLiteral("*.BIL") : QStringLiteral("*.txt");
}

} // namespace

File_Form::File_Form(SharedState& state, const DriveSystem& drives, WarningFn warn, QWidget* parent)
    : QDialog(parent), state_(state), drives_(drives), warn_(std::move(warn))
{
    buildControls();
    load();
}

void File_Form::buildControls()
{
    setFixedSize(6345 / kTwipsPerPixel, 3810 / kTwipsPerPixel);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(twips(120, 120, 2895, 345));
    Drive1->setFont(arialFont());

    Dir1 = new FolderList(drives_, this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(twips(120, 600, 2895, 2610));
    Dir1->setFont(gothicFont());

    File1 = new FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(twips(3120, 120, 3135, 3150));
    File1->setFont(gothicFont());

    Label1 = new QLabel(QStringLiteral("File name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips(120, 3360, 855, 255));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(1080, 3360, 3015, 270));
    Text1->setFont(gothicFont());

    const char* captions[2] = {"OK", "CANCEL"};
    const int lefts[2] = {4440, 5400};
    for (int index = 0; index < 2; ++index) {
        auto* button = new QPushButton(QString::fromLatin1(captions[index]), this);
        button->setObjectName(QStringLiteral("OK_BOT_%1").arg(index));
        button->setProperty("index", index);
        button->setGeometry(twips(lefts[index], 3360, 855, 375));
        button->setFont(arialFont());
        // Neither button is a default: Enter presses only the focused button (keyPressEvent).
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { buttonClick(index); });
        OK_BOT[index] = button;
    }

    setTabOrder(Text1, OK_BOT[0]);
    setTabOrder(OK_BOT[0], File1);
    setTabOrder(File1, Drive1);
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, OK_BOT[1]);

    // The lists start on the working folder and its drive; load() moves them. The file list
    // gets its pattern first, so that it lists the working folder once and filtered.
    File1->setPattern(patternFor(state_.FILE_TYPE));
    const QString working = normalFolder(QDir::currentPath());
    Drive1->addItems(drives_.drives());
    drive_ = drives_.driveOf(working);
    Drive1->setCurrentIndex(findDrive(Drive1, drive_));
    Dir1->setPath(working);
    File1->setFolder(working);

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
    setWindowTitle(state_.FILE_TYPE);
    Text1->hide();
    Label1->hide();

    const bool bilLoad = windowTitle() == QLatin1String(kModeBilLoad);
    const QString folder = bilLoad ? state_.PASS_NAME2 : state_.PASS_NAME1;
    const QString pattern = patternFor(windowTitle());
    const QString hint = bilLoad ? QString() : QString::fromUtf8(kTextHint);

    File1->setPattern(pattern);
    setDrive(drives_.driveOf(folder));
    File1->setFolder(folder);
    Dir1->setPath(folder);
    File1->setToolTip(hint);

    if (windowTitle() == QLatin1String(kModeTextSave)) {
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
    QString error;
    const std::optional<QString> folder = drives_.currentFolder(drive_, &error);
    if (folder && Dir1->setPath(*folder, &error))
        return;
    warn(error);
    setDrive(drives_.fallbackDrive());
}

void File_Form::folderChange()
{
    // A folder that cannot be listed leaves the file list as it was.
    File1->setFolder(Dir1->path());
}

void File_Form::buttonClick(int index)
{
    state_.GET_NAME.clear();
    if (index == 0) {
        state_.PORT_OPEN_FLG = kTrue;
        if (windowTitle() == QLatin1String(kModeBilLoad)) {
            state_.PASS_NAME2 = File1->folder();
            const int count = File1->count();
            for (int i = 0; i < count; ++i) {
                if (File1->item(i)->isSelected())
                    state_.GET_NAME += File1->item(i)->text() + QLatin1Char('\r');
            }
        } else {
            state_.PASS_NAME1 = File1->folder();
            if (windowTitle() == QLatin1String(kModeTextSave)) {
                state_.GET_NAME = Text1->text();
            } else {
                const int count = File1->count();
                for (int i = 0; i < count; ++i) {
                    if (File1->item(i)->isSelected()) {
                        state_.GET_NAME = File1->item(i)->text();
                        break;
                    }
                }
            }
        }
    }
    QDialog::done(index == 0 ? QDialog::Accepted : QDialog::Rejected);
}

void File_Form::reject()
{
    buttonClick(1);
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

void File_Form::warn(const QString& message)
{
    if (warn_) {
        warn_(message);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kToolTitle), message, QMessageBox::Ok,
                    this);
    box.exec();
}

void showFileForm(SharedState& state, QWidget* parent)
{
    SystemDrives drives;
    File_Form form(state, drives, {}, parent);
    form.exec();
}
