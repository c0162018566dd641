#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "library/ProfileStore.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

QJsonDocument parsed(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "test JSON does not parse:" << error.errorString() << error.offset;
    return document;
}

} // namespace

// Reading and writing profiles.json-shaped files: the format, the messages, the older keys.
class ProfileFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temporary;

    QString temporaryFile(const QString& name) const { return m_temporary.filePath(name); }

private slots:
    void init() { removeDataDirectory(); }

    void writtenFileHoldsExactlyTheKeysOfTheFormat()
    {
        ScenarioProfile games;
        games.name = QStringLiteral("Игры");
        games.description = QStringLiteral("шутеры");
        games.modifier = {1.5, 0.5, 2.0, 2};
        games.autoReplaceLockFromColumn = false;
        const QString directory = profileDirectory(games.name);
        games.scenarios = {
            {directory + "/aim.lua", "Alt+X", {}},
            {directory + "/sub/spray.lua", "", {0.25, 1.0, -3.0, 3}},
            {m_temporary.filePath("elsewhere/outside.lua"), "Ctrl+F1", {}},
            {QString(), QString(), {}},
        };
        games.autoReplacements = {
            {"Скорость", "шаг", " speed ", "10", "20"},
            {"", "", "", "1", "2"},
        };
        ScenarioProfile plain;
        plain.name = QStringLiteral("default");

        const QString path = temporaryFile("profiles.json");
        QVERIFY(writeProfiles({games, plain}, path));

        const QByteArray expected = R"json([
            {"name": "Игры", "description": "шутеры",
             "modifier": {"xy": 1.5, "x": 0.5, "y": 2, "rand": 2},
             "autoReplaceLockFromColumn": false,
             "scenarios": [
                {"file": "aim.lua", "hotkey": "Alt+X",
                 "modifier": {"xy": 1, "x": 1, "y": 1, "rand": 0}},
                {"file": "sub/spray.lua", "hotkey": "",
                 "modifier": {"xy": 0.25, "x": 1, "y": -3, "rand": 3}},
                {"file": "outside.lua", "hotkey": "Ctrl+F1",
                 "modifier": {"xy": 1, "x": 1, "y": 1, "rand": 0}},
                {"file": "", "hotkey": "",
                 "modifier": {"xy": 1, "x": 1, "y": 1, "rand": 0}}],
             "autoReplacements": [
                {"name": "Скорость", "description": "шаг", "parameter": " speed ",
                 "fromValue": "10", "toValue": "20", "from": "speed=10", "to": "speed=20"},
                {"name": "", "description": "", "parameter": "",
                 "fromValue": "1", "toValue": "2", "from": "1", "to": "2"}]},
            {"name": "default", "description": "",
             "modifier": {"xy": 1, "x": 1, "y": 1, "rand": 0},
             "autoReplaceLockFromColumn": true, "scenarios": [], "autoReplacements": []}
        ])json";
        const QByteArray written = readFile(path);
        QCOMPARE(parsed(written), parsed(expected));
        QVERIFY(written.startsWith("[\n    {\n")); // indented

        // Read back as stored: relative paths, the rule as written.
        const QList<ScenarioProfile> read = readProfiles(path);
        QCOMPARE(read.size(), 2);
        QCOMPARE(read[0].modifier, games.modifier);
        QCOMPARE(read[0].autoReplaceLockFromColumn, false);
        QCOMPARE(read[0].scenarios[1],
                 (ProfileScenario{"sub/spray.lua", "", {0.25, 1.0, -3.0, 3}}));
        QCOMPARE(read[0].autoReplacements[0],
                 (AutoReplaceRule{"Скорость", "шаг", "speed", "10", "20"}));
        QCOMPARE(read[1].modifier, MovementModifiers{});
        QVERIFY(read[1].autoReplaceLockFromColumn);
    }

    void missingKeysAndOtherTypesTakeTheDefaults()
    {
        const QString path = temporaryFile("sparse.json");
        QVERIFY(writeFile(path, R"json([
            7, "not a profile", null,
            {"name": "a", "modifier": {"xy": 2, "x": "3", "rand": 2.5}},
            {"description": 5, "autoReplaceLockFromColumn": "false", "modifier": [1, 2],
             "scenarios": [1, {"file": "x.lua", "modifier": {"rand": 3}}, {}],
             "autoReplacements": "none"}
        ])json"));

        const QList<ScenarioProfile> read = readProfiles(path);

        QCOMPARE(read.size(), 2);
        QCOMPARE(read[0].name, QStringLiteral("a"));
        QCOMPARE(read[0].modifier, (MovementModifiers{2.0, 1.0, 1.0, 0}));
        QVERIFY(read[0].autoReplaceLockFromColumn);
        QVERIFY(read[0].scenarios.isEmpty());
        QCOMPARE(read[1].name, QString());
        QCOMPARE(read[1].description, QString());
        QCOMPARE(read[1].modifier, MovementModifiers{});
        QVERIFY(read[1].autoReplaceLockFromColumn);
        QCOMPARE(read[1].scenarios.size(), 2);
        QCOMPARE(read[1].scenarios[0], (ProfileScenario{"x.lua", "", {1.0, 1.0, 1.0, 3}}));
        QCOMPARE(read[1].scenarios[1], ProfileScenario{});
        QVERIFY(read[1].autoReplacements.isEmpty());
    }

    void rulesAreReadFromTheOlderKeysToo_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<AutoReplaceRule>("rule");
        QTest::newRow("only from and to") << QByteArray(R"({"from": "speed=10", "to": "speed=20"})")
                                          << AutoReplaceRule{"speed", "", "speed", "10", "20"};
        QTest::newRow("from without =")
            << QByteArray(R"({"from": "10"})") << AutoReplaceRule{"10", "", "", "10", ""};
        QTest::newRow("blanks around the parts")
            << QByteArray(R"({"from": "  speed = 10 ", "to": " = 20", "description": " d "})")
            << AutoReplaceRule{"speed", " d ", "speed", "10", "20"};
        QTest::newRow("key only in to")
            << QByteArray(R"({"from": "5", "to": "delay=7"})")
            << AutoReplaceRule{"delay", "", "delay", "5", "7"};
        QTest::newRow("key without a value")
            << QByteArray(R"({"from": "speed=", "to": "speed="})")
            << AutoReplaceRule{"speed", "", "speed", "", ""};
        QTest::newRow("current keys win")
            << QByteArray(R"({"name": " n ", "parameter": " p ", "fromValue": " 1 ",
                            "toValue": "2", "from": "q=8", "to": "q=9"})")
            << AutoReplaceRule{"n", "", "p", "1", "2"};
        QTest::newRow("blank current value falls back")
            << QByteArray(R"({"parameter": "p", "fromValue": "  ", "from": "p=3"})")
            << AutoReplaceRule{"p", "", "p", "3", ""};
        QTest::newRow("name from the description")
            << QByteArray(R"({"description": "only text", "fromValue": "1"})")
            << AutoReplaceRule{"only text", "only text", "", "1", ""};
    }
    void rulesAreReadFromTheOlderKeysToo()
    {
        QFETCH(QByteArray, stored);
        QFETCH(AutoReplaceRule, rule);
        const QString path = temporaryFile("rules.json");
        QVERIFY(writeFile(path, R"([{"name": "p", "autoReplacements": [)" + stored + "]}]"));

        const QList<ScenarioProfile> read = readProfiles(path);

        QCOMPARE(read.size(), 1);
        QCOMPARE(read[0].autoReplacements.size(), 1);
        QCOMPARE(read[0].autoReplacements[0], rule);
    }

    void unusableFilesGiveTheirMessage_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message"); // %1: the native path
        QTest::newRow("empty array")
            << QByteArray("[]") << QStringLiteral("Файл \"%1\" не содержит ни одного профиля.");
        QTest::newRow("array without objects")
            << QByteArray("[1, [], \"x\"]")
            << QStringLiteral("Файл \"%1\" не содержит ни одного профиля.");
        QTest::newRow("object")
            << QByteArray(R"({"name": "default"})")
            << QStringLiteral("Файл \"%1\" имеет неверный формат: ожидался массив профилей.");
        QTest::newRow("not JSON")
            << QByteArray("[{\"name\": }]")
            << QStringLiteral(
                   "Ошибка разбора JSON в файле \"%1\": object is missing after a comma (позиция 11)");
        QTest::newRow("cut short")
            << QByteArray("[{\"name\": true")
            << QStringLiteral(
                   "Ошибка разбора JSON в файле \"%1\": illegal value (позиция 11)");
    }
    void unusableFilesGiveTheirMessage()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = temporaryFile("unusable.json");
        QVERIFY(writeFile(path, content));

        QString error;
        QVERIFY(readProfiles(path, &error).isEmpty());
        QCOMPARE(error, message.arg(QDir::toNativeSeparators(path)));
    }

    void missingAndUnopenableFilesGiveTheirMessage()
    {
        QString error;
        const QString missing = temporaryFile("missing.json");
        QVERIFY(readProfiles(missing, &error).isEmpty());
        QCOMPARE(error,
                 QStringLiteral("Файл \"%1\" не найден.").arg(QDir::toNativeSeparators(missing)));

        // A directory where the file should be cannot be opened as one.
        const QString directory = temporaryFile("folder.json");
        QVERIFY(QDir().mkpath(directory));
        const QString native = QDir::toNativeSeparators(directory);
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Не удалось открыть файл профилей " + native));
        QVERIFY(readProfiles(directory, &error).isEmpty());
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось открыть файл \"%1\": ").arg(native)),
                 qPrintable(error));
    }

    void failedOpenForWritingKeepsNothingAndSays()
    {
        // The parent of the target is a file, so nothing can be created there.
        const QString blocker = temporaryFile("blocker");
        QVERIFY(writeFile(blocker, "x"));
        const QString path = blocker + "/profiles.json";
        const QString native = QDir::toNativeSeparators(path);

        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable("Не удалось сохранить файл профилей " + native));
        QString error;
        QVERIFY(!writeProfiles({ScenarioProfile{}}, path, &error));
        QVERIFY2(error.startsWith(
                     QStringLiteral("Не удалось открыть файл \"%1\" для записи: ").arg(native)),
                 qPrintable(error));
        QCOMPARE(readFile(blocker), QByteArray("x"));
    }

    void interruptedWriteLeavesThePreviousFileWhole()
    {
#ifdef Q_OS_UNIX
        const QString path = temporaryFile("whole.json");
        const QByteArray previous = R"([{"name": "default"}])";
        QVERIFY(writeFile(path, previous));

        ScenarioProfile large;
        large.name = QStringLiteral("large");
        large.description = QString(100000, QLatin1Char('d'));

        // A file size limit makes the write fail part-way, as a full disk would.
        struct rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = saved;
        limited.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Не удалось сохранить файл профилей " +
                                                      QDir::toNativeSeparators(path)));
        QString error;
        const bool written = writeProfiles({large}, path, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);

        QVERIFY(!written);
        const QString native = QDir::toNativeSeparators(path);
        QVERIFY2(error.startsWith(QStringLiteral("Ошибка записи в файл \"%1\": ").arg(native)),
                 qPrintable(error));
        QCOMPARE(readFile(path), previous);
        QCOMPARE(QDir(m_temporary.path()).entryList({"whole*"}, QDir::Files),
                 QStringList{"whole.json"});
#else
        QSKIP("needs a file size limit");
#endif
    }
};

CLAVITOR_TEST(ProfileFileTest);
#include "ProfileFileTest.moc"
