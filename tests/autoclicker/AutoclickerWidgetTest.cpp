#include "AutoclickerTestSupport.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "app/Startup.h"
#include "autoclicker/AutoClicker.h"
#include "autoclicker/AutoclickerWidget.h"
#include "core/DataDirectory.h"
#include "core/SettingsFile.h"
#include "hooks/QGlobalMouseHook.h"
#include "hotkeys/ShortcutRegistry.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/IconManager.h"
#include "ui/appearance/LanguageManager.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using platform::SimulatedPlatform;

namespace {

// Two profiles that click the left button every 10 ms without moving: "default" in the
// given mode and "second" in HoldLeft.
QByteArray twoProfiles(int mode, const char* secondHotkey = "Alt+C")
{
    return QStringLiteral(R"({"active": "default", "enabled": false, "profiles": [
        {"name": "default", "settings": {"inputType": "mouse", "useMove": false,
                                         "interval": 10, "mode": %1}},
        {"name": "second", "settings": {"inputType": "mouse", "useMove": false,
                                        "interval": 10, "mode": 1, "hotkey": "%2"}}]})")
        .arg(mode)
        .arg(QLatin1String(secondHotkey))
        .toUtf8();
}

QJsonObject storedFile()
{
    QFile file(AutoclickerFile::path());
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

QStringList storedNames()
{
    QStringList names;
    for (const QJsonValue& profile : storedFile().value("profiles").toArray())
        names << profile.toObject().value("name").toString();
    return names;
}

} // namespace

class AutoclickerWidgetTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingOverlay> m_overlay;
    std::unique_ptr<AutoclickerWidget> m_page;

    template <typename T> T* child(const char* name) const
    {
        T* found = m_page->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }
    AutoClicker* clicker() const { return child<AutoClicker>("clicker"); }

    void press(UINT modifiers, UINT key)
    {
        m_desktop->pressHotKey(modifiers, key);
        QCoreApplication::sendPostedEvents();
    }

    // One step of a story told in words.
    void act(const QString& step)
    {
        if (step == "arm")
            child<QPushButton>("enableButton")->setChecked(true);
        else if (step == "toggle")
            press(MOD_ALT, 'A');
        else if (step == "hotkey")
            press(MOD_ALT, 'C');
        else if (step.startsWith("scenario"))
            m_page->onScenarioActivationChanged(step.endsWith('+'));
        else if (step == "interval")
            child<QSpinBox>("intervalSpin")->setValue(20);
        else if (step.startsWith("repeat"))
            child<QSpinBox>("repeatSpin")->setValue(step.mid(6).toInt());
        else if (step.startsWith("mode"))
            child<QComboBox>("modeCombo")->setCurrentIndex(step.mid(4).toInt());
        else if (step == "profile")
            child<QComboBox>("comboBox")->setCurrentIndex(1);
        else
            qFatal("unknown step %s", qPrintable(step));
    }

    void openPage(const QByteArray& file)
    {
        writeAutoclickerFile(file);
        m_page = std::make_unique<AutoclickerWidget>();
        m_desktop->takeSentRecords();
    }

