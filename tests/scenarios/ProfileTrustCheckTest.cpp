#include "ScriptsPage.h"
#include "TestRegistry.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

// The "Профиль" tab's mark that gives a profile's scenarios the whole Lua library.
class ProfileTrustCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void markIsConfirmedSavedAndReachesTheNextActivation_data()
    {
        QTest::addColumn<int>("answer"); // the warning's button: 0 "Продолжить", 1 "Отмена"
        QTest::addColumn<bool>("trusted");
        QTest::newRow("confirmed") << 0 << true;
        QTest::newRow("cancelled") << 1 << false;
    }

    void markIsConfirmedSavedAndReachesTheNextActivation()
    {
        QFETCH(int, answer);
        QFETCH(bool, trusted);
        PageFixture fixture;
        QTemporaryDir outside;
        const QString marker = outside.filePath("marker");
        QVERIFY(writeFile(profileDirectory("default") + "/io.lua",
                          "io.open('" + marker.toUtf8() + "', 'w'):close()\n"
                          "function OnEvent() end\n"));
        storeProfiles({{"default", {{"io.lua", "Alt+1"}}}});
        ScriptsListWidget page;
        auto* mark = control<QCheckBox>(page, "profileTrustCheckBox");
        QVERIFY(!mark->isChecked());

        fixture.prompter.queueCustomButton(answer);
        mark->click();

        QCOMPARE(fixture.prompter.prompts.size(), 1);
        QVERIFY(fixture.lastPrompt().contains("\"default\""));
        QCOMPARE(mark->isChecked(), trusted);
        QCOMPARE(storedProfiles().value(0).trusted, trusted);
        QVERIFY(fixture.press(MOD_ALT, '1'));
        QCOMPARE(QFileInfo::exists(marker), trusted);

        // Turning it off asks nothing.
        if (trusted) {
            mark->click();
            QVERIFY(!storedProfiles().value(0).trusted);
            QCOMPARE(fixture.prompter.prompts.size(), 1);
        }
    }
};

CLAVITOR_TEST(ProfileTrustCheckTest);
#include "ProfileTrustCheckTest.moc"
