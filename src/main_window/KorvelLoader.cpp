#include "main_window/KorvelLoader.h"

#include "analysis_window/AnalysisWindow.h"
#include "lap_conversion/ConvertCommand.h"
#include "lap_conversion/DecimalPoint.h"
#include "file_chooser/File_Form.h"
#include "text_files/TextCommands.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Layout at start, in logical pixels (the form's grid is in twips, 15 twips to a pixel at
// 96 dpi).
constexpr QSize kClientSize(537, 647);
constexpr QRect kTextRect(8, 48, 521, 593);
constexpr QRect kBilLoadRect(8, 8, 89, 33);
constexpr QRect kTextLoadRect(344, 8, 81, 25);
constexpr QRect kTextSaveRect(440, 8, 81, 25);
constexpr QRect kAnalysisRect(112, 8, 81, 25);
// The view keeps these margins to the right and bottom edges when the window is resized.
constexpr int kTextRightMargin = 537 - 8 - 521;
constexpr int kTextBottomMargin = 647 - 48 - 593;
// Small enough to be useful on a small screen, large enough to keep the buttons in view and a
// few lines of the table.
constexpr QSize kMinimumSize(537, 200);

constexpr char kWarningCaption[] = "Miren Loader";

// Lone line ends are shown as these control pictures, marked with kStandInProperty.
constexpr char16_t kCrPicture = 0x240D;
constexpr char16_t kLfPicture = 0x240A;
constexpr int kStandInProperty = QTextFormat::UserProperty + 1;

QFont tableFont()
{
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// Inserts text at the cursor: CR LF becomes a block break, a lone CR or LF a marked stand-in.
void insertMapped(QTextCursor& cursor, QStringView text)
{
    const QTextCharFormat plain;
    QTextCharFormat standIn;
    standIn.setProperty(kStandInProperty, true);

    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            continue;
        }
        if (ch != u'\r' && ch != u'\n')
            continue;
        if (i > runStart)
            cursor.insertText(text.sliced(runStart, i - runStart).toString(), plain);
        cursor.insertText(QString(QChar(ch == u'\r' ? kCrPicture : kLfPicture)), standIn);
        runStart = i + 1;
    }
    if (runStart < text.size())
        cursor.insertText(text.sliced(runStart).toString(), plain);
}

// The document's text with CR LF line ends and the stand-ins turned back into CR and LF.
QString mappedText(const QTextDocument& doc)
{
    // Block by block into a buffer of the final size: neither a copy of the whole raw text nor
    // QString::replace(), which takes seconds per hundred megabytes of table. Only a block
    // holding a control picture is looked at fragment by fragment for stand-ins.
    const auto holdsPicture = [](const QString& text) {
        return text.contains(QChar(kCrPicture)) || text.contains(QChar(kLfPicture));
    };
    QString out;
    out.reserve(doc.characterCount() + doc.blockCount());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            out += QStringLiteral("\r\n");
        const QString text = block.text();
        if (!holdsPicture(text)) {
            out += text;
            continue;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString piece = fragment.text();
            if (fragment.charFormat().hasProperty(kStandInProperty)) {
                piece.replace(QChar(kCrPicture), u'\r');
                piece.replace(QChar(kLfPicture), u'\n');
            }
            out += piece;
        }
    }
    return out;
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
        return button;
    };
    BIL_load = makeButton("BIL_load", "bil load", kBilLoadRect);
    FILE_LOAD = makeButton("FILE_LOAD", "Text load", kTextLoadRect);
    FILE_SAVE = makeButton("FILE_SAVE", "Text save", kTextSaveRect);
    ANALYSIS = makeButton("ANALYSIS", "Analysis", kAnalysisRect);
    connect(BIL_load, &QPushButton::clicked, this, &KorvelLoader::bilLoad);
    connect(FILE_LOAD, &QPushButton::clicked, this, &KorvelLoader::textLoad);
    connect(FILE_SAVE, &QPushButton::clicked, this, &KorvelLoader::textSave);
    connect(ANALYSIS, &QPushButton::clicked, this, &KorvelLoader::showAnalysis);

    setTabOrder(Text1, BIL_load);
    setTabOrder(BIL_load, FILE_LOAD);
    setTabOrder(FILE_LOAD, FILE_SAVE);
    setTabOrder(FILE_SAVE, ANALYSIS);
    Text1->setFocus();

    chooser_ = [this](SharedState& state) { showFileForm(state, this); };
    warning_ = [this](const QString& message) {
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kWarningCaption), message,
                        QMessageBox::Ok, this);
        box.exec();
    };

    PASS_READ(state_, settingsPath_);
    state_.PORT_OPEN_FLG = kFalse;
}

KorvelLoader::~KorvelLoader() = default;

void KorvelLoader::setChooser(ShowChooserFn chooser)
{
    chooser_ = std::move(chooser);
}

void KorvelLoader::setWarning(WarningFn warning)
{
    warning_ = std::move(warning);
}

void KorvelLoader::clear()
{
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
    return mappedText(*Text1->document());
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
    warning_(message);
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
    convertLapFiles(
        state_, *this, [this](const QString& m) { warn(m); }, userDecimalPoint());
}

void KorvelLoader::textLoad()
{
    FillScope scope(*this);
    runChooser(kModeTextLoad);
    if (!state_.GET_NAME.isEmpty())
        lapFileName_.clear();
    loadTextFile(state_, *this, [this](const QString& m) { warn(m); });
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

void KorvelLoader::showAnalysis()
{
    if (!analysisWindow_)
        analysisWindow_ = std::make_unique<AnalysisWindow>(*this);
    analysisWindow_->show();
    analysisWindow_->raise();
    analysisWindow_->activateWindow();
}

void KorvelLoader::closeEvent(QCloseEvent* event)
{
    if (state_.PORT_OPEN_FLG == kTrue && !PASS_WRITE(state_, settingsPath_)) {
        // The tool still ends; the folders of this run are then not remembered.
        qWarning("miren-loader: could not write the settings file %s",
                 qPrintable(QDir::toNativeSeparators(settingsPath_)));
    }
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
