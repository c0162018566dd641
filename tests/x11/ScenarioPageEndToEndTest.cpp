#include "ProgramProcess.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include "app/Startup.h"
#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "engine/EngineState.h"
#include "platform/x11/X11Platform.h"
#include "profiles/ProfileStore.h"
#include "scenarios/ScriptsListWidget.h"
#include "scenarios/SingleScriptWidget.h"
#include "ui/shell/FramelessWindow.h"
#include "ui/widgets/GrabLineEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using platform::Platform;
using platform::X11Platform;

namespace {

// Moves the pointer by (10, 10) when activated and by (40, -25) at every left click.
const QByteArray kNudgeScript = "function OnEvent(event, arg)\n"
                                "  if event == 'PROFILE_ACTIVATED' then\n"
                                "    EnablePrimaryMouseButtonEvents(true)\n"
                                "    MoveMouseRelative(10, 10)\n"
                                "  elseif event == 'MOUSE_BUTTON_PRESSED' and arg == 1 then\n"
                                "    MoveMouseRelative(40, -25)\n"
                                "  end\n"
                                "end\n";

const QPoint kStart(60, 100); // inside the other window

// A click on the middle of a widget (or on a point of it), as the user makes it, once the
// widget is shown and laid out.
bool clickOn(const QWidget* widget, QPoint local = QPoint(-1, -1))
{
    if (!QTest::qWaitFor([widget] { return widget->isVisible(); }, kTimeoutMs))
        return false;
    QCoreApplication::processEvents(); // pending layouts
    const QPoint global = widget->mapToGlobal(local.x() < 0 ? widget->rect().center() : local);
    return xdotool(
        {"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

// Makes a tab of the page current by clicking its title.
bool clickTab(const QWidget& page, const char* name)
{
    const auto* tabs = page.findChild<QTabWidget*>("tabWidget");
    const QWidget* tab = page.findChild<QWidget*>(name);
    return clickOn(tabs->tabBar(), tabs->tabBar()->tabRect(tabs->indexOf(tab)).center()) &&
           QTest::qWaitFor([tab] { return tab->isVisible(); }, kTimeoutMs);
}

// Focuses the other window, puts the pointer on it, presses Alt+1 there and clicks: the
// scenario moves the pointer once when activated and once more for the click.
void hotkeyAndClickMoveThePointer(QWidget& other)
{
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other, kTimeoutMs));
    QVERIFY(xdotool({"mousemove", QString::number(kStart.x()), QString::number(kStart.y())}));
    QTRY_COMPARE_WITH_TIMEOUT(pointer(), kStart, kTimeoutMs);
    QVERIFY(xdotool({"key", "alt+1"}));
    QTRY_COMPARE_WITH_TIMEOUT(pointer(), kStart + QPoint(10, 10), kTimeoutMs);
    QVERIFY(xdotool({"click", "1"}));
    QTRY_COMPARE_WITH_TIMEOUT(pointer(), kStart + QPoint(50, -15), kTimeoutMs);
}

} // namespace

// The program as a user meets it on an X desktop: an empty data directory, a profile and a
// scenario made on the scenario page with the mouse and the keyboard, its hotkey pressed in
// another program; then the program itself started again on the same files.
class ScenarioPageEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Platform> m_backend;
    std::unique_ptr<QTemporaryDir> m_dataHome;
    QByteArray m_previousDataHome;

private slots:
    void initTestCase()
    {
        m_backend = platform::createPlatform("xcb");
        QVERIFY(dynamic_cast<X11Platform*>(m_backend.get()));
        Platform::setCurrent(m_backend.get());

        // The program's own data directory, as it finds it outside the tests, in a folder of
        // this test's: both this process and the program started later use it.
        m_dataHome = std::make_unique<QTemporaryDir>();
        m_previousDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dataHome->path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(false);
        QCoreApplication::setApplicationName("clavitor");
        QCOMPARE(profilesFilePath(), m_dataHome->filePath("clavitor/Clavitor/profiles.json"));
    }

    void cleanupTestCase()
    {
        QCoreApplication::setApplicationName("tst_x11");
        QStandardPaths::setTestModeEnabled(true);
        if (m_previousDataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_previousDataHome);
        m_dataHome.reset();
        EngineState::instance() = EngineState{};
        Platform::setCurrent(nullptr);
        m_backend.reset();
    }

