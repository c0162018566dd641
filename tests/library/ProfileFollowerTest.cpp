#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "hotkeys/ShortcutRegistry.h"
#include "library/ProfileFollower.h"
#include "library/ScriptsListWidget.h"

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

    // Profiles default, Работа and Игры (for game.exe, with a scenario on Alt+G).
    static void storeGameProfiles()
    {
        storeProfiles({{"default", {}}, {"Работа", {}}, {"Игры", {{"aim.lua", "Alt+G", {}}}}},
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
        ProfileFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"Game.EXE", ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));
        QCOMPARE(loadSettings().lastProfile, QString("Игры"));
        QVERIFY(fixture.press(MOD_ALT, 'G')); // the profile's own hotkey works

        // The program's own windows count for nothing.
        fixture.desktop.setForegroundProgram(
            {{L"clavitor"}, false, static_cast<std::uint32_t>(QCoreApplication::applicationPid())});
        QTest::qWait(ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));

        bringToFront(fixture, L"notepad.exe", ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
    }

    void aProgramFlashingUpSwitchesNothing()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        ProfileFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"game.exe", 100);
        bringToFront(fixture, L"launcher.exe", ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
    }

    void aHeldButtonDelaysTheSwitchUntilItsRelease()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        ProfileFollower follower(page);
        follower.setEnabled(true);

        fixture.desktop.setKeyDown(VK_LBUTTON, true);
        bringToFront(fixture, L"game.exe", ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Работа"));
        fixture.desktop.setKeyDown(VK_LBUTTON, false);
        QTRY_COMPARE(currentName(page), QString("Игры"));
    }

    void aManualChoiceStaysUntilTheNextProgramChange()
    {
        PageFixture fixture;
        storeGameProfiles();
        ScriptsListWidget page;
        ProfileFollower follower(page);
        follower.setEnabled(true);

        bringToFront(fixture, L"game.exe", ProfileFollower::kSettleMs + 200);
        profileCombo(page)->setCurrentIndex(0); // the user picks default
        bringToFront(fixture, L"notepad.exe", ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("default"));
        bringToFront(fixture, L"game.exe", ProfileFollower::kSettleMs + 200);
        QCOMPARE(currentName(page), QString("Игры"));
    }

    void hotkeysHeldElsewhereStayUnregisteredWithoutAQuestion()
    {
        PageFixture fixture;
        storeGameProfiles();
        QObject otherPart;
        QVERIFY(ShortcutRegistry::instance().claim(&otherPart, QKeySequence("Alt+G"), "автокликер"));
        ScriptsListWidget page;
        ProfileFollower follower(page);
        follower.setEnabled(true);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Горячая клавиша Alt\\+G не назначена"));
        bringToFront(fixture, L"game.exe", ProfileFollower::kSettleMs + 200);
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
