#include "LogCapture.h"
#include "TestRegistry.h"

#include "autoclicker/AutoclickerFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The settings a row of the tables checks, in one line.
QString summary(const AutoclickerSettings& s)
{
    return QStringLiteral("type %1 clicks %2 mode %3 repeat %4 interval %5 move %6,%7 hotkey %8")
        .arg(s.inputType)
        .arg(s.clickCount)
        .arg(s.mode)
        .arg(s.repeat)
        .arg(s.interval)
        .arg(s.move.x())
        .arg(s.move.y())
        .arg(s.hotkey.toString());
}

const QString kDefaults = QStringLiteral("type 2 clicks 1 mode 2 repeat 1 interval 100 move 0,35 "
                                         "hotkey Alt+C");

} // namespace

class AutoclickerFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString filePath() const { return m_dir->filePath(QStringLiteral("autoclicker.json")); }

    void write(const QByteArray& bytes) const
    {
        QFile file(filePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QStringList backups() const
    {
        return QDir(m_dir->path()).entryList({QStringLiteral("*.bak")}, QDir::Files);
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void settingsObjectIsRead_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("read");
        QTest::newRow("empty: mouse clicks") << QByteArray("{}")
                                             << "type 0 clicks 1 mode 2 repeat 1 interval 100 "
                                                "move 0,35 hotkey Alt+C";
        QTest::newRow("no clicks from the count")
            << QByteArray(R"({"inputType": "mouse", "clickCount": 0})")
            << "type 2 clicks 0 mode 2 repeat 1 interval 100 move 0,35 hotkey Alt+C";
        QTest::newRow("too many clicks") << QByteArray(R"({"clickCount": 7})")
                                         << "type 0 clicks 3 mode 2 repeat 1 interval 100 "
                                            "move 0,35 hotkey Alt+C";
        QTest::newRow("none keeps no clicks")
            << QByteArray(R"({"inputType": "none", "clickCount": 2})")
            << "type 2 clicks 0 mode 2 repeat 1 interval 100 "
               "move 0,35 hotkey Alt+C";
        QTest::newRow("out of range")
            << QByteArray(R"({"mode": 9, "repeat": -5, "interval": 1e300})")
            << "type 0 clicks 1 mode 0 repeat 0 interval 2147483647 "
               "move 0,35 hotkey Alt+C";
        QTest::newRow("old keyboard flag") << QByteArray(R"({"useMouse": false})")
                                           << "type 1 clicks 1 mode 2 repeat 1 interval 100 "
                                              "move 0,35 hotkey Alt+C";
        QTest::newRow("wrong types keep the defaults")
            << QByteArray(R"({"mode": "3", "move": [1, 2, 3], "hotkey": 5, "interval": null})")
            << "type 0 clicks 1 mode 2 repeat 1 interval 100 move 0,35 hotkey Alt+C";
        QTest::newRow("all read") << QByteArray(R"({"inputType": "keyboard", "clickCount": 2,
                                                     "mode": 3, "repeat": 4, "interval": 20,
                                                     "move": [-5, 6], "hotkey": "Ctrl+F2"})")
                                  << "type 1 clicks 2 mode 3 repeat 4 interval 20 move -5,6 "
                                     "hotkey Ctrl+F2";
    }
    void settingsObjectIsRead()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, read);
        const AutoclickerSettings settings =
            AutoclickerSettings::fromJson(QJsonDocument::fromJson(json).object());
        QCOMPARE(summary(settings), read);
        // What is written reads back the same.
        QCOMPARE(summary(AutoclickerSettings::fromJson(settings.toJson())), read);
    }

    void fileIsRepairedOnLoad_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("currentSettings");
        QTest::addColumn<bool>("backup");
        QTest::newRow("missing") << QByteArray() << QStringList{"default"} << "default" << false
                                 << kDefaults << false;
        QTest::newRow("not JSON") << QByteArray("{\"profiles\": [") << QStringList{"default"}
                                  << "default" << false << kDefaults << true;
        QTest::newRow("a case twin dropped, default first")
            << QByteArray(R"({"active": "work", "profiles": [{"name": "Work", "settings": {}},
                             {"name": "work"}, {"name": " default "}]})")
            << QStringList{"default", "Work"} << "Work" << false
            << "type 0 clicks 1 mode 2 repeat 1 interval 100 move 0,35 hotkey Alt+C" << true;
        QTest::newRow("all nameless")
            << QByteArray(R"({"profiles": [{"name": " "}, 5, {}]})") << QStringList{"default"}
            << "default" << false << kDefaults << true;
        QTest::newRow("old single profile")
            << QByteArray(R"({"interval": 250, "mode": 3, "enabled": true})")
            << QStringList{"default"} << "default" << true
            << "type 0 clicks 1 mode 3 repeat 1 interval 250 move 0,35 hotkey Alt+C" << false;
        QTest::newRow("the first enabled is current and on")
            << QByteArray(R"({"profiles": [{"name": "a", "settings": {"mode": 1}},
                             {"name": "b", "settings": {"enabled": true, "mode": 0}},
                             {"name": "c", "settings": {"enabled": true}}]})")
            << QStringList{"default", "a", "b", "c"} << "b" << true
            << "type 0 clicks 1 mode 0 repeat 1 interval 100 move 0,35 hotkey Alt+C" << false;
        QTest::newRow("the root's state wins")
            << QByteArray(R"({"active": "A", "enabled": false, "profiles": [{"name": "default"},
                             {"name": "a", "settings": {"enabled": true}}]})")
            << QStringList{"default", "a"} << "a" << false
            << "type 0 clicks 1 mode 2 repeat 1 interval 100 move 0,35 hotkey Alt+C" << false;
    }
    void fileIsRepairedOnLoad()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, names);
        QFETCH(QString, current);
        QFETCH(bool, enabled);
        QFETCH(QString, currentSettings);
        QFETCH(bool, backup);
        if (!json.isEmpty())
            write(json);
        const LogCapture log;

        AutoclickerProfiles profiles;
        QCOMPARE(AutoclickerFile::load(filePath(), profiles), enabled);

        QStringList loaded;
        for (const AutoclickerProfile& profile : std::as_const(profiles.list)) {
            loaded << profile.name;
            QCOMPARE(profile.settings.enabled, enabled);
        }
        QCOMPARE(loaded, names);
        QCOMPARE(profiles.current()->name, current);
        QCOMPARE(summary(profiles.current()->settings), currentSettings);
        QCOMPARE(backups().size(), backup ? 1 : 0);
        if (backup) {
            QFile kept(m_dir->filePath(backups().constFirst()));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), json);
            QCOMPARE(log.lines.size(), 1);
        }
    }

    void savedFileHoldsEveryProfileAndTheState()
    {
        AutoclickerProfiles profiles;
        profiles.list = {{QStringLiteral("default"), {}}, {QStringLiteral("Fast"), {}}};
        profiles.list[1].settings.interval = 20;
        profiles.list[1].settings.inputType = AutoclickerSettings::Keyboard;
        profiles.list[1].settings.key = Qt::Key_F;
        profiles.list[1].settings.hotkey = QKeySequence();
        profiles.currentIndex = 1;
        QVERIFY(AutoclickerFile::save(filePath(), profiles, true));

        QFile file(filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("\n    \"enabled\": true,\n")); // indented
        const QJsonDocument expected = QJsonDocument::fromJson(R"({
            "active": "Fast", "enabled": true, "profiles": [
              {"name": "default", "settings": {"interval": 100, "inputType": "none",
                "useMouse": false, "button": 1, "key": 0, "useMove": true, "move": [0, 35],
                "smooth": true, "clickCount": 1, "mode": 2, "repeat": 1, "delayRand": 0,
                "moveRand": 1, "hotkey": "Alt+C", "enabled": true}},
              {"name": "Fast", "settings": {"interval": 20, "inputType": "keyboard",
                "useMouse": false, "button": 1, "key": 70, "useMove": true, "move": [0, 35],
                "smooth": true, "clickCount": 1, "mode": 2, "repeat": 1, "delayRand": 0,
                "moveRand": 1, "hotkey": "", "enabled": true}}]})");
        QCOMPARE(QJsonDocument::fromJson(bytes), expected);
    }

    void importedProfileTakesItsSettingsFromWhereTheyAre_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::newRow("settings") << QByteArray(R"({"name": " Fast ", "settings": {"interval": 20},
                                                     "clicker": {"interval": 30}})")
                                  << "Fast" << 20;
        QTest::newRow("clicker") << QByteArray(R"({"clicker": {"interval": 30}, "interval": 40})")
                                 << "fallback" << 30;
        QTest::newRow("root") << QByteArray(R"({"name": "", "interval": 40})") << "fallback" << 40;
    }
    void importedProfileTakesItsSettingsFromWhereTheyAre()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, name);
        QFETCH(int, interval);
        const AutoclickerProfile profile = AutoclickerFile::importedProfile(
            QJsonDocument::fromJson(json).object(), QStringLiteral("fallback"));
        QCOMPARE(profile.name, name);
        QCOMPARE(profile.settings.interval, interval);
    }
};

CLAVITOR_TEST(AutoclickerFileTest);
#include "AutoclickerFileTest.moc"
