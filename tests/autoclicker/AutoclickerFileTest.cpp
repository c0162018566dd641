#include "LogCapture.h"
#include "TestRegistry.h"

#include "autoclicker/AutoclickerFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What sets the settings apart from a new profile's, as "field=value" words.
QString changes(const AutoclickerSettings& s)
{
    const AutoclickerSettings d;
    QStringList words;
    const auto note = [&words](const char* field, auto value, auto byDefault) {
        if (value != byDefault)
            words << QStringLiteral("%1=%2").arg(QLatin1String(field)).arg(value);
    };
    note("inputType", s.inputType, d.inputType);
    note("clickCount", s.clickCount, d.clickCount);
    note("mode", s.mode, d.mode);
    note("repeat", s.repeat, d.repeat);
    note("interval", s.interval, d.interval);
    note("moveX", s.move.x(), d.move.x());
    note("hotkey", s.hotkey.toString(), d.hotkey.toString());
    return words.join(' ');
}

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
        QTest::newRow("empty: mouse clicks") << QByteArray("{}") << "inputType=0";
        QTest::newRow("no clicks by the count")
            << QByteArray(R"({"inputType": "mouse", "clickCount": 0})") << "clickCount=0";
        QTest::newRow("too many clicks")
            << QByteArray(R"({"clickCount": 7})") << "inputType=0 clickCount=3";
        QTest::newRow("none has no clicks")
            << QByteArray(R"({"inputType": "none", "clickCount": 2})") << "clickCount=0";
        QTest::newRow("out of range")
            << QByteArray(R"({"mode": 9, "repeat": -5, "interval": 1e300})")
            << "inputType=0 mode=0 repeat=0 interval=2147483647";
        QTest::newRow("old keyboard flag") << QByteArray(R"({"useMouse": false})") << "inputType=1";
        QTest::newRow("wrong types keep the defaults")
            << QByteArray(R"({"mode": "3", "move": [1, 2, 3], "hotkey": 5, "interval": null})")
            << "inputType=0";
        QTest::newRow("a chord that names no key left out")
            << QByteArray(R"({"hotkey": "Meta+N,um+5"})") << "inputType=0 hotkey=Meta+N";
        QTest::newRow("all read")
            << QByteArray(R"({"inputType": "keyboard", "clickCount": 2, "mode": 3, "repeat": 4,
                              "interval": 20, "move": [-5, 6], "hotkey": "Ctrl+F2"})")
            << "inputType=1 clickCount=2 mode=3 repeat=4 interval=20 moveX=-5 hotkey=Ctrl+F2";
    }
    void settingsObjectIsRead()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, read);
        const AutoclickerSettings settings =
            AutoclickerSettings::fromJson(QJsonDocument::fromJson(json).object());
        QCOMPARE(changes(settings), read);
        // What is written reads back the same.
        QCOMPARE(changes(AutoclickerSettings::fromJson(settings.toJson())), read);
    }

    void fileIsRepairedOnLoad_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("current"); // its name and what sets its settings apart
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("backup");
        QTest::newRow("missing") << QByteArray() << QStringList{"default"} << "default" << false
                                 << false;
        QTest::newRow("not JSON") << QByteArray("{\"profiles\": [") << QStringList{"default"}
                                  << "default" << false << true;
        QTest::newRow("a case twin dropped, default first")
            << QByteArray(R"({"active": "work", "profiles": [{"name": "Work", "settings": {}},
                             {"name": "work"}, {"name": " default "}]})")
            << QStringList{"default", "Work"} << "Work inputType=0" << false << true;
        QTest::newRow("a twin only by case folding dropped")
            << QByteArray(R"({"profiles": [{"name": "\u017fet"}, {"name": "Set"}]})")
            << QStringList{"default", "\u017fet"} << "default" << false << true;
        QTest::newRow("all nameless") << QByteArray(R"({"profiles": [{"name": " "}, 5, {}]})")
                                      << QStringList{"default"} << "default" << false << true;
        QTest::newRow("old single profile")
            << QByteArray(R"({"interval": 250, "mode": 3, "enabled": true})")
            << QStringList{"default"} << "default inputType=0 mode=3 interval=250" << true << false;
        QTest::newRow("the first enabled is current and on")
            << QByteArray(R"({"profiles": [{"name": "a", "settings": {"mode": 1}},
                             {"name": "b", "settings": {"enabled": true, "mode": 0}},
                             {"name": "c", "settings": {"enabled": true}}]})")
            << QStringList{"default", "a", "b", "c"} << "b inputType=0 mode=0" << true << false;
        QTest::newRow("the root's state wins")
            << QByteArray(R"({"active": "A", "enabled": false, "profiles": [{"name": "default"},
                             {"name": "a", "settings": {"enabled": true}}]})")
            << QStringList{"default", "a"} << "a inputType=0" << false << false;
    }
    void fileIsRepairedOnLoad()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, names);
        QFETCH(QString, current);
        QFETCH(bool, enabled);
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
        QCOMPARE((QStringList{profiles.current()->name, changes(profiles.current()->settings)})
                     .join(' ')
                     .trimmed(),
                 current);
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
};

CLAVITOR_TEST(AutoclickerFileTest);
#include "AutoclickerFileTest.moc"
