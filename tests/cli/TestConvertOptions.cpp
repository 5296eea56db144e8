#include "TestMain.h"
#include "cli/ConvertOptions.h"

#include <QTest>

// The command line parsed in-process: what each argument list asks for, and the reason given
// for bad usage.
class TestConvertOptions : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void TestConvertOptions::parse_data()
{
    QTest::addColumn<QStringList>("args");
    // "table", "csv", ...: a run in that format; "usage: text": bad usage whose reason holds text.
    QTest::addColumn<QString>("expected");
    QTest::newRow("default format") << QStringList{"a.BIL"} << "table";
    QTest::newRow("csv, = form") << QStringList{"--format=csv", "a.BIL"} << "csv";
    QTest::newRow("summary, -o") << QStringList{"--format", "summary", "-o", "s.txt", "a.BIL"}
                                 << "summary";
    QTest::newRow("decimal point ;") << QStringList{"--decimal-point", ";", "a.BIL"} << "table";
    // A separator the table's reader could not tell from the digits and marks around it.
    for (const char* point : {"5", "~", ":", " ", "\t"})
        QTest::addRow("decimal point '%s'", point)
            << QStringList{"--decimal-point", point, "a.BIL"}
            << "usage: --decimal-point takes one printable ASCII character other than";
    QTest::newRow("no files") << QStringList{"-o", "x.txt"} << "usage: no lap record file given";
    QTest::newRow("unknown format")
        << QStringList{"--format", "xml", "a"}
        << "usage: takes table, csv, summary, sessions, sessions-csv or pdf, not 'xml'";
    QTest::newRow("-o twice") << QStringList{"-o", "x", "-o", "y", "a"}
                              << "usage: -o given more than once";
    QTest::newRow("-o empty") << QStringList{"-o", "", "a"} << "usage: -o needs a file name";
    QTest::newRow("decimal point with csv")
        << QStringList{"--format", "csv", "--decimal-point", ",", "a"}
        << "usage: --decimal-point is for --format table";
    QTest::newRow("delimiter with summary")
        << QStringList{"--format", "summary", "--csv-delimiter", ";", "a"}
        << "usage: --csv-delimiter is for --format csv";
    QTest::newRow("exclusion with table") << QStringList{"--exclude-slower", "120", "a"}
                                          << "usage: --exclude-slower is for --format csv, "
                                             "summary, sessions, sessions-csv or pdf";
    QTest::newRow("exclusion above 1000")
        << QStringList{"--format", "csv", "--exclude-slower", "1001", "a"}
        << "usage: from 100 to 1000";
}

void TestConvertOptions::parse()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    const ParsedArguments parsed = parseArguments(QStringList{"miren-convert"} + args);
    if (expected.startsWith("usage: ")) {
        QCOMPARE(parsed.action, ParsedArguments::Action::Usage);
        QVERIFY2(parsed.text.contains(expected.mid(7)), qPrintable(parsed.text));
    } else {
        QCOMPARE(parsed.action, ParsedArguments::Action::Run);
        QCOMPARE(QString::fromLatin1(parsed.options.format->name), expected);
        QCOMPARE(parsed.options.files.last(), QStringLiteral("a.BIL"));
    }
}

MIREN_REGISTER_TEST(TestConvertOptions)
#include "TestConvertOptions.moc"
