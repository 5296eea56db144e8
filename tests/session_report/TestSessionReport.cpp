#include "FileSizeLimit.h"
#include "LockedFolder.h"
#include "TestMain.h"
#include "report_dialogs/ReportDialogs.h"
#include "session_report/SessionReport.h"
#include "ui_language/UiLanguage.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#ifdef MIREN_PRINT_SUPPORT
#include <QPrinter>
#endif
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString lapTime(int hundredths)
{
    return QStringLiteral("%1:%2.%3")
        .arg(hundredths / 6000)
        .arg(hundredths / 100 % 60, 2, 10, QChar(u'0'))
        .arg(hundredths % 100, 2, 10, QChar(u'0'));
}

// A session as the analysis gives it: lap, time and six sectors; lap 7 is the best, lap 3 is
// excluded, each sector's best is marked.
ReportPage session(const QString& name, int laps, const QString& bestLabel,
                   const QString& theoreticalLabel, int* chartCalls = nullptr)
{
    ReportPage page;
    page.title = name;
    page.dateText = reportDateText(QDateTime(QDate(2024, 5, 12), QTime(14, 3)));
    page.figures = {{bestLabel, QStringLiteral("1:02.34  (7)")},
                    {theoreticalLabel, QStringLiteral("1:01.87")}};
    page.columns.push_back({QStringLiteral("Lap"), false});
    page.columns.push_back({QStringLiteral("Time"), false});
    for (int s = 1; s <= 6; ++s)
        page.columns.push_back({QStringLiteral("S%1").arg(s), false});
    for (int lap = 1; lap <= laps; ++lap) {
        ReportRow row;
        row.bestLap = lap == 7;
        row.excluded = lap == 3;
        row.cells.push_back({QString::number(lap), false});
        row.cells.push_back({lapTime(lap == 7 ? 6234 : 6250 + lap * 7 % 40), lap == 7});
        for (int s = 1; s <= 6; ++s)
            row.cells.push_back({lapTime(1000 + (lap * s) % 50), lap == s});
        page.rows.push_back(row);
    }
    page.chart = [chartCalls](QPainter& painter, const QRectF& area) {
        painter.drawRect(area.adjusted(2, 2, -2, -2));
        painter.drawLine(area.bottomLeft(), area.topRight());
        if (chartCalls)
            ++*chartCalls;
    };
    return page;
}

SessionReport reportOf(const std::vector<int>& lapCounts)
{
    SessionReport report;
    report.documentTitle = QStringLiteral("Sessions");
    report.day = session(QStringLiteral("2024-05-12"), 3, QStringLiteral("Best lap"),
                         QStringLiteral("Theoretical best"));
    for (std::size_t i = 0; i < lapCounts.size(); ++i)
        report.sessions.push_back(session(QStringLiteral("RUN%1.BIL").arg(i + 1), lapCounts[i],
                                          QStringLiteral("Best lap"),
                                          QStringLiteral("Theoretical best")));
    return report;
}

// The text of a PDF, pages separated by form feeds.
QString pdfText(const QByteArray& pdf)
{
    QProcess run;
    run.setProgram(QStandardPaths::findExecutable(QStringLiteral("pdftotext")));
    run.start(QStringLiteral("pdftotext"),
              {QStringLiteral("-layout"), QStringLiteral("-"), QStringLiteral("-")});
    if (!run.waitForStarted())
        return QStringLiteral(
            "<pdftotext is missing: scripts/install-deps installs poppler-utils>");
    run.write(pdf);
    run.closeWriteChannel();
    run.waitForFinished();
    return QString::fromUtf8(run.readAllStandardOutput());
}

int pdfPages(const QByteArray& pdf)
{
    return static_cast<int>(pdfText(pdf).count(u'\f'));
}

} // namespace

class TestSessionReport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
#ifdef Q_OS_WIN
            QSKIP("pdftotext (poppler-utils) reads the PDFs; Windows has none");
#else
            QFAIL("pdftotext is missing: scripts/install-deps installs poppler-utils");
