#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "following/ProfileFollower.h"
#include "hotkeys/ShortcutRegistry.h"
#include "scenarios/ScriptsListWidget.h"

#include <QCoreApplication>
#include <QTest>

using platform::ForegroundProgram;

namespace {

ForegroundProgram program(const wchar_t* name)
{
    return {{name}, true, 4242};
}

} // namespace

// The page follows the program in front on the simulated desktop.
class ProfileFollowerTest : public QObject
{
    Q_OBJECT

    // Profiles default, Работа (with a scenario on Alt+W) and Игры (for game.exe, with a
    // scenario on Alt+G).
    static void storeGameProfiles()
    {
        storeProfiles({{"default", {}},
                       {"Работа", {{"notes.lua", "Alt+W", {}}}},
                       {"Игры", {{"aim.lua", "Alt+G", {}}}}},
                      "Работа");
        QList<ScenarioProfile> profiles = readProfiles(profilesFilePath());
        profiles[2].programs = {"game.exe"};
        QVERIFY(saveProfiles(profiles));
    }

    // Brings the program to the front and lets it stay there for `ms`.
    static void bringToFront(PageFixture& fixture, const wchar_t* name, int ms)
    {
        fixture.desktop.setForegroundProgram(program(name));
        QTest::qWait(ms);
    }

private slots:
    void switchesToTheProgramsProfileAndBack()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"Game.EXE", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));
        QCOMPARE(loadSettings().lastProfile, QString("Работа")); // still the user's choice
        QVERIFY(fixture.press(MOD_ALT, 'G'));                    // the profile's own hotkey works

        // The program's own windows count for nothing.
        fixture.desktop.setForegroundProgram(
            {{L"clavitor"}, false, static_cast<std::uint32_t>(QCoreApplication::applicationPid())});
        QTest::qWait(ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));

        bringToFront(fixture, L"notepad.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
    }

    void aProgramFlashingUpSwitchesNothing()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"game.exe", 100);
        bringToFront(fixture, L"launcher.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
    }

    void aHeldButtonDelaysTheSwitchUntilItsRelease()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        fixture.desktop.setKeyDown(VK_LBUTTON, true);
        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
        fixture.desktop.setKeyDown(VK_LBUTTON, false);
        QTRY_COMPARE(currentName(page), QString("Игры"));
    }

    void aButtonHeldOnIsWaitedForAWhileOnly()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        // A scenario that holds the button until it is left would hold the switch for ever.
        fixture.desktop.setKeyDown(VK_RBUTTON, true);
        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
        QTRY_COMPARE_WITH_TIMEOUT(currentName(page), QString("Игры"),
                                  ProfileFollower::kHeldButtonWaitMs + 1000);
    }

    // A scenario active in the game comes back with the game, as its hotkey would bring it,
    // unless the user chose otherwise in between.
    void theScenarioLeftActiveComesBackWithItsProgram_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<QString>("activeAfter");

        QTest::newRow("nothing in between") << ""
                                            << "aim";
        QTest::newRow("a scenario activated by hand") << "activate"
                                                      << "";
        QTest::newRow("turned off by hand after it came back") << "again"
                                                               << "";
        QTest::newRow("a profile picked by hand") << "pick"
                                                  << "";
    }
    void theScenarioLeftActiveComesBackWithItsProgram()
    {
        QFETCH(QString, between);
        QFETCH(QString, activeAfter);
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        QVERIFY(fixture.press(MOD_ALT, 'G'));
        QCOMPARE(fixture.overlay.active, QString("aim"));
        bringToFront(fixture, L"chat.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
        QCOMPARE(fixture.overlay.active, QString());

        if (between == "activate")
            QVERIFY(fixture.press(MOD_ALT, 'W'));
        if (between == "again") {
            bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
            QCOMPARE(fixture.overlay.active, QString("aim"));
            click(page, "pushButtonDisable");
            bringToFront(fixture, L"chat.exe", ForegroundWatch::kSettleMs + 200);
        }
        if (between == "pick") {
            profileCombo(page)->setCurrentIndex(0);
            profileCombo(page)->setCurrentIndex(1);
        }
        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));
        QCOMPARE(fixture.overlay.active, activeAfter);
        QCOMPARE(page.scriptsModel()->activeRow(), activeAfter.isEmpty() ? -1 : 0);
    }

    void aManualChoiceStaysUntilTheNextProgramChange()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        profileCombo(page)->setCurrentIndex(0); // the user picks default
        bringToFront(fixture, L"notepad.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("default"));
        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));
    }

    void hotkeysHeldElsewhereStayUnregisteredWithoutAQuestion()
    {
        PageFixture fixture;
        storeGameProfiles();
        QObject otherPart;
        QVERIFY(
            ShortcutRegistry::instance().claim(&otherPart, QKeySequence("Alt+G"), "автокликер"));
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);

        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Горячая клавиша Alt\\+G не назначена"));
        bringToFront(fixture, L"game.exe", ForegroundWatch::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));
        QVERIFY(fixture.prompter.prompts.isEmpty());
        QCOMPARE(fixture.overlay.entries.value(0).hotkey, QString("—"));
        QCOMPARE(readProfiles(profilesFilePath()).value(2).scenarios.value(0).hotkey,
                 QString("Alt+G")); // kept for a later switch
        ShortcutRegistry::instance().release(&otherPart);
    }
};

CLAVITOR_TEST(ProfileFollowerTest);
#include "ProfileFollowerTest.moc"
