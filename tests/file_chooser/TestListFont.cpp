#include "FontChecks.h"
#include "TestMain.h"
#include "file_chooser/DriveSystem.h"
#include "file_chooser/File_Form.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// The characters of file names, drawn in the fonts of the chooser's lists and name entry at the
// scale the test runs at: CTest runs it at scale 1 and, as test_list_font_scale2, at scale 2.
// Half-width cells are 6 pixels wide at scale 1, where a smoothed face blurs the stems of "m"
// or "M" into one grey block.
class TestListFont : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void lettersAndDigitsAreSharp();
    void stemsStayApart_data();
    void stemsStayApart();

private:
    struct Ink {
        double greyShare = 0; // pixels of the ink box with 25..75 % coverage, in 0..1
        int rowRuns = 0;      // most separate strokes met along one pixel row
        int columnRuns = 0;   // and along one pixel column
    };
    Ink measure(const QFont& font, QChar c) const;

    QTemporaryDir dir_;
    QList<QPair<QString, QFont>> fonts_; // widget name, its font
    qreal scale_ = 1;
};

void TestListFont::initTestCase()
{
    QVERIFY(dir_.isValid());
    SharedState state;
    state.FILE_TYPE = kModeTextSave;
    state.PASS_NAME1 = normalFolder(dir_.path());
    SystemDrives drives;
    File_Form form(state, drives);
    for (const char* name : {"File1", "Dir1", "Text1"}) {
        const QWidget* widget = form.findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget, name);
        fonts_.append({QString::fromLatin1(name), widget->font()});
    }
    scale_ = form.findChild<QListWidget*>(QStringLiteral("File1"))->devicePixelRatioF();
    // The scale really in effect is the one the test was started for.
    QCOMPARE(scale_, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
}

// Draws c alone at the test's scale and measures its ink box (pixels with more than 10 %
// coverage). A pixel of at least 50 % coverage counts as ink, a lighter one as a gap.
TestListFont::Ink TestListFont::measure(const QFont& font, QChar c) const
{
    const QFontMetrics metrics(font);
    QImage image(QSize(metrics.maxWidth() * 2 + 8, metrics.height() + 8) * scale_,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale_);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(4, 4 + metrics.ascent(), QString(c));
    }
    const auto coverage = [&](int x, int y) { return (255 - qGray(image.pixel(x, y))) / 255.0; };
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (coverage(x, y) > 0.1)
                box |= QRect(x, y, 1, 1);
    Ink ink;
    if (box.isEmpty())
        return ink;
    int grey = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            grey += coverage(x, y) > 0.25 && coverage(x, y) < 0.75;
    ink.greyShare = double(grey) / (box.width() * box.height());
    const auto runs = [&](QPoint start, QPoint step, int count) {
        int found = 0;
        bool inside = false;
        for (QPoint p = start; count-- > 0; p += step) {
            const bool inked = coverage(p.x(), p.y()) >= 0.5;
            found += inked && !inside;
            inside = inked;
        }
        return found;
    };
    for (int y = box.top(); y <= box.bottom(); ++y)
        ink.rowRuns = qMax(ink.rowRuns, runs(QPoint(box.left(), y), QPoint(1, 0), box.width()));
    for (int x = box.left(); x <= box.right(); ++x)
        ink.columnRuns =
            qMax(ink.columnRuns, runs(QPoint(x, box.top()), QPoint(0, 1), box.height()));
    return ink;
}

// A readable glyph is mostly ink or background: at most half of its box may be mid-grey. A
// smoothed 6-pixel cell makes 60..92 % of "m", "M", "N", "W" grey; an unsmoothed one none, and
// at 24 pixels smoothing leaves at most about 45 %. Points and lines that fall between two pixel
// rows ("." "_" "|") are grey at any scale and still read, so only letters and digits count.
void TestListFont::lettersAndDigitsAreSharp()
{
    for (const auto& [name, font] : fonts_) {
        QStringList blurred;
        for (char c = '!'; c <= '~'; ++c) {
            if (!QChar::isLetterOrNumber(c))
                continue;
            const Ink ink = measure(font, QLatin1Char(c));
            if (ink.greyShare > 0.5)
                blurred << QStringLiteral("%1 (%2 % grey)").arg(c).arg(qRound(ink.greyShare * 100));
        }
        QVERIFY2(blurred.isEmpty(), qPrintable(name + QStringLiteral(": ") + blurred.join(", ")));
    }
}

void TestListFont::stemsStayApart_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<int>("rowRuns");    // strokes a pixel row must cross somewhere
    QTest::addColumn<int>("columnRuns"); // and a pixel column
    QTest::newRow("m") << QChar('m') << 3 << 1;
    QTest::newRow("w") << QChar('w') << 3 << 1;
    QTest::newRow("M") << QChar('M') << 3 << 1;
    QTest::newRow("W") << QChar('W') << 3 << 1;
    QTest::newRow("#") << QChar('#') << 2 << 2;
    QTest::newRow("@") << QChar('@') << 3 << 3;
    QTest::newRow("8") << QChar('8') << 2 << 3;
    QTest::newRow("B") << QChar('B') << 2 << 3;
}

// Each stroke of these glyphs keeps a gap to the next: a glyph whose stems touch reads as a
// block even where it is not grey.
void TestListFont::stemsStayApart()
{
    QFETCH(QChar, c);
    QFETCH(int, rowRuns);
    QFETCH(int, columnRuns);
    for (const auto& [name, font] : fonts_) {
        if (!canCheckFont(font.family()))
            continue;
        const Ink ink = measure(font, c);
        const QString where =
            QStringLiteral("%1: %2 across, %3 down").arg(name).arg(ink.rowRuns).arg(ink.columnRuns);
        QVERIFY2(ink.rowRuns >= rowRuns, qPrintable(where));
        QVERIFY2(ink.columnRuns >= columnRuns, qPrintable(where));
    }
}

MIREN_REGISTER_TEST(TestListFont)
#include "TestListFont.moc"
