#include "TestMain.h"
#include "ui_language/FigureText.h"
#include "ui_language/UiLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestUiLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir config_;

private slots:
    void initTestCase()
    {
        // The remembered choice goes to a scratch configuration folder, not the user's.
        QVERIFY(config_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
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
        setChosenLanguage(QStringLiteral("ja_JP"));
        QCOMPARE(chosenLanguage(), QStringLiteral("ja"));
        setChosenLanguage(QString());
        QCOMPARE(chosenLanguage(), QString());
        setChosenLanguage(QStringLiteral("xx"));
        QCOMPARE(chosenLanguage(), QString());
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