private slots:
    void init()
    {
        QFile::remove(dataFilePath(QStringLiteral("Settings")));
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_overlay = std::make_unique<RecordingOverlay>();
    }

    void cleanup()
    {
        LanguageManager::instance().setLanguage(QStringLiteral("ru"));
        m_page.reset();
        QCOMPARE(m_desktop->mouseHookCount(), size_t(0)); // the page gave the hook up
        m_overlay.reset();
        m_prompter.reset();
        QGlobalMouseHook::shutdown();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void countedRunClicksItsCountFromItsLastStart()
    {
        openPage(twoProfiles(AutoClicker::HotkeyRepeat));
        act("repeat5");
        act("arm");
        act("hotkey");
        act("interval"); // the run starts over with a full count
        act("hotkey");   // and is not cut short
        QTRY_VERIFY(!clicker()->isRunning());
        QCOMPARE(describe(m_desktop->takeSentRecords()).count("left down"), 1 + 5);
    }

    void activeScenarioLocksThePage()
    {
        openPage(twoProfiles(AutoClicker::HotkeyToggle));
        auto* enable = child<QPushButton>("enableButton");
        auto* status = child<QLabel>("enableStatusLabel");
        QCOMPARE(status->text(), "Автокликер выключен");
        act("toggle");
        QCOMPARE(enable->text(), "Выключить");
        QCOMPARE(status->text(), "Автокликер работает");
        QCOMPARE(m_overlay->state, "default on");
        QCOMPARE(storedFile().value("enabled").toBool(), true);
        // Armed is not clicking: the page and the overlay tell the run apart.
        act("hotkey");
        QCOMPARE(status->text(), "Автокликер кликает");
        QCOMPARE(m_overlay->state, "default clicking");
        act("hotkey");
        QCOMPARE(status->text(), "Автокликер работает");
        QCOMPARE(m_overlay->state, "default on");

        act("scenario+");
        QVERIFY(!enable->isChecked());
        QVERIFY(!enable->isEnabled());
        QCOMPARE(enable->text(), "Включить");
        QCOMPARE(status->text(), "Автокликер недоступен при активном сценарии");
        QCOMPARE(m_overlay->state, "default off");
        act("toggle");
        QVERIFY(!enable->isChecked());

        act("scenario-");
        QVERIFY(enable->isEnabled());
        QVERIFY(!enable->isChecked());
        QCOMPARE(status->text(), "Автокликер выключен");

        LanguageManager& languages = LanguageManager::instance();
        languages.initialize({QStringLiteral(":/i18n")}, QStringLiteral("clavitor"));
        QVERIFY(languages.setLanguage("en"));
        QCOMPARE(status->text(), "Autoclicker is off");
        QCOMPARE(child<QComboBox>("modeCombo")->currentText(), "Start/stop by hotkey");
        QCOMPARE(child<QComboBox>("comboBox")->count(), 2);
        // Other owners are told who holds the toggle hotkey in the language in use.
        QTest::keyClick(child<QLineEdit>("toggleHotkeyEdit"), Qt::Key_T, Qt::ControlModifier);
        QObject other;
        QString holder;
        QVERIFY(!ShortcutRegistry::instance().claim(&other, QKeySequence("Ctrl+T"), "x", &holder));
        QCOMPARE(holder, "Toggle autoclicker");
    }

    void toggleHotkeyInsideADialogIsSaved_data()
    {
        QTest::addColumn<QString>("opens");
        QTest::newRow("new profile, cancelled") << "toolButtonAddAutockecer";
        QTest::newRow("export, cancelled") << "toolButtonExportAutockecer";
        QTest::newRow("profile whose hotkey is taken, cancelled") << "comboBox";
    }
    void toggleHotkeyInsideADialogIsSaved()
    {
        QFETCH(QString, opens);
        QObject scenario;
        QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence("Alt+X"),
                                                   "сценарий \"aim\""));
        openPage(twoProfiles(AutoClicker::HotkeyToggle, "Alt+X"));
        m_prompter->whileOpen = [this] {
            act("toggle");
        };
        if (opens == "comboBox")
            act("profile");
        else
            child<QToolButton>(qPrintable(opens))->click();

        QCOMPARE(m_prompter->prompts.size(), 1);
        QCOMPARE(child<QLabel>("enableStatusLabel")->text(), "Автокликер работает");
        QCOMPARE(storedFile()["enabled"].toBool(), true);
        QCOMPARE(m_overlay->state, "default on");
    }

    void refusedHotkeyLeavesThePreviousOne_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("heldByScenario");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("previous");
        QTest::newRow("toggle, taken by a scenario")
            << "toggleHotkeyEdit" << int(Qt::Key_X) << true
            << "Горячая клавиша Alt+X уже используется: сценарий \"aim\"."
            << "Alt+A";
        QTest::newRow("mode, taken by another program")
            << "hotkeyEdit" << int(Qt::Key_X) << false
            << "Не удалось установить горячую клавишу Alt+X. Сочетание уже используется "
               "другой программой."
            << "Alt+C";
    }
    void refusedHotkeyLeavesThePreviousOne()
    {
        QFETCH(QString, edit);
        QFETCH(int, key);
        QFETCH(bool, heldByScenario);
        QFETCH(QString, message);
        QFETCH(QString, previous);
        QObject scenario;
        if (heldByScenario)
            QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence("Alt+X"),
                                                       "сценарий \"aim\""));
        else
            m_desktop->setHotKeyHeldElsewhere(MOD_ALT, 'X', true);
        openPage(twoProfiles(AutoClicker::HotkeyToggle));
        auto* field = child<QLineEdit>(qPrintable(edit));

        QTest::keyClick(field, Qt::Key(key), Qt::AltModifier);
        QCOMPARE(m_prompter->prompts.size(), 1);
        QCOMPARE(m_prompter->prompts[0].kind, Prompt::Kind::Warning);
        QCOMPARE(m_prompter->prompts[0].title, QString());
        QCOMPARE(m_prompter->prompts[0].text, message);
        QCOMPARE(field->text(), previous);
        QCOMPARE(m_overlay->hotkeys, "Alt+A / Alt+C");
        QCOMPARE(loadSettings().autoclickerToggleHotkey, "Alt+A");
        QCOMPARE(storedFile()["profiles"][0]["settings"]["hotkey"].toString(), "Alt+C");

        // A free combination is taken, kept and shown, and described to other owners.
        QTest::keyClick(field, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(m_prompter->prompts.size(), 1);
        QString holder;
        QVERIFY(
            !ShortcutRegistry::instance().claim(&scenario, QKeySequence("Ctrl+T"), "x", &holder));
        if (edit == "toggleHotkeyEdit") {
            QCOMPARE(holder, "переключение автокликера");
            QCOMPARE(loadSettings().autoclickerToggleHotkey, "Ctrl+T");
            QCOMPARE(m_overlay->hotkeys, "Ctrl+T / Alt+C");
        } else {
            QCOMPARE(holder, "автокликер \"default\"");
            QCOMPARE(storedFile()["profiles"][0]["settings"]["hotkey"].toString(), "Ctrl+T");
            QCOMPARE(m_overlay->hotkeys, "Alt+A / Ctrl+T");
        }
    }

    void profileWhoseHotkeyIsTakenAsksFirst_data()
    {
        QTest::addColumn<bool>("proceed");
        QTest::newRow("cancel") << false;
        QTest::newRow("continue") << true;
    }
    void profileWhoseHotkeyIsTakenAsksFirst()
    {
        QFETCH(bool, proceed);
        QObject scenario;
        QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence("Alt+X"),
                                                   "сценарий \"aim\""));
        openPage(twoProfiles(AutoClicker::HotkeyToggle, "Alt+X"));
        m_prompter->queueCustomButton(proceed ? 0 : 1);
        act("profile");

        QCOMPARE(m_prompter->prompts.size(), 1);
        const Prompt& asked = m_prompter->prompts[0];
        QCOMPARE(asked.title, QString());
        QCOMPARE(asked.text, "Сочетание \"Alt+X\" конфликтует: сценарий \"aim\".\nГорячая "
                             "клавиша будет сброшена. Задайте её вручную.\nПродолжить?");
        QCOMPARE(asked.customButtons.size(), 2);
        QCOMPARE(asked.customButtons[0].text, "Продолжить");
        QCOMPARE(child<QComboBox>("comboBox")->currentIndex(), proceed ? 1 : 0);
        QCOMPARE(storedFile()["active"].toString(), proceed ? "second" : "default");
        QCOMPARE(storedFile()["profiles"][1]["settings"]["hotkey"].toString(),
                 proceed ? "" : "Alt+X");
        QCOMPARE(child<QLineEdit>("hotkeyEdit")->text(), proceed ? "" : "Alt+C");
        act("arm");
        act("hotkey"); // registered only while the first profile is current
        QCOMPARE(clicker()->isRunning(), !proceed);
    }

    void profileWhoseHotkeyIsRefusedHasNone_data()
    {
        QTest::addColumn<bool>("heldByScenario");
        QTest::addColumn<bool>("added"); // false: the profile is current from the start
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("added, taken by a scenario")
            << true << true
            << QStringList{"Горячая клавиша Alt+C уже используется: сценарий \"aim\"."};
        QTest::newRow("added, refused by the system")
            << false << true
            << QStringList{"Не удалось установить горячую клавишу Alt+C. Сочетание уже "
                           "используется другой программой."};
        QTest::newRow("at start: silently") << true << false << QStringList{};
    }
    void profileWhoseHotkeyIsRefusedHasNone()
    {
        QFETCH(bool, heldByScenario);
        QFETCH(bool, added);
        QFETCH(QStringList, warnings);
        QObject scenario;
        if (heldByScenario)
            QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence("Alt+C"),
                                                       "сценарий \"aim\""));
        else
            m_desktop->setHotKeyHeldElsewhere(MOD_ALT, 'C', true);
        if (added) {
            openPage(R"({"profiles": [{"name": "default", "settings": {"hotkey": "Alt+X"}}]})");
            m_prompter->queueValue("B"); // with the default hotkey Alt+C
            child<QToolButton>("toolButtonAddAutockecer")->click();
        } else {
            openPage(twoProfiles(AutoClicker::HotkeyToggle));
        }

        QStringList warned;
        for (const Prompt& prompt : std::as_const(m_prompter->prompts)) {
            if (prompt.kind == Prompt::Kind::Warning)
                warned << prompt.text;
        }
        QCOMPARE(warned, warnings);
        QCOMPARE(child<QLineEdit>("hotkeyEdit")->text(), QString());
        QCOMPARE(m_overlay->hotkeys, "Alt+A / ");
        act("mode3");
        act("arm");
        press(MOD_ALT, 'X'); // the first profile's hotkey was given up
        QVERIFY(!clicker()->isRunning());
        // The profile keeps its combination for when it is free again.
        QCOMPARE(storedFile()["profiles"][added ? 1 : 0]["settings"]["hotkey"].toString(), "Alt+C");
    }

    void profileCommandsKeepNamesFree()
    {
        openPage(R"({"active": "Clicker", "profiles": [{"name": "default"},
                    {"name": "Clicker"}, {"name": "Clicker копия"}]})");
        QTemporaryDir dir;
        const QString reserved = dir.filePath("reserved.json");
        const QString nameless = dir.filePath("nameless.json");
        for (const auto& [path, json] :
             {std::pair{reserved, R"({"name": "default", "settings": {}})"},
              std::pair{nameless, R"({"clicker": {"interval": 20}, "interval": 30})"}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) > 0);
        }
        // Runs a command, answering its prompts in turn: a text or file, "" to cancel, "OK".
        const auto command = [this](const char* button, const QStringList& answers) {
            for (const QString& answer : answers) {
                if (answer.isEmpty())
                    m_prompter->queueCancel();
                else if (answer == "OK")
                    m_prompter->queueButton(QMessageBox::Ok);
                else
                    m_prompter->queueValue(answer);
            }
            child<QToolButton>(button)->click();
        };

        command("toolButtonDublicateAutockecer", {});
        command("toolButtonExportAutockecer", {dir.filePath("fast")}); // ".json" added
        command("toolButtonRenameAutockecer", {" DEFAULT ", "OK", ""});
        command("toolButtonAddAutockecer", {"clicker", "OK", "Быстрый"});
        command("toolButtonImportAutockecer", {nameless}); // as "Новый автокликер"
        QCOMPARE(child<QSpinBox>("intervalSpin")->value(), 20);
        command("toolButtonImportAutockecer", {nameless});
        command("toolButtonImportAutockecer", {reserved});

        QStringList asked;
        for (const Prompt& prompt : std::as_const(m_prompter->prompts))
            asked << prompt.title + '|' + prompt.text + '|' + prompt.value;
        QCOMPARE(
            asked,
            (QStringList{"Экспорт автокликера||Clicker копия (2).json",
                         "Переименование автокликера|Введите новое название автокликера:|"
                         "Clicker копия (2)",
                         "|Название \"default\" зарезервировано.|",
                         "Переименование автокликера|Введите новое название автокликера:| DEFAULT ",
                         "Новый автокликер|Введите название автокликера:|",
                         "|Автокликер с таким названием уже существует.|",
                         "Новый автокликер|Введите название автокликера:|clicker",
                         "Импорт автокликера||", "Импорт автокликера||",
                         "|Автокликер \"Новый автокликер\" уже существует или недопустим.|",
                         "Импорт автокликера||",
                         "|Автокликер \"default\" уже существует или недопустим.|"}));
        QFile exported(dir.filePath("fast.json"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(exported.readAll())["name"].toString(),
                 "Clicker копия (2)");
        QCOMPARE(storedNames(), (QStringList{"default", "Clicker", "Clicker копия",
                                             "Clicker копия (2)", "Быстрый", "Новый автокликер"}));

        // Deleting every other profile leaves "default" current, for good.
        for (int left = 5; left > 0; --left) {
            m_prompter->queueButton(QMessageBox::Yes);
            child<QToolButton>("toolButtonDeleteAutockecer")->click();
        }
        QCOMPARE(storedNames(), QStringList{"default"});
        QCOMPARE(storedFile()["active"].toString(), "default");
        QVERIFY(!child<QToolButton>("toolButtonRenameAutockecer")->isEnabled());
        QVERIFY(!child<QToolButton>("toolButtonDeleteAutockecer")->isEnabled());
    }

    void keyFieldStoresTheLatinKey()
    {
        openPage(twoProfiles(AutoClicker::HotkeyToggle));
        child<QComboBox>("inputTypeCombo")->setCurrentIndex(AutoclickerSettings::Keyboard);
        auto* keyEdit = child<QLineEdit>("keyEdit");
        // Alt, then the key that types "ч" in the Russian layout and "x" in the Latin one.
        QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(keyEdit, &alt);
        QCOMPARE(keyEdit->text(), QString());
        QKeyEvent cyrillic(QEvent::KeyPress, 0x0427, Qt::AltModifier, 0, 'X', 0,
                           QStringLiteral("ч"));
        QCoreApplication::sendEvent(keyEdit, &cyrillic);
        QCOMPARE(keyEdit->text(), "Alt+X");
        QCOMPARE(storedFile()["profiles"][0]["settings"]["key"].toInt(),
                 (Qt::AltModifier | Qt::Key_X).toCombined());
    }

    void pageInBothThemes_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << "default";
        QTest::newRow("light") << "light";
    }
    void pageInBothThemes()
    {
        QFETCH(QString, theme);
        registerEmbeddedFonts();
        AppSettings settings;
        settings.theme = theme;
        settings.lastPage = QStringLiteral("autoclicker");
        saveSettings(settings);
        writeAutoclickerFile(R"({"active": "Фарм", "enabled": true, "profiles": [
            {"name": "default"},
            {"name": "Фарм", "settings": {"inputType": "mouse", "interval": 250, "mode": 0,
                                          "repeat": 20, "move": [4, 0], "delayRand": 1}}]})");
        IconManager::instance().setTheme(theme);
        qApp->setStyleSheet(loadThemeStyleSheet(theme));
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        auto* tabs = window->findChild<AutoclickerWidget*>()->findChild<QTabWidget*>("tabWidget");
        QVERIFY(tabs && tabs->isVisible());

        const QString name = theme == QLatin1String("light") ? "light" : "dark";
        const QByteArray directory = qgetenv("CLAVITOR_SCREENSHOT_DIR");
        for (int tab = 0; tab < 2; ++tab) {
            tabs->setCurrentIndex(tab);
            QTest::qWait(50); // the tab widget takes its new height, then the layout follows
            if (!directory.isEmpty()) {
                window->grab().save(QDir(QString::fromLocal8Bit(directory))
                                        .filePath(QStringLiteral("autoclicker-%1-%2.png")
                                                      .arg(name, tab == 0 ? "run" : "profile")));
            }
        }
        // "Фарм" is shown: mouse clicks, counted, moving.
        QVERIFY(tabs->findChild<QPushButton*>("enableButton")->isChecked());
        for (const char* shown : {"buttonCombo", "repeatSpin", "moveXSpin"})
            QVERIFY2(tabs->findChild<QWidget*>(shown)->isVisible(), shown);
        for (const char* hidden : {"keyEdit", "keyLabel"})
            QVERIFY2(!tabs->findChild<QWidget*>(hidden)->isVisible(), hidden);
        qApp->setStyleSheet(QString());
        IconManager::instance().setTheme(QStringLiteral("default"));
    }
};

CLAVITOR_TEST(AutoclickerWidgetTest);
#include "AutoclickerWidgetTest.moc"
