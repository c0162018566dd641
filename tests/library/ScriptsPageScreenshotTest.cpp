#include "ScriptsPage.h"
#include "TestRegistry.h"

#include "app/Startup.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QApplication>
#include <QListWidget>

// The scenario page in the window as the user sees it, in both themes.
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
        AppSettings settings = loadSettings();
        settings.lastPage = "scriptsList";
        settings.theme = theme;
        saveSettings(settings);
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));

        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* page = window->findChild<ScriptsListWidget*>("pageScriptsList");
        QVERIFY(page && page->isVisible());
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
        if (!directory.isEmpty()) {
            const QString name = theme == "light" ? "light" : "dark";
            window->grab().toImage().save(QDir(QString::fromLocal8Bit(directory))
                                              .filePath(QString("scripts-%1.png").arg(name)));
        }
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme("default");
    }
};

CLAVITOR_TEST(ScriptsPageScreenshotTest);
#include "ScriptsPageScreenshotTest.moc"
