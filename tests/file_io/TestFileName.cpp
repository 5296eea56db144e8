#include "TestMain.h"
#include "file_io/FileName.h"

#include <QFile>
#include <QTest>

// File names that are not valid UTF-8 come back as the same bytes; valid ones decode as Qt
// decodes them.
class TestFileName : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
};

void TestFileName::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ASCII") << QByteArray("laps/SESSION.BIL") << true;
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9 \xF0\x9F\x8F\x81.BIL") << true;
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xE9.BIL") << false;
    QTest::newRow("bytes in a row") << QByteArray("\xFF\xFE\x80") << false;
    QTest::newRow("cut sequence") << QByteArray("a\xE2\x82") << false;
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
}

void TestFileName::roundTrip()
{
#ifdef Q_OS_WIN
    QSKIP("file names are UTF-16 on Windows");
#endif
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    const QString name = decodeFileName(bytes);
    QCOMPARE(encodeFileName(name), bytes);
    if (valid)
        QCOMPARE(name, QFile::decodeName(bytes));
    else
        QVERIFY(!name.contains(QChar::ReplacementCharacter));
}

MIREN_REGISTER_TEST(TestFileName)
#include "TestFileName.moc"
