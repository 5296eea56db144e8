#include "main_window/KorvelLoader.h"

#include "analysis_window/AnalysisWindow.h"
#include "library_window/LibraryLink.h"
#include "file_chooser/File_Form.h"
#include "tool_window/ToolWindow.h"
#include "lap_conversion/ConvertCommand.h"
#include "lap_conversion/DecimalPoint.h"
#include "text_files/TextCommands.h"

#include <algorithm>

#include <QCloseEvent>
#include <QScreen>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Layout at start.
constexpr QSize kClientSize = twipsSize(8055, 9705);
constexpr QRect kTextRect = twipsRect(120, 720, 7815, 8895);
constexpr QRect kBilLoadRect = twipsRect(120, 120, 1335, 495);
constexpr QRect kTextLoadRect = twipsRect(5160, 120, 1215, 375);
constexpr QRect kTextSaveRect = twipsRect(6600, 120, 1215, 375);
constexpr QRect kAnalysisRect = twipsRect(1680, 120, 1215, 375);
constexpr QRect kLibraryRect = twipsRect(3060, 120, 1215, 375);
// The view keeps these margins to the right and bottom edges when the window is resized.
constexpr int kTextRightMargin = kClientSize.width() - kTextRect.left() - kTextRect.width();
constexpr int kTextBottomMargin = kClientSize.height() - kTextRect.top() - kTextRect.height();
// Small enough to be useful on a small screen, large enough to keep the buttons in view and a
// few lines of the table.
constexpr QSize kMinimumSize(537, 200);

// Characters the view cannot hold as they are are shown as stand-ins, marked with
// kStandInProperty holding the character they stand for: a lone CR or LF as its control
// picture, and the two characters the text engine takes for frame marks (U+FDD0, U+FDD1) as the
// replacement character.
constexpr char16_t kCrPicture = 0x240D;
constexpr char16_t kLfPicture = 0x240A;
constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;
constexpr char16_t kReplacement = 0xFFFD;
constexpr int kStandInProperty = QTextFormat::UserProperty + 1;

// Characters of text() handed out per piece by readText().
constexpr qsizetype kPieceChars = qsizetype(1) << 16;

QFont tableFont()
{
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// The stand-in shown for a character the view cannot hold, or 0 for any other character.
char16_t standInFor(char16_t ch)
{
    switch (ch) {
    case u'\r':
        return kCrPicture;
    case u'\n':
        return kLfPicture;
    case kFrameStart:
    case kFrameEnd:
        return kReplacement;
    default:
        return 0;
    }
}

// Inserts text at the cursor: CR LF becomes a block break, a character the view cannot hold a
// marked stand-in.
void insertMapped(QTextCursor& cursor, QStringView text)
{
    const QTextCharFormat plain;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            continue;
        }
        const char16_t standIn = standInFor(ch);
        if (standIn == 0)
            continue;
        if (i > runStart)
            cursor.insertText(text.sliced(runStart, i - runStart).toString(), plain);
        QTextCharFormat marked;
        marked.setProperty(kStandInProperty, int(ch));
        cursor.insertText(QString(QChar(standIn)), marked);
        runStart = i + 1;
    }
    if (runStart < text.size())
        cursor.insertText(text.sliced(runStart).toString(), plain);
}

// Hands the document's text to take in pieces of about kPieceChars characters, with CR LF line
// ends and the stand-ins turned back into the characters they stand for. Only a block holding a
// stand-in glyph is looked at fragment by fragment.
void readMapped(const QTextDocument& doc, const std::function<void(QStringView)>& take)
{
    const auto holdsStandIn = [](const QString& text) {
        return text.contains(QChar(kCrPicture)) || text.contains(QChar(kLfPicture)) ||
               text.contains(QChar(kReplacement));
    };
    QString out;
    out.reserve(kPieceChars + 1024);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            out += QStringLiteral("\r\n");
        const QString text = block.text();
        if (!holdsStandIn(text)) {
            out += text;
        } else {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const QVariant original = fragment.charFormat().property(kStandInProperty);
                if (original.isValid())
                    out += QString(fragment.length(), QChar(char16_t(original.toInt())));
                else
                    out += fragment.text();
            }
        }
        if (out.size() >= kPieceChars) {
            take(out);
            out.resize(0); // keeps the buffer for the next piece
        }
    }
    if (!out.isEmpty())
        take(out);
}

} // namespace

