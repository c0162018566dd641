#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "following/FollowingSetting.h"
#include "following/ProfileFollower.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

using platform::ForegroundProgram;

namespace {

// Profiles default, Работа (for launcher.exe) and Игры (for aim.exe), Игры current.
void storeProgramProfiles(const QStringList& gamePrograms = {"aim.exe"})
{
    storeProfiles({{"default", {}}, {"Работа", {}}, {"Игры", {}}}, "Игры");
    QList<ScenarioProfile> profiles = readProfiles(profilesFilePath());
    profiles[1].programs = {"launcher.exe"};
    profiles[2].programs = gamePrograms;
    QVERIFY(saveProfiles(profiles));
}

QStringList shownPrograms(const ScriptsListWidget& page)
{
    QStringList names;
    const QListWidget* list = control<QListWidget>(page, "programList");
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

} // namespace

// The programs of the current profile on the page's "Профиль" tab, and the switch for following.
class ProgramsPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void addsATypedProgramOnce_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("refusal"); // a text the message holds; empty for none

        QTest::newRow("new") << "  game.exe " << QStringList{"aim.exe", "game.exe"} << "";
        QTest::newRow("listed here already") << "AIM.EXE" << QStringList{"aim.exe"} << "";
        QTest::newRow("listed by another profile")
            << "Launcher.exe" << QStringList{"aim.exe"} << "\"Работа\"";
    }

    void addsATypedProgramOnce()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, programs);
        QFETCH(QString, refusal);
        PageFixture fixture;
        storeProgramProfiles();
        ScriptsListWidget page;

        control<QLineEdit>(page, "programNameEdit")->setText(typed);
        click(page, "programAddButton");

        QCOMPARE(shownPrograms(page), programs);
        QCOMPARE(storedProfiles().value(2).programs, programs);
        QCOMPARE(fixture.lastPrompt().contains(refusal), true);
        QCOMPARE(fixture.prompter.prompts.isEmpty(), refusal.isEmpty());
    }

    void removesTheSelectedProgram()
    {
        PageFixture fixture;
        storeProgramProfiles({"aim.exe", "game.exe"});
        ScriptsListWidget page;

        control<QListWidget>(page, "programList")->item(1)->setSelected(true);
        click(page, "programRemoveButton");

        QCOMPARE(shownPrograms(page), QStringList{"aim.exe"});
        QCOMPARE(storedProfiles().value(2).programs, QStringList{"aim.exe"});
    }

    void pickingTakesTheNextProgramInFront()
    {
        PageFixture fixture;
        storeProgramProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(true);
        const auto* waiting = control<QLabel>(page, "programPickLabel");

        // Cancelled, a pick takes nothing.
        click(page, "programPickButton");
        QVERIFY(!waiting->isHidden());
        click(page, "programPickCancelButton");
        QVERIFY(waiting->isHidden());
        fixture.desktop.setForegroundProgram({{L"other.exe"}, true, 11});
        QTest::qWait(ForegroundWatch::kSettleMs + 100);
        QCOMPARE(shownPrograms(page), QStringList{"aim.exe"});

        // The program's own windows are passed over; a program another profile lists is
        // refused, and the follower does not switch to its profile meanwhile.
        click(page, "programPickButton");
        fixture.desktop.setForegroundProgram(
            {{L"clavitor"}, false, static_cast<std::uint32_t>(QCoreApplication::applicationPid())});
        QTest::qWait(ForegroundWatch::kSettleMs + 100);
        QVERIFY(!waiting->isHidden());
        fixture.desktop.setForegroundProgram({{L"launcher.exe"}, true, 12});
        QTRY_VERIFY(fixture.lastPrompt().contains("\"Работа\""));
        QTest::qWait(ForegroundWatch::kSettleMs + 100);
        QCOMPARE(currentName(page), QString("Игры"));

        // A program passed through on the way (the taskbar) is not taken; a program run
        // through Wine is listed by its Windows file name.
        click(page, "programPickButton");
        fixture.desktop.setForegroundProgram({{L"explorer.exe"}, true, 14});
        fixture.desktop.setForegroundProgram({{L"game.exe", L"Wine"}, false, 13});
        QTRY_COMPARE(shownPrograms(page), (QStringList{"aim.exe", "game.exe"}));
        QVERIFY(waiting->isHidden());
        QCOMPARE(storedProfiles().value(2).programs, (QStringList{"aim.exe", "game.exe"}));
    }

    void followingTurnedOffStaysOff()
    {
        PageFixture fixture;
        storeProgramProfiles();
        ScriptsListWidget page;
        PageFollower follower(page);
        follower.setEnabled(loadFollowingEnabled());
        QVERIFY(follower.isEnabled());

        control<QCheckBox>(page, "followCheckBox")->setChecked(false);
        fixture.desktop.setForegroundProgram({{L"launcher.exe"}, true, 12});
        QTest::qWait(ForegroundWatch::kSettleMs + 100);
        QCOMPARE(currentName(page), QString("Игры"));
        QVERIFY(!follower.isEnabled());

        // The next start.
        QVERIFY(!loadFollowingEnabled());
        ScriptsListWidget next;
        QVERIFY(!control<QCheckBox>(next, "followCheckBox")->isChecked());
    }
};

CLAVITOR_TEST(ProgramsPanelTest);
#include "ProgramsPanelTest.moc"
