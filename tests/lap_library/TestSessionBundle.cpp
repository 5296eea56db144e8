// Session bundles from elsewhere: what a coach sends back is read only when every check holds.
#include "TestMain.h"
#include "lap_library/SessionBundle.h"
#include "lap_library/ZipArchive.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

SessionBundle sampleBundle()
{
    SessionBundle b;
    b.fileName = QStringLiteral("QUALI.BIL");
    b.bytes = QByteArray(228 * 3, '\x01');
    b.sha256 = QString::fromLatin1(QCryptographicHash::hash(b.bytes, QCryptographicHash::Sha256).toHex());
    b.date = QDateTime(QDate(2024, 5, 12), QTime(14, 3), Qt::UTC);
    b.sheet.track = QStringLiteral("鈴鹿");
    b.sheet.tags = QStringList{QStringLiteral("race")};
    b.reportPdf = QByteArray("%PDF-1.4 report");
    return b;
}

// The bundle's entries with session.json changed by edit.
QByteArray withSession(const std::function<void(QJsonObject&)>& edit)
{
    QString error;
    auto entries = *readZip(writeBundle(sampleBundle()), error);
    for (ZipEntry& e : entries) {
        if (e.name != QLatin1String("session.json"))
            continue;
        QJsonObject o = QJsonDocument::fromJson(e.data).object();
        edit(o);
        e.data = QJsonDocument(o).toJson();
    }
    return writeZip(entries, QDateTime::currentDateTime());
}

QByteArray withEntry(const QString& name, const QByteArray& data)
{
    QString error;
    auto entries = *readZip(writeBundle(sampleBundle()), error);
    entries.push_back({name, data});
    return writeZip(entries, QDateTime::currentDateTime());
}

// The first entry's method set to deflate, in both headers.
QByteArray compressed()
{
    QByteArray zip = writeBundle(sampleBundle());
    zip[8] = 8;
    const qsizetype central = zip.indexOf(QByteArray("PK\x01\x02", 4));
    zip[central + 10] = 8;
    return zip;
}

} // namespace

class TestSessionBundle : public QObject {
    Q_OBJECT

private slots:
    void roundTrip()
    {
        QString error;
        const auto read = readBundle(writeBundle(sampleBundle()), error);
        QVERIFY2(read, qPrintable(error));
        const SessionBundle b = sampleBundle();
        QCOMPARE(read->fileName, b.fileName);
        QCOMPARE(read->bytes, b.bytes);
        QCOMPARE(read->date, b.date);
        QCOMPARE(read->sheet, b.sheet);
        QCOMPARE(read->reportPdf, b.reportPdf);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a zip") << QByteArray(4000, 'z') << "not a zip";
        QTest::newRow("wrong hash") << withSession([](QJsonObject& o) {
            o[QStringLiteral("sha256")] = QString(64, QLatin1Char('0'));
        }) << "does not match the hash";
        QTest::newRow("missing sheet")
            << withSession([](QJsonObject& o) { o.remove(QStringLiteral("sheet")); }) << "\"sheet\"";
        QTest::newRow("missing hash")
            << withSession([](QJsonObject& o) { o.remove(QStringLiteral("sha256")); })
            << "\"sha256\"";
        QTest::newRow("sheet field of the wrong type") << withSession([](QJsonObject& o) {
            QJsonObject sheet = o[QStringLiteral("sheet")].toObject();
            sheet[QStringLiteral("tags")] = 7;
            o[QStringLiteral("sheet")] = sheet;
        }) << "\"tags\"";
        QTest::newRow("lap file elsewhere") << withSession([](QJsonObject& o) {
            o[QStringLiteral("file")] = QStringLiteral("../QUALI.BIL");
        }) << "not in the bundle";
        for (const char* name : {"../evil.BIL", "/etc/passwd", "a\\..\\b", "C:evil", "a/../../b",
                                 "./x", "a//b"})
            QTest::newRow(name) << withEntry(QString::fromLatin1(name), "x") << "would leave";
        QTest::newRow("twice") << withEntry(QStringLiteral("QUALI.BIL"), "x") << "twice";
        QTest::newRow("compressed") << compressed() << "compressed";
        QByteArray bad = writeBundle(sampleBundle());
        bad[100] = char(bad[100] ^ 0x55);
        QTest::newRow("damaged bytes") << bad << "checksum";
        QByteArray cut = writeBundle(sampleBundle());
        QTest::newRow("cut short") << cut.left(cut.size() - 10) << "not a zip";
    }

    // Refused with a reason that says which check failed.
    void refused()
    {
        QFETCH(QByteArray, zip);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!readBundle(zip, error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    // A declared size beyond the limit is refused before anything is read or allocated.
    void entryTooLarge()
    {
        QString error;
        ZipLimits limits;
        limits.maxEntryBytes = 100;
        QVERIFY(!readZip(writeBundle(sampleBundle()), error, limits));
        QVERIFY2(error.contains(QLatin1String("too large")), qPrintable(error));
    }
};

MIREN_REGISTER_TEST(TestSessionBundle)
#include "TestSessionBundle.moc"
