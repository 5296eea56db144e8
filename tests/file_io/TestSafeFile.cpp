#include "SpecialFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "file_io/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// The safe writer as the system sees it: what is synced and when, who owns the new file, the
// names of its temporary files, and links left to the kernel.
class TestSafeFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    // Names in the folder other than those given.
    QStringList othersThan(const QStringList& names) const
    {
        QStringList all = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names)
            all.removeAll(name);
        return all;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void cleanup() { setSyncFunction({}); }

    // The new file is on disk before it takes the name, and the name after the rename: what
    // each sync sees at the target tells which side of the rename it is on.
    void syncedBeforeAndAfterRename_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("old");  // a file stands there already
        QTest::addColumn<bool>("link"); // the name is a link to it
        QTest::addColumn<int>("mode");  // 0 default, 1 never in place (exports), 2 -o
        QTest::newRow("new file") << "new.txt" << false << false << 0;
        QTest::newRow("replaced file") << "old.txt" << true << false << 0;
        QTest::newRow("export") << "out.csv" << true << false << 1;
        QTest::newRow("-o through a link") << "linked.txt" << true << true << 2;
        QTest::newRow("name of 255 bytes") << QString(251, u'n') + ".txt" << true << false << 0;
    }

    void syncedBeforeAndAfterRename()
    {
#ifndef Q_OS_UNIX
        QSKIP("QSaveFile syncs on Windows");
#else
        QFETCH(QString, name);
        QFETCH(bool, old);
        QFETCH(bool, link);
        QFETCH(int, mode);
        const QString file = link ? path("behind-" + name) : path(name);
        if (old)
            QVERIFY(writeBytes(file, "old"));
        if (link)
            QVERIFY(QFile::link(file, path(name)));
        QStringList seen;
        setSyncFunction([&](int fd, SyncStep step) {
            seen << (step == SyncStep::File ? "file:" : "folder:") + readBytes(file);
            return ::fsync(fd) == 0 ? 0 : errno;
        });
        SafeFileWriter writer(path(name),
                              mode == 0 ? SafeFileWriter::InPlace::WhenFolderIsLocked
                                        : SafeFileWriter::InPlace::Never,
                              mode == 2 ? SafeFileWriter::Stream::WriteThrough
                                        : SafeFileWriter::Stream::Refuse);
        QVERIFY(writer.open().ok());
        QVERIFY(writer.write("new").ok());
        QVERIFY(writer.commit().ok());
        QCOMPARE(seen, QStringList({old ? "file:old" : "file:<missing>", "folder:new"}));
        QCOMPARE(readBytes(file), QByteArray("new"));
        if (link)
            QCOMPARE(nodeKind(path(name)), QStringLiteral("link"));
        QCOMPARE(othersThan({name, "behind-" + name}), QStringList());
        QVERIFY(QFile::remove(path(name)) && (!link || QFile::remove(file)));
#endif
    }

    // A sync that fails leaves the old file and says why.
    void failedSyncKeepsTheOldFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("QSaveFile syncs on Windows");
#else
        QVERIFY(writeBytes(path("kept.txt"), "old"));
        setSyncFunction([](int, SyncStep) { return EIO; });
        const FileResult<> saved = saveWholeFile(path("kept.txt"), "new");
        QVERIFY(!saved.ok());
        QCOMPARE(saved.reason(), QString::fromLocal8Bit(std::strerror(EIO)));
        QCOMPARE(readBytes(path("kept.txt")), QByteArray("old"));
        QCOMPARE(othersThan({"kept.txt"}), QStringList());
        QVERIFY(QFile::remove(path("kept.txt")));
