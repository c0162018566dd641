#include "ArchiveFiles.h"
#include "ProfileFiles.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "profiles/ProfileExporter.h"
#include "profiles/ProfileImporter.h"
#include "profiles/ProfileStore.h"
#include "profiles/ProfileTransfer.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <functional>

using ArchiveMaker = std::function<bool(const QString& path)>;
Q_DECLARE_METATYPE(ArchiveMaker)

// Profiles travelling as archives: export and import, the archive layout, names that are
// taken, missing files, and archives built to write outside the new profile's folder.
class ProfileArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temporary;

    // Work: a scenario in a sub-folder, two outside the profile folder with the same file name,
    // one without a file, and two files no scenario names.
    ScenarioProfile workProfile()
    {
        ScenarioProfile work = named("Work");
        work.description = "шутеры";
        work.modifier = {1.5, 0.5, 2.0, 2};
        work.autoReplacements = {{"Скорость", "шаг", "speed", "10", "20"}};
        work.trusted = true; // and its archive says so
        const QString directory = profileDirectory(work.name);
        writeFile(directory + "/sub/aim.lua", "aim = 1\r\n");
        writeFile(m_temporary.filePath("elsewhere/outside.lua"), "outside = 2\n");
        writeFile(m_temporary.filePath("other/outside.lua"), "outside = 3\n");
        writeFile(directory + "/notes/readme.txt", "unreferenced");
        writeFile(directory + "/сценарии/стрельба.lua", "-- \xCA\xEE\xEC\n");
        work.scenarios = {{directory + "/sub/aim.lua", "Alt+X", {0.25, 1.0, 1.0, 3}},
                          {m_temporary.filePath("elsewhere/outside.lua"), "Ctrl+F1", {}},
                          {"", "", {}},
                          {m_temporary.filePath("other/outside.lua"), "", {}}}; // the same name
        return work;
    }

    // The profile as an import under `name` should add it.
    static ScenarioProfile importedAs(ScenarioProfile profile, const QString& name)
    {
        profile.name = name;
        profile.trusted = false; // only the user trusts a profile
        profile.scenarios[0].file = profileDirectory(name) + "/sub/aim.lua";
        profile.scenarios[1].file = profileDirectory(name) + "/outside.lua";
        profile.scenarios[3].file = profileDirectory(name) + "/outside (2).lua";
        return profile;
    }

    QString exportWork(ScriptedPrompter& prompter, const QString& archiveName)
    {
        const QString archive = m_temporary.filePath(archiveName);
        prompter.queueValue(archive);
        if (!ProfileExporter::run(workProfile(), nullptr))
            return {};
        return archive;
    }

    static qsizetype importArchive(ScriptedPrompter& prompter, const QString& archive,
                                   QList<ScenarioProfile>& profiles)
    {
        prompter.queueValue(archive);
        ProfileImporter importer(nullptr);
        const qsizetype added = importer.run(profiles);
        if (added > 0)
            importer.reportOutcome();
        return added;
    }

    static QByteArray manifestOf(const QByteArray& profiles) { return "[" + profiles + "]"; }

    // Points the temporary folders of the code under test at a fresh folder of this test's
    // while the guard lives, so that a staging folder left behind is seen whatever else runs.
    [[nodiscard]] auto privateTemporaryFolder(const QString& folder)
    {
        QDir().mkpath(folder);
        const QByteArray before = qgetenv("TMPDIR");
        qputenv("TMPDIR", folder.toLocal8Bit());
        return qScopeGuard([before] { qputenv("TMPDIR", before); });
    }

