#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "library/ProfileStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

ScenarioProfile named(const QString& name)
{
    ScenarioProfile profile;
    profile.name = name;
    return profile;
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
        QVERIFY(QDir().mkpath(profileDirectory("default")));
        QVERIFY(writeFile(profilesFilePath(), R"json([
            {"name": "default"},
            {"name": "Gone", "scenarios": [{"file": "x.lua"}]},
            {"name": "Work", "description": "d", "modifier": {"xy": 2, "rand": 1},
             "scenarios": [
                {"file": "sub/b.lua", "hotkey": "Alt+B", "modifier": {"y": 3}},
                {"file": "missing.lua", "hotkey": "Alt+M"},
                {"file": "folder.lua"},
                {"file": "", "hotkey": ""},
                {"file": "a.lua", "hotkey": "Alt+A"}]}
        ])json"));

        auto skipped = [&](const QString& file) {
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable(QStringLiteral("Пропущен сценарий %1: файл не найден")
                                                .arg(QDir::toNativeSeparators(work + file))));
        };
        QTest::ignoreMessage(QtWarningMsg, "Пропущен профиль Gone: директория не найдена");
        skipped("/missing.lua");
        skipped("/folder.lua");

        const QList<ScenarioProfile> loaded = loadProfiles();

        QCOMPARE(loaded.size(), 2);
        QCOMPARE(loaded[0].name, QStringLiteral("default"));
        const ScenarioProfile& w = loaded[1];
        QCOMPARE(w.name, QStringLiteral("Work"));
        QCOMPARE(w.description, QStringLiteral("d"));
        QCOMPARE(w.modifier, (MovementModifiers{2.0, 1.0, 1.0, 1}));
        QCOMPARE(w.scenarios.size(), 3);
        QCOMPARE(w.scenarios[0], (ProfileScenario{work + "/sub/b.lua", "Alt+B", {1, 1, 3, 0}}));
        QCOMPARE(w.scenarios[1], ProfileScenario{}); // still without a file
        QCOMPARE(w.scenarios[2], (ProfileScenario{work + "/a.lua", "Alt+A", {}}));
        QVERIFY(backups().isEmpty());

        QVERIFY(saveProfiles(loaded));
        const QList<ScenarioProfile> stored = readProfiles(profilesFilePath());
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[1].scenarios[0].file, QStringLiteral("sub/b.lua"));
        QCOMPARE(stored[1].scenarios[1].file, QString());
        QCOMPARE(stored[1].scenarios[2].file, QStringLiteral("a.lua"));
        QCOMPARE(loadProfiles(), loaded);
    }

    void scenarioPathsStayInsideTheProfileDirectory_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("relative"); // where the file is looked for, and stored next
        const QString outside = QDir::cleanPath(dataDirectory() + "/../elsewhere/x.lua");
        QTest::newRow("plain") << "x.lua" << "x.lua";
        QTest::newRow("sub-directory") << "sub/deeper/x.lua" << "sub/deeper/x.lua";
        QTest::newRow("winding") << "./sub/../x.lua" << "x.lua";
        QTest::newRow("two dots out") << "../other/x.lua" << "x.lua";
        QTest::newRow("far out") << "../../../../x.lua" << "x.lua";
        QTest::newRow("drive") << "C:/Scripts/x.lua" << "x.lua";
        QTest::newRow("absolute outside") << outside << "x.lua";
        QTest::newRow("absolute inside") << profileDirectory("p") + "/sub/x.lua" << "sub/x.lua";
    }
    void scenarioPathsStayInsideTheProfileDirectory()
    {
        QFETCH(QString, stored);
        QFETCH(QString, relative);
        const ScenarioProfile p = named("p");
        const QString directory = profileDirectory("p");
        const QString expected = directory + "/" + relative;

        const QString resolved = resolveScenarioPath(p, stored);
        QCOMPARE(resolved, expected);
        QVERIFY(QFileInfo(expected).dir().exists()); // created for the file
        QCOMPARE(storedScenarioPath(p, resolved), relative);

        // The same through a start-up and the save that follows it.
        QVERIFY(writeFile(expected, "-- x"));
        QVERIFY(writeFile(profileDirectory("other") + "/x.lua", "-- other"));
        QVERIFY(writeFile(profilesFilePath(),
                          QJsonDocument(QJsonArray{QJsonObject{
                                            {"name", "p"},
                                            {"scenarios", QJsonArray{QJsonObject{
                                                              {"file", stored}}}}}})
                              .toJson()));
        const QList<ScenarioProfile> loaded = loadProfiles();
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded[0].scenarios.size(), 1);
        QCOMPARE(loaded[0].scenarios[0].file, expected);
        QVERIFY(saveProfiles(loaded));
        QCOMPARE(readProfiles(profilesFilePath())[0].scenarios[0].file, relative);
    }

    void emptyStoredPathResolvesToTheCreatedProfileDirectory()
    {
        const QString directory = profileDirectory("p");
        QVERIFY(!QDir(directory).exists());
        QCOMPARE(resolveScenarioPath(named("p"), QString()), directory);
        QVERIFY(QDir(directory).exists());
        QCOMPARE(storedScenarioPath(named("p"), QString()), QString());
    }

    void unusableFileIsKeptBesideItAndReplacedByTheDefault_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty array") << QByteArray("[]");
        QTest::newRow("not JSON") << QByteArray("[{\"name\": \"hand-edited\",}]");
        QTest::newRow("object") << QByteArray(R"({"name": "default"})");
        QTest::newRow("no object in the array") << QByteArray("[\"default\"]");
        QTest::newRow("empty file") << QByteArray();
    }
    void unusableFileIsKeptBesideItAndReplacedByTheDefault()
    {
        QFETCH(QByteArray, content);
        QVERIFY(writeFile(profilesFilePath(), content));
        QString reason;
        QVERIFY(readProfiles(profilesFilePath(), &reason).isEmpty());

        const QString expectedLog =
            "^Файл профилей не используется \\(" + QRegularExpression::escape(reason) +
            "\\); его копия сохранена в " +
            QRegularExpression::escape(QDir::toNativeSeparators(profilesFilePath())) +
            "\\.\\d{8}-\\d{6}(-\\d+)?\\.bak$";
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(expectedLog));
        QList<ScenarioProfile> profiles = loadProfiles();
        QVERIFY(profiles.isEmpty());

        ensureDefaultProfile(profiles);

        QCOMPARE(profiles, QList<ScenarioProfile>{named("default")});
        QCOMPARE(storedNames(), QStringList{"default"});
        QVERIFY(QDir(profileDirectory("default")).exists());
        const QStringList kept = backups();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(readFile(dataDirectory() + "/" + kept[0]), content);

        // A second start with an unusable file keeps both copies.
        QVERIFY(writeFile(profilesFilePath(), content));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(expectedLog));
        loadProfiles();
        QCOMPARE(backups().size(), 2);
    }

    void fileThatCannotBeReadIsMovedAside()
    {
        QVERIFY(QDir().mkpath(profilesFilePath() + "/inside"));
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable("Не удалось открыть файл профилей " +
                                        QDir::toNativeSeparators(profilesFilePath())));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("его копия сохранена в"));
        QList<ScenarioProfile> profiles = loadProfiles();
        ensureDefaultProfile(profiles);

        QCOMPARE(storedNames(), QStringList{"default"});
        const QStringList kept = backups();
        QCOMPARE(kept.size(), 1);
        QVERIFY(QDir(dataDirectory() + "/" + kept[0] + "/inside").exists());
    }

    void missingFileGivesTheDefaultProfileOnly()
    {
        QList<ScenarioProfile> profiles = loadProfiles();
        QVERIFY(profiles.isEmpty());
        ensureDefaultProfile(profiles);
        QCOMPARE(storedNames(), QStringList{"default"});
        QVERIFY(backups().isEmpty());
    }

    void defaultProfileComesFirst()
    {
        // Found further down (the first of two, in any case): moved up, name kept, saved.
        QList<ScenarioProfile> profiles = {named("a"), named("b"), named("Default"),
                                           named("c"), named("DEFAULT")};
        ensureDefaultProfile(profiles);
        QCOMPARE(profiles, (QList<ScenarioProfile>{named("Default"), named("a"), named("b"),
                                                   named("c"), named("DEFAULT")}));
        QCOMPARE(storedNames(), (QStringList{"Default", "a", "b", "c", "DEFAULT"}));
        QVERIFY(QDir(profileDirectory("Default")).exists());

        // Missing: created first, with the other profiles after it.
        profiles = {named("a")};
        ensureDefaultProfile(profiles);
        QCOMPARE(profiles, (QList<ScenarioProfile>{named("default"), named("a")}));
        QCOMPARE(storedNames(), (QStringList{"default", "a"}));

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
        // "" and ".." would otherwise be taken for the profiles folder and the data directory,
        // which both exist.
        QVERIFY(QDir().mkpath(profileDirectory("ok")));
        QVERIFY(writeFile(profilesFilePath(),
                          R"json([{"name": ".."}, {"name": "ok"}, {"name": "/"},
                                  {"name": "CON"}, {"name": "a."}])json"));
        for (const char* name : {"..", "/", "CON", "a."}) {
            QTest::ignoreMessage(
                QtWarningMsg,
                qPrintable(QStringLiteral("Пропущен профиль %1: имя не годится для директории")
                               .arg(name)));
        }
        const QList<ScenarioProfile> loaded = loadProfiles();
        QCOMPARE(loaded, QList<ScenarioProfile>{named("ok")});
    }
};

CLAVITOR_TEST(ProfileStartupTest);
#include "ProfileStartupTest.moc"