#endif
    }

    // Temporary files of a killed run are removed by the next write of their target; those of
    // other targets, and one a live writer holds, stay.
    void staleTemporariesAreRemoved()
    {
#ifndef Q_OS_UNIX
        QSKIP("QSaveFile names its own temporary files on Windows");
#else
        // A name too long for ".<name>.miren-XXXXXX" has temporary files named by its hash.
        const QString longName = QString(250, u'l') + ".txt";
        const QString hashed =
            ".miren-" +
            QCryptographicHash::hash(longName.toUtf8(), QCryptographicHash::Sha256).toHex().left(16) +
            "-";
        const QStringList stale{".run.txt.miren-Ab12Cd", ".run.txt.miren-zzzzzz", hashed + "x1Y2z3"};
        const QStringList kept{".other.txt.miren-Ab12Cd", ".run.txt.miren-live01", "run.txt.1",
                               ".run.txt.miren-toolong"};
        for (const QString& name : stale + kept)
            QVERIFY(writeBytes(path(name), "left"));
        const int live = ::open(QFile::encodeName(path(".run.txt.miren-live01")), O_RDONLY);
        QVERIFY(live >= 0 && ::flock(live, LOCK_EX) == 0);
        const auto unlock = qScopeGuard([&] { ::close(live); });

        QVERIFY(saveWholeFile(path("run.txt"), "one").ok());
        QVERIFY(saveWholeFile(path(longName), "two").ok());
        QCOMPARE(othersThan(kept + QStringList{"run.txt", longName}).join(","), QString());
        QCOMPARE(readBytes(path(longName)), QByteArray("two"));
        for (const QString& name : kept)
            QVERIFY2(QFile::exists(path(name)), qPrintable(name));
        for (const QString& name : kept + QStringList{"run.txt", longName})
            QFile::remove(path(name));
#endif
    }

    // Where the process may (root), the new file keeps the old one's owner, group and mode.
    void ownerIsKept()
    {
#ifndef Q_OS_UNIX
        QSKIP("POSIX owners");
#else
        if (::geteuid() != 0)
            QSKIP("only root may give a file to another user");
        const QByteArray name = QFile::encodeName(path("owned.txt"));
        QVERIFY(writeBytes(path("owned.txt"), "old"));
        QVERIFY(::chown(name, 65534, 65534) == 0 && ::chmod(name, 0640) == 0);
        QVERIFY(saveWholeFile(path("owned.txt"), "new").ok());
        struct stat st {};
        QVERIFY(::stat(name, &st) == 0);
        QCOMPARE(int(st.st_uid), 65534);
        QCOMPARE(int(st.st_gid), 65534);
        QCOMPARE(int(st.st_mode & 07777), 0640);
        QVERIFY(QFile::remove(path("owned.txt")));
#endif
    }

    // A link another user planted in a shared sticky folder is not followed where the system
    // forbids it (fs.protected_symlinks): the file behind it stays.
    void protectedLinksAreNotFollowed()
    {
#ifndef Q_OS_LINUX
        QSKIP("Linux's fs.protected_symlinks");
#else
        QFile setting(QStringLiteral("/proc/sys/fs/protected_symlinks"));
        if (::geteuid() != 0 || !setting.open(QIODevice::ReadOnly) ||
            setting.readAll().trimmed() != "1")
            QSKIP("needs root and fs.protected_symlinks=1");
        const QString shared = path("shared");
        QVERIFY(QDir(dir_.path()).mkdir("shared"));
        QVERIFY(::chmod(QFile::encodeName(shared), 01777) == 0);
        QVERIFY(writeBytes(path("precious"), "precious"));
        QVERIFY(QFile::link(path("precious"), shared + "/out"));
        QVERIFY(::lchown(QFile::encodeName(shared + "/out"), 65534, 65534) == 0);
        for (const auto stream : {SafeFileWriter::Stream::Refuse, SafeFileWriter::Stream::WriteThrough}) {
            SafeFileWriter writer(shared + "/out", SafeFileWriter::InPlace::Never, stream);
            QVERIFY(!writer.open().ok());
        }
        QCOMPARE(readBytes(path("precious")), QByteArray("precious"));
        QVERIFY(QDir(shared).removeRecursively() && QFile::remove(path("precious")));
#endif
    }
};

MIREN_REGISTER_TEST(TestSafeFile)
#include "TestSafeFile.moc"
