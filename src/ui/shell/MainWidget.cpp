#include "MainWidget.h"

#include "MakerPages.h"
#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "following/ElevationWarning.h"
#include "following/FollowingSetting.h"
#include "following/ProfileFollower.h"
#include "scenarios/FollowingConnections.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/prompts/Prompter.h"
#include "ui_MainWidget.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>

namespace {

struct PageEntry
{
    MainWidget::Page page;
    const char* id;
};

constexpr PageEntry kPages[] = {
    {MainWidget::Page::Home, "home"},
    {MainWidget::Page::ScriptsList, "scriptsList"},
    {MainWidget::Page::Autoclicker, "autoclicker"},
    {MainWidget::Page::Log, "log"},
    {MainWidget::Page::Settings, "settings"},
};

MainWidget::Page pageFromId(const QString& id)
{
    for (const PageEntry& entry : kPages) {
        if (id == QLatin1String(entry.id))
            return entry.page;
    }
    return MainWidget::Page::Home;
}

// Writes one text field of the settings file, unless the file holds that value already.
void storeSetting(QString AppSettings::*field, const QString& value)
{
    AppSettings settings = loadSettings();
    if (settings.*field == value)
        return;
    settings.*field = value;
    saveSettings(settings);
}

} // namespace

MainWidget::MainWidget(QWidget* parent) : QWidget(parent), ui(new Ui::MainWidget)
{
    ui->setupUi(this);
    // While a scenario is active the autoclicker stands still.
    connect(ui->pageScriptsList, &ScriptsListWidget::sigScenarioActivationChanged,
            ui->pageAutoclicker, &AutoclickerWidget::onScenarioActivationChanged);
    // A row's error mark opens the log on its scenario's lines.
    connect(ui->pageScriptsList, &ScriptsListWidget::logRequested, this, &MainWidget::showLog);
    // The scenario page follows the program in front unless the user turned that off (the
    // follower is owned by the page and hears the page's switch for it).
    ScriptsListWidget& page = *ui->pageScriptsList;
    auto* follower = new ProfileFollower(page, &page);
    FollowingConnections::connect(page, *follower);
    follower->setEnabled(loadFollowingEnabled());
    // The user hears of programs in front that run with rights Clavitor lacks.
    FollowingConnections::connect(page, *new ElevationWarning(page.foregroundWatch(), &page));
    // The pages keep their distance from the sidebar.
    ui->stackedWidget->setContentsMargins(12, 0, 0, 0);

    const QList<QPushButton*> sidebarButtons = {
        ui->pushButtonHome,     ui->pushButtonScriptsList, ui->pushButtonAutoclicker,
        ui->pushButtonLog,      ui->pushButtonSettings,    ui->pushButtonWebSite,
        ui->pushButtonTelegram, ui->pushButtonVkontakte,   ui->pushButtonLanguage,
        ui->pushButtonTheme};
    for (QPushButton* button : sidebarButtons) {
        button->setFixedSize(40, 40);
        button->setIconSize(QSize(20, 20));
        button->setCursor(Qt::PointingHandCursor);
        button->setText(QString());
        button->setProperty("buttonStyle", QStringLiteral("ghost"));
    }

    connect(ui->pushButtonHome, &QPushButton::clicked, this, &MainWidget::slotHomeClicked);
    connect(ui->pushButtonScriptsList, &QPushButton::clicked, this,
            &MainWidget::slotScriptsListClicked);
    connect(ui->pushButtonAutoclicker, &QPushButton::clicked, this,
            &MainWidget::slotAutoclickerClicked);
    connect(ui->pushButtonLog, &QPushButton::clicked, this, &MainWidget::slotLogClicked);
    connect(ui->pushButtonSettings, &QPushButton::clicked, this, &MainWidget::slotSettingsClicked);
    connect(ui->pushButtonWebSite, &QPushButton::clicked, this, &MainWidget::slotWebClicked);
    connect(ui->pushButtonTelegram, &QPushButton::clicked, this, &MainWidget::slotTelegramClicked);
    connect(ui->pushButtonVkontakte, &QPushButton::clicked, this, &MainWidget::slotVkClicked);
    connect(ui->pushButtonTheme, &QPushButton::clicked, this, &MainWidget::slotThemeClicked);
    connect(ui->pushButtonLanguage, &QPushButton::clicked, this, &MainWidget::slotLanguageClicked);
    connect(ui->pageHome, &HomeWidget::openScriptsRequested, this,
            &MainWidget::slotScriptsListClicked);
    connect(ui->pageHome, &HomeWidget::openAutoclickerRequested, this,
            &MainWidget::slotAutoclickerClicked);

    LanguageManager& languages = LanguageManager::instance();
    m_language = languages.currentLanguage();
    if (m_language.isEmpty())
        m_language = systemLanguage();
    connect(&languages, &LanguageManager::languageChanged, this, [this](const QString& code) {
        m_language = code;
        refreshLanguageButton();
    });

    IconManager& icons = IconManager::instance();
    icons.setIcon(ui->pushButtonHome, QStringLiteral("home-3-fill"));
    icons.setIcon(ui->pushButtonScriptsList, QStringLiteral("puzzle-2-fill"));
    icons.setIcon(ui->pushButtonAutoclicker, QStringLiteral("mouse-fill"));
    icons.setIcon(ui->pushButtonLog, QStringLiteral("log-lines"));
    icons.setIcon(ui->pushButtonSettings, QStringLiteral("settings-3-fill"));
    icons.setIcon(ui->pushButtonWebSite, QStringLiteral("global-fill"));
    icons.setIcon(ui->pushButtonTelegram, QStringLiteral("telegram-2-fill"));
    icons.setIcon(ui->pushButtonVkontakte, QStringLiteral("vk-fill"));

    // loadSettings hands out the theme normalised, and has already written it back to the
    // file when it was not.
    const AppSettings settings = loadSettings();
    m_theme = settings.theme;

    refreshThemeButton();
    refreshLanguageButton();
    switchPage(pageFromId(settings.lastPage), false);
}

