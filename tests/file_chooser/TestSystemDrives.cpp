#include "TestMain.h"
#include "file_chooser/DriveSystem.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

// The drive layer over the machine's own volumes.
class TestSystemDrives : public QObject {
    Q_OBJECT

private slots:
    void listsRealVolumesOnly();
    void driveOfFolder();
    void currentFolderOfDrives();
};

void TestSystemDrives::listsRealVolumesOnly()
{
    const QStringList drives = SystemDrives().drives();
    QVERIFY(!drives.isEmpty());
    QCOMPARE(drives.size(), QSet<QString>(drives.begin(), drives.end()).size());
#ifdef Q_OS_WIN
    QVERIFY(drives.contains(QStringLiteral("c:")));
#else
    QCOMPARE(drives.first(), QStringLiteral("/"));
    for (const QString& drive : drives) {
        QVERIFY2(drive != "/proc" && drive != "/sys" && !drive.startsWith("/sys/") &&
                     drive != "/dev/pts",
                 qPrintable(drive));
    }
#endif
}

void TestSystemDrives::driveOfFolder()
{
    const SystemDrives drives;
    QCOMPARE(drives.driveOf(QString()), QString());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString drive = drives.driveOf(dir.path());
    QVERIFY(drives.drives().contains(drive));
    // A folder that does not exist (yet) still lies on the drive of its parent.
    QCOMPARE(drives.driveOf(dir.filePath("gone/deeper")), drive);
#ifdef Q_OS_WIN
    QCOMPARE(drives.fallbackDrive(), QStringLiteral("c:"));
#else
    QCOMPARE(drive, QStorageInfo(dir.path()).rootPath());
    QCOMPARE(drives.fallbackDrive(), QStringLiteral("/"));
    // Mount points are matched by whole folder names: "/homework" is not on "/home".
    for (const QString& root : drives.drives()) {
        if (root != "/")
            QVERIFY(drives.driveOf(root + "x") != root);
    }
#endif
}

void TestSystemDrives::currentFolderOfDrives()
{
    const SystemDrives drives;
    const QString working = normalFolder(QDir::currentPath());
    const QString workingDrive = drives.driveOf(working);
    const FileResult<QString> atWorking = drives.currentFolder(workingDrive);
    QVERIFY2(atWorking.ok(), qPrintable(atWorking.reason()));
    QCOMPARE(atWorking.value(), working);
    // The fallback drive starts at its root unless it holds the working folder.
    const QString fallback = drives.fallbackDrive();
    const FileResult<QString> folder = drives.currentFolder(fallback);
    QVERIFY2(folder.ok(), qPrintable(folder.reason()));
    const QString expected =
        fallback == workingDrive ? working : normalFolder(drives.driveRoot(fallback));
    // Equal as paths: on Windows the system may spell the drive letter in the other case.
    QVERIFY2(folder.value().compare(expected, kPathCase) == 0,
             qPrintable(folder.value() + QStringLiteral(" is not ") + expected));
#ifndef Q_OS_WIN
    const FileResult<QString> missing = drives.currentFolder(QStringLiteral("/no/such/volume"));
    QVERIFY(!missing.ok());
    QVERIFY(!missing.reason().isEmpty());
#endif
}

MIREN_REGISTER_TEST(TestSystemDrives)
#include "TestSystemDrives.moc"
