#include "TestMain.h"
#include "analysis_view/ChartModel.h"
#include "analysis_view/ChartPainter.h"
#include "analysis_window/LapChart.h"
#include "ui_language/UiLanguage.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

// A lap as the chart takes it: 'C' counted, 'X' excluded, 'U' untimed.
ChartLap lap(std::size_t index, std::int64_t number, std::int32_t time, char kind = 'C')
{
    ChartLap l;
    l.index = index;
    l.lapNumber = number;
    l.time = kind == 'U' ? kUnknownTime : time;
    l.counted = kind == 'C';
    l.sectorCount = 2;
    l.sectors = {time * 2 / 5, time - time * 2 / 5};
    l.tmp1Min = 40 + int(index);
    l.tmp1Max = 60 + int(index);
    l.tmp2Min = 70;
    l.tmp2Max = 90;
    return l;
}

ChartSession session(const QString& name, const QString& kinds, std::size_t firstIndex = 0)
{
    ChartSession s;
    s.name = name;
    for (qsizetype i = 0; i < kinds.size(); ++i)
        s.laps.push_back(lap(firstIndex + std::size_t(i), i + 1, 6000 + std::int32_t(i * 37 % 200),
                             char(kinds[i].unicode())));
    return s;
}

QStringList labels(const std::vector<ChartTick>& ticks)
{
    QStringList out;
    for (const ChartTick& t : ticks)
        out << t.label;
    return out;
}

