#include "ScriptedPrompter.h"
#include "ShellTestSupport.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "scenarios/ScriptsListWidget.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/MainWidget.h"
#include "ui/shell/MakerPages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

const char* const kPageButtons[] = {"pushButtonHome", "pushButtonScriptsList",
                                    "pushButtonAutoclicker", "pushButtonLog",
                                    "pushButtonSettings"};

QPushButton* button(const MainWidget& widget, const char* name)
{
    auto* result = widget.findChild<QPushButton*>(QLatin1String(name));
    if (!result)
        qFatal("no button %s", name);
    return result;
}

QString shownPage(const MainWidget& widget)
{
    return widget.findChild<QStackedWidget*>("stackedWidget")->currentWidget()->objectName();
}

// The page buttons marked as current for the stylesheet.
QStringList currentButtons(const MainWidget& widget)
{
    QStringList names;
    for (const char* name : kPageButtons) {
        if (button(widget, name)->property("IsCurrent").toBool())
            names << QLatin1String(name);
    }
    return names;
}

} // namespace

class MainWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { storeLastPage(QStringLiteral("home")); }

    void opensTheStoredPageWithoutWriting_data()
    {
        QTest::addColumn<QString>("lastPage");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("pageButton");
        QTest::newRow("settings") << "settings"
                                  << "pageSettings"
                                  << "pushButtonSettings";
        QTest::newRow("scriptsList") << "scriptsList"
                                     << "pageScriptsList"
                                     << "pushButtonScriptsList";
        QTest::newRow("autoclicker") << "autoclicker"
                                     << "pageAutoclicker"
                                     << "pushButtonAutoclicker";
        QTest::newRow("log") << "log"
                             << "pageLog"
                             << "pushButtonLog";
        QTest::newRow("home") << "home"
                              << "pageHome"
                              << "pushButtonHome";
        QTest::newRow("unknown id") << "scripts"
                                    << "pageHome"
                                    << "pushButtonHome";
        QTest::newRow("other case") << "Settings"
                                    << "pageHome"
                                    << "pushButtonHome";
        QTest::newRow("empty") << ""
                               << "pageHome"
                               << "pushButtonHome";
    }
    void opensTheStoredPageWithoutWriting()
    {
        QFETCH(QString, lastPage);
        QFETCH(QString, page);
        QFETCH(QString, pageButton);
        storeLastPage(lastPage);
        const QByteArray stored = settingsBytes();
        ageSettingsFile();

        const MainWidget widget;

        QCOMPARE(shownPage(widget), page);
        QCOMPARE(currentButtons(widget), QStringList{pageButton});
        QVERIFY(!settingsFileWritten());
        QCOMPARE(settingsBytes(), stored);
    }

    void pageButtonsShowAndRememberTheirPages()
    {
        MainWidget widget;
        widget.show();
        QTest::mouseClick(button(widget, "pushButtonAutoclicker"), Qt::LeftButton);
        QCOMPARE(shownPage(widget), "pageAutoclicker");
        QCOMPARE(currentButtons(widget), QStringList{"pushButtonAutoclicker"});
        QCOMPARE(loadSettings().lastPage, "autoclicker");

        // The page shown already: nothing to remember.
        ageSettingsFile();
        QTest::mouseClick(button(widget, "pushButtonAutoclicker"), Qt::LeftButton);
        QVERIFY(!settingsFileWritten());

        QTest::mouseClick(button(widget, "pushButtonSettings"), Qt::LeftButton);
        QCOMPARE(shownPage(widget), "pageSettings");
        QCOMPARE(loadSettings().lastPage, "settings");
        QTest::mouseClick(button(widget, "pushButtonHome"), Qt::LeftButton);
        QCOMPARE(shownPage(widget), "pageHome");
        QCOMPARE(loadSettings().lastPage, "home");

        // The home page's cards lead to their pages the same way.
        QTest::mouseClick(button(widget, "scriptsGoButton"), Qt::LeftButton);
        QCOMPARE(shownPage(widget), "pageScriptsList");
        QCOMPARE(currentButtons(widget), QStringList{"pushButtonScriptsList"});
        QCOMPARE(loadSettings().lastPage, "scriptsList");
        QTest::mouseClick(button(widget, "pushButtonHome"), Qt::LeftButton);
        QTest::mouseClick(button(widget, "autoclickerGoButton"), Qt::LeftButton);
        QCOMPARE(shownPage(widget), "pageAutoclicker");
        QCOMPARE(loadSettings().lastPage, "autoclicker");
    }

    // A scenario row's error mark opens the log on that scenario's lines.
    void aRowsErrorMarkOpensTheLogOnItsScenario()
    {
        MainWidget widget;
        auto* scenarios = widget.findChild<ScriptsListWidget*>("pageScriptsList");
        emit scenarios->logRequested(QStringLiteral("aim"));
        QCOMPARE(shownPage(widget), "pageLog");
        QCOMPARE(currentButtons(widget), QStringList{"pushButtonLog"});
        QCOMPARE(widget.findChild<QComboBox*>("scenarioCombo")->currentText(),
                 QStringLiteral("aim"));
    }

    // The test platform has no browser: every link says so, with its address.
    void linksThatCannotOpenSaySo()
    {
        ScriptedPrompter prompter;
        const MainWidget widget;
        const char* const links[] = {"pushButtonWebSite", "pushButtonTelegram",
                                     "pushButtonVkontakte", "autoclickerInstructionButton",
                                     "scriptsInstructionButton"};
        for (const char* name : links)
            button(widget, name)->click();
        QStringList texts;
        for (const Prompt& prompt : prompter.prompts) {
            QCOMPARE(prompt.kind, Prompt::Kind::Warning);
            texts << prompt.text;
        }
        const QString text = QStringLiteral("Не удалось открыть ссылку \"") +
                             QLatin1String(kMakerBaseUrl) +
                             QStringLiteral("%1\": в системе не найден браузер.");
        QCOMPARE(texts, (QStringList{text.arg(""), text.arg("/telegram"), text.arg("/vk"),
                                     text.arg("/guide/autoclicker"), text.arg("/guide/scripts")}));
    }

    void themeButtonSwitchesAndRemembersTheTheme()
    {
        MainWidget widget;
        widget.show();
        QPushButton* theme = button(widget, "pushButtonTheme");
        QCOMPARE(theme->toolTip(), "Включить светлую тему");
        QCOMPARE(theme->accessibleName(), "Переключить на светлую тему");

        QTest::mouseClick(theme, Qt::LeftButton);
        QCOMPARE(qApp->styleSheet(), loadThemeStyleSheet("light"));
        QCOMPARE(qApp->property(AppProperty::theme).toString(), "light");
        QCOMPARE(IconManager::instance().theme(), "light");
        QCOMPARE(loadSettings().theme, "light");
        QCOMPARE(theme->toolTip(), "Включить тёмную тему");
        QCOMPARE(theme->accessibleName(), "Переключить на тёмную тему");
        QVERIFY(!widget.applyTheme("Light"));

        QTest::mouseClick(theme, Qt::LeftButton);
        QCOMPARE(qApp->styleSheet(), loadThemeStyleSheet("default"));
        QCOMPARE(qApp->property(AppProperty::theme).toString(), "default");
        QCOMPARE(IconManager::instance().theme(), "default");
        QCOMPARE(loadSettings().theme, "default");
        QCOMPARE(theme->toolTip(), "Включить светлую тему");
        qApp->setStyleSheet(QString());
    }

    void languageButtonSwitchesAndRemembersTheLanguage()
    {
        LanguageManager& languages = LanguageManager::instance();
        languages.initialize({QStringLiteral(":/i18n")}, QStringLiteral("clavitor"));
        QVERIFY(languages.setLanguage("ru"));
        MainWidget widget;
        widget.show();
        QPushButton* language = button(widget, "pushButtonLanguage");
        QCOMPARE(language->toolTip(), "Переключить на английский язык");
        QCOMPARE(language->accessibleName(), "Переключить на английский язык");

        QTest::mouseClick(language, Qt::LeftButton);
        QCOMPARE(languages.currentLanguage(), "en");
        QCOMPARE(loadSettings().language, "en");
        QCOMPARE(language->toolTip(), "Switch to Russian");
        QCOMPARE(button(widget, "pushButtonHome")->toolTip(), "Home");
        QCOMPARE(button(widget, "pushButtonTheme")->toolTip(), "Enable light theme");
        const QWidget* home = widget.findChild<QWidget*>("pageHome");
        QCOMPARE(home->findChild<QLabel*>("pageTitle")->text(), "Home");
        QCOMPARE(button(widget, "scriptsInstructionButton")->text(), "Guide");
        // The log page: its kinds and the first choice of scenarios.
        QCOMPARE(button(widget, "pushButtonLog")->toolTip(), "Log");
        QCOMPARE(widget.findChild<QCheckBox*>("kindBox_error")->text(), "Error");
        QCOMPARE(widget.findChild<QComboBox*>("scenarioCombo")->itemText(0), "All scripts");

        QTest::mouseClick(language, Qt::LeftButton);
        QCOMPARE(languages.currentLanguage(), "ru");
        QCOMPARE(loadSettings().language, "ru");
        QCOMPARE(language->toolTip(), "Переключить на английский язык");
        QCOMPARE(home->findChild<QLabel*>("pageTitle")->text(), "Главная");
        QCOMPARE(widget.findChild<QCheckBox*>("kindBox_error")->text(), "Ошибка");
    }
};

CLAVITOR_TEST(MainWidgetTest);
#include "MainWidgetTest.moc"