// Marks a command's run: changes to the view made inside it share one edit block.
class KorvelLoader::FillScope {
public:
    explicit FillScope(KorvelLoader& window) : window_(window) { ++window_.fillDepth_; }
    ~FillScope()
    {
        if (--window_.fillDepth_ == 0)
            window_.endFill();
    }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

private:
    KorvelLoader& window_;
};

KorvelLoader::KorvelLoader(const QString& settingsPath, QWidget* parent)
    : QWidget(parent), settingsPath_(settingsPath)
{
    setWindowTitle(QStringLiteral("Miren Loader  ver 2.0"));
    setFont(tableFont());
    resize(kClientSize);
    setMinimumSize(kMinimumSize);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(kTextRect);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the buttons, so the tab order is usable from the keyboard.
    Text1->setTabChangesFocus(true);
    Text1->installEventFilter(this);
    // Typed or pasted text takes the format of the character before the caret; behind a
    // stand-in that would mark the user's own control pictures as line ends. Whatever the
    // caret moves to, the user types plain characters.
    connect(Text1, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { Text1->setCurrentCharFormat(QTextCharFormat()); });

    auto makeButton = [this](const char* name, const char* caption, const QRect& rect) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(rect);
        button->setAutoDefault(false);
        // Enter presses the focused button, as Space does (eventFilter).
        button->installEventFilter(this);
        return button;
    };
    BIL_load = makeButton("BIL_load", "bil load", kBilLoadRect);
    FILE_LOAD = makeButton("FILE_LOAD", "Text load", kTextLoadRect);
    FILE_SAVE = makeButton("FILE_SAVE", "Text save", kTextSaveRect);
    ANALYSIS = makeButton("ANALYSIS", "Analysis", kAnalysisRect);
    LIBRARY = makeButton("LIBRARY", "Library", kLibraryRect);
    // The tool's own buttons follow the language (eventFilter); the three commands' captions
    // stay as they are.
    ANALYSIS->setText(tr("Analysis"));
    LIBRARY->setText(tr("Library"));
    connect(BIL_load, &QPushButton::clicked, this, &KorvelLoader::bilLoad);
    connect(FILE_LOAD, &QPushButton::clicked, this, &KorvelLoader::textLoad);
    connect(FILE_SAVE, &QPushButton::clicked, this, &KorvelLoader::textSave);
    connect(ANALYSIS, &QPushButton::clicked, this, &KorvelLoader::showAnalysis);
    connect(LIBRARY, &QPushButton::clicked, this, &KorvelLoader::showLibrary);

    setTabOrder(Text1, BIL_load);
    setTabOrder(BIL_load, FILE_LOAD);
    setTabOrder(FILE_LOAD, FILE_SAVE);
    setTabOrder(FILE_SAVE, ANALYSIS);
    setTabOrder(ANALYSIS, LIBRARY);
    Text1->setFocus();

    chooser_ = [this](SharedState& state) { showFileForm(state, this); };
    libraryLink_ = std::make_unique<LibraryLink>(
        *this, [this](const std::vector<LoadedSession>& sessions) { loadLibrarySessions(sessions); },
        this);

    PASS_READ(state_, settingsPath_);
    state_.PORT_OPEN_FLG = kFalse;
}

// The windows that observe the view go first.
KorvelLoader::~KorvelLoader()
{
    libraryLink_.reset();
    analysisWindow_.reset();
}

void KorvelLoader::setChooser(ShowChooserFn chooser)
{
    chooser_ = std::move(chooser);
}

void KorvelLoader::clear()
{
    Text1->setExtraSelections({}); // the marked lap's line goes with the text
    if (fillDepth_ == 0) {
        Text1->clear();
        return;
    }
    beginFill();
    fillCursor_.select(QTextCursor::Document);
    fillCursor_.removeSelectedText();
}

void KorvelLoader::append(QStringView text)
{
    if (fillDepth_ == 0) {
        QTextCursor cursor = Text1->textCursor();
        cursor.beginEditBlock();
        insertMapped(cursor, text);
        cursor.endEditBlock();
        if (Text1->textCursor() != cursor)
            Text1->setTextCursor(cursor);
        return;
    }
    beginFill();
    insertMapped(fillCursor_, text);
}

QString KorvelLoader::text() const
{
    const QTextDocument& doc = *Text1->document();
    QString all;
    all.reserve(doc.characterCount() + doc.blockCount());
    readMapped(doc, [&all](QStringView piece) { all += piece; });
    return all;
}

