#include "SettingsBytes.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "core/DataDirectory.h"
#include "core/OverlaySnapshot.h"
#include "core/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

namespace {

struct Head
{
    QString theme = QStringLiteral("default");
    double speechRate = 1.5;
    QString deactivationHotkey = QStringLiteral("Alt+X");
    QString overlayHotkey = QStringLiteral("Alt+O");
    QString language = systemLanguage();
    bool runElevated = false;
    qint32 scriptMemoryLimitMiB = 256;
};

// Fields 1 to 12 with their defaults, except the theme.
SettingsBytes headFields(const QString& theme)
{
    SettingsBytes b;
    b.boolean(true).byte(0);
    for (int i = 0; i < 6; ++i)
        b.real(1.0);
    b.text("default").text("home").text(theme).nullText();
    return b;
}

// A whole file: the defaults, with the few values a test varies.
QByteArray fileWith(const Head& h)
{
    SettingsBytes b = headFields(h.theme);
    b.boolean(false).i32(1).point(0, 0).color(0x17, 0x17, 0x17, 200).color(0xe5, 0xe5, 0xe5, 255);
    b.i32(200).i32(255).i32(9).boolean(true).boolean(true).boolean(true);
    b.boolean(false).nullText().real(h.speechRate).text(h.deactivationHotkey).text("Alt+A");
    b.text(h.overlayHotkey).text(h.language).boolean(h.runElevated).i32(h.scriptMemoryLimitMiB);
    return b.data();
}

QString settingsPath()
{
    return dataFilePath(QStringLiteral("Settings"));
}

void writeSettingsFile(const QByteArray& bytes)
{
    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readSettingsFile()
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Head)

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
        OverlaySnapshot::clear();
    }

    void firstStartCreatesTheDirectoryAndWritesTheDefaults()
    {
        const QString directory =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/Clavitor";
        QVERIFY(!QDir(directory).exists());

        const AppSettings settings = loadSettings();

        QVERIFY(QDir(directory).exists());
        QCOMPARE(settingsPath(), directory + "/Settings");
        QCOMPARE(readSettingsFile(), fileWith(Head{}));
        QCOMPARE(settings.language, systemLanguage());
        QCOMPARE(settings.lastPage, QStringLiteral("home"));
        QCOMPARE(settings.overlay, OverlaySettings{});
    }

    void everyFieldIsReadInFileOrder()
    {
        SettingsBytes b;
        b.boolean(false).byte(7); // any non-zero control mode byte means the driver
        b.real(0.5).real(1.25).real(2.0).real(3.0).real(4.5).real(0.75);
        b.text("Игры").text("autoclicker").text("light").text("kept as it is");
        b.boolean(true).i32(7).point(-300, 45).color(1, 2, 3, 40).color(250, 251, 252, 0);
        b.i32(123).i32(-5).i32(40).boolean(false).boolean(false).boolean(false);
        b.boolean(true).text("flite:slt").real(1.75).text("Ctrl+Alt+F1").text("Shift+F2");
        b.text("Alt+Num+5").text("ru").boolean(true).i32(1024);
        writeSettingsFile(b.data());

        const AppSettings s = loadSettings();

        QCOMPARE(s.isSound, false);
        QCOMPARE(s.controlMode, quint8(1));
        QCOMPARE(s.systemApiXY, 0.5);
        QCOMPARE(s.systemApiX, 1.25);
        QCOMPARE(s.systemApiY, 2.0);
        QCOMPARE(s.driverXY, 3.0);
        QCOMPARE(s.driverX, 4.5);
        QCOMPARE(s.driverY, 0.75);
        QCOMPARE(s.lastProfile, QStringLiteral("Игры"));
        QCOMPARE(s.lastPage, QStringLiteral("autoclicker"));
        QCOMPARE(s.theme, QStringLiteral("light"));
        QCOMPARE(s.reservedText, QStringLiteral("kept as it is"));
        QCOMPARE(s.scenarioSpeechEnabled, true);
        QCOMPARE(s.scenarioSpeechVoice, QStringLiteral("flite:slt"));
        QCOMPARE(s.scenarioSpeechRate, 1.75);
        QCOMPARE(s.deactivationHotkey, QStringLiteral("Ctrl+Alt+F1"));
        QCOMPARE(s.autoclickerToggleHotkey, QStringLiteral("Shift+F2"));
        QCOMPARE(s.overlayHotkey, QStringLiteral("Alt+Num+5"));
        QCOMPARE(s.language, QStringLiteral("ru"));
        QCOMPARE(s.runElevated, true);
        QCOMPARE(s.scriptMemoryLimitMiB, 1024);

        // The overlay starts hidden and at the default text size; colours are opaque in
        // memory and the opacities are bounded.
        const OverlaySettings& o = s.overlay;
        QCOMPARE(o.enabled, false);
        QCOMPARE(o.positionMode, quint8(7));
        QCOMPARE(o.customPosition, QPoint(-300, 45));
        QCOMPARE(o.backgroundColor, QColor(1, 2, 3, 255));
        QCOMPARE(o.textColor, QColor(250, 251, 252, 255));
        QCOMPARE(o.backgroundOpacity, 123);
        QCOMPARE(o.textOpacity, 0);
        QCOMPARE(o.textSize, 9);
        QCOMPARE(o.showScenarios, false);
        QCOMPARE(o.showAutoclickerStatus, false);
        QCOMPARE(o.highlightActiveScenario, false);

        // Nothing needed normalising, so the file was left as it was.
        QCOMPARE(readSettingsFile(), b.data());
    }

    void savedRecordHasTheExactBytesOfTheFormat()
    {
        AppSettings s;
        s.isSound = false;
        s.controlMode = 1;
        s.systemApiXY = 0.5;
        s.lastProfile = QStringLiteral("Игры");
        s.theme = QStringLiteral(":/css/Light.css");
        s.language = QStringLiteral("EN-us");
        s.scenarioSpeechRate = 3.0;
        s.overlay.enabled = true;
        s.overlay.positionMode = 200;
        s.overlay.customPosition = QPoint(10, -20);
        s.overlay.backgroundColor = QColor(0x10, 0x20, 0x30);
        s.overlay.backgroundOpacity = 128;
        s.overlay.textOpacity = 64;
        s.overlay.textSize = 12;
        s.runElevated = true;
        s.scriptMemoryLimitMiB = 9000;
        QVERIFY(saveSettings(s));

        SettingsBytes b;
        b.boolean(false).byte(1).real(0.5);
        for (int i = 0; i < 5; ++i)
            b.real(1.0);
        b.text("Игры").text("home").text("light").nullText();
        b.boolean(true).i32(200).point(10, -20).color(0x10, 0x20, 0x30, 128);
        b.color(0xe5, 0xe5, 0xe5, 64).i32(128).i32(64).i32(12);
        b.boolean(true).boolean(true).boolean(true);
        b.boolean(false).nullText().real(2.0).text("Alt+X").text("Alt+A").text("Alt+O").text("en");
        b.boolean(true).i32(4096);
        QCOMPARE(readSettingsFile(), b.data());
    }

    void fileCutAfterReservedTextKeepsTheRestAtTheirDefaults()
    {
        const QByteArray bytes = headFields("light").data();
        writeSettingsFile(bytes);

        const AppSettings s = loadSettings();

        QCOMPARE(s.theme, QStringLiteral("light"));
        QCOMPARE(s.overlay, OverlaySettings{});
        QCOMPARE(s.scenarioSpeechEnabled, false);
        QCOMPARE(s.scenarioSpeechRate, 1.5);
        QCOMPARE(s.deactivationHotkey, QStringLiteral("Alt+X"));
        QCOMPARE(s.autoclickerToggleHotkey, QStringLiteral("Alt+A"));
        QCOMPARE(s.overlayHotkey, QStringLiteral("Alt+O"));
        QCOMPARE(s.language, systemLanguage());
        QCOMPARE(readSettingsFile(), bytes);
    }

    void fieldCutInTheMiddleKeepsItsDefault()
    {
        QByteArray bytes = headFields("default").data();
        bytes.append(SettingsBytes().boolean(true).byte(0).byte(0).data()); // half an int
        writeSettingsFile(bytes);

        const AppSettings s = loadSettings();

        QCOMPARE(s.overlay.positionMode, quint8(1));
        QCOMPARE(s.overlayHotkey, QStringLiteral("Alt+O"));
    }

    void emptyFileGivesTheDefaults()
    {
        writeSettingsFile({});
        const AppSettings s = loadSettings();
        QCOMPARE(s.isSound, true);
        QCOMPARE(s.lastProfile, QStringLiteral("default"));
        QCOMPARE(s.language, systemLanguage());
    }

    void normalisedValuesAndWhetherTheFileIsRewritten_data()
    {
        QTest::addColumn<Head>("stored");
        QTest::addColumn<Head>("loaded");
        QTest::addColumn<bool>("rewritten");

        const QString other = systemLanguage() == "ru" ? "en" : "ru";
        auto head = [&](auto change) {
            Head h;
            h.language = other;
            change(h);
            return h;
        };
        QTest::newRow("resource path of the light theme")
            << head([](Head& h) { h.theme = ":/css/Light.css"; })
            << head([](Head& h) { h.theme = "light"; }) << true;
        QTest::newRow("dark") << head([](Head& h) { h.theme = "dark"; }) << head([](Head&) {})
                              << true;
        QTest::newRow("Dark") << head([](Head& h) { h.theme = "Dark"; }) << head([](Head&) {})
                              << true;
        QTest::newRow("blue") << head([](Head& h) { h.theme = "blue"; }) << head([](Head&) {})
                              << true;
        QTest::newRow("language EN-us") << head([](Head& h) { h.language = "EN-us"; })
                                        << head([](Head& h) { h.language = "en"; }) << true;
        QTest::newRow("unknown language")
            << head([](Head& h) { h.language = "de"; })
            << head([](Head& h) { h.language = systemLanguage(); }) << true;
        QTest::newRow("speech rate above the range")
            << head([](Head& h) { h.speechRate = 3.0; })
            << head([](Head& h) { h.speechRate = 2.0; }) << false;
        QTest::newRow("speech rate below the range")
            << head([](Head& h) { h.speechRate = 0.5; })
            << head([](Head& h) { h.speechRate = 1.0; }) << false;
        QTest::newRow("blank deactivation hotkey")
            << head([](Head& h) { h.deactivationHotkey = "   "; })
            << head([](Head& h) { h.deactivationHotkey = "Alt+X"; }) << true;
        QTest::newRow("blank overlay hotkey")
            << head([](Head& h) { h.overlayHotkey = ""; })
            << head([](Head& h) { h.overlayHotkey = "Alt+O"; }) << true;
    }

    void normalisedValuesAndWhetherTheFileIsRewritten()
    {
        QFETCH(Head, stored);
        QFETCH(Head, loaded);
        QFETCH(bool, rewritten);
        writeSettingsFile(fileWith(stored));

        const AppSettings s = loadSettings();

        QCOMPARE(s.theme, loaded.theme);
        QCOMPARE(s.language, loaded.language);
        QCOMPARE(s.scenarioSpeechRate, loaded.speechRate);
        QCOMPARE(s.deactivationHotkey, loaded.deactivationHotkey);
        QCOMPARE(s.overlayHotkey, loaded.overlayHotkey);
        QCOMPARE(readSettingsFile(), rewritten ? fileWith(loaded) : fileWith(stored));
    }

    void overlaySavedAsShownIsHiddenAfterARestart()
    {
        AppSettings shown;
        shown.overlay.enabled = true;
        shown.overlay.positionMode = 3;
        shown.overlay.customPosition = QPoint(40, 50);
        shown.overlay.textColor = QColor(0x11, 0x22, 0x33);
        shown.overlay.showScenarios = false;
        QVERIFY(saveSettings(shown));

        OverlaySnapshot::clear(); // a new run
        const AppSettings s = loadSettings();

        OverlaySettings expected = shown.overlay;
        expected.enabled = false;
        QCOMPARE(s.overlay, expected);
    }

    void loadsWithinOneRunSeeTheSameOverlayBlock()
    {
        writeSettingsFile(fileWith(Head{}));
        const AppSettings first = loadSettings();

        // Another program changes the overlay bytes: backgroundOpacity is field 18.
        Head h;
        QByteArray changed = fileWith(h);
        const int opacityOffset = headFields("default").data().size() + 1 + 4 + 8 + 11 + 11;
        changed.replace(opacityOffset, 4, SettingsBytes().i32(17).data());
        writeSettingsFile(changed);

        const AppSettings second = loadSettings();
        QCOMPARE(second.overlay, first.overlay);
        QCOMPARE(second.overlay.backgroundOpacity, 200);

        // A blank overlay hotkey in a later load takes the block of the run as well.
        writeSettingsFile(fileWith([] {
            Head blank;
            blank.overlayHotkey = " ";
            return blank;
        }()));
        const AppSettings third = loadSettings();
        QCOMPARE(third.overlay, first.overlay);
        QCOMPARE(third.overlayHotkey, QStringLiteral("Alt+O"));
        QCOMPARE(readSettingsFile(), fileWith(Head{}));
    }

    void unwritableFileReportsFalseAndKeepsWhatWasThere()
    {
        QVERIFY(QDir().mkpath(settingsPath())); // a directory where the file should be
        AppSettings s;
        s.lastPage = QStringLiteral("settings");
        QVERIFY(!saveSettings(s));
        QVERIFY(QFileInfo(settingsPath()).isDir());

        // Loading still works and falls back to the defaults.
        QCOMPARE(loadSettings().lastPage, QStringLiteral("home"));
    }

    void fileThatCannotBeReadIsNotWrittenOver()
    {
        // A file no one may read, root included, in place of the settings file.
        const QString unreadable = QStringLiteral("/proc/sys/vm/compact_memory");
        if (!QFileInfo::exists(unreadable) || QFile(unreadable).open(QIODevice::ReadOnly))
            QSKIP("this system has no file that cannot be read");
        QVERIFY(QFile::link(unreadable, settingsPath()));

        AppSettings s = loadSettings(); // the defaults, as nothing could be read
        s.lastPage = QStringLiteral("settings");
        QVERIFY(!saveSettings(s));
        QVERIFY(QFileInfo(settingsPath()).isSymLink());
        QFile::remove(settingsPath());
    }

    void unknownColourModelKeepsTheDefaultColour()
    {
        SettingsBytes b = headFields("default");
        b.boolean(false).i32(1).point(0, 0);
        b.byte(9).u16(0xFFFF).u16(0).u16(0xFFFF).u16(0).u16(0); // model 9 does not exist
        b.color(0x10, 0x20, 0x30, 255);
        writeSettingsFile(b.data());
        const OverlaySettings overlay = loadSettings().overlay;
        QCOMPARE(overlay.backgroundColor, QColor(0x17, 0x17, 0x17));
        QCOMPARE(overlay.textColor, QColor(0x10, 0x20, 0x30));
    }

    void applySettingsPublishesTheThirteenProperties()
    {
        AppSettings s;
        s.isSound = false;
        s.scenarioSpeechEnabled = true;
        s.scenarioSpeechVoice = QStringLiteral("voice");
        s.scenarioSpeechRate = 7.0;
        s.controlMode = 1;
        s.systemApiXY = 0.1;
        s.systemApiX = 0.2;
        s.systemApiY = 0.3;
        s.driverXY = 0.4;
        s.driverX = 0.5;
        s.driverY = 0.6;
        s.theme = QStringLiteral(" Light ");
        s.language = QStringLiteral("EN");
        applySettings(s);
        publishModifierDefaults();

        auto property = [](const char* name) {
            return qApp->property(name);
        };
        QCOMPARE(property(AppProperty::isSound), QVariant(false));
        QCOMPARE(property(AppProperty::scenarioSpeechEnabled), QVariant(true));
        QCOMPARE(property(AppProperty::scenarioSpeechVoice), QVariant("voice"));
        QCOMPARE(property(AppProperty::scenarioSpeechRate), QVariant(2.0));
        QCOMPARE(property(AppProperty::controlMode), QVariant(1));
        QCOMPARE(property(AppProperty::systemApiXY), QVariant(0.1));
        QCOMPARE(property(AppProperty::systemApiX), QVariant(0.2));
        QCOMPARE(property(AppProperty::systemApiY), QVariant(0.3));
        QCOMPARE(property(AppProperty::driverXY), QVariant(0.4));
        QCOMPARE(property(AppProperty::driverX), QVariant(0.5));
        QCOMPARE(property(AppProperty::driverY), QVariant(0.6));
        QCOMPARE(property(AppProperty::theme), QVariant("light"));
        QCOMPARE(property(AppProperty::language), QVariant("en"));
        for (const char* factor :
             {AppProperty::profileXY, AppProperty::profileX, AppProperty::profileY,
              AppProperty::scenarioXY, AppProperty::scenarioX, AppProperty::scenarioY})
            QCOMPARE(property(factor), QVariant(1.0));
        QCOMPARE(property(AppProperty::profileRand), QVariant(0.0));
        QCOMPARE(property(AppProperty::scenarioRand), QVariant(0.0));
        QVERIFY(!property(AppProperty::scenarioActivationResult).isValid());
    }
};

CLAVITOR_TEST(SettingsFileTest);
#include "SettingsFileTest.moc"
