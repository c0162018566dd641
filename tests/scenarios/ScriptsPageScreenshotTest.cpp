#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "app/Startup.h"
#include "engine/ScenarioFailures.h"
#include "scenarios/SingleScriptWidget.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>

// The scenario page in the window as the user sees it, in both themes: the scenarios' tab and
// the profile's tab with its programs.
class ScriptsPageScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerEmbeddedFonts(); }

    void showsEveryRowInBothThemes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void showsEveryRowInBothThemes()
    {
        QFETCH(QString, theme);
        removeDataDirectory();
        storeProfiles({{"default", {}},
                       {"Shooter",
                        {{"recoil-ak.lua", "Alt+1", {}},
                         {"recoil-m4.lua", "Alt+2", {1.2, 1.0, 0.9, 1}},
                         {"rapid-fire.lua", "Ctrl+Shift+F", {}},
                         {"", "", {}}}}},
                      "Shooter");
        QList<ScenarioProfile> profiles = readProfiles(profilesFilePath());
        profiles[1].programs = {"shooter.exe", "shooter-launcher.exe"};
        QVERIFY(saveProfiles(profiles));
        AppSettings settings = loadSettings();
        settings.lastPage = "scriptsList";
        settings.theme = theme;
        saveSettings(settings);
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));

        // The rapid-fire scenario failed on its last press: its row has the error mark.
        const QString failed = QDir(profileDirectory("Shooter")).filePath("rapid-fire.lua");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Ошибка Lua в OnEvent: "));
        ScenarioFailures::instance().report(
            failed,
            QString("Ошибка Lua в OnEvent: %1:7: attempt to perform arithmetic on global "
                    "'speed' (a nil value)")
                .arg(failed),
            {});
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* page = window->findChild<ScriptsListWidget*>("pageScriptsList");
        QVERIFY(page && page->isVisible());
        QVERIFY(!page->row(2)->shownError().isEmpty());
        page->slotActiveLuaChanged("recoil-ak");
        QCoreApplication::processEvents();

        // Every row lies whole inside the list's visible area.
        const QListWidget* list = control<QListWidget>(*page, "listWidgetScripts");
        QCOMPARE(list->count(), 4);
        for (int i = 0; i < list->count(); ++i) {
            const QRect shown = list->visualItemRect(list->item(i));
            QVERIFY2(list->viewport()->rect().contains(shown), qPrintable(QString::number(i)));
            QVERIFY(shown.contains(page->row(i)->geometry()));
        }

        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        const QString name = theme == "light" ? "light" : "dark";
        if (!directory.isEmpty()) {
            window->grab().toImage().save(QDir(QString::fromLocal8Bit(directory))
                                              .filePath(QString("scripts-%1.png").arg(name)));
        }

        // On the profile tab, which grows to hold them, the profile's programs lie whole inside
        // their list, and the scenarios below it.
        auto* tabs = control<QTabWidget>(*page, "tabWidget");
        tabs->setCurrentWidget(control(*page, "prifile"));
        const QListWidget* programs = control<QListWidget>(*page, "programList");
        QCOMPARE(programs->count(), 2);
        const auto programsWhole = [programs] {
            for (int i = 0; i < programs->count(); ++i) {
                const QRect shown = programs->visualItemRect(programs->item(i));
                if (shown.isEmpty() || !programs->viewport()->rect().contains(shown))
                    return false;
            }
            return true;
        };
        QTRY_VERIFY(programsWhole() && tabs->geometry().bottom() < list->geometry().top());
        if (!directory.isEmpty()) {
            window->grab().toImage().save(
                QDir(QString::fromLocal8Bit(directory))
                    .filePath(QString("scripts-profile-%1.png").arg(name)));
        }
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme("default");
        ScenarioFailures::instance().clear(failed);
    }

    // While it records, the recorder's row says so and offers "Стоп" only, whole on the tab.
    void showsTheRecorderWhileItRecords()
    {
        ScriptedPrompter prompter;
        removeDataDirectory();
        storeProfiles({{"default", {{"recoil-ak.lua", "Alt+1"}, {"rapid-fire.lua", "Alt+2"}}}});
        AppSettings settings = loadSettings();
        settings.lastPage = "scriptsList";
        saveSettings(settings);
        qApp->setStyleSheet(loadThemeStyleSheet("default"));
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* page = window->findChild<ScriptsListWidget*>("pageScriptsList");

        click(*page, "recordButton");
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(*page, "recordingStateLabel")->text(), "● Запись",
                                  5000);
        QVERIFY(control(*page, "recordStopButton")->isEnabled());
        QVERIFY(!control(*page, "recordButton")->isEnabled());
        const QWidget* tab = control(*page, "script");
        for (const char* name : {"recordButton", "recordStopButton", "recordDelaySpinBox"}) {
            const QWidget* shown = control(*page, name);
            QVERIFY2(tab->rect().contains(QRect(shown->mapTo(tab, QPoint()), shown->size())), name);
        }
        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty())
            window->grab().toImage().save(
                QDir(QString::fromLocal8Bit(directory)).filePath("scripts-recording.png"));
        qApp->setStyleSheet(QString());
    }
};

CLAVITOR_TEST(ScriptsPageScreenshotTest);
#include "ScriptsPageScreenshotTest.moc"