void KorvelLoader::readText(const std::function<void(QStringView)>& take) const
{
    readMapped(*Text1->document(), take);
}

// Cheap even for a table of hundreds of megabytes, unlike text().
bool KorvelLoader::isEmpty() const
{
    return Text1->document()->isEmpty();
}

const QTextDocument* KorvelLoader::lapDocument() const
{
    return Text1->document();
}

void KorvelLoader::showLapLine(int line)
{
    const QTextBlock block = Text1->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    Text1->setTextCursor(QTextCursor(block));
    Text1->centerCursor();
    // The line is marked on a pale ground, as a selection outside the text: nothing of the text
    // changes, and the mark moves with the line as the text is edited.
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.format.setBackground(QColor(0xFF, 0xF1, 0x76));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    Text1->setExtraSelections({mark});
}

void KorvelLoader::beginFill()
{
    if (filled_)
        return;
    filled_ = true;
    // A command replaces the whole text; undoing into the middle of a table is of no use, and
    // keeping the replaced text for undo would hold megabytes per run.
    Text1->document()->setUndoRedoEnabled(false);
    fillCursor_ = Text1->textCursor();
    fillCursor_.beginEditBlock();
}

void KorvelLoader::endFill()
{
    if (!filled_)
        return;
    filled_ = false;
    fillCursor_.endEditBlock();
    Text1->document()->setUndoRedoEnabled(true);
    Text1->setTextCursor(fillCursor_);
    Text1->ensureCursorVisible();
    fillCursor_ = QTextCursor();
}

void KorvelLoader::warn(const QString& message)
{
    // The box runs an event loop: the view must be complete and laid out before it paints.
    endFill();
    showWarningBox(this, message);
}

void KorvelLoader::runChooser(const char* mode)
{
    state_.FILE_TYPE = QString::fromLatin1(mode);
    chooser_(state_);
}

void KorvelLoader::bilLoad()
{
    FillScope scope(*this);
    runChooser(kModeBilLoad);
    // The command consumes the names; the first one names the analysis export.
    if (!state_.GET_NAME.isEmpty())
        lapFileName_ = state_.GET_NAME.section(u'\r', 0, 0);
    LapFileLoad load;
    convertLapFiles(
        state_, *this,
        [this, &load](const QString& m) {
            keepLapFiles(load);
            warn(m);
        },
        userDecimalPoint(), &load);
    keepLapFiles(load);
}

void KorvelLoader::loadLibrarySessions(const std::vector<LoadedSession>& sessions)
{
    if (sessions.empty())
        return;
    {
        FillScope scope(*this);
        std::vector<LapBytes> files;
        std::vector<std::string> titles;
        for (const LoadedSession& s : sessions) {
            files.push_back(s.file);
            titles.push_back(s.title.toStdString());
        }
        lapFileName_ = files.front().name;
        LapFileLoad load;
        convertLapBytes(
            files, *this,
            [this, &load, &titles](const QString& m) {
                keepLapFiles(load);
                lapTitles_ = titles;
                warn(m);
            },
            userDecimalPoint(), &load);
        const bool replaced = load.replacedView;
        keepLapFiles(load);
        if (replaced)
            lapTitles_ = std::move(titles);
    }
    raise();
    activateWindow();
    showAnalysis();
}

// Takes the files of a "bil load" that replaced the view, once.
void KorvelLoader::keepLapFiles(LapFileLoad& load)
{
    if (!load.replacedView)
        return;
    load.replacedView = false;
    lapLoad_ = std::move(load);
    lapAnchors_.clear();
    lapTitles_.clear();
    lapAnchors_.reserve(lapLoad_.files.size());
    QTextDocument* document = Text1->document();
    for (const LapFileLoad::File& file : lapLoad_.files) {
        const QTextBlock block = document->findBlockByNumber(int(file.firstLine));
        lapAnchors_.push_back(file.firstLine >= 0 && block.isValid() ? QTextCursor(block)
                                                                     : QTextCursor());
    }
}

