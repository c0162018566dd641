#include "TestRegistry.h"

#include "core/SettingsNormalization.h"

#include <QTest>

class SettingsNormalizationTest : public QObject
{
    Q_OBJECT

private slots:
    void themes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("theme");
        QTest::newRow("light") << "light" << "light";
        QTest::newRow("padded upper case") << "  LIGHT " << "light";
        QTest::newRow("resource path") << ":/css/Light.css" << "light";
        QTest::newRow("file name") << "light.css" << "light";
        QTest::newRow("dark") << "dark" << "default";
        QTest::newRow("dark resource path") << ":/css/default.css" << "default";
        QTest::newRow("unknown") << "blue" << "default";
        QTest::newRow("empty") << "" << "default";
        QTest::newRow("light inside a folder that is not a resource") << "css/light" << "default";
    }
    void themes()
    {
        QFETCH(QString, stored);
        QFETCH(QString, theme);
        QCOMPARE(normalizeTheme(stored), theme);
    }

    void languages_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("language");
        QTest::newRow("ru") << "ru" << "ru";
        QTest::newRow("RU_ru padded") << " RU_ru " << "ru";
        QTest::newRow("EN-us") << "EN-us" << "en";
        QTest::newRow("German") << "de" << "";
        QTest::newRow("Ukrainian locale") << "uk_UA" << "";
        QTest::newRow("empty") << "   " << "";
        QTest::newRow("nonsense") << "xyz" << "";
    }
    void languages()
    {
        QFETCH(QString, stored);
        QFETCH(QString, language);
        QCOMPARE(normalizeLanguage(stored), language);
    }

    void systemLanguageTakesRussianWhereverItStands()
    {
        QCOMPARE(languageFromUiLanguages({"de-DE", "RU-ru", "en-US"}), QStringLiteral("ru"));
        QCOMPARE(languageFromUiLanguages({"en-US", "ru"}), QStringLiteral("ru"));
        QCOMPARE(languageFromUiLanguages({"de-DE", "uk-UA"}), QStringLiteral("en"));
        QCOMPARE(languageFromUiLanguages({}), QStringLiteral("en"));
        const QString system = systemLanguage();
        QVERIFY(system == "ru" || system == "en");
    }

    void speechRateStaysWithinItsRange()
    {
        QCOMPARE(clampSpeechRate(3.0), 2.0);
        QCOMPARE(clampSpeechRate(0.5), 1.0);
        QCOMPARE(clampSpeechRate(1.25), 1.25);
        QCOMPARE(clampSpeechRate(std::numeric_limits<double>::quiet_NaN()), 1.0);
        QCOMPARE(clampSpeechRate(-std::numeric_limits<double>::infinity()), 1.0);
    }
};

CLAVITOR_TEST(SettingsNormalizationTest);
#include "SettingsNormalizationTest.moc"
