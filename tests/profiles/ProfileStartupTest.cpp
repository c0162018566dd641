#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "profiles/ProfileStore.h"

#include <QRegularExpression>

namespace {

QStringList backups()
{
    return QDir(dataDirectory()).entryList({"profiles.json.*.bak"}, QDir::AllEntries);
}

QStringList storedNames()
{
    QStringList names;
    for (const ScenarioProfile& profile : readProfiles(profilesFilePath()))
        names.append(profile.name);
    return names;
}

void expectWarning(const QString& text)
{
    QTest::ignoreMessage(QtWarningMsg, qPrintable(text));
}

} // namespace

// What the program finds at start-up: the filtered profiles, the default profile, and what
// becomes of a profiles.json it cannot use.
class ProfileStartupTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { removeDataDirectory(); }

    void loadDropsWhatIsMissingAndTheRestSurvivesASave()
    {
        const QString work = profileDirectory("Work");
        QVERIFY(writeFile(work + "/a.lua", "-- a"));
        QVERIFY(writeFile(work + "/sub/b.lua", "-- b"));
        QVERIFY(QDir().mkpath(work + "/folder.lua"));
        QVERIFY(writeFile(profilesFilePath(), R"json([
            {"name": "Gone", "scenarios": [{"file": "x.lua"}]},
            {"name": "Work", "modifier": {"xy": 2, "rand": 1},
             "scenarios": [{"file": "sub/b.lua", "hotkey": "Alt+B", "modifier": {"y": 3}},
                           {"file": "missing.lua"}, {"file": "folder.lua"}, {"file": ""},
                           {"file": "a.lua"}]}])json"));

        expectWarning("Пропущен профиль Gone: директория не найдена");
        for (const char* file : {"/missing.lua", "/folder.lua"}) {
            expectWarning(QString("Пропущен сценарий %1: файл не найден")
                              .arg(QDir::toNativeSeparators(work + file)));
        }
        const QList<ScenarioProfile> loaded = loadProfiles();

        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded[0].modifier, (MovementModifiers{2.0, 1.0, 1.0, 1}));
        QCOMPARE(loaded[0].scenarios,
                 (QList<ProfileScenario>{{work + "/sub/b.lua", "Alt+B", {1, 1, 3, 0}},
                                         {}, // still without a file
                                         {work + "/a.lua", "", {}}}));

        QVERIFY(saveProfiles(loaded));
        const QList<ScenarioProfile> read = readProfiles(profilesFilePath());
        QList<QString> stored;
        for (const ProfileScenario& scenario : read[0].scenarios)
            stored.append(scenario.file);
        QCOMPARE(stored, (QList<QString>{"sub/b.lua", "", "a.lua"}));
        QCOMPARE(loadProfiles(), loaded);
    }

    void scenarioPathsStayInsideTheProfileDirectory_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("relative"); // where the file is looked for, and stored next
        QTest::newRow("sub-directory") << "sub/deeper/x.lua" << "sub/deeper/x.lua";
        QTest::newRow("winding") << "./sub/../x.lua" << "x.lua";
        QTest::newRow("two dots out") << "../other/x.lua" << "x.lua";
        QTest::newRow("far out") << "../../../../x.lua" << "x.lua";
        QTest::newRow("drive") << "C:/Scripts/x.lua" << "x.lua";
        QTest::newRow("absolute outside") << dataDirectory() + "/x.lua" << "x.lua";
        QTest::newRow("absolute inside") << profileDirectory("p") + "/sub/x.lua" << "sub/x.lua";
    }
    void scenarioPathsStayInsideTheProfileDirectory()
    {
        QFETCH(QString, stored);
        QFETCH(QString, relative);
        const QString expected = profileDirectory("p") + "/" + relative;
        QVERIFY(writeFile(dataDirectory() + "/x.lua", "-- outside"));
        QVERIFY(writeFile(profileDirectory("other") + "/x.lua", "-- other profile"));

        QCOMPARE(resolveScenarioPath(named("p"), stored), expected);
        QVERIFY(QFileInfo(expected).dir().exists()); // created for the file
        QCOMPARE(storedScenarioPath(named("p"), expected), relative);

        // The same through a start-up and the save that follows it.
        QVERIFY(writeFile(expected, "-- x"));
        QVERIFY(writeFile(profilesFilePath(),
                          QString(R"([{"name": "p", "scenarios": [{"file": "%1"}]}])")
                              .arg(stored)
                              .toUtf8()));
        const QList<ScenarioProfile> loaded = loadProfiles();
        QCOMPARE(loaded.value(0).scenarios.value(0).file, expected);
        QVERIFY(saveProfiles(loaded));
        QCOMPARE(readProfiles(profilesFilePath())[0].scenarios[0].file, relative);
    }

    void unusableFileIsKeptBesideItAndReplacedByTheDefault_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty array") << QByteArray("[]");
        QTest::newRow("not JSON") << QByteArray("[{\"name\": \"hand-edited\",}]");
        QTest::newRow("object") << QByteArray(R"({"name": "default"})");
        QTest::newRow("empty file") << QByteArray();
    }
    void unusableFileIsKeptBesideItAndReplacedByTheDefault()
    {
        QFETCH(QByteArray, content);
        QVERIFY(writeFile(profilesFilePath(), content));
        QString reason;
        readProfiles(profilesFilePath(), &reason);
        const QRegularExpression logged(
            "^Файл профилей не используется \\(" + QRegularExpression::escape(reason) +
            "\\); его копия сохранена в " +
            QRegularExpression::escape(QDir::toNativeSeparators(profilesFilePath())) +
            "\\.\\d{8}-\\d{6}(-\\d+)?\\.bak$");

        QTest::ignoreMessage(QtWarningMsg, logged);
        QList<ScenarioProfile> profiles = loadProfiles();
        QVERIFY(profiles.isEmpty());
        ensureDefaultProfile(profiles);

        QCOMPARE(profiles, QList<ScenarioProfile>{named("default")});
        QCOMPARE(storedNames(), QStringList{"default"});
        QVERIFY(QDir(profileDirectory("default")).exists());
        QCOMPARE(backups().size(), 1);
        QCOMPARE(readFile(dataDirectory() + "/" + backups()[0]), content);

        // A second unusable file does not take the place of the first copy.
        QVERIFY(writeFile(profilesFilePath(), content + " "));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("его копия сохранена в"));
        loadProfiles();
        QCOMPARE(backups().size(), 2);
    }

    void fileThatCannotBeReadIsMovedAside()
    {
        QVERIFY(QDir().mkpath(profilesFilePath() + "/inside"));
        expectWarning("Не удалось открыть файл профилей " +
                      QDir::toNativeSeparators(profilesFilePath()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("его копия сохранена в"));
        QList<ScenarioProfile> profiles = loadProfiles();
        ensureDefaultProfile(profiles);

        QCOMPARE(storedNames(), QStringList{"default"});
        QCOMPARE(backups().size(), 1);
        QVERIFY(QDir(dataDirectory() + "/" + backups()[0] + "/inside").exists());
    }

    void defaultProfileComesFirst()
    {
        // No file at all: no copy, a fresh default profile.
        QList<ScenarioProfile> profiles = loadProfiles();
        ensureDefaultProfile(profiles);
        QCOMPARE(storedNames(), QStringList{"default"});
        QVERIFY(backups().isEmpty());

        // Further down (the first of two, in any case): moved up, name kept, saved.
        profiles = {named("a"), named("b"), named("Default"), named("c"), named("DEFAULT")};
        ensureDefaultProfile(profiles);
        QCOMPARE(storedNames(), (QStringList{"Default", "a", "b", "c", "DEFAULT"}));
        QCOMPARE(profiles, readProfiles(profilesFilePath()));
        QVERIFY(QDir(profileDirectory("Default")).exists());

        // Already first: only its directory is made sure of; nothing is saved.
        QFile::remove(profilesFilePath());
        QDir(profileDirectory("default")).removeRecursively();
        profiles = {named("default"), named("a")};
        ensureDefaultProfile(profiles);
        QCOMPARE(profiles, (QList<ScenarioProfile>{named("default"), named("a")}));
        QVERIFY(QDir(profileDirectory("default")).exists());
        QVERIFY(!QFile::exists(profilesFilePath()));
    }

    void profileWhoseNameCannotNameADirectoryIsSkipped()
    {
        // "/" and ".." would otherwise be taken for the profiles folder and the data directory,
        // which both exist.
        QVERIFY(QDir().mkpath(profileDirectory("ok")));
        const QByteArray content = R"([{"name": ".."}, {"name": "ok"},
                                       {"name": "/"}, {"name": "CON"}])";
        QVERIFY(writeFile(profilesFilePath(), content));
        for (const char* name : {"..", "/", "CON"})
            expectWarning(QString("Пропущен профиль %1: имя не годится для директории").arg(name));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^Пропущенные профили остаются в копии файла "
                                                "профилей .*\\.bak$"));
        QCOMPARE(loadProfiles(), QList<ScenarioProfile>{named("ok")});

        // The next save leaves them out of the file; the copy keeps them. A file that keeps
        // them (nothing saved since) is not copied again at the next start.
        QCOMPARE(backups().size(), 1);
        QCOMPARE(readFile(dataDirectory() + "/" + backups()[0]), content);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Пропущен профиль"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Пропущен профиль"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Пропущен профиль"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Пропущенные профили остаются"));
        loadProfiles();
        QCOMPARE(backups().size(), 1);
    }

    void namesEndingInADotOrBlankKeepTheFolderWindowsGaveThem()
    {
        // Windows dropped the dot: the files of "Work." are in the folder "Work".
        QVERIFY(writeFile(dataDirectory() + "/profiles/Work/a.lua", "-- a"));
        QVERIFY(writeFile(dataDirectory() + "/profiles/Work/lib/util.lua", "-- util"));
        QVERIFY(writeFile(profilesFilePath(), R"([{"name": "Work.", "scenarios": [{"file": "a.lua"}]},
                                                 {"name": "Work", "scenarios": [{"file": "a.lua"}]}])"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Профиль Work\\.: файлы папки .* скопированы в "));
        const QList<ScenarioProfile> loaded = loadProfiles();

        QCOMPARE(loaded.size(), 2);
        const QString standIn = profileDirectory("Work.");
        QVERIFY(standIn != profileDirectory("Work"));
        QCOMPARE(loaded[0].scenarios.value(0).file, standIn + "/a.lua");
        QCOMPARE(readFile(standIn + "/lib/util.lua"), QByteArray("-- util"));
        QCOMPARE(loaded[1].scenarios.value(0).file, profileDirectory("Work") + "/a.lua");
        QVERIFY(backups().isEmpty());
    }
};

CLAVITOR_TEST(ProfileStartupTest);
#include "ProfileStartupTest.moc"