#endif
        }
    }

    void cleanup()
    {
        installTranslators(*qApp, QStringLiteral("en"));
    }

    // The labels come from the caller; the page's own texts (the legend, the page number) from
    // the translation. Japanese needs a CJK font embedded with its text.
    void pdfHoldsTheBestTimes_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("best");
        QTest::addColumn<QString>("theoretical");
        QTest::addColumn<QString>("pageText");
        QTest::newRow("English") << "en"
                                 << "Best lap"
                                 << "Theoretical best"
                                 << "Page 1 of 1";
        QTest::newRow("Japanese") << "ja"
                                  << "ベストラップ"
                                  << "理論ベスト"
                                  << "1 / 1 ページ";
    }

    void pdfHoldsTheBestTimes()
    {
        QFETCH(QString, language);
        QFETCH(QString, best);
        QFETCH(QString, theoretical);
        QFETCH(QString, pageText);
        QVERIFY(installTranslators(*qApp, language));
        int chartCalls = 0;
        SessionReport report;
        report.sessions.push_back(
            session(QStringLiteral("SESSION_KMH.BIL"), 20, best, theoretical, &chartCalls));
        // Many figures, one of them a day's long reference: whole, not cut short.
        const QString rolling = QStringLiteral("1:03.92 (R2 lap 8 sector 6 to R2 lap 9 sector 5)");
        for (int i = 0; i < 5; ++i)
            report.sessions[0].figures.push_back({QStringLiteral("Rolling best"), rolling});
        const QString text = pdfText(reportPdf(report));
        for (const QString& expected :
             {QStringLiteral("SESSION_KMH.BIL"), QStringLiteral("2024-05-12 14:03"), best,
              QStringLiteral("1:02.34"), theoretical, QStringLiteral("1:01.87"), pageText,
              rolling}) {
            if (!text.contains(expected))
                QFAIL(qPrintable(QStringLiteral("no \"%1\" in:\n%2").arg(expected, text)));
        }
        QCOMPARE(chartCalls, 1);
    }

    // A page per session, the day's page only beside two sessions or more.
    void pagesPerSession_data()
    {
        QTest::addColumn<std::vector<int>>("laps");
        QTest::addColumn<int>("pages");
        QTest::newRow("one session") << std::vector<int>{20} << 1;
        QTest::newRow("session without laps") << std::vector<int>{0} << 1;
        QTest::newRow("two sessions and the day") << std::vector<int>{20, 12} << 3;
        QTest::newRow("three sessions and the day") << std::vector<int>{12, 20, 15} << 4;
    }

    void pagesPerSession()
    {
        QFETCH(std::vector<int>, laps);
        QFETCH(int, pages);
        QCOMPARE(pdfPages(reportPdf(reportOf(laps))), pages);
    }

    // A longer list first gets smaller type, down to the minimum; beyond that it goes on over
    // continuation pages in the normal size, every row printed once.
    void longListsShrinkThenContinue_data()
    {
        QTest::addColumn<int>("laps");
        QTest::addColumn<bool>("onePage");
        QTest::newRow("fits in normal type") << 20 << true;
        QTest::newRow("fits in smaller type") << 45 << true;
        QTest::newRow("continues") << 150 << false;
    }

    void longListsShrinkThenContinue()
    {
        QFETCH(int, laps);
        QFETCH(bool, onePage);
        const SessionReport report = reportOf({laps});
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter writer(&sink);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        const std::vector<PrintedPage> plan = planReport(report, writer);
        QCOMPARE(plan.size() == 1, onePage);
        std::size_t next = 0;
        for (const PrintedPage& printed : plan) {
            QCOMPARE(printed.firstRow, next);
            QCOMPARE(printed.continued, next > 0);
            QVERIFY(printed.listFontSize >= kMinListFontSize);
            if (!onePage)
                QCOMPARE(printed.listFontSize, kListFontSize);
            next += printed.rowCount;
        }
        QCOMPARE(next, std::size_t(laps));
        if (laps == 20)
            QCOMPARE(plan.front().listFontSize, kListFontSize);
        if (laps == 45)
            QVERIFY(plan.front().listFontSize < kListFontSize);
        const QString text = pdfText(reportPdf(report));
        QCOMPARE(text.count(u'\f'), int(plan.size()));
        QCOMPARE(text.contains(QStringLiteral("RUN1.BIL (continued)")), !onePage);
    }

    void pageSizeFollowsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("size");
        QTest::newRow("United States") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("Japan") << "ja_JP" << int(QPageSize::A4);
        QTest::newRow("United Kingdom") << "en_GB" << int(QPageSize::A4);
        QTest::newRow("Germany") << "de_DE" << int(QPageSize::A4);
    }

    void pageSizeFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(int, size);
        QCOMPARE(int(reportPageSize(QLocale(locale)).id()), size);
    }

    // Save as PDF and Print through their seams: cancelling writes nothing, a failure has a
    // reason and leaves nothing, the printer gets the pages the PDF has.
    void saveAsPdf()
    {
        QTemporaryDir dir;
        const SessionReport report = reportOf({20, 12});
        const QString proposed = dir.filePath(QStringLiteral("RUN1.pdf"));

        auto answer = [](QString name) {
            return [name](QWidget*, const QString&) { return name; };
        };
        FileResult<QString> saved = saveReportAsPdf(nullptr, report, proposed, answer(QString()));
        QVERIFY(saved.ok() && saved.value().isEmpty());
        QVERIFY(!QFile::exists(proposed));

        const QString missing = dir.filePath(QStringLiteral("gone/RUN1.pdf"));
        saved = saveReportAsPdf(nullptr, report, proposed, answer(missing));
        QVERIFY(!saved.ok() && !saved.reason().isEmpty());
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!saveReportAsPdf(nullptr, SessionReport{}, proposed, answer(proposed)).ok());
        QVERIFY(!QFile::exists(proposed));

        saved = saveReportAsPdf(nullptr, report, proposed, answer(proposed));
        QVERIFY(saved.ok());
        QCOMPARE(saved.value(), proposed);
        QFile file(proposed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(pdfPages(file.readAll()), 3);
    }

    // Cancel on the progress bar of a long report stops the painting: no file is written, and
    // no more pages are printed.
    void cancelStopsThePainting()
    {
        QTemporaryDir dir;
        const SessionReport report = reportOf({600, 600, 600});
        const QString path = dir.filePath(QStringLiteral("long.pdf"));
        int pages = 0;
        const auto cancelOnShow = [&pages] {
            QTimer::singleShot(0, [&pages] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (auto* progress = qobject_cast<QProgressDialog*>(w)) {
                        pages = progress->maximum();
                        progress->cancel();
                    }
                }
            });
        };
        cancelOnShow();
        const FileResult<QString> saved =
            saveReportAsPdf(nullptr, report, path, [&](QWidget*, const QString&) { return path; });
        QVERIFY(saved.ok() && saved.value().isEmpty());
        QVERIFY(pages > 10);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
