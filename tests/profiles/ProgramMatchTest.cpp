#include "TestRegistry.h"

#include "platform/ProcessNames.h"
#include "profiles/ProgramMatch.h"

#include <QTest>

Q_DECLARE_METATYPE(platform::ForegroundProgram)

namespace {

// One process, as a test lays it out.
class FakeProcessTable : public platform::ProcessTable
{
public:
    std::string executable;
    std::vector<std::string> commandLine;
    std::string comm;

    std::string executablePath(std::uint32_t) const override { return executable; }
    std::vector<std::string> arguments(std::uint32_t) const override { return commandLine; }
    std::string shortName(std::uint32_t) const override { return comm; }
};

std::vector<std::string> stdStrings(const QStringList& list)
{
    std::vector<std::string> strings;
    for (const QString& text : list)
        strings.push_back(text.toStdString());
    return strings;
}

} // namespace

// Which listed name a program in front answers to, on Windows and on X11.
class ProgramMatchTest : public QObject
{
    Q_OBJECT

    static platform::ForegroundProgram windows(const wchar_t* name) { return {{name}, true, 42}; }
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
        QTest::newRow("windows class fallback")
            << "UnityWndClass" << windows(L"unitywndclass") << true;
        QTest::newRow("x11 executable")
            << "firefox" << x11({L"firefox", L"Navigator", L"firefox"}) << true;
        QTest::newRow("x11 instance")
            << "Navigator" << x11({L"firefox", L"Navigator", L"firefox"}) << true;
        QTest::newRow("x11 class, executable unknown")
            << "Gimp" << x11({L"", L"gimp", L"Gimp"}) << true;
        QTest::newRow("x11 case counts")
            << "Firefox" << x11({L"firefox", L"Navigator", L"firefox"}) << false;
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

    // A Windows program run through Wine or Proton is named by its Windows executable, never
    // by Wine's loader, which runs every Windows program.
    void wineProgramsGoByTheirWindowsExecutable_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QStringList>("commandLine");
        QTest::addColumn<QString>("comm");
        QTest::addColumn<QStringList>("windowClass");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QStringList>("matching");
        QTest::addColumn<QStringList>("notMatching");

        QTest::newRow("proton game")
            << "/home/u/.steam/proton/files/bin/wine64-preloader"
            << QStringList{"C:\\Games\\Shooter\\shooter.exe", "-dx11"} << "shooter.exe"
            << QStringList{"steam_app_1234", "steam_app_1234"} << "shooter.exe"
            << QStringList{"shooter.exe", "SHOOTER.EXE", "steam_app_1234"}
            << QStringList{"wine64-preloader", "steam_app_1"};
        QTest::newRow("wine with a unix path")
            << "/usr/lib/wine/wine64" << QStringList{"/home/u/Games/Racer.exe"} << "Racer.exe"
            << QStringList{"racer.exe", "Wine"} << "Racer.exe" << QStringList{"racer.exe"}
            << QStringList{"wine64"};
        QTest::newRow("command line unknown: the short name, cut")
            << "/usr/lib/wine/wine-preloader" << QStringList{} << "VeryLongGameNam"
            << QStringList{"steam_app_9", "steam_app_9"} << "VeryLongGameNam"
            << QStringList{"VeryLongGameName.exe", "verylonggamenamex.exe", "steam_app_9"}
            << QStringList{"VeryLongGameNa.exe", "wine-preloader"};
        QTest::newRow("the loader before it started a program")
            << "/usr/bin/wine" << QStringList{"/usr/bin/wine-preloader"} << "wine-preloader"
            << QStringList{} << QString() << QStringList{}
            << QStringList{"wine", "wine-preloader", "wine-preloade"};
        QTest::newRow("a linux program keeps its executable")
            << "/usr/lib/firefox/firefox" << QStringList{"/usr/lib/firefox/firefox", "-new-tab"}
            << "firefox" << QStringList{"Navigator", "firefox"} << "firefox"
            << QStringList{"firefox", "Navigator"} << QStringList{"Firefox"};
    }
    void wineProgramsGoByTheirWindowsExecutable()
    {
        QFETCH(QString, executable);
        QFETCH(QStringList, commandLine);
        QFETCH(QString, comm);
        QFETCH(QStringList, windowClass);
        QFETCH(QString, picked);
        QFETCH(QStringList, matching);
        QFETCH(QStringList, notMatching);

        FakeProcessTable table;
        table.executable = executable.toStdString();
        table.commandLine = stdStrings(commandLine);
        table.comm = comm.toStdString();
        std::vector<std::wstring> windowNames;
        for (const QString& name : windowClass)
            windowNames.push_back(name.toStdWString());
        const platform::ForegroundProgram program =
            platform::programOfProcess(4242, windowNames, table);

        QCOMPARE(listedNameOf(program), picked);
        for (const QString& listed : matching)
            QVERIFY2(programMatches(listed, program), qPrintable(listed));
        for (const QString& listed : notMatching)
            QVERIFY2(!programMatches(listed, program), qPrintable(listed));
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