    void letterKeyIsCapturedAsItsLatinLetterUnderARussianLayout()
    {
        GrabLineEdit field;
        field.show();
        field.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&field, kTimeoutMs));
        // The Russian group made current by the key that switches groups, and the desktop
        // as it was afterwards, whatever happens.
        QVERIFY(runTool("setxkbmap", {"-layout", "us,ru", "-option", "grp:caps_toggle"}));
        const auto restore = qScopeGuard([] {
            xdotool({"key", "Caps_Lock"});
            runTool("setxkbmap", {"-layout", "us,ru", "-option", ""});
        });
        QVERIFY(xdotool({"key", "Caps_Lock"}));
        QVERIFY(xdotool({"key", "shift+Cyrillic_che"})); // the key of X
        QTRY_COMPARE_WITH_TIMEOUT(field.text(), QString("Shift+X"), kTimeoutMs);
    }

    void scenarioMadeOnThePageWorksInOtherProgramsAndAfterARestart()
    {
        QTemporaryDir downloads;
        const QString script = downloads.filePath("nudge.lua");
        const QString second = downloads.filePath("other.lua");
        for (const QString& path : {script, second}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write(kNudgeScript) == kNudgeScript.size());
        }
        QLineEdit other;
        other.setWindowTitle("another program");
        other.setGeometry(0, 0, 300, 200);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other, kTimeoutMs));

        {
            ScriptedPrompter prompter;
            applySettings(loadSettings());
            publishModifierDefaults();
            const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
            QVERIFY(QTest::qWaitForWindowExposed(window.get(), kTimeoutMs));
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get(), kTimeoutMs));
            auto* page = window->findChild<ScriptsListWidget*>("pageScriptsList");

            QVERIFY(clickOn(window->findChild<QWidget*>("pushButtonScriptsList")));
            QTRY_VERIFY_WITH_TIMEOUT(page->isVisible(), kTimeoutMs);
            QVERIFY(clickTab(*page, "prifile"));
            prompter.queueValue("Games");
            QVERIFY(clickOn(page->findChild<QWidget*>("profileAddButton")));
            QTRY_COMPARE_WITH_TIMEOUT(page->findChild<QComboBox*>("profileComboBox")->currentText(),
                                      QString("Games"), kTimeoutMs);

            QVERIFY(clickTab(*page, "script"));
            QVERIFY(clickOn(page->findChild<QWidget*>("pushButtonAdd")));
            QTRY_VERIFY_WITH_TIMEOUT(page->row(0), kTimeoutMs);
            prompter.queueValue(script);
            QVERIFY(clickOn(page->row(0)->findChild<QWidget*>("pushButtonScript")));
            const QString copied = profileDirectory("Games") + "/nudge.lua";
            QTRY_COMPARE_WITH_TIMEOUT(page->row(0)->path(), copied, kTimeoutMs);

            QVERIFY(clickOn(page->row(0)->findChild<QWidget*>("lineEditHotKey")));
            QVERIFY(xdotool({"key", "alt+1"}));
            QTRY_COMPARE_WITH_TIMEOUT(page->profiles().last().scenarios.value(0).hotkey,
                                      QString("Alt+1"), kTimeoutMs);
            QVERIFY(prompter.prompts.size() == 2); // the profile's name and the file, nothing else

            // Alt+1 pressed into a second row's field reaches the field: the conflict is told
            // and the first row's scenario does not run.
            QVERIFY(clickOn(page->findChild<QWidget*>("pushButtonAdd")));
            QTRY_VERIFY_WITH_TIMEOUT(page->row(1), kTimeoutMs);
            prompter.queueValue(second);
            QVERIFY(clickOn(page->row(1)->findChild<QWidget*>("pushButtonScript")));
            QTRY_VERIFY_WITH_TIMEOUT(!page->row(1)->path().isEmpty(), kTimeoutMs);
            QWidget* field = page->row(1)->findChild<QWidget*>("lineEditHotKey");
            QVERIFY(clickOn(field));
            QTRY_VERIFY_WITH_TIMEOUT(field->hasFocus(), kTimeoutMs);
            const QPoint before = pointer();
            QVERIFY(xdotool({"key", "alt+1"}));
            QTRY_COMPARE_WITH_TIMEOUT(prompter.prompts.size(), 4, kTimeoutMs);
            QVERIFY(prompter.prompts.last().text.startsWith(
                "Сочетание \"Alt+1\" конфликтует: сценарий \"nudge\"."));
            QCOMPARE(pointer(), before);
            QVERIFY(!EngineState::instance().scenarioActive);
            QVERIFY(page->profiles().last().scenarios.value(1).hotkey.isEmpty());

            hotkeyAndClickMoveThePointer(other);
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(page->findChild<QLabel*>("activeLua")->text(),
                     QString("Активный сценарий: nudge"));
        }
        // The page's hotkeys are given up with it; the program may take them now.
        EngineState::instance() = EngineState{};

        QProcess program;
        startProgram(program, m_dataHome->path());
        QVERIFY(program.waitForStarted(kTimeoutMs));

        // Started when its window is up and Alt+1 is held: another client is refused it.
        QVERIFY(runTool("xdotool", {"search", "--sync", "--onlyvisible", "--pid",
                                    QString::number(program.processId())}));
        const std::unique_ptr<X11Platform> probe = X11Platform::open();
        QVERIFY(probe);
        const auto heldElsewhere = [&probe] {
            if (probe->registerHotKey(nullptr, 1, MOD_ALT, '1'))
                return !probe->unregisterHotKey(nullptr, 1); // free: let it go again
            return probe->getLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
        };
        QTRY_VERIFY_WITH_TIMEOUT(heldElsewhere(), kTimeoutMs);

        hotkeyAndClickMoveThePointer(other);
        if (QTest::currentTestFailed())
            return; // the program ends with `program`
        const QList<ScenarioProfile> stored = readProfiles(profilesFilePath());
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[1].name, QString("Games"));
        QCOMPARE(stored[1].scenarios.size(), 2);
        QCOMPARE(stored[1].scenarios[0].file, QString("nudge.lua"));
        QCOMPARE(stored[1].scenarios[1].file, QString("other.lua"));
        QCOMPARE(loadSettings().lastProfile, QString("Games"));
    }
};

CLAVITOR_TEST(ScenarioPageEndToEndTest);
#include "ScenarioPageEndToEndTest.moc"
