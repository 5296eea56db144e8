// The lap library against what a season brings: migrations from every earlier schema, the same
// file imported twice, bests and progress across sessions, files that are no library, a library
// that cannot be written, a full disk, and sheet texts of every kind.
#include "BilBuilder.h"
#include "FileSizeLimit.h"
#include "SpecialFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "lap_library/LapLibrary.h"
#include "lap_library/LibrarySchema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A lap file: each lap is its time and its sector times (hundredths); lengths as given.
QByteArray lapFile(const std::vector<std::vector<int>>& laps, int lapLength = 2400,
                   int sectorLength = 800)
{
    BilBuilder b;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        std::vector<BilBlock> blocks;
        for (std::size_t k = 0; k < laps[i].size(); ++k) {
            BilBlock block;
            block.time = quint16(laps[i][k]);
            block.length = quint16(k == 0 ? lapLength : sectorLength);
            blocks.push_back(block);
        }
        b.lap(2, quint16(i), blocks);
    }
    return b.bytes();
}

std::unique_ptr<LapLibrary> openOk(const QString& path,
                                   LapLibrary::Mode mode = LapLibrary::Mode::ReadWrite)
{
    auto opened = LapLibrary::open(path, mode);
    if (!opened.ok())
        qWarning() << opened.error.message;
    return opened.ok() ? std::move(*opened.value) : nullptr;
}

ImportOutcome importOk(LapLibrary& library, const QByteArray& bytes, const QString& name,
                       const QDateTime& time = {}, const SessionSheet& sheet = {},
                       bool accept = false)
{
    ImportRequest request{bytes, name, time, sheet, accept};
    auto outcome = library.importSession(request);
    if (!outcome.ok())
        qWarning() << outcome.error.message;
    return outcome.ok() ? *outcome.value : ImportOutcome{};
}

QDateTime day(int d, int hour = 10)
{
    return QDateTime(QDate(2024, 5, d), QTime(hour, 0));
}

} // namespace

class TestLapLibrary : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void migratesFromEveryEarlierVersion_data();
    void migratesFromEveryEarlierVersion();
    void sameFileTwiceIsOneSession();
    void staleFiguresAreRecomputed();
    void faultyFileKeepsLapsBeforeFault();
    void bestsAndIdealLapAcrossSessions();
    void progressPerDay();
    void trackSuggestion();
    void notALibrary_data();
    void notALibrary();
    void readOnlyLibrary();
    void damagedTableIsNoEmptyAnswer();
    void fullDiskLeavesLibraryAsItWas();
    void textFieldsAsGiven();
    void editConflictAndUndoOfRemoval();
    void backupWhileOpen();

