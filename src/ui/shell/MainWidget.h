#pragma once

#include <QString>
#include <QWidget>

#include <memory>

class QAbstractButton;

namespace Ui {
class MainWidget;
}

// The window's content: a sidebar of icon buttons (pages, the maker's links, language and
// theme switches) beside the stack of pages. Opens on the page shown last, as the settings
// remember it, and remembers every page the user opens.
class MainWidget : public QWidget
{
    Q_OBJECT

public:
    enum class Page
    {
        Home,
        ScriptsList,
        Autoclicker,
        Log,
        Settings
    };

    explicit MainWidget(QWidget* parent = nullptr);
    ~MainWidget() override;

    // The page's id in the settings' lastPage: "home", "scriptsList", "autoclicker", "log",
    // "settings".
    static QString pageId(Page page);

    Page currentPage() const { return m_currentPage; }
    // Marks the page's sidebar button as current and shows the page; with save, the page
    // becomes the settings' lastPage unless it already is.
    void switchPage(Page page, bool save);

    // Switches the application to the theme. False, changing nothing, when it is the current
    // theme already or its stylesheet cannot be loaded (the user is told).
    bool applyTheme(const QString& themeId);
    void refreshThemeButton();
    void refreshLanguageButton();

    // Opens the log page on the lines of the scenario.
    void showLog(const QString& scenario);

public slots:
    void slotHomeClicked();
    void slotScriptsListClicked();
    void slotAutoclickerClicked();
    void slotLogClicked();
    void slotSettingsClicked();
    void slotWebClicked();
    void slotTelegramClicked();
    void slotVkClicked();
    void slotThemeClicked();
    void slotLanguageClicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    QAbstractButton* pageButton(Page page) const;
    QWidget* pageWidget(Page page) const;

    std::unique_ptr<Ui::MainWidget> ui;
    QString m_theme;
    QString m_language;
    Page m_currentPage = Page::Home;
};
