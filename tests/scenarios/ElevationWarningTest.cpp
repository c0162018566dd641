#include "LogCapture.h"
#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "following/ElevationWarning.h"
#include "following/ForegroundWatch.h"
#include "following/ProfileFollower.h"
#include "scenarios/ScriptsListWidget.h"

#include <QTest>

using platform::ForegroundProgram;

namespace {

ForegroundProgram program(const wchar_t* name, bool elevated)
{
    ForegroundProgram front{{name}, true, 4242};
    front.elevated = elevated;
    return front;
}

const QString kGameNotice =
    QStringLiteral("game.exe запущена от имени администратора: Clavitor не может управлять ей. "
                   "Запустите Clavitor от имени администратора.");

} // namespace

// The user hears that an elevated program in front is out of Clavitor's reach.
class ElevationWarningTest : public QObject
{
    Q_OBJECT

private slots:
    void followingTellsOncePerProgramAndOnlyWithoutElevation_data()
    {
        QTest::addColumn<bool>("clavitorElevated");
        QTest::addColumn<bool>("told");
        QTest::newRow("Clavitor without elevation") << false << true;
        QTest::newRow("Clavitor elevated too") << true << false;
    }
    void followingTellsOncePerProgramAndOnlyWithoutElevation()
    {
        QFETCH(bool, clavitorElevated);
        QFETCH(bool, told);
        PageFixture fixture;
        fixture.desktop.elevation().setElevated(clavitorElevated);
        storeProfiles({{"default", {}}});
        ScriptsListWidget page;
        PageFollower follower(page);
        PageElevationWarning warning(page);
        follower.setEnabled(true);
        LogCapture log;

        const int settle = ForegroundWatch::kSettleMs + 200;
        fixture.desktop.setForegroundProgram(program(L"notepad.exe", false));
        QTest::qWait(settle);
        QVERIFY(fixture.overlay.notice.isEmpty());
        for (const wchar_t* name : {L"game.exe", L"notepad.exe", L"GAME.EXE"}) {
            fixture.desktop.setForegroundProgram(program(name, name != std::wstring(L"notepad.exe")));
            QTest::qWait(settle);
        }

        QCOMPARE(fixture.overlay.notice, told ? kGameNotice : QString());
        QCOMPARE(log.lines.filter(QStringLiteral("администратора")),
                 told ? QStringList{"clavitor.elevation: " + kGameNotice} : QStringList{});
    }

    void aScenarioActivatedInAnElevatedProgramTellsOfIt()
    {
        PageFixture fixture;
        storeProfiles({{"default", {{"aim.lua", "Alt+G", {}}}}});
        ScriptsListWidget page;
        PageElevationWarning warning(page);
        fixture.desktop.setForegroundProgram(program(L"game.exe", true));

        QVERIFY(fixture.press(MOD_ALT, 'G'));

        QCOMPARE(fixture.overlay.active, QString("aim"));
        QCOMPARE(fixture.overlay.notice, kGameNotice);
    }
};

CLAVITOR_TEST(ElevationWarningTest);
#include "ElevationWarningTest.moc"
