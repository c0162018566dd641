#include "Startup.h"

#include "SingleInstance.h"
#include "core/AppProperties.h"
#include "core/DataDirectory.h"
#include "core/ElevatedRestart.h"
#include "core/SettingsFile.h"
#include "core/SettingsNormalization.h"
#include "log/LogJournal.h"
#include "log/MessageCapture.h"
#include "overlay/OverlayController.h"
#include "overlay/ScenarioErrorNotice.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/prompts/Prompter.h"
#include "ui/shell/FramelessWindow.h"
#include "ui/shell/MainWidget.h"
#include "ui/widgets/WheelEventBlocker.h"

#include <QApplication>
#include <QIcon>
#include <QNetworkProxyFactory>
#include <QScreen>

namespace {

// The release version, the project's own (the packages carry the same).
const char kApplicationVersion[] = CLAVITOR_VERSION;
// The window's size at start, whatever the language: the pages lay themselves out within it.
const QSize kMainWindowSize(770, 630);

// Gives the window its start size (no smaller than its content's minimum), keeping its top
// left corner, and centres it on the primary screen's available area.
void placeMainWindow(QWidget& window)
{
    window.resize(kMainWindowSize.expandedTo(window.minimumSizeHint()));

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int centreX = (area.left() + area.right()) / 2;
    const int centreY = (area.top() + area.bottom()) / 2;
    window.move(centreX - (window.width() - 1) / 2, centreY - (window.height() - 1) / 2);
}

} // namespace

std::unique_ptr<FramelessWindow> Startup::createMainWindow()
{
    auto window = std::make_unique<FramelessWindow>();
    auto* content = new MainWidget;
    window->setContentWidget(content);
    placeMainWindow(*window);
    window->update();
    if (!window->isVisible())
        window->show();
    return window;
}

void Startup::warnAboutDesktop(platform::DesktopSupport support, const QString& platformName,
                               QWidget* window)
{
    if (platformName == u"offscreen" || platformName == u"minimal")
        return;
    QString text;
    switch (support) {
    case platform::DesktopSupport::Supported:
    case platform::DesktopSupport::SimulatedOnRequest:
        return;
    case platform::DesktopSupport::NoBackend:
        text = QCoreApplication::translate(
                   "Startup",
                   "Clavitor не может работать с этим рабочим столом (%1): горячие клавиши, ввод "
                   "и перехват кнопок мыши действуют только внутри программы. Запустите Clavitor "
                   "в сеансе X11, а в сеансе Wayland — через XWayland, с переменной окружения "
                   "QT_QPA_PLATFORM=xcb.")
                   .arg(platformName);
        break;
    case platform::DesktopSupport::MissingExtensions:
        text = QCoreApplication::translate(
            "Startup",
            "У сервера X11 нет расширения XTEST или XKB: горячие клавиши, ввод и перехват кнопок "
            "мыши действуют только внутри программы. Запустите Clavitor на сервере X11 с этими "
            "расширениями.");
        break;
    }
    Prompter::message(Prompt::Kind::Warning, window, QStringLiteral("Clavitor"), text);
}

int Startup::run(QApplication& app, platform::DesktopSupport support)
{
    // What the program logs from here on reaches the log page too.
    MessageCapture::install(LogJournal::instance());
    const int exitCode = runCaptured(app, support);
    LogJournal::instance().flush();
    MessageCapture::uninstall();
    return exitCode;
}

int Startup::runCaptured(QApplication& app, platform::DesktopSupport support)
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    const QString appDirectory = QCoreApplication::applicationDirPath();
    LanguageManager::instance().initialize(
        {appDirectory + QStringLiteral("/resources/translations"), appDirectory,
         QStringLiteral(":/i18n")},
        QStringLiteral("clavitor"));
    // An instance that restarted itself with the administrator's rights hands its data folder
    // over and ends: this one takes over once it did.
    const QStringList arguments = QCoreApplication::arguments();
    const std::optional<QString> handedDirectory = ElevatedRestart::handedDataDirectory(arguments);
    if (handedDirectory)
        useDataDirectory(*handedDirectory);
    // Before anything is read or written: a later start hands over to the running one.
    SingleInstance instance(dataDirectoryPath());
    switch (handedDirectory ? instance.takeOver() : instance.claim()) {
    case SingleInstance::Claim::First:
        // The installer waits while a Clavitor of the session runs.
        platform::Platform::current().markRunning(
            QStringLiteral("Local\\" CLAVITOR_APP_ID).toStdWString());
        // Only the instance that runs writes the log file.
        LogJournal::instance().setFileFolder(dataDirectoryPath());
        break;
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::Failed:
        Prompter::message(Prompt::Kind::Critical, nullptr, QStringLiteral("Clavitor"),
                          QCoreApplication::translate(
                              "Startup", "Clavitor уже запущен, но не отвечает. Завершите его "
                                         "и запустите Clavitor снова."));
        return 1;
    }
    // loadSettings normalises the language and the theme, and writes the file back when it
    // had to change either, so nothing is left to normalise or save here.
    const AppSettings settings = loadSettings();
    // The elevated instance takes over once this one ends, which lets go of the data folder.
    if (ElevatedRestart::isWanted(settings.runElevated, arguments) &&
        ElevatedRestart::start(dataDirectoryPath()))
        return 0;
    LanguageManager::instance().setLanguage(settings.language);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kApplicationVersion));
    // Desktops match the window to the installed desktop file and icon by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral(CLAVITOR_APP_ID));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/clvLogoCrop.svg")));
    auto wheelEventBlocker = std::make_unique<WheelEventBlocker>();
    app.installEventFilter(wheelEventBlocker.get());
    registerEmbeddedFonts();
    applySettings(settings);
    OverlayController::instance().applyStored(settings.overlay,
                                              storedHotkey(settings.overlayHotkey));
    IconManager::instance().setTheme(settings.theme);
    QGuiApplication::setWindowIcon(IconManager::instance().icon(QStringLiteral("clvLogoCrop")));
    publishModifierDefaults();
    const QString styleSheet = loadThemeStyleSheet(settings.theme);
    if (styleSheet.isEmpty()) {
        Prompter::message(
            Prompt::Kind::Critical, nullptr, QStringLiteral("Clavitor"),
            QCoreApplication::translate("Startup", "Не удалось загрузить стили интерфейса."));
    } else {
        app.setStyleSheet(styleSheet);
    }

    const ScenarioErrorNotice errorNotice;
    std::unique_ptr<FramelessWindow> window = createMainWindow();
    QObject::connect(&instance, &SingleInstance::showRequested, window.get(),
                     &FramelessWindow::bringToFront);
    warnAboutDesktop(support, QGuiApplication::platformName(), window.get());
    const int exitCode = app.exec();
    window.reset();
    wheelEventBlocker.reset();
    return exitCode;
}