#ifdef MIREN_PRINT_SUPPORT
        cancelOnShow();
        const FileResult<bool> printed = printReport(nullptr, report, [&](QWidget*, QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(path);
            return true;
        });
        QVERIFY(printed.ok() && !printed.value());
        // Qt's printer cannot take back pages it has been given; no more are painted.
        QFile file(path);
        QVERIFY(!file.open(QIODevice::ReadOnly) || pdfPages(file.readAll()) < 2);
#endif
    }

#ifdef Q_OS_LINUX
    // A folder where only the old file may be written, on a full disk: the PDF is never written
    // in place, so the old file stays whole.
    void pdfIsNeverWrittenInPlace()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("locked"));
        const QString path = folder + QStringLiteral("/old.pdf");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner | QFileDevice::ExeOther));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(old.setPermissions(QFileDevice::ReadOther | QFileDevice::WriteOther));
        FileResult<bool> written = false;
        {
            LockedFolder locked(folder);
            QVERIFY(locked.ok());
            FileSizeLimit full(100);
            written = writeReportPdf(reportOf({20}), path);
        }
        QVERIFY(!written.ok() && !written.reason().isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }
#endif

    void printerGetsThePdfPages()
    {
#ifndef MIREN_PRINT_SUPPORT
        QSKIP("this Qt has no Qt Print Support");
#else
        QTemporaryDir dir;
        const SessionReport report = reportOf({20, 12});
        const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
        const FileResult<bool> cancelled =
            printReport(nullptr, report, [](QWidget*, QPrinter&) { return false; });
        QVERIFY(cancelled.ok() && !cancelled.value());
        const FileResult<bool> done = printReport(nullptr, report, [&](QWidget*, QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(printed);
            return true;
        });
        QVERIFY(done.ok() && done.value());
        QFile out(printed);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(pdfPages(out.readAll()), 3);
#endif
    }
};

MIREN_REGISTER_TEST(TestSessionReport)
#include "TestSessionReport.moc"
