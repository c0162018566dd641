#include "TestRegistry.h"

#include "library/ProgramMatch.h"

#include <QTest>

Q_DECLARE_METATYPE(platform::ForegroundProgram)

// Which listed name a program in front answers to, on Windows and on X11.
class ProgramMatchTest : public QObject
{
    Q_OBJECT

    static platform::ForegroundProgram windows(const wchar_t* name)
    {
        return {{name}, true, 42};
    }
    // Executable file name, WM_CLASS instance, WM_CLASS class.
    static platform::ForegroundProgram x11(std::vector<std::wstring> names)
    {
        return {std::move(names), false, 42};
    }

private slots:
    void listedNamesMatchByTheRulesOfTheSystem_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<platform::ForegroundProgram>("program");
        QTest::addColumn<bool>("matches");

        QTest::newRow("windows exact") << "game.exe" << windows(L"game.exe") << true;
        QTest::newRow("windows other case") << "GAME.exe" << windows(L"Game.EXE") << true;
        QTest::newRow("windows other program") << "game.exe" << windows(L"game2.exe") << false;
        QTest::newRow("windows class fallback") << "UnityWndClass" << windows(L"unitywndclass")
                                                << true;
        QTest::newRow("x11 executable") << "firefox" << x11({L"firefox", L"Navigator", L"firefox"})
                                        << true;
        QTest::newRow("x11 instance") << "Navigator" << x11({L"firefox", L"Navigator", L"firefox"})
                                      << true;
        QTest::newRow("x11 class, executable unknown")
            << "Gimp" << x11({L"", L"gimp", L"Gimp"}) << true;
        QTest::newRow("x11 case counts") << "Firefox" << x11({L"firefox", L"Navigator", L"firefox"})
                                         << false;
        QTest::newRow("x11 wine game by class")
            << "Game.exe" << x11({L"wine64-preloader", L"game.exe", L"game.exe"}) << true;
        QTest::newRow("x11 wine loader is not the game")
            << "game.exe" << x11({L"wine64-preloader", L"explorer.exe", L"explorer.exe"}) << false;
        QTest::newRow("part of a name") << "fire" << x11({L"firefox"}) << false;
        QTest::newRow("nothing known") << "game.exe" << x11({L"", L"", L""}) << false;
    }
    void listedNamesMatchByTheRulesOfTheSystem()
    {
        QFETCH(QString, listed);
        QFETCH(platform::ForegroundProgram, program);
        QFETCH(bool, matches);
        QCOMPARE(programMatches(listed, program), matches);
    }

    void aProgramLeadsToTheProfileListingIt()
    {
        ScenarioProfile work{"default"}, games{"Игры"}, browser{"Браузер"};
        games.programs = {"shooter.exe", "game.exe"};
        browser.programs = {"firefox"};
        const QList<ScenarioProfile> profiles{work, games, browser};

        QCOMPARE(profileForProgram(profiles, windows(L"Game.exe")), 1);
        QCOMPARE(profileForProgram(profiles, x11({L"firefox"})), 2);
        QCOMPARE(profileForProgram(profiles, windows(L"notepad.exe")), -1);

        QCOMPARE(profileListingProgram(profiles, " GAME.EXE "), 1);
        QCOMPARE(profileListingProgram(profiles, "Firefox"), 2);
        QCOMPARE(profileListingProgram(profiles, "notepad.exe"), -1);
    }
};

CLAVITOR_TEST(ProgramMatchTest);
#include "ProgramMatchTest.moc"