private:
    QString path() const { return dir_->filePath(QStringLiteral("library.sqlite")); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestLapLibrary::migratesFromEveryEarlierVersion_data()
{
    QTest::addColumn<int>("version");
    for (int v = 0; v < schemaVersion(); ++v)
        QTest::newRow(qPrintable(QStringLiteral("version %1").arg(v))) << v;
}

// A library of an earlier version, made by the steps of that version and holding a session as
// that version stored it, opens as the current one with the session and its figures.
void TestLapLibrary::migratesFromEveryEarlierVersion()
{
    QFETCH(int, version);
    const QByteArray bytes = sampleFiles()[1].bytes; // SESSION_KMH.BIL
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(qPrintable(path()), &db), SQLITE_OK);
    for (int v = 0; v < version; ++v)
        QCOMPARE(sqlite3_exec(db, std::string(schemaSteps()[std::size_t(v)]).c_str(), nullptr,
                              nullptr, nullptr),
                 SQLITE_OK);
    if (version > 0) {
        const std::string header = "PRAGMA application_id = " +
                                   std::to_string(kLibraryApplicationId) +
                                   "; PRAGMA user_version = " + std::to_string(version) + ";";
        QCOMPARE(sqlite3_exec(db, header.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        // Version 1 onwards: a session with its bytes and sheet, its figures not yet made.
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO sessions (id, sha256, file_name, file_time, import_time, "
                           "track) VALUES (7, ?, 'S.BIL', 1715500000, 1715500000, 'Suzu')",
                           -1, &insert, nullptr);
        const QByteArray sha =
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        sqlite3_bind_text(insert, 1, sha.constData(), int(sha.size()), SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
        sqlite3_prepare_v2(db, "INSERT INTO session_bytes VALUES (7, ?)", -1, &insert, nullptr);
        sqlite3_bind_blob(insert, 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_finalize(insert);
    }
    sqlite3_close(db);

    // Read-only first: brought up to date in memory, the file left as it was. (An empty file
    // is no library to read.)
    const QByteArray before = readBytes(path());
    if (version > 0) {
        auto reader = openOk(path(), LapLibrary::Mode::ReadOnly);
        QVERIFY(reader);
        QCOMPARE(int(reader->sessions().size()), version > 0 ? 1 : 0);
    }
    QCOMPARE(readBytes(path()), before);

    auto library = openOk(path());
    QVERIFY(library);
    const auto sessions = library->sessions();
    QCOMPARE(int(sessions.size()), version > 0 ? 1 : 0);
    if (version > 0) {
        QCOMPARE(sessions[0].id, 7);
        QCOMPARE(sessions[0].sheet.track, QStringLiteral("Suzu"));
        QCOMPARE(sessions[0].figures.bestLap->time, 6401);
        QCOMPARE(*sessions[0].figures.theoretical, 6338);
        QCOMPARE(sessions[0].figures.countedCount, 19);
    }
    // The migrated library takes new sessions and passes its check.
    QVERIFY(importOk(*library, sampleFiles()[2].bytes, QStringLiteral("M.BIL")).added);
    const auto report = library->check();
    QVERIFY(report.ok());
    QCOMPARE(report.value->problems, QStringList());
}

void TestLapLibrary::sameFileTwiceIsOneSession()
{
    auto library = openOk(path());
    QVERIFY(library);
    const QByteArray bytes = sampleFiles()[1].bytes;
    const ImportOutcome first = importOk(*library, bytes, QStringLiteral("A.BIL"));
    const ImportOutcome again = importOk(*library, bytes, QStringLiteral("renamed.bil"));
    QVERIFY(first.added);
    QVERIFY(!again.added);
    QCOMPARE(again.session, first.session);
    QCOMPARE(int(library->sessions().size()), 1);
    QCOMPARE(library->sessions()[0].fileName, QStringLiteral("A.BIL"));
    QCOMPARE(*library->bytesOf(first.session).value, bytes);
    // By number or by a unique prefix of the hash.
    QCOMPARE(*library->resolve(QString::number(first.session)).value, first.session);
    QCOMPARE(*library->resolve(first.sha256.left(6).toUpper()).value, first.session);
    QVERIFY(!library->resolve(QStringLiteral("ffffffff")).ok());
}

// Figures of an older analysis (another figures version) are made anew from the stored bytes:
// in memory for a reader, in the file for a writer.
void TestLapLibrary::staleFiguresAreRecomputed()
{
    {
        auto library = openOk(path());
        importOk(*library, sampleFiles()[1].bytes, QStringLiteral("A.BIL"));
    }
    sqlite3* db = nullptr;
    sqlite3_open(qPrintable(path()), &db);
    QCOMPARE(sqlite3_exec(db,
                          "UPDATE sessions SET figures_version = 0, best_lap = 1, median = 2; "
                          "DELETE FROM laps",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(db);
    for (auto mode : {LapLibrary::Mode::ReadOnly, LapLibrary::Mode::ReadWrite}) {
        auto library = openOk(path(), mode);
        QCOMPARE(library->sessions()[0].figures.bestLap->time, 6401);
        QCOMPARE(*library->sessions()[0].figures.median, 6561);
        SessionFilter filter;
        QCOMPARE(library->progress(filter)[0].figures.countedCount, 19);
    }
    sqlite3_open(qPrintable(path()), &db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT figures_version, best_lap FROM sessions", -1, &select, nullptr);
    QCOMPARE(sqlite3_step(select), SQLITE_ROW);
    QVERIFY(sqlite3_column_int(select, 0) > 0);
    QCOMPARE(sqlite3_column_int(select, 1), 6401);
    sqlite3_finalize(select);
    sqlite3_close(db);
}

// A file with a bad record keeps the laps before it and names the fault, as "bil load" does.
void TestLapLibrary::faultyFileKeepsLapsBeforeFault()
{
    auto library = openOk(path());
    BilBuilder bad;
    bad.raw(lapFile({{6000, 3000, 3000}, {6100, 3000, 3100}, {6200, 3100, 3100}}));
    bad.setRecordWord(2, 6, 0x8123);
    const auto id = importOk(*library, bad.bytes(), QStringLiteral("bad.BIL")).session;
    const SessionFigures figures = library->session(id).value->figures;
    QCOMPARE(figures.lapCount, 2);
    QVERIFY2(QString::fromStdString(figures.fault).startsWith(QLatin1String("record 3, byte 462")),
             figures.fault.c_str());
    QCOMPARE(*library->bytesOf(id).value, bad.bytes());
}

// Three sessions of one layout: the best sectors come from different sessions, and their sum is
// the ideal lap, faster than any lap driven.
void TestLapLibrary::bestsAndIdealLapAcrossSessions()
{
    auto library = openOk(path());
    QVERIFY(library);
    SessionSheet sheet;
    sheet.track = QStringLiteral("Suzu");
    sheet.vehicle = QStringLiteral("Kart");
    // Session 1: S1 best 2000 (lap 2); session 2: S2 best 2050 and the best lap; session 3,
    // another vehicle, faster everywhere, belongs to another group.
    const auto a = importOk(*library, lapFile({{6300, 2100, 2100, 2100}, {6200, 2000, 2100, 2100},
                                               {6250, 2050, 2100, 2100}}),
                            QStringLiteral("a.BIL"), day(1), sheet);
    const auto b = importOk(*library, lapFile({{6180, 2030, 2050, 2100}, {6190, 2040, 2060, 2090},
                                               {9000, 3000, 3000, 3000}}),
                            QStringLiteral("b.BIL"), day(2), sheet);
    sheet.vehicle = QStringLiteral("Car");
    importOk(*library, lapFile({{5000, 1600, 1700, 1700}}), QStringLiteral("c.BIL"), day(3), sheet);

    SessionFilter filter;
    filter.vehicle = QStringLiteral("Kart");
    const auto bests = library->bests(filter);
    QCOMPARE(int(bests.size()), 1);
    const TrackBests& kart = bests[0];
    QCOMPARE(kart.sessions, 2);
    QCOMPARE(kart.bestLap->time, 6180);
    QCOMPARE(kart.bestLap->session, b.session);
    QCOMPARE(int(kart.ideals.size()), 1);
    const TrackBests::Ideal& ideal = kart.ideals[0];
    QCOMPARE(ideal.sectorCount, 3);
    QCOMPARE(ideal.sectors[0].session, a.session);
    QCOMPARE(ideal.sectors[0].lap, 2);
    QCOMPARE(ideal.sectors[1].session, b.session);
    QCOMPARE(ideal.sectors[2].session, b.session);
    QCOMPARE(ideal.sectors[2].lap, 2);
    QCOMPARE(ideal.time, 2000 + 2050 + 2090);
    QVERIFY(ideal.rolling);
    QVERIFY(ideal.rolling->at.time >= ideal.time);
    // Filters narrow the bests to what they let through.
    filter.vehicle.clear();
    filter.to = QDate(2024, 5, 1);
    QCOMPARE(library->bests(filter)[0].bestLap->session, a.session);
}

// Days at a track: each day's figures are those of its sessions together, and the personal best
// improves only on the days that beat every earlier one.
void TestLapLibrary::progressPerDay()
{
    auto library = openOk(path());
    QVERIFY(library);
    SessionSheet sheet;
    sheet.track = QStringLiteral("Suzu");
    importOk(*library, lapFile({{6300, 3100, 3200}, {6200, 3000, 3200}, {8000, 4000, 4000}}),
             QStringLiteral("1.BIL"), day(1, 9), sheet);
    importOk(*library, lapFile({{6100, 3050, 3050}, {6400, 3200, 3200}}), QStringLiteral("2.BIL"),
             day(1, 15), sheet);
    importOk(*library, lapFile({{6150, 3050, 3100}}), QStringLiteral("3.BIL"), day(8), sheet);
    importOk(*library, lapFile({{6050, 3000, 3050}}), QStringLiteral("4.BIL"), day(9), sheet);

    SessionFilter filter;
    filter.track = sheet.track;
    const auto days = library->progress(filter);
    QCOMPARE(int(days.size()), 3);
    QCOMPARE(days[0].sessions, 2);
    QCOMPARE(*days[0].figures.bestLap, 6100);
    // The sectors of the day: 3000 from the first session, 3050 from the second.
    QCOMPARE(*days[0].figures.theoretical, 6050);
    // Counted laps of the day: 6300 and 6200 (8000 is slower than 110 % of its session's
    // median), 6100 and 6400: median (6200 + 6300) / 2.
    QCOMPARE(days[0].figures.countedCount, 4);
    QCOMPARE(*days[0].figures.median, 6250);
    QVERIFY(days[0].improved);
    QVERIFY(!days[1].improved);
    QCOMPARE(*days[1].gapToPrevious, 50);
    QVERIFY(days[2].improved);
    QCOMPARE(*days[2].gapToPrevious, -50);
}

void TestLapLibrary::trackSuggestion()
{
    auto library = openOk(path());
    QVERIFY(library);
    SessionSheet sheet;
    sheet.track = QStringLiteral("Suzu");
    sheet.layout = QStringLiteral("East");
    sheet.vehicle = QStringLiteral("Kart");
    sheet.notesAfter = QStringLiteral("only for that day");
    importOk(*library, lapFile({{6000, 3000, 3000}}, 2400, 1200), QStringLiteral("a.BIL"), day(1),
             sheet);
    // Within 3 % of every length: suggested, and taken only when asked.
    const auto near = importOk(*library, lapFile({{6010, 3000, 3010}}, 2460, 1230),
                               QStringLiteral("b.BIL"), day(2));
    QCOMPARE(near.suggestion->track, sheet.track);
    QCOMPARE(near.suggestion->layout, sheet.layout);
    QVERIFY(!near.suggestionTaken);
    QVERIFY(library->session(near.session).value->sheet.track.isEmpty());
    const auto taken = importOk(*library, lapFile({{6020, 3000, 3020}}, 2350, 1180),
                                QStringLiteral("c.BIL"), day(3), {}, true);
    QCOMPARE(library->session(taken.session).value->sheet.layout, sheet.layout);
    // 4 % longer, or another sector count: another layout.
    QVERIFY(!importOk(*library, lapFile({{6030, 3000, 3030}}, 2500, 1200), QStringLiteral("d.BIL"))
                 .suggestion);
    QVERIFY(!importOk(*library, lapFile({{6040, 2000, 2000, 2040}}, 2400, 800),
                      QStringLiteral("e.BIL"))
                 .suggestion);
    // The vehicle's last sheet, without what belonged to that session alone.
    const auto last = library->lastSheetOfVehicle(sheet.vehicle);
    QCOMPARE(last->layout, sheet.layout);
    QVERIFY(last->notesAfter.isEmpty());
}

void TestLapLibrary::notALibrary_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    const int notALibrary = int(LibraryError::Kind::NotALibrary);
    QTest::newRow("garbage") << "garbage" << notALibrary;
    QTest::newRow("truncated library") << "truncated" << notALibrary;
    QTest::newRow("library of a newer version") << "newer" << int(LibraryError::Kind::Newer);
    QTest::newRow("database of another program") << "other" << notALibrary;
    QTest::newRow("folder") << "folder" << notALibrary;
#ifdef Q_OS_UNIX
    QTest::newRow("fifo") << "fifo" << notALibrary;
#endif
}

// Refused with a message naming the file, and the file left byte for byte as it was.
void TestLapLibrary::notALibrary()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    if (kind == QLatin1String("garbage")) {
        QVERIFY(writeBytes(path(), QByteArray(5000, 'x')));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path()));
#ifdef Q_OS_UNIX
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(makeFifo(path()));
#endif
    } else if (kind == QLatin1String("other")) {
        sqlite3* db = nullptr;
        sqlite3_open(qPrintable(path()), &db);
        sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    } else {
        {
            auto library = openOk(path());
            for (int i = 0; i < 20; ++i)
                importOk(*library, lapFile({{6000 + i, 3000, 3000 + i}}), QStringLiteral("x.BIL"));
        }
        if (kind == QLatin1String("newer")) {
            sqlite3* db = nullptr;
            sqlite3_open(qPrintable(path()), &db);
            sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else {
            QVERIFY(writeBytes(path(), readBytes(path()).left(5000)));
        }
    }
    const QByteArray before = kind == QLatin1String("folder") || kind == QLatin1String("fifo")
                                  ? QByteArray()
                                  : readBytes(path());
    for (auto mode : {LapLibrary::Mode::ReadOnly, LapLibrary::Mode::ReadWrite}) {
        auto opened = LapLibrary::open(path(), mode);
        QVERIFY(!opened.ok());
        QCOMPARE(int(opened.error.kind), error);
        QVERIFY2(opened.error.message.contains(QDir::toNativeSeparators(path())),
                 qPrintable(opened.error.message));
    }
    if (!before.isEmpty())
        QCOMPARE(readBytes(path()), before);
}

void TestLapLibrary::readOnlyLibrary()
{
    {
        auto library = openOk(path());
        importOk(*library, sampleFiles()[1].bytes, QStringLiteral("A.BIL"));
    }
    // Opened for reading by the program: no write gets through, whoever runs it.
    auto reader = openOk(path(), LapLibrary::Mode::ReadOnly);
    QVERIFY(reader);
    QCOMPARE(int(reader->sessions().size()), 1);
    const auto refused = reader->importSession({sampleFiles()[2].bytes, "B.BIL", {}, {}, false});
    QVERIFY(!refused.ok());
    QCOMPARE(refused.error.kind, LibraryError::Kind::ReadOnly);
    QVERIFY(refused.error.message.contains(QDir::toNativeSeparators(path())));
    QVERIFY(!reader->setSheet(1, {}, {}, 0).ok());
    reader.reset();
    // Where the file SQLite keeps beside the library cannot be made (here a folder stands in its
    // place, which stops root too), the library is still read, as an unchanging file.
    QFile::remove(path() + QStringLiteral("-shm"));
    QVERIFY(QDir().mkpath(path() + QStringLiteral("-shm")));
    for (auto mode : {LapLibrary::Mode::ReadOnly, LapLibrary::Mode::ReadWrite}) {
        auto unchanging = openOk(path(), mode);
        QVERIFY(unchanging);
        QVERIFY(unchanging->readOnly());
        QCOMPARE(int(unchanging->sessions().size()), 1);
        QCOMPARE(unchanging->importSession({sampleFiles()[2].bytes, "B.BIL", {}, {}, false})
                     .error.kind,
                 LibraryError::Kind::ReadOnly);
    }
    QVERIFY(QDir().rmdir(path() + QStringLiteral("-shm")));
#ifdef Q_OS_UNIX
    if (geteuid() == 0)
        QSKIP("permission bits do not stop root: the read-only file and folder are not tried");
    QFile::setPermissions(path(), QFile::ReadOwner);
    QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::ExeOwner);
    auto library = openOk(path());
    QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(library);
    QVERIFY(library->readOnly());
    QCOMPARE(int(library->sessions().size()), 1);
    QCOMPARE(library->importSession({sampleFiles()[2].bytes, "B.BIL", {}, {}, false}).error.kind,
             LibraryError::Kind::ReadOnly);
#endif
}

void TestLapLibrary::fullDiskLeavesLibraryAsItWas()
{
#ifdef Q_OS_UNIX
    auto library = openOk(path());
    importOk(*library, sampleFiles()[1].bytes, QStringLiteral("A.BIL"));
    {
        // The write-ahead log may not grow beyond 64 KB: the disk is full for it.
        FileSizeLimit limit(64 * 1024);
        const auto failed = library->importSession({fullLaps(2000), "big.BIL", {}, {}, false});
        QVERIFY(!failed.ok());
        QCOMPARE(failed.error.kind, LibraryError::Kind::Write);
        QVERIFY2(failed.error.message.contains(QLatin1String("as it was")),
                 qPrintable(failed.error.message));
    }
    QCOMPARE(int(library->sessions().size()), 1);
    library.reset();
    auto again = openOk(path());
    QCOMPARE(int(again->sessions().size()), 1);
    QVERIFY(again->check().value->problems.isEmpty());
    QVERIFY(importOk(*again, fullLaps(2000), QStringLiteral("big.BIL")).added);
#else
    QSKIP("needs a file-size limit");
#endif
}

void TestLapLibrary::textFieldsAsGiven()
{
    auto library = openOk(path());
    const auto id = importOk(*library, sampleFiles()[1].bytes, QStringLiteral("A.BIL")).session;
    SessionSheet sheet;
    sheet.track = QStringLiteral("'; DROP TABLE sessions; --");
    sheet.layout = QStringLiteral("\"quoted\" 'single' `back`");
    sheet.driver = QStringLiteral("鈴木 太郎 ✓ \u0001 Ünïcödé");
    sheet.notesAfter = QString(1024 * 1024, QLatin1Char('n'));
    for (int i = 0; i < 10000; ++i)
        sheet.tags << QStringLiteral("tag %1 '\"").arg(i);
    sheet.setup = {{QStringLiteral("Rear \"toe\""), QStringLiteral("1.5'")}};
    sheet.airTemperature = -3.5;
    sheet.conditions = Conditions::Damp;
    QVERIFY(library->setSheet(id, sheet, {}, 0).ok());
    QCOMPARE(library->session(id).value->sheet, sheet);
    SessionFilter filter;
    filter.track = sheet.track;
    filter.tag = QStringLiteral("tag 9999 '\"");
    QCOMPARE(int(library->sessions(filter).size()), 1);
    QVERIFY(library->check().value->problems.isEmpty());
}

void TestLapLibrary::editConflictAndUndoOfRemoval()
{
    auto library = openOk(path());
    auto other = openOk(path());
    const auto id = importOk(*library, sampleFiles()[1].bytes, QStringLiteral("A.BIL")).session;
    SessionSheet mine, theirs;
    mine.notesAfter = QStringLiteral("mine");
    theirs.notesAfter = QStringLiteral("theirs");
    QCOMPARE(*other->setSheet(id, theirs, day(3), 0).value, 1);
    // A save over a revision that another process has moved on from changes nothing.
    const auto conflict = library->setSheet(id, mine, {}, 0);
    QCOMPARE(conflict.error.kind, LibraryError::Kind::Conflict);
    QCOMPARE(library->session(id).value->sheet.notesAfter, theirs.notesAfter);
    QCOMPARE(library->session(id).value->date, day(3));

    QVERIFY(library->remove({id}, LapLibrary::Removal::Soft).ok());
    QVERIFY(other->sessions().empty());
    QVERIFY(library->restore({id}).ok());
    QCOMPARE(int(other->sessions().size()), 1);
    QVERIFY(library->remove({id}, LapLibrary::Removal::Soft).ok());
    QVERIFY(library->purgeRemoved().ok());
    QVERIFY(library->restore({id}).ok());
    QVERIFY(library->sessions().empty());
}

void TestLapLibrary::backupWhileOpen()
{
    auto library = openOk(path());
    auto writer = openOk(path());
    importOk(*writer, sampleFiles()[1].bytes, QStringLiteral("A.BIL"));
    const QString copy = dir_->filePath(QStringLiteral("copy.sqlite"));
    QVERIFY(library->backup(copy).ok());
    QVERIFY(!library->backup(path()).ok());
    auto restored = openOk(copy, LapLibrary::Mode::ReadOnly);
    QVERIFY(restored);
    QCOMPARE(int(restored->sessions().size()), 1);
    QVERIFY(restored->check().value->problems.isEmpty());
}

// A library that opens but whose laps cannot be read gives no progress, and says why, instead
// of a progress of no days.
void TestLapLibrary::damagedTableIsNoEmptyAnswer()
{
    SessionFilter suzu;
    suzu.track = QStringLiteral("Suzu");
    {
        auto library = openOk(path());
        SessionSheet sheet;
        sheet.track = QStringLiteral("Suzu");
        importOk(*library, lapFile({{6000, 3000, 3000}, {6100, 3000, 3100}}),
                 QStringLiteral("a.BIL"), day(4), sheet);
        QVERIFY(!library->progress(suzu).empty());
        QVERIFY(library->queryError().isEmpty());
    }
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(qPrintable(path()), &db), SQLITE_OK);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = 'laps'", -1, &select,
                       nullptr);
    QCOMPARE(sqlite3_step(select), SQLITE_ROW);
    const int page = sqlite3_column_int(select, 0);
    sqlite3_finalize(select);
    sqlite3_close(db);
    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * 4096));
    QVERIFY(file.write(QByteArray(4096, '\xff')) == 4096);
    file.close();

    auto library = openOk(path());
    QVERIFY(library);
    QVERIFY(library->progress(suzu).empty());
    QVERIFY2(library->queryError().contains(QStringLiteral("cannot read the library")),
             qPrintable(library->queryError()));
    QCOMPARE(library->sessions().size(), std::size_t(1)); // what can be read still is
    QVERIFY(library->queryError().isEmpty());
}

MIREN_REGISTER_TEST(TestLapLibrary)
#include "TestLapLibrary.moc"
