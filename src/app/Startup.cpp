#include "Startup.h"

#include "AppProperties.h"
#include "SettingsFile.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/Prompter.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QNetworkProxyFactory>

#include <memory>

namespace {

const char kApplicationVersion[] = "3.2.0";

// Shown until the main window takes its place. Closing it ends the program, since it has
// no tray icon to return from.
std::unique_ptr<QWidget> createPlaceholderWindow()
{
    auto window = std::make_unique<QLabel>(
        QStringLiteral("Clavitor %1").arg(QCoreApplication::applicationVersion()));
    window->setAlignment(Qt::AlignCenter);
    window->setWindowTitle(QStringLiteral("Clavitor"));
    window->resize(900, 506);
    QObject::connect(qApp, &QApplication::lastWindowClosed, qApp, &QCoreApplication::quit);
    return window;
}

} // namespace

AppSettings Startup::publishSettings()
{
    // loadSettings has already normalised the language and the theme and written the file
    // back when either changed, so the record can be published as it is.
    const AppSettings settings = loadSettings();
    applySettings(settings);
    publishModifierDefaults();
    return settings;
}

int Startup::run(QApplication& app)
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    const QString appDirectory = QCoreApplication::applicationDirPath();
    LanguageManager::instance().initialize(
        {appDirectory + QStringLiteral("/resources/translations"), appDirectory,
         QStringLiteral(":/i18n")},
        QStringLiteral("clavitor"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kApplicationVersion));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/clvLogoCrop.svg")));

    // loadSettings has normalised the language and the theme by now.
    const AppSettings settings = publishSettings();
    LanguageManager::instance().setLanguage(settings.language);
    registerEmbeddedFonts();
    IconManager::instance().setTheme(settings.theme);
    QGuiApplication::setWindowIcon(IconManager::instance().icon(QStringLiteral("clvLogoCrop")));
    const QString styleSheet = loadThemeStyleSheet(settings.theme);
    if (styleSheet.isEmpty()) {
        Prompter::message(Prompt::Kind::Critical, nullptr, QStringLiteral("Clavitor"),
                          QCoreApplication::translate("Startup",
                                                      "Не удалось загрузить стили интерфейса."));
    } else {
        app.setStyleSheet(styleSheet);
    }

    std::unique_ptr<QWidget> window = createPlaceholderWindow();
    window->show();
    const int exitCode = app.exec();
    window.reset();
    return exitCode;
}
