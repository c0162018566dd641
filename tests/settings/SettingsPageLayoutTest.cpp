#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/Startup.h"
#include "core/OverlaySnapshot.h"
#include "core/SettingsFile.h"
#include "overlay/OverlayController.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

// The page in the main window: every tab fits the window's start height in both themes.
// With CLAVITOR_SCREENSHOT_DIR set, each tab is written there as settings-<tab>-<theme>.png.
class SettingsPageLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerEmbeddedFonts(); }

    void cleanup()
    {
        qApp->setStyleSheet({});
        IconManager::instance().setTheme(QStringLiteral("default"));
    }

    void everyTabFitsTheWindow_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void everyTabFitsTheWindow()
    {
        QFETCH(QString, theme);
        OverlaySnapshot::clear();
        AppSettings settings;
        settings.theme = theme;
        settings.lastPage = QStringLiteral("settings");
        settings.overlay.positionMode = 4;
        settings.overlay.customPosition = QPoint(1520, 40);
        settings.overlay.textColor = QColor(0xFFD666);
        saveSettings(settings);
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        LanguageManager::instance().initialize({QStringLiteral(":/i18n")},
                                               QStringLiteral("clavitor"));
        QVERIFY(LanguageManager::instance().setLanguage(QStringLiteral("ru")));
        ScriptedPrompter prompter;

        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        const QWidget* page = window->findChild<QWidget*>(QStringLiteral("pageSettings"));
        auto* tabs = page ? page->findChild<QTabWidget*>(QStringLiteral("tabWidget")) : nullptr;
        const QWidget* content = window->findChild<QWidget*>(QStringLiteral("windowContent"));
        const QWidget* save = window->findChild<QPushButton*>(QStringLiteral("pushButtonSave"));
        QVERIFY(tabs && content && save);
        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents(); // the tab widget takes the tab's height
            QCoreApplication::processEvents();
            const QRect saveArea(save->mapTo(content, QPoint(0, 0)), save->size());
            QVERIFY2(content->rect().contains(saveArea),
                     qPrintable(tabs->widget(tab)->objectName()));
            if (!directory.isEmpty()) {
                window->grab().save(QDir(QString::fromLocal8Bit(directory))
                                        .filePath(QStringLiteral("settings-%1-%2.png")
                                                      .arg(tabs->widget(tab)->objectName(),
                                                           theme == "light" ? "light" : "dark")));
            }
        }
        QVERIFY(prompter.prompts.isEmpty());
        OverlayController::instance().setSettings({}); // hides the overlay again
    }
};

CLAVITOR_TEST(SettingsPageLayoutTest);
#include "SettingsPageLayoutTest.moc"