void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, w->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestLapChart : public QObject {
    Q_OBJECT

private slots:
    void ticks_data()
    {
        QTest::addColumn<bool>("time");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<int>("most");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("seconds") << true << 6000.0 << 6250.0 << 3
                                 << QStringList{"1:00.00", "1:01.00", "1:02.00"};
        QTest::newRow("hundredths across a minute")
            << true << 5950.0 << 6050.0 << 5
            << QStringList{"0:59.60", "0:59.80", "1:00.00", "1:00.20", "1:00.40"};
        QTest::newRow("hours") << true << 0.0 << 720000.0 << 6
                               << QStringList{"0:00.00", "50:00.00", "100:00.00"};
        QTest::newRow("temperatures")
            << false << 38.0 << 83.0 << 6 << QStringList{"40", "50", "60", "70", "80"};
        QTest::newRow("below zero")
            << false << -7.0 << 12.0 << 5 << QStringList{"-5", "0", "5", "10"};
    }
    void ticks()
    {
        QFETCH(bool, time);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(int, most);
        QFETCH(QStringList, expected);
        const auto ticks = time ? timeTicks(low, high, most) : numberTicks(low, high, most);
        QCOMPARE(labels(ticks), expected);
    }

    // Sessions stand side by side with a gap, each numbered by its own laps; a session whose
    // lap numbers do not rise is laid out by row.
    void lapAxis()
    {
        ChartModel model;
        model.setSessions({session("A", "CCCCCCCCCC"), session("B", "CCCCC", 10)});
        QCOMPARE(model.sessionSpan(0), std::make_pair(1.0, 10.0));
        QCOMPARE(model.sessionSpan(1), std::make_pair(12.0, 16.0));
        QCOMPARE(model.sessionLap(1, 16), 5.0);
        const std::vector<ChartTick> ticks = model.lapTicks(3);
        QCOMPARE(labels(ticks), QStringList({"5", "10", "5"}));
        QCOMPARE(ticks[2].value, 16.0);
        QVERIFY(!model.inTableOrder());

        ChartSession repeated = session("", "CCC");
        repeated.laps[2].lapNumber = 1;
        model.setSessions({repeated});
        QVERIFY(model.inTableOrder());
        QCOMPARE(model.axisX(0, 2), 3.0);
    }

    // The value axis spans the counted laps; an excluded lap beyond it sits on the edge of the
    // area, where its ring is whole inside the frame.
    void scalesAndMapping()
    {
        ChartModel model;
        ChartSession s = session("", "CCX");
        s.laps[2].time = 20000;
        model.setSessions({s});
        const auto [low, high] = model.valueRange(ChartView::LapTimes);
        QVERIFY(low < 6000 && high > 6037 && high < 7000);
        const ChartMapping m = model.mapping(ChartView::LapTimes, QRectF(10, 20, 400, 200), 6);
        QCOMPARE(m.px(m.xAt(123)), 123.0);
        QCOMPARE(m.yAt(m.py(6010)), 6010.0);
        QCOMPARE(m.px(model.fullStart()), 16.0);
        QCOMPARE(model.rings(0, m), QPolygonF({QPointF(m.px(3), 26)}));
    }

    void zoomAndPan()
    {
        ChartModel model;
        model.setSessions({session("", QString(101, u'C'))});
        model.zoomAt(26, 0.5);
        QCOMPARE(model.viewStart(), 13.5);
        QCOMPARE(model.viewEnd(), 63.5);
        model.panBy(-100);
        QCOMPARE(model.viewStart(), 1.0);
        QCOMPARE(model.viewEnd(), 51.0);
        for (int i = 0; i < 50; ++i)
            model.zoomAt(1, 0.5);
        QCOMPARE(model.viewEnd() - model.viewStart(), 5.0);
        // The same laps again (a lap toggled) keep the zoom; other laps show all of them.
        model.setSessions({session("", QString(101, u'X'))});
        QVERIFY(model.zoomed());
        model.setSessions({session("", QString(50, u'C'))});
        QVERIFY(!model.zoomed());
        QCOMPARE(model.viewEnd(), 50.0);
    }

    // The line of counted laps breaks at every lap that is not counted, in each view.
    void runsBreakAtExcludedLaps()
    {
        ChartModel model;
        model.setSessions({session("", "CCXCUCC")});
        const ChartMapping m = model.mapping(ChartView::LapTimes, QRectF(0, 0, 700, 300), 5);
        for (const ChartView view : {ChartView::LapTimes, ChartView::SectorTimes}) {
            const std::vector<QPolygonF> runs = model.lineRuns(view, 0, 0, m);
            QCOMPARE(runs.size(), std::size_t(3));
            QCOMPARE(runs[0].size(), 2);
            QCOMPARE(runs[1].size(), 1);
            QCOMPARE(runs[1][0].x(), m.px(4));
            QCOMPARE(runs[2].size(), 2);
        }
    }

    void hitTest()
    {
        ChartModel model;
        model.setSessions({session("S1", "CCXC"), session("", "CC", 4)});
        const ChartMapping m = model.mapping(ChartView::LapTimes, QRectF(0, 0, 600, 300), 5);
        const QPointF ring = m.point(3, model.sessions()[0].laps[2].time);
        const auto hit = model.hitTest(ChartView::LapTimes, m, ring + QPointF(3, -3), 6);
        QVERIFY(hit);
        QCOMPARE(hit->session, 0);
        QCOMPARE(hit->lap, std::size_t(2));
        QCOMPARE(model.hitText(ChartView::LapTimes, *hit),
                 QStringLiteral("S1\nLap 3: 1:00.74 (excluded)"));
        QVERIFY(!model.hitTest(ChartView::LapTimes, m, ring + QPointF(7, 0), 6));

        const QPointF second = m.point(model.axisX(1, 1), model.sessions()[1].laps[1].time);
        const auto other = model.hitTest(ChartView::LapTimes, m, second, 6);
        QVERIFY(other && other->session == 1 && other->lap == 1);
        QCOMPARE(model.hitText(ChartView::LapTimes, *other), QStringLiteral("Lap 2: 1:00.37"));

        // Sector lines: the nearest sector's point; TMP bands: anywhere between min and max.
        const ChartMapping ms = model.mapping(ChartView::SectorTimes, QRectF(0, 0, 600, 300), 5);
        const auto sector = model.hitTest(ChartView::SectorTimes, ms,
                                          ms.point(1, model.sessions()[0].laps[0].sectors[1]), 6);
        QVERIFY(sector && sector->series == 1);
        const ChartMapping mt = model.mapping(ChartView::Temperatures, QRectF(0, 0, 600, 300), 5);
        const auto band = model.hitTest(ChartView::Temperatures, mt, mt.point(2, 50), 6);
        QVERIFY(band && band->series == 0 && band->lap == 1);
        QCOMPARE(model.hitText(ChartView::Temperatures, *band),
                 QStringLiteral("S1\nLap 2: TMP1 41 to 61, TMP2 70 to 90"));
    }

    // Thinned, excluded laps and the TMP bands keep their extremes too.
    void thinningKeepsExtremes()
    {
        ChartSession s;
        for (std::size_t i = 0; i < 20000; ++i)
            s.laps.push_back(lap(i, std::int64_t(i + 1), 6000 + std::int32_t(i * 7919 % 900),
                                 i % 3 == 0 ? 'X' : 'C'));
        s.laps[12000].time = 9000;
        s.laps[777].tmp1Max = 100000;
        ChartModel model;
        model.setSessions({s});
        QVERIFY(model.thinned());
        const ChartMapping m = model.mapping(ChartView::LapTimes, QRectF(0, 0, 800, 300), 5);
        const QPolygonF rings = model.rings(0, m);
        QVERIFY(rings.size() <= 2 * 800);
        QVERIFY(rings.contains(m.point(12001, 9000)));
        const ChartMapping mt = model.mapping(ChartView::Temperatures, QRectF(0, 0, 800, 300), 5);
        const QPolygonF band = model.band(0, 0, mt);
        QVERIFY(band.size() <= 2 * 800);
        const QPointF peak = mt.point(778, 100000);
        QVERIFY(std::any_of(band.begin(), band.end(), [&](const QPointF& p) {
            return p.y() == peak.y() && std::abs(p.x() - peak.x()) < 1;
        }));
    }

    // The chart draws into any painter; the labels are never cut short, so the widest tick
    // label fits between the rectangle's edge and the frame.
    void paintsIntoAnImage()
    {
        ChartModel model;
        model.setSessions({session("A", "CCXCCCUCCC")});
        QImage image(400, 240, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        const ChartLayout layout =
            layoutChart(QRectF(image.rect()), QFontMetricsF(painter.font(), &image), model,
                        ChartView::LapTimes);
        paintChart(painter, layout, model, ChartView::LapTimes);
        painter.end();
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
        const QFontMetricsF metrics(QFont(), &image);
        for (const ChartTick& t : layout.valueTicks)
            QVERIFY(metrics.horizontalAdvance(t.label) < layout.mapping.frame.left());
        QVERIFY(!layout.lapTicks.empty());
        QVERIFY(layout.legend.back().at.bottom() <= image.height());
    }

    // Thousands of one-lap sessions (a logger restarted after every lap): the legend names a
    // few and counts the rest, and leaves the plot its room.
    void legendOfManySessionsIsBounded()
    {
        std::vector<ChartSession> sessions;
        for (int s = 0; s < 20000; ++s)
            sessions.push_back(session("", "C", std::size_t(s)));
        ChartModel model;
        model.setSessions(std::move(sessions));
        QCOMPARE(model.lapsInView(), std::size_t(20000));
        QVERIFY(installTranslators(*QCoreApplication::instance(), QStringLiteral("en")));
        const QRectF rect(0, 0, 800, 400);
        const ChartLayout layout =
            layoutChart(rect, QFontMetricsF(QFont()), model, ChartView::LapTimes);
        QCOMPARE(layout.legend.size(), kLegendSessions + 4);
        QCOMPARE(layout.legend[kLegendSessions].text,
                 QStringLiteral("… %1 more sessions").arg(20000 - kLegendSessions));
        QVERIFY(layout.mapping.frame.height() > rect.height() / 2);
        model.setViewRange(1, 100);
        QVERIFY(model.lapsInView() < 100);
    }

    // A day of 30 sessions at the chart's default size, and a one-lap session: every session has
    // a label, none cut short ("R1…") nor over another, every colour its own, the lap axis its
    // numbers; a sector line never takes a session's colour.
    void thirtySessionsReadable_data()
    {
        QTest::addColumn<int>("sessions");
        QTest::addColumn<int>("laps");
        QTest::newRow("30 sessions of 12 laps") << 30 << 12;
        QTest::newRow("one session of one lap") << 1 << 1;
    }
    void thirtySessionsReadable()
    {
        QFETCH(int, sessions);
        QFETCH(int, laps);
        std::vector<ChartSession> day;
        for (int s = 0; s < sessions; ++s) {
            day.push_back(session(QStringLiteral("R%1 RUN%1.BIL").arg(s + 1), QString(laps, u'C'),
                                  std::size_t(s * laps)));
            day.back().tag = sessions > 1 ? QStringLiteral("R%1").arg(s + 1) : QString();
        }
        ChartModel model;
        model.setSessions(std::move(day));
        const QRectF rect(0, 0, 900, 260);
        const QFont font;
        const QFontMetricsF metrics{font};
        const ChartLayout layout = layoutChart(rect, metrics, model, ChartView::SectorTimes);
        // A bare Wine prefix has no font at all: every character is a wide box there.
        if (QFontInfo(font).family().isEmpty())
            QSKIP("no font to measure the labels with");
        QCOMPARE(int(layout.labels.size()), sessions);
        for (std::size_t i = 0; i < layout.labels.size(); ++i) {
            const ChartLayout::SessionLabel& label = layout.labels[i];
            QVERIFY2(!label.text.contains(u'…'), qPrintable(label.text));
            QVERIFY(rect.contains(label.at));
            QVERIFY(metrics.horizontalAdvance(label.text) <= label.at.width() + 0.5);
            for (std::size_t j = 0; j < i; ++j)
                QVERIFY2(!label.at.intersects(layout.labels[j].at), qPrintable(label.text));
        }
        QVERIFY(!layout.lapTicks.empty());
        // A one-lap session's sector diamonds lie whole inside the frame.
        const double ring = layout.ringRadius * 1.2;
        QVERIFY(layout.mapping.frame.contains(layout.mapping.area.adjusted(-ring, -ring, ring, ring)));
        QSet<QRgb> colours;
        for (int s = 0; s < 30; ++s)
            colours.insert(sessionColour(s).rgb());
        QCOMPARE(colours.size(), 30);
        for (int sector = 0; sector < kMaxSectors; ++sector)
            QVERIFY(!colours.contains(sectorColour(sector).rgb()));
    }

    // The wheel zooms around the pointer, dragging pans without picking a lap, a double click
    // shows every lap again.
    void wheelDragAndDoubleClick()
    {
        LapChart chart;
        chart.setSessions({session("", QString(200, u'C'))});
        chart.resize(800, 400);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QSignalSpy clicks(&chart, &LapChart::lapClicked);
        const ChartMapping m = chart.layout().mapping;
        const QPointF at(m.px(50), m.frame.center().y());

        QWheelEvent wheel(at, chart.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &wheel);
        QVERIFY(chart.model().zoomed());
        QCOMPARE(chart.model().viewEnd() - chart.model().viewStart(), 199 * 0.8);
        QCOMPARE(chart.layout().mapping.xAt(at.x()), 50.0);

        const double start = chart.model().viewStart();
        const double perPixel =
            (chart.model().viewEnd() - start) / chart.layout().mapping.area.width();
        send(&chart, QEvent::MouseButtonPress, at, Qt::LeftButton);
        send(&chart, QEvent::MouseMove, at + QPointF(-20, 0), Qt::LeftButton);
        send(&chart, QEvent::MouseMove, at + QPointF(-60, 0), Qt::LeftButton);
        send(&chart, QEvent::MouseButtonRelease, at + QPointF(-60, 0), Qt::NoButton);
        QCOMPARE(chart.model().viewStart(), start + 60 * perPixel);
        QCOMPARE(clicks.size(), 0);

        send(&chart, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        QVERIFY(!chart.model().zoomed());
    }
};

MIREN_REGISTER_TEST(TestLapChart)
#include "TestLapChart.moc"