private slots:
    void init() { removeDataDirectory(); }

    void roundTripKeepsTheLayoutTheFilesAndTheProfile()
    {
        ScriptedPrompter prompter;
        const auto stagingFolders = [] { // named like every temporary folder of this program
            return QDir(QDir::tempPath())
                .entryList({QCoreApplication::applicationName() + "-*"}, QDir::Dirs);
        };
        const QStringList temporaryBefore = stagingFolders();
        const QString archive = exportWork(prompter, "work.zip");
        QVERIFY(!archive.isEmpty());
        QCOMPARE(prompter.prompts.at(0).kind, Prompt::Kind::SaveFile);
        QCOMPARE(prompter.prompts.at(0).value, "Work.zip");
        QCOMPARE(prompter.prompts.last().text, "Профиль успешно экспортирован");
        QVERIFY(readFile(archive).startsWith("PK"));
        QList<QByteArray> entries = testArchiveEntries(archive);
        QCOMPARE(entries.mid(0, 4), QList<QByteArray>({"manifest.json", "sub/aim.lua",
                                                       "outside.lua", "outside (2).lua"}));
        entries = entries.mid(4);
        std::sort(entries.begin(), entries.end());
        QCOMPARE(entries, QList<QByteArray>({"notes/readme.txt", "сценарии/стрельба.lua"}));

        QList<ScenarioProfile> profiles = {named("default"), workProfile()};
        QCOMPARE(importArchive(prompter, archive, profiles), 1);
        QCOMPARE(profiles.last(), importedAs(workProfile(), "Work копия"));
        const QString copy = profileDirectory("Work копия");
        QCOMPARE(readFile(copy + "/sub/aim.lua"), "aim = 1\r\n");
        QCOMPARE(readFile(copy + "/outside.lua"), "outside = 2\n");
        QCOMPARE(readFile(copy + "/outside (2).lua"), "outside = 3\n");
        QCOMPARE(readFile(copy + "/notes/readme.txt"), "unreferenced");
        QCOMPARE(readFile(copy + "/сценарии/стрельба.lua"), "-- \xCA\xEE\xEC\n");
        QVERIFY(!QFileInfo::exists(copy + "/manifest.json"));
        QCOMPARE(prompter.prompts.last().kind, Prompt::Kind::Information);
        QCOMPARE(prompter.prompts.last().text,
                 "Импорт профиля успешно завершен\n"
                 "Профиль \"Work\" добавлен под именем \"Work копия\".");
        QCOMPARE(stagingFolders(), temporaryBefore); // no staging folder left
    }

    void tarArchiveChosenByAnUpperCaseSuffix()
    {
        ScriptedPrompter prompter;
        const QString archive = exportWork(prompter, "work.TGZ");
        QVERIFY(readFile(archive).startsWith("\x1f\x8b")); // gzip
        QDir(profileDirectory("Work")).removeRecursively();

        QList<ScenarioProfile> profiles = {named("default")};
        QCOMPARE(importArchive(prompter, archive, profiles), 1);
        QCOMPARE(profiles.last(), importedAs(workProfile(), "Work"));
        QCOMPARE(prompter.prompts.last().text, "Импорт профиля успешно завершен");
    }

    void missingScenarioIsReportedAndTheRestImported()
    {
        ScriptedPrompter prompter;
        const QString archive = m_temporary.filePath("games.zip");
        QVERIFY(writeTestArchive(archive,
                                 {{"manifest.json", manifestOf(R"({"name": "Games", "scenarios": [
                  {"file": "a.lua"}, {"file": "gone.lua"}, {"file": "b\\c.lua"}]})")},
                                  {"a.lua", "a = 1"},
                                  {"b/c.lua", "c = 3"}},
                                 true));

        QList<ScenarioProfile> profiles = {named("default")};
        QCOMPARE(importArchive(prompter, archive, profiles), 1);
        const QString games = profileDirectory("Games");
        QCOMPARE(readFile(games + "/a.lua"), "a = 1");
        QCOMPARE(readFile(games + "/b/c.lua"), "c = 3");
        QCOMPARE(profiles.last().scenarios.at(1).file, games + "/gone.lua");
        QCOMPARE(prompter.prompts.size(), 3); // the archive, the missing file, the outcome
        QVERIFY(
            prompter.prompts.at(1).text.startsWith("Не найден сценарий gone.lua\nОжидался файл: "));
        QVERIFY(prompter.prompts.at(1).text.endsWith(QDir::toNativeSeparators("/gone.lua")));
        QCOMPARE(prompter.prompts.at(2).kind, Prompt::Kind::Warning);
        QCOMPARE(prompter.prompts.at(2).text, "Импорт профиля завершен с ошибками");
    }

    void hostileArchivesWriteNothingOutside_data()
    {
        QTest::addColumn<bool>("zip");
        QTest::addColumn<QList<ArchiveEntry>>("entries");
        QTest::addColumn<QStringList>("refused");
        // %1 stands for a folder outside everything the import may write to.
        QTest::newRow("zip slip") << true
                                  << QList<ArchiveEntry>{{"../slip1.lua", "x"},
                                                         {"sub/../../slip2.lua", "x"},
                                                         {"..\\slip3.lua", "x"},
                                                         {"ok/../fine.lua", "fine"}}
                                  << QStringList{"../slip1.lua", "sub/../../slip2.lua",
                                                 "../slip3.lua", // as the reader gives it
                                                 "ok/../fine.lua"};
        QTest::newRow("absolute paths")
            << false
            << QList<ArchiveEntry>{{"%1/abs.lua", "x"},
                                   {"C:/drive.lua", "x"},
                                   {"C:drive2.lua", "x"}}
            << QStringList{"%1/abs.lua", "C:/drive.lua", "C:drive2.lua"};
        QTest::newRow("links out")
            << false
            << QList<ArchiveEntry>{{"link", "%1", ArchiveEntry::SymbolicLink},
                                   {"link/through.lua", "inside"},
                                   {"hard", "%1/target", ArchiveEntry::HardLink}}
            << QStringList{"link", "hard"};
    }
    void hostileArchivesWriteNothingOutside()
    {
        QFETCH(bool, zip);
        QFETCH(QList<ArchiveEntry>, entries);
        QFETCH(QStringList, refused);
        ScriptedPrompter prompter;
        const QTemporaryDir outside;
        for (ArchiveEntry& entry : entries) {
            entry.name.replace("%1", outside.path().toUtf8());
            entry.data.replace("%1", outside.path().toUtf8());
        }
        for (QString& name : refused)
            name.replace("%1", outside.path());
        // The manifest leads out too.
        entries.prepend(
            {"manifest.json", manifestOf(R"({"name": "Evil", "scenarios": [
            {"file": "../../../evil.lua"}, {"file": ")" +
                                         outside.path().toUtf8() + R"(/evil.lua"}]})")});
        const QString archive = m_temporary.filePath(zip ? "evil.zip" : "evil.tar.gz");
        QVERIFY(writeTestArchive(archive, entries, zip));

        QList<ScenarioProfile> profiles = {named("default")};
        QCOMPARE(importArchive(prompter, archive, profiles), 1);

        QCOMPARE(
            QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
        for (const char* escaped : {"slip1.lua", "slip2.lua", "slip3.lua", "evil.lua"}) {
            QVERIFY(!QFileInfo::exists(QDir::tempPath() + "/" + escaped));
            QVERIFY(!QFileInfo::exists(dataDirectory() + "/profiles/" + escaped));
            QVERIFY(!QFileInfo::exists(dataDirectory() + "/" + escaped));
        }
        // Inside the new folder: only plain files and folders.
        QDirIterator walk(profileDirectory("Evil"),
                          QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                          QDirIterator::Subdirectories);
        while (walk.hasNext())
            QVERIFY2(!walk.nextFileInfo().isSymLink(), qPrintable(walk.filePath()));
        for (const ProfileScenario& scenario : profiles.last().scenarios)
            QVERIFY(scenario.file.startsWith(profileDirectory("Evil") + "/"));

        QCOMPARE(prompter.prompts.at(1).text,
                 "Архив содержит элементы, которые ведут за пределы папки профиля или не являются "
                 "файлами; они пропущены:\n" +
                     refused.join('\n'));
        QCOMPARE(prompter.prompts.at(2).text,
                 "Сценарий ../../../evil.lua не импортирован: его путь ведёт за пределы папки "
                 "профиля.");
        QCOMPARE(prompter.prompts.last().text, "Импорт профиля завершен с ошибками");
    }

    void archivesOverABoundAreRefusedLeavingNothing_data()
    {
        constexpr qint64 MiB = 1024 * 1024;
        QTest::addColumn<ArchiveMaker>("make");
        QTest::addColumn<QString>("message");
        const QByteArray manifest = manifestOf(R"({"name": "Big"})");
        QTest::newRow("80 MiB of zeros in 16 MiB files") << ArchiveMaker([=](const QString& path) {
            return writeZerosArchive(path, manifest, QList<ZeroFile>(5, {"f", 16 * MiB}));
        }) << "Архив big.zip распаковывается больше чем в 64 МиБ.";
        QTest::newRow("2,001 entries") << ArchiveMaker([=](const QString& path) {
            return writeZerosArchive(path, manifest, QList<ZeroFile>(2000, {"f", 1}));
        }) << "Архив big.zip содержит больше 2000 элементов.";
        QTest::newRow("a file over 16 MiB") << ArchiveMaker([=](const QString& path) {
            return writeZerosArchive(path, manifest, {{"f0", 1}, {"f1", 16 * MiB + 1}});
        }) << "Файл f1 в архиве big.zip больше 16 МиБ.";
        QTest::newRow("a header declaring less than its data")
            << ArchiveMaker([](const QString& path) {
                   return writeLyingZip(path, "small.lua", QByteArray(64 * 1024, 'x'), 1024);
               })
            << "Файл small.lua в архиве big.zip больше размера, указанного в архиве: архив "
               "повреждён или подделан.";
    }
    void archivesOverABoundAreRefusedLeavingNothing()
    {
        QFETCH(ArchiveMaker, make);
        QFETCH(QString, message);
        ScriptedPrompter prompter;
        const QString archive = m_temporary.filePath("big.zip");
        QVERIFY(make(archive));
        const QString temporary = m_temporary.filePath("tmp");
        const auto restore = privateTemporaryFolder(temporary);

        QList<ScenarioProfile> profiles = {named("default")};
        QCOMPARE(importArchive(prompter, archive, profiles), 0);
        QCOMPARE(profiles, QList<ScenarioProfile>{named("default")});
        QCOMPARE(prompter.prompts.size(), 2);
        QCOMPARE(prompter.prompts.at(1).kind, Prompt::Kind::Warning);
        QCOMPARE(prompter.prompts.at(1).text, "Не удалось импортировать профиль\n" + message);
        QVERIFY(!QFileInfo::exists(dataDirectory() + "/profiles"));
        QCOMPARE(QDir(temporary).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QFile::remove(archive);
    }

    void archiveJustUnderEveryBoundIsImported()
    {
        constexpr qint64 MiB = 1024 * 1024;
        ScriptedPrompter prompter;
        const QString archive = m_temporary.filePath("full.zip");
        const QByteArray manifest = manifestOf(R"({"name": "Full"})");
        // 2,000 entries: the manifest, four files that fill 64 MiB exactly and 1,995 empty ones
        // of one name (each would make a file on disk, slowly, were their names different).
        QList<ZeroFile> files = {{"f0", 16 * MiB},
                                 {"f1", 16 * MiB},
                                 {"f2", 16 * MiB},
                                 {"f3", 16 * MiB - manifest.size()}};
        files += QList<ZeroFile>(1995, {"empty", 0});
        QVERIFY(writeZerosArchive(archive, manifest, files));

        QList<ScenarioProfile> profiles = {named("default")};
        QCOMPARE(importArchive(prompter, archive, profiles), 1);
        QCOMPARE(prompter.prompts.last().text, "Импорт профиля успешно завершен");
        const QString full = profileDirectory("Full");
        QStringList unpacked = ProfileTransfer::filesBelow(full);
        unpacked.sort();
        QCOMPARE(unpacked, QStringList({"empty", "f0", "f1", "f2", "f3"}));
        QCOMPARE(QFileInfo(full + "/f2").size(), 16 * MiB);
        QCOMPARE(QFileInfo(full + "/f3").size(), 16 * MiB - manifest.size());
        QFile::remove(archive);
    }

    void takenNamesGiveACopysName()
    {
        ScriptedPrompter prompter;
        const QString archive = m_temporary.filePath("names.zip");
        QVERIFY(writeTestArchive(
            archive, {{"manifest.json", manifestOf(R"({"name": "DEFAULT"}, {"name": "work"},
                                                 {"name": "a|b"}, {"name": "New"}, {"name": "new"})")}},
            true));
        QList<ScenarioProfile> profiles = {named("default"), named("Work"), named("ab")};
        QCOMPARE(importArchive(prompter, archive, profiles), 5);
        QStringList names;
        for (const ScenarioProfile& profile : profiles)
            names << profile.name;
        QCOMPARE(names, QStringList({"default", "Work", "ab", "DEFAULT копия", "work копия",
                                     "a|b копия", "New", "new копия"}));
        QCOMPARE(prompter.prompts.last().text,
                 "Импорт профиля успешно завершен\n"
                 "Профиль \"DEFAULT\" добавлен под именем \"DEFAULT копия\".\n"
                 "Профиль \"work\" добавлен под именем \"work копия\".\n"
                 "Профиль \"a|b\" добавлен под именем \"a|b копия\".\n"
                 "Профиль \"new\" добавлен под именем \"new копия\".");
        QVERIFY(QFileInfo(profileDirectory("a|b копия")).isDir());
    }
};

CLAVITOR_TEST(ProfileArchiveTest);
#include "ProfileArchiveTest.moc"