LoadedFiles KorvelLoader::lapFiles() const
{
    LoadedFiles files;
    for (const QString& name : lapLoad_.unreadFiles)
        files.unread.push_back(name.toStdString());
    files.files.reserve(lapLoad_.files.size());
    for (std::size_t i = 0; i < lapLoad_.files.size(); ++i) {
        const LapFileLoad::File& file = lapLoad_.files[i];
        LoadedFile loaded;
        loaded.name = file.name.toStdString();
        if (!lapAnchors_[i].isNull())
            loaded.firstLine = lapAnchors_[i].blockNumber() + 1;
        if (file.unitFlag >= 0)
            loaded.unit = file.unitFlag == 1 ? SpeedUnit::Mph : SpeedUnit::Kmh;
        loaded.fault = file.fault.toStdString();
        if (i < lapTitles_.size())
            loaded.title = lapTitles_[i];
        loaded.faultRecord = file.faultRecord;
        files.files.push_back(std::move(loaded));
    }
    return files;
}

void KorvelLoader::textLoad()
{
    FillScope scope(*this);
    runChooser(kModeTextLoad);
    if (!state_.GET_NAME.isEmpty())
        lapFileName_.clear();
    const int revision = Text1->document()->revision();
    loadTextFile(state_, *this, [this](const QString& m) { warn(m); });
    // A loaded text says nothing of the files it came from.
    if (Text1->document()->revision() != revision) {
        lapLoad_ = LapFileLoad{};
        lapAnchors_.clear();
        lapTitles_.clear();
    }
}

void KorvelLoader::textSave()
{
    FillScope scope(*this);
    const WarningFn warnFn = [this](const QString& m) { warn(m); };
    if (!textSaveHasData(*this, warnFn))
        return;
    runChooser(kModeTextSave);
    saveTextFile(state_, *this, warnFn);
}

// A new window opens beside this one, right of it where the screen has room, else left of it,
// else at the screen's right edge, and no larger than the screen.
void KorvelLoader::placeBeside(QWidget& other) const
{
    const QRect room = screen()->availableGeometry();
    // The frame's width and title bar, as this window has them (nothing before it is shown).
    const QSize frame = frameGeometry().size() - size();
    const QSize size = other.size().boundedTo(room.size() - frame);
    other.resize(size);
    const QRect here = frameGeometry();
    int x = here.right() + 1;
    if (x + size.width() + frame.width() > room.right() + 1)
        x = here.left() - size.width() - frame.width();
    if (x < room.left())
        x = room.right() + 1 - size.width() - frame.width();
    const int y = std::clamp(here.top(), room.top(),
                             std::max(room.top(), room.bottom() + 1 - size.height() - frame.height()));
    other.move(std::max(x, room.left()), y);
}

void KorvelLoader::showAnalysis()
{
    if (!analysisWindow_) {
        analysisWindow_ = std::make_unique<AnalysisWindow>(*this);
        libraryLink_->attach(*analysisWindow_);
        placeBeside(*analysisWindow_);
    }
    analysisWindow_->show();
    analysisWindow_->raise();
    analysisWindow_->activateWindow();
}

void KorvelLoader::showLibrary()
{
    libraryLink_->showLibrary();
}

void KorvelLoader::closeEvent(QCloseEvent* event)
{
    if (state_.PORT_OPEN_FLG == kTrue) {
        // The tool still ends; the folders of this run are then not remembered.
        if (const FileResult<> saved = PASS_WRITE(state_, settingsPath_); !saved)
            qWarning("miren-loader: could not write the settings file %s: %s",
                     qPrintable(QDir::toNativeSeparators(settingsPath_)),
                     qPrintable(saved.reason()));
    }
    // The library's window ends its edits with the run.
    libraryLink_->closeWindows();
    event->accept();
    QCoreApplication::quit();
}

void KorvelLoader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Text1->setGeometry(kTextRect.left(), kTextRect.top(),
                       qMax(0, width() - kTextRect.left() - kTextRightMargin),
                       qMax(0, height() - kTextRect.top() - kTextBottomMargin));
}

bool KorvelLoader::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ANALYSIS && event->type() == QEvent::LanguageChange)
        ANALYSIS->setText(tr("Analysis"));
    if (watched == LIBRARY && event->type() == QEvent::LanguageChange)
        LIBRARY->setText(tr("Library"));
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !key->isAutoRepeat()) {
            button->click();
            return true;
        }
    }
    // Shift+Enter would insert a line separator (U+2028), which looks like a line end but is
    // saved as a character; make it an ordinary line end.
    if (watched == Text1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::InsertLineSeparator) &&
        !Text1->isReadOnly()) {
        QTextCursor cursor = Text1->textCursor();
        cursor.insertBlock();
        Text1->setTextCursor(cursor);
        Text1->ensureCursorVisible();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
