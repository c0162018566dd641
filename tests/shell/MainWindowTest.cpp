#include "ScriptedPrompter.h"
#include "ShellTestSupport.h"
#include "TestRegistry.h"

#include "app/Startup.h"
#include "scenarios/ScriptsListWidget.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"
#include "ui/shell/MainWidget.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

QColor pixelAt(const QImage& image, const QWidget* window, const QWidget* widget, QPoint point)
{
    return image.pixelColor(widget->mapTo(window, point) * image.devicePixelRatio());
}

// The colour the stylesheet gives the current page's button, in both themes.
const QColor kPrimary(169, 155, 242);

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerEmbeddedFonts(); }

    void opensCentredAndOnTheStoredPage()
    {
        storeLastPage(QStringLiteral("autoclicker"));
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();

        QVERIFY(window->isVisible());
        QCOMPARE(window->height(), 630);
        QCOMPARE(window->geometry().center(),
                 QGuiApplication::primaryScreen()->availableGeometry().center());
        auto* content = qobject_cast<MainWidget*>(window->contentWidget());
        QVERIFY(content);
        QCOMPARE(content->currentPage(), MainWidget::Page::Autoclicker);
    }

    void anActiveScenarioLocksTheAutoclicker()
    {
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* scenarios = window->findChild<ScriptsListWidget*>("pageScriptsList");
        auto* enable = window->findChild<QWidget*>("pageAutoclicker")->findChild<QWidget*>(
            "enableButton");
        QVERIFY(scenarios && enable && enable->isEnabled());
        emit scenarios->sigScenarioActivationChanged(true);
        QVERIFY(!enable->isEnabled());
        emit scenarios->sigScenarioActivationChanged(false);
        QVERIFY(enable->isEnabled());
    }

    void desktopThatCannotBeReachedIsNamedToTheUser()
    {
        using platform::DesktopSupport;
        ScriptedPrompter prompter;
        Startup::warnAboutDesktop(DesktopSupport::Supported, "xcb", nullptr);
        Startup::warnAboutDesktop(DesktopSupport::SimulatedOnRequest, "xcb", nullptr);
        Startup::warnAboutDesktop(DesktopSupport::NoBackend, "offscreen", nullptr);
        QVERIFY(prompter.prompts.isEmpty());

        Startup::warnAboutDesktop(DesktopSupport::NoBackend, "wayland", nullptr);
        Startup::warnAboutDesktop(DesktopSupport::MissingExtensions, "xcb", nullptr);
        QCOMPARE(prompter.prompts.size(), 2);
        QCOMPARE(prompter.prompts[0].kind, Prompt::Kind::Warning);
        QVERIFY(prompter.prompts[0].text.contains("(wayland)"));
        QVERIFY(prompter.prompts[0].text.contains("QT_QPA_PLATFORM=xcb"));
        QVERIFY(prompter.prompts[1].text.contains("XTEST"));
    }

    void marksTheCurrentPageInEachThemeAndLanguage_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QColor>("background");
        QTest::newRow("dark, Russian") << "default"
                                       << "ru" << QColor(23, 23, 23);
        QTest::newRow("dark, English") << "default"
                                       << "en" << QColor(23, 23, 23);
        QTest::newRow("light, Russian") << "light"
                                        << "ru" << QColor(247, 247, 250);
        QTest::newRow("light, English") << "light"
                                        << "en" << QColor(247, 247, 250);
    }
    void marksTheCurrentPageInEachThemeAndLanguage()
    {
        QFETCH(QString, theme);
        QFETCH(QString, language);
        QFETCH(QColor, background);
        AppSettings settings;
        settings.theme = theme;
        settings.language = language;
        saveSettings(settings);
        LanguageManager::instance().initialize({QStringLiteral(":/i18n")},
                                               QStringLiteral("clavitor"));
        QVERIFY(LanguageManager::instance().setLanguage(language));
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));

        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* home = window->findChild<QPushButton*>("pushButtonHome");
        auto* scripts = window->findChild<QPushButton*>("pushButtonScriptsList");
        QImage image = window->grab().toImage();
        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        if (!directory.isEmpty()) {
            const QString name = theme == QLatin1String("light") ? "light" : "dark";
            image.save(QDir(QString::fromLocal8Bit(directory))
                           .filePath(QStringLiteral("main-%1-%2.png").arg(name, language)));
        }
        const QWidget* frame = window->findChild<QWidget*>("windowFrame");
        QCOMPARE(pixelAt(image, window.get(), frame, {frame->width() - 5, frame->height() / 2}),
                 background);
        QCOMPARE(pixelAt(image, window.get(), home, {home->width() / 2, 3}), kPrimary);
        QVERIFY(pixelAt(image, window.get(), scripts, {scripts->width() / 2, 3}) != kPrimary);

        QTest::mouseClick(scripts, Qt::LeftButton);
        image = window->grab().toImage();
        QCOMPARE(pixelAt(image, window.get(), scripts, {scripts->width() / 2, 3}), kPrimary);
        QVERIFY(pixelAt(image, window.get(), home, {home->width() / 2, 3}) != kPrimary);

        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme(QStringLiteral("default"));
        QVERIFY(LanguageManager::instance().setLanguage(QStringLiteral("ru")));
    }
};

CLAVITOR_TEST(MainWindowTest);
#include "MainWindowTest.moc"
