#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "profiles/ProfileStore.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// Reading and writing profiles.json-shaped files: the format, the messages, the older keys.
class ProfileFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_temporary;

private slots:
    void init() { removeDataDirectory(); }

    void writtenFileHoldsExactlyTheKeysOfTheFormat()
    {
        ScenarioProfile games = named("Игры");
        games.description = "шутеры";
        games.modifier = {1.5, 0.5, 2.0, 2};
        games.autoReplaceLockFromColumn = false;
        const QString directory = profileDirectory(games.name);
        games.scenarios = {{directory + "/sub/aim.lua", "Alt+X", {0.25, 1.0, -3.0, 3}},
                           {m_temporary.filePath("outside.lua"), "", {}}};
        games.autoReplacements = {{"Скорость", "шаг", " speed ", "10", "20"},
                                  {"", "", "", "1", "2"}};
        games.programs = {"game.exe", "Navigator"};
        games.trusted = true;
        const QString path = m_temporary.filePath("profiles.json");
        QVERIFY(writeProfiles({games, named("default")}, path));

        const QByteArray expected = R"json([
            {"name": "Игры", "description": "шутеры",
             "modifier": {"xy": 1.5, "x": 0.5, "y": 2, "rand": 2},
             "autoReplaceLockFromColumn": false,
             "scenarios": [
                {"file": "sub/aim.lua", "hotkey": "Alt+X",
                 "modifier": {"xy": 0.25, "x": 1, "y": -3, "rand": 3}},
                {"file": "outside.lua", "hotkey": "",
                 "modifier": {"xy": 1, "x": 1, "y": 1, "rand": 0}}],
             "autoReplacements": [
                {"name": "Скорость", "description": "шаг", "parameter": " speed ",
                 "fromValue": "10", "toValue": "20", "from": "speed=10", "to": "speed=20"},
                {"name": "", "description": "", "parameter": "",
                 "fromValue": "1", "toValue": "2", "from": "1", "to": "2"}],
             "programs": ["game.exe", "Navigator"], "trusted": true},
            {"name": "default", "description": "",
             "modifier": {"xy": 1, "x": 1, "y": 1, "rand": 0},
             "autoReplaceLockFromColumn": true, "scenarios": [], "autoReplacements": [],
             "programs": []}
        ])json";
        const QByteArray written = readFile(path);
        QCOMPARE(QJsonDocument::fromJson(written), QJsonDocument::fromJson(expected));
        QVERIFY(written.startsWith("[\n    {\n")); // indented
    }

    void missingKeysAndOtherTypesTakeTheDefaults()
    {
        const QString path = m_temporary.filePath("sparse.json");
        QVERIFY(writeFile(path, R"json([7, null,
            {"name": "a", "modifier": {"xy": 2, "x": "3", "rand": 2.5}},
            {"autoReplaceLockFromColumn": "false", "modifier": [1, 2],
             "scenarios": [1, {"file": "x.lua", "modifier": {"rand": 3}}],
             "autoReplacements": "none", "programs": [3, " game.exe ", "", null],
             "trusted": "true"}])json"));

        const QList<ScenarioProfile> read = readProfiles(path);

        QCOMPARE(read.size(), 2);
        QCOMPARE(read[0].modifier, (MovementModifiers{2.0, 1.0, 1.0, 0}));
        QCOMPARE(read[1].name, QString());
        QCOMPARE(read[1].modifier, MovementModifiers{});
        QVERIFY(read[1].autoReplaceLockFromColumn);
        QCOMPARE(read[1].scenarios, (QList<ProfileScenario>{{"x.lua", "", {1.0, 1.0, 1.0, 3}}}));
        QVERIFY(read[1].autoReplacements.isEmpty());
        QVERIFY(read[0].programs.isEmpty());
        QCOMPARE(read[1].programs, QStringList{"game.exe"});
        QVERIFY(!read[0].trusted && !read[1].trusted);
    }

    void rulesAreReadFromTheOlderKeysToo_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<AutoReplaceRule>("rule");
        QTest::newRow("only from and to") << QByteArray(R"({"from": "speed=10", "to": "speed=20"})")
                                          << AutoReplaceRule{"speed", "", "speed", "10", "20"};
        QTest::newRow("from without =")
            << QByteArray(R"({"from": "10"})") << AutoReplaceRule{"10", "", "", "10", ""};
        QTest::newRow("blanks, key only in to")
            << QByteArray(R"({"from": " 5 ", "to": " delay = 7", "description": " d "})")
            << AutoReplaceRule{"delay", " d ", "delay", "5", "7"};
        QTest::newRow("named by a padded description")
            << QByteArray(R"({"description": " d "})") << AutoReplaceRule{"d", " d ", "", "", ""};
        QTest::newRow("key without a value")
            << QByteArray(R"({"from": "speed="})") << AutoReplaceRule{"speed", "", "speed", "", ""};
        QTest::newRow("current keys win, a blank one falls back")
            << QByteArray(R"({"name": " n ", "parameter": " p ", "fromValue": " ",
                            "toValue": "2", "from": "q=8", "to": "q=9"})")
            << AutoReplaceRule{"n", "", "p", "8", "2"};
        QTest::newRow("older keys repeating values that hold =")
            << QByteArray(R"({"parameter": "", "fromValue": "a=1", "toValue": "a=2",
                            "from": "a=1", "to": "a=2"})")
            << AutoReplaceRule{"a=1", "", "", "a=1", "a=2"};
    }
    void rulesAreReadFromTheOlderKeysToo()
    {
        QFETCH(QByteArray, stored);
        QFETCH(AutoReplaceRule, rule);
        const QString path = m_temporary.filePath("rules.json");
        QVERIFY(writeFile(path, R"([{"autoReplacements": [)" + stored + "]}]"));
        QCOMPARE(readProfiles(path).value(0).autoReplacements,
                 QList<AutoReplaceRule>{rule});
    }

    void unusableFilesGiveTheirMessage_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message"); // %1: the native path
        QTest::newRow("empty array")
            << QByteArray("[]") << "Файл \"%1\" не содержит ни одного профиля.";
        QTest::newRow("no object in the array")
            << QByteArray("[1, []]") << "Файл \"%1\" не содержит ни одного профиля.";
        QTest::newRow("object") << QByteArray(R"({"name": "default"})")
                                << "Файл \"%1\" имеет неверный формат: ожидался массив профилей.";
        QTest::newRow("not JSON")
            << QByteArray("[{\"name\": true")
            << "Ошибка разбора JSON в файле \"%1\": illegal value (позиция 11)";
    }
    void unusableFilesGiveTheirMessage()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = m_temporary.filePath("unusable.json");
        QVERIFY(writeFile(path, content));

        QString error;
        QVERIFY(readProfiles(path, &error).isEmpty());
        QCOMPARE(error, message.arg(QDir::toNativeSeparators(path)));
    }

    void missingAndUnopenableFilesGiveTheirMessage()
    {
        QString error;
        const QString missing = m_temporary.filePath("missing.json");
        QVERIFY(readProfiles(missing, &error).isEmpty());
        QCOMPARE(error, QString("Файл \"%1\" не найден.").arg(QDir::toNativeSeparators(missing)));

        const QString folder = QDir::toNativeSeparators(m_temporary.path());
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Не удалось открыть файл профилей " + folder));
        QVERIFY(readProfiles(m_temporary.path(), &error).isEmpty());
        QVERIFY2(error.startsWith(QString("Не удалось открыть файл \"%1\": ").arg(folder)),
                 qPrintable(error));

        const QString blocked = m_temporary.filePath("missing.json/profiles.json");
        QVERIFY(writeFile(missing, "x")); // a file where the folder should be
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Не удалось сохранить файл профилей " +
                                                      QDir::toNativeSeparators(blocked)));
        QVERIFY(!writeProfiles({}, blocked, &error));
        QVERIFY2(error.startsWith(QString("Не удалось открыть файл \"%1\" для записи: ")
                                      .arg(QDir::toNativeSeparators(blocked))),
                 qPrintable(error));
    }

    void interruptedWriteLeavesThePreviousFileWhole()
    {
#ifdef Q_OS_UNIX
        const QString path = m_temporary.filePath("whole.json");
        const QString native = QDir::toNativeSeparators(path);
        QVERIFY(writeFile(path, "[]"));
        ScenarioProfile large = named("large");
        large.description.fill('d', 100000);

        // A file size limit makes the write fail part-way, as a full disk would.
        rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = 4096;
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Не удалось сохранить файл профилей " + native));
        QString error;
        const bool written = writeProfiles({large}, path, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);

        QVERIFY(!written);
        QVERIFY2(error.startsWith(QString("Ошибка записи в файл \"%1\": ").arg(native)),
                 qPrintable(error));
        QCOMPARE(readFile(path), QByteArray("[]"));
        QCOMPARE(QDir(m_temporary.path()).entryList({"whole*"}), QStringList{"whole.json"});
#else
        QSKIP("needs a file size limit");
#endif
    }
};

CLAVITOR_TEST(ProfileFileTest);
#include "ProfileFileTest.moc"