MainWidget::~MainWidget() = default;

QString MainWidget::pageId(Page page)
{
    for (const PageEntry& entry : kPages) {
        if (entry.page == page)
            return QString::fromLatin1(entry.id);
    }
    return {};
}

QAbstractButton* MainWidget::pageButton(Page page) const
{
    switch (page) {
    case Page::Home:
        return ui->pushButtonHome;
    case Page::ScriptsList:
        return ui->pushButtonScriptsList;
    case Page::Autoclicker:
        return ui->pushButtonAutoclicker;
    case Page::Log:
        return ui->pushButtonLog;
    case Page::Settings:
        return ui->pushButtonSettings;
    }
    return nullptr;
}

QWidget* MainWidget::pageWidget(Page page) const
{
    switch (page) {
    case Page::Home:
        return ui->pageHome;
    case Page::ScriptsList:
        return ui->pageScriptsList;
    case Page::Autoclicker:
        return ui->pageAutoclicker;
    case Page::Log:
        return ui->pageLog;
    case Page::Settings:
        return ui->pageSettings;
    }
    return nullptr;
}

void MainWidget::switchPage(Page page, bool save)
{
    for (const PageEntry& entry : kPages) {
        QAbstractButton* button = pageButton(entry.page);
        button->setProperty("IsCurrent", entry.page == page);
        // The stylesheet matches the property only when the button is polished again.
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
    ui->stackedWidget->setCurrentWidget(pageWidget(page));
    m_currentPage = page;
    if (save)
        storeSetting(&AppSettings::lastPage, pageId(page));
}

void MainWidget::slotHomeClicked()
{
    switchPage(Page::Home, true);
}

void MainWidget::slotScriptsListClicked()
{
    switchPage(Page::ScriptsList, true);
}

void MainWidget::slotAutoclickerClicked()
{
    switchPage(Page::Autoclicker, true);
}

void MainWidget::slotLogClicked()
{
    switchPage(Page::Log, true);
}

void MainWidget::showLog(const QString& scenario)
{
    ui->pageLog->showScenario(scenario);
    switchPage(Page::Log, true);
}

void MainWidget::slotSettingsClicked()
{
    switchPage(Page::Settings, true);
}

void MainWidget::slotWebClicked()
{
    openMakerPage(MakerPage::Website, this);
}

void MainWidget::slotTelegramClicked()
{
    openMakerPage(MakerPage::Telegram, this);
}

void MainWidget::slotVkClicked()
{
    openMakerPage(MakerPage::Vkontakte, this);
}

void MainWidget::slotThemeClicked()
{
    applyTheme(m_theme == QLatin1String("light") ? QStringLiteral("default")
                                                 : QStringLiteral("light"));
}

bool MainWidget::applyTheme(const QString& themeId)
{
    const QString theme = normalizeTheme(themeId);
    if (theme == m_theme)
        return false;
    const QString styleSheet = loadThemeStyleSheet(theme);
    if (styleSheet.isEmpty()) {
        Prompter::message(Prompt::Kind::Warning, this, QStringLiteral("Clavitor"),
                          tr("Не удалось загрузить выбранную тему."));
        return false;
    }
    qApp->setStyleSheet(styleSheet);
    m_theme = theme;
    qApp->setProperty(AppProperty::theme, theme);
    IconManager& icons = IconManager::instance();
    icons.setTheme(theme);
    QApplication::setWindowIcon(icons.icon(QStringLiteral("clvLogoCrop")));
    storeSetting(&AppSettings::theme, theme);
    refreshThemeButton();
    return true;
}

void MainWidget::refreshThemeButton()
{
    const bool light = m_theme == QLatin1String("light");
    IconManager::instance().setIcon(ui->pushButtonTheme, light ? QStringLiteral("moon-line")
                                                               : QStringLiteral("sun-line"));
    ui->pushButtonTheme->setToolTip(light ? tr("Включить тёмную тему")
                                          : tr("Включить светлую тему"));
    ui->pushButtonTheme->setAccessibleName(light ? tr("Переключить на тёмную тему")
                                                 : tr("Переключить на светлую тему"));
}

void MainWidget::slotLanguageClicked()
{
    const QString next = m_language.compare(QLatin1String("ru"), Qt::CaseInsensitive) == 0
                             ? QStringLiteral("en")
                             : QStringLiteral("ru");
    LanguageManager& languages = LanguageManager::instance();
    if (!languages.setLanguage(next))
        return;
    m_language = languages.currentLanguage();
    storeSetting(&AppSettings::language, m_language);
}

void MainWidget::refreshLanguageButton()
{
    const bool russian = m_language == QLatin1String("ru");
    QPushButton* button = ui->pushButtonLanguage;
    button->setIcon(
        QIcon(russian ? QStringLiteral(":/icons/russia.png") : QStringLiteral(":/icons/usa.png")));
    button->setIconSize(QSize(20, 20));
    button->setText(QString());
    const QString hint =
        russian ? tr("Переключить на английский язык") : tr("Переключить на русский язык");
    button->setToolTip(hint);
    button->setAccessibleName(hint);
}

void MainWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        refreshThemeButton();
        refreshLanguageButton();
    }
    QWidget::changeEvent(event);
}
