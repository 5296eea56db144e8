#include "SpecialFiles.h"
#include "TestMain.h"
#include "ui_language/FigureText.h"
#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <future>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

class TestUiLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir config_;

private slots:
    void initTestCase()
    {
        // The remembered choice goes to a scratch configuration folder, not the user's.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        qputenv("APPDATA", QFile::encodeName(config_.path()));
        QCOMPARE(languageSettingsPath(), config_.filePath("miren-loader/miren-loader.ini"));
    }

    void cleanupTestCase()
    {
        installTranslators(*QCoreApplication::instance(), QStringLiteral("en"));
        QLocale::setDefault(QLocale::system());
    }

    void languageIsPickedInOrder_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Japanese system") << ""
                                         << "" << QStringList{"ja-JP", "ja"} << "ja";
        QTest::newRow("system without a translation") << ""
                                                      << "" << QStringList{"de-DE"} << "en";
        QTest::newRow("later system preference") << ""
                                                 << "" << QStringList{"de-DE", "ja-JP"} << "ja";
        QTest::newRow("C locale") << ""
                                  << "C" << QStringList{"C"} << "en";
        QTest::newRow("MIREN_LANG over the system") << ""
                                                    << "ja" << QStringList{"en-US"} << "ja";
        QTest::newRow("MIREN_LANG as a locale name")
            << ""
            << "ja_JP.UTF-8" << QStringList{"en-US"} << "ja";
        QTest::newRow("MIREN_LANG=en over a Japanese system")
            << ""
            << "en" << QStringList{"ja-JP"} << "en";
        QTest::newRow("unknown MIREN_LANG falls through") << ""
                                                          << "de" << QStringList{"ja-JP"} << "ja";
        QTest::newRow("menu choice over both") << "en"
                                               << "ja" << QStringList{"ja-JP"} << "en";
        QTest::newRow("unknown choice falls through") << "xx"
                                                      << "ja" << QStringList{} << "ja";
    }

    void languageIsPickedInOrder()
    {
        QFETCH(QString, choice);
        QFETCH(QString, environment);
        QFETCH(QStringList, system);
        QFETCH(QString, expected);
        QCOMPARE(pickLanguage(choice, environment, system), expected);
    }

    void choiceIsRemembered()
    {
        QVERIFY(setChosenLanguage(QStringLiteral("ja_JP")).ok());
        QCOMPARE(chosenLanguage(), QStringLiteral("ja"));
        QVERIFY(setChosenLanguage(QString()).ok());
        QCOMPARE(chosenLanguage(), QString());
        QVERIFY(setChosenLanguage(QStringLiteral("xx")).ok());
        QCOMPARE(chosenLanguage(), QString());
    }

    // The file stays what QSettings reads and writes: a choice written by either is read by
    // the other, and the lines the tool does not own stay as they were.
    void settingsFileStaysCompatible_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("after");
        // A new file takes the system's line end, as QSettings writes it.
#ifdef Q_OS_WIN
        const QByteArray firstChoice("[General]\r\nlanguage=ja\r\n");
#else
        const QByteArray firstChoice("[General]\nlanguage=ja\n");
#endif
        QTest::newRow("first choice") << QByteArray() << "ja" << firstChoice;
        QTest::newRow("changed") << QByteArray("[General]\nlanguage=ja\n") << "en"
                                 << QByteArray("[General]\nlanguage=en\n");
        QTest::newRow("forgotten") << QByteArray("[General]\nlanguage=ja\n") << ""
                                   << QByteArray();
        QTest::newRow("other lines and CR LF kept")
            << QByteArray("[Other]\r\nlanguage=x\r\n[General]\r\nlanguage = \"ja\"\r\nsize=2")
            << "en" << QByteArray("[Other]\r\nlanguage=x\r\n[General]\r\nlanguage=en\r\nsize=2");
        QTest::newRow("keys before any section")
            << QByteArray("; note\nlanguage=ja\nsize=2\n") << "en"
            << QByteArray("[General]\nlanguage=en\n; note\nsize=2\n");
    }

    void settingsFileStaysCompatible()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, code);
        QFETCH(QByteArray, after);
        const QByteArray written = withLanguageChoice(before, code);
        QCOMPARE(written, after);
        QCOMPARE(languageChoiceOf(written), code);

        const QString path = config_.filePath("compatible.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(written) >= 0);
        file.close();
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("language").toString(), code);
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue("language", "ja");
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(languageChoiceOf(file.readAll()), QStringLiteral("ja"));
        QVERIFY(file.remove());
    }

    // Whatever stands at the settings file's name, reading it neither hangs nor reads much, and
    // writing never replaces a device or a node a link leads to; a failure has a reason.
    void settingsFileIsOnlyARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("written");
        QTest::newRow("link to a device") << "device link" << false;
        QTest::newRow("link to a FIFO") << "fifo link" << false;
        QTest::newRow("FIFO") << "fifo" << true;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("huge file") << "huge" << true;
    }

    void settingsFileIsOnlyARegularFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs FIFOs and device nodes");
