#include "TestMain.h"
#include "shared_state/SharedState.h"
#include "shared_state/TextView.h"

#include <QDir>
#include <QTest>

class TestSharedState : public QObject {
    Q_OBJECT
private slots:
    void startsEmptyAndFalse();
    void memoryViewAppendsAtCaret();
    void joinFolderKeepsDoubledSeparator();
};

void TestSharedState::startsEmptyAndFalse()
{
    SharedState s;
    QVERIFY(s.PASS_NAME1.isEmpty() && s.PASS_NAME2.isEmpty() && s.FILE_TYPE.isEmpty());
    QVERIFY(s.GET_NAME.isEmpty());
    QCOMPARE(s.PORT_OPEN_FLG, kFalse);
}

void TestSharedState::memoryViewAppendsAtCaret()
{
    MemoryTextView v;
    v.append(u"AB\r\n");
    v.append(u"CD\r\n");
    QCOMPARE(v.text(), QStringLiteral("AB\r\nCD\r\n"));
    v.setText(QStringLiteral("xy"), 1);
    v.append(u"--");
    QCOMPARE(v.text(), QStringLiteral("x--y"));
    QCOMPARE(v.caret(), 3);
    v.clear();
    QCOMPARE(v.text(), QString());
    QCOMPARE(v.caret(), 0);
}

void TestSharedState::joinFolderKeepsDoubledSeparator()
{
    const QString sep = QDir::separator();
    QCOMPARE(joinFolder("a", "b.BIL"), "a" + sep + "b.BIL");
    QCOMPARE(joinFolder("a" + sep, "b"), "a" + sep + sep + "b");
    QCOMPARE(joinFolder("a", ""), "a" + sep);
}

MIREN_REGISTER_TEST(TestSharedState)
#include "TestSharedState.moc"