#else
        QFETCH(QString, kind);
        QFETCH(bool, written);
        const QString path = languageSettingsPath();
        const QString node = config_.filePath("node");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile::remove(path);
        if (kind == "device link" && !makeCharDevice(node))
            QSKIP("making a device node needs root");
        if (kind == "fifo link")
            QVERIFY(makeFifo(node));
        if (kind.endsWith("link"))
            QVERIFY(QFile::link(node, path));
        if (kind == "fifo")
            QVERIFY(makeFifo(path));
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        if (kind == "huge") {
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 30));
        }
        const auto cleanUp = qScopeGuard([&] {
            QFile::remove(node);
            QFile::remove(path);
            QDir().rmdir(path);
        });

        // A reader waiting on a FIFO is freed by a writer that opens and closes it.
        auto read = std::async(std::launch::async, [] { return chosenLanguage(); });
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ::close(::open(QFile::encodeName(kind == "fifo" ? path : node), O_WRONLY | O_NONBLOCK));
            read.wait();
            QFAIL("reading the settings file waited on the FIFO");
        }
        QCOMPARE(read.get(), QString());

        const FileResult<> kept = setChosenLanguage(QStringLiteral("ja"));
        QCOMPARE(kept.ok(), written);
        QVERIFY(kept.ok() || !kept.reason().isEmpty());
        if (written) {
            QCOMPARE(chosenLanguage(), QStringLiteral("ja"));
            QCOMPARE(QFileInfo(path).size(), qint64(22));
        } else {
            QCOMPARE(nodeKind(path), kind.endsWith("link") ? QStringLiteral("link")
                                                           : QStringLiteral("folder"));
            if (kind.endsWith("link"))
                QCOMPARE(nodeKind(node), kind == "fifo link" ? QStringLiteral("fifo")
                                                             : QStringLiteral("char device"));
        }
#endif
    }

    // The translations are built into the program, and Qt's own dialog texts come with them.
    void translatorsAreInstalledAndReplaced()
    {
        QCOMPARE(availableLanguages().value(0), QStringLiteral("en"));
        QVERIFY(availableLanguages().contains(QStringLiteral("ja")));
        QCOMPARE(nativeLanguageName(QStringLiteral("ja")), QStringLiteral("日本語"));

        auto& app = *QCoreApplication::instance();
        const char* page = "Page %1 of %2";
        const char* more = "%n more row(s) on the next page.";
        QVERIFY(installTranslators(app, QStringLiteral("ja")));
        QCOMPARE(QCoreApplication::translate("SessionReport", page),
                 QStringLiteral("%1 / %2 ページ"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("キャンセル"));

        QVERIFY(installTranslators(app, QStringLiteral("en")));
        QCOMPARE(QCoreApplication::translate("SessionReport", page), QString::fromLatin1(page));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QCOMPARE(QCoreApplication::translate("SessionReport", more, nullptr, 1),
                 QStringLiteral("1 more row on the next page."));
        QCOMPARE(QCoreApplication::translate("SessionReport", more, nullptr, 3),
                 QStringLiteral("3 more rows on the next page."));
        QVERIFY(!installTranslators(app, QStringLiteral("xx")));
    }

    // One rule in every locale: a comma-decimal default locale changes nothing.
    void figuresIgnoreTheLocale_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTest::newRow("decimals") << figureText(1.5, 2) << "1.50";
        QTest::newRow("no grouping") << figureText(std::int64_t{12000}) << "12000";
        QTest::newRow("rounded to zero has no sign") << figureText(-0.04, 1) << "0.0";
        QTest::newRow("negative") << figureText(-0.5, 1) << "-0.5";
        QTest::newRow("tenths") << tenthsText(15) << "1.5";
        QTest::newRow("negative tenths") << tenthsText(-3) << "-0.3";
        QTest::newRow("largest tenths") << tenthsText(INT64_MIN) << "-922337203685477580.8";
        QTest::newRow("percent") << percentText(110, 0) << QStringLiteral("110\u00a0%");
    }

    void figuresIgnoreTheLocale()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }
};

MIREN_REGISTER_TEST(TestUiLanguage)
#include "TestUiLanguage.moc"
