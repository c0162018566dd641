#include "FakeHidApi.h"
#include "HotkeyPress.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "core/OverlaySnapshot.h"
#include "core/SettingsFile.h"
#include "engine/ActivationFeedback.h"
#include "hotkeys/ShortcutRegistry.h"
#include "overlay/OverlayController.h"
#include "overlay/OverlayPlacement.h"
#include "overlay/OverlayWidget.h"
#include "settings/LicensesDialog.h"
#include "settings/SettingsWgt.h"
#include "settings/VoiceSource.h"
#include "ui/appearance/LanguageManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextToSpeechEngine>

using platform::SimulatedPlatform;

namespace {

// Voices of the test's choosing in place of the speech engine's.
class FakeVoices : public VoiceSource
{
public:
    FakeVoices() { install(this); }
    ~FakeVoices() override { install(nullptr); }
    QList<QVoice> voices() const override { return list; }
    QList<QVoice> list;
};

// Only an engine may make voices.
struct VoiceMaker : QTextToSpeechEngine
{
    using QTextToSpeechEngine::createVoice;
};

QVoice makeVoice(const QString& name, const char* locale, QVoice::Gender gender)
{
    return VoiceMaker::createVoice(name, QLocale(QLatin1String(locale)), gender, QVoice::Adult, {});
}

template <typename T> T* child(const QWidget& page, const char* name)
{
    auto* widget = page.findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

QStringList itemTexts(const QComboBox* combo, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemData(i, role).toString());
    return texts;
}

// The settings as the file holds them, not as this run remembers the overlay.
AppSettings storedOnDisk()
{
    OverlaySnapshot::clear();
    return loadSettings();
}

QVariant appProperty(const char* name)
{
    return qApp->property(name);
}

} // namespace

class SettingsPageTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;
    std::unique_ptr<FakeHidApi> m_hid;
    std::unique_ptr<FakeVoices> m_voices;
    std::unique_ptr<ScriptedPrompter> m_prompter;

private slots:
    void init()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
        OverlaySnapshot::clear();
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        m_hid = std::make_unique<FakeHidApi>();
        m_voices = std::make_unique<FakeVoices>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        qApp->setProperty(AppProperty::isSound, false);
    }

    void cleanup()
    {
        m_prompter.reset();
        m_voices.reset();
        m_hid.reset();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void opacityIsShownInPercentAndStoredBack_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("storedBack");
        QTest::newRow("default") << 200 << 78 << 198;
        QTest::newRow("opaque") << 255 << 100 << 255;
        QTest::newRow("half") << 128 << 50 << 127;
        QTest::newRow("clear") << 0 << 0 << 0;
    }
    void opacityIsShownInPercentAndStoredBack()
    {
        QFETCH(int, stored);
        QFETCH(int, shown);
        QFETCH(int, storedBack);
        AppSettings settings;
        settings.overlay.backgroundOpacity = stored;
        settings.overlay.textOpacity = stored;
        saveSettings(settings);
        {
            const SettingsWgt page;
            QCOMPARE(child<QSpinBox>(page, "overlayBackgroundOpacitySpin")->value(), shown);
            QCOMPARE(child<QSpinBox>(page, "overlayTextOpacitySpin")->value(), shown);
            QCOMPARE(OverlayController::instance().settings().backgroundOpacity, storedBack);
        }
        QCOMPARE(storedOnDisk().overlay.backgroundOpacity, storedBack);
        QCOMPARE(storedOnDisk().overlay.textOpacity, storedBack);
    }

    void voicesAreOfferedByNumber_data()
    {
        QTest::addColumn<QVoice::Gender>("kal");
        QTest::addColumn<QVoice::Gender>("others"); // slt and the Russian voice
        QTest::addColumn<QStringList>("texts");     // of the last voices, the ones offered
        QTest::newRow("female voices named")
            << QVoice::Male << QVoice::Female << QStringList{"Женский 1", "Женский 2"};
        // Some engines (flite) name no voice's gender: speech must not be out of reach there.
        QTest::newRow("no gender named")
            << QVoice::Unknown << QVoice::Unknown << QStringList{"Голос 1", "Голос 2", "Голос 3"};
        QTest::newRow("male voices only")
            << QVoice::Male << QVoice::Male << QStringList{"Голос 1", "Голос 2", "Голос 3"};
    }
    void voicesAreOfferedByNumber()
    {
        QFETCH(QVoice::Gender, kal);
        QFETCH(QVoice::Gender, others);
        QFETCH(QStringList, texts);
        m_voices->list = {makeVoice("kal", "en_US", kal), makeVoice("slt", "en_US", others),
                          makeVoice("русский, Россия", "ru_RU", others)};
        const qsizetype skipped = m_voices->list.size() - texts.size();
        QStringList keys;
        for (const QVoice& voice : m_voices->list.mid(skipped))
            keys.append(ActivationFeedback::voiceKey(voice));
        const QStringList toolTips =
            QStringList{"kal — American English, United States",
                        "slt — American English, United States", "русский, Россия"}
                .mid(skipped);
        AppSettings settings;
        settings.scenarioSpeechEnabled = true;
        settings.scenarioSpeechVoice = keys.last();
        saveSettings(settings);
        {
            const SettingsWgt page;
            auto* voices = child<QComboBox>(page, "scenarioVoiceCombo");
            QCOMPARE(itemTexts(voices), texts);
            QCOMPARE(itemTexts(voices, Qt::UserRole), keys);
            QCOMPARE(itemTexts(voices, Qt::ToolTipRole), toolTips);
            QCOMPARE(voices->currentIndex(), texts.size() - 1);
            QVERIFY(voices->isEnabled());
            QVERIFY(child<QCheckBox>(page, "scenarioSpeechCheck")->isEnabled());
            QCOMPARE(appProperty(AppProperty::scenarioSpeechVoice).toString(), keys.last());

            voices->setCurrentIndex(0);
            QCOMPARE(appProperty(AppProperty::scenarioSpeechVoice).toString(), keys.first());
            QVERIFY(child<QPushButton>(page, "pushButtonSave")->isEnabled());
        }
        // A voice that is gone: the first one.
        settings.scenarioSpeechVoice = QStringLiteral("en_US|gone|2|2");
        saveSettings(settings);
        const SettingsWgt page;
        QCOMPARE(child<QComboBox>(page, "scenarioVoiceCombo")->currentIndex(), 0);
    }

    void withoutVoicesTheStoredSpeechChoiceStays()
    {
        AppSettings settings;
        settings.scenarioSpeechEnabled = true;
        settings.scenarioSpeechVoice = QStringLiteral("en_US|slt|2|2");
        settings.scenarioSpeechRate = 1.75;
        saveSettings(settings);
        {
            const SettingsWgt page;
            auto* speech = child<QCheckBox>(page, "scenarioSpeechCheck");
            QVERIFY(speech->isChecked());
            QVERIFY(!speech->isEnabled());
            QCOMPARE(child<QComboBox>(page, "scenarioVoiceCombo")->count(), 0);
            QVERIFY(!child<QComboBox>(page, "scenarioVoiceCombo")->isEnabled());
            QVERIFY(!child<QDoubleSpinBox>(page, "scenarioRateSpin")->isEnabled());
            QCOMPARE(appProperty(AppProperty::scenarioSpeechEnabled), true);
            QCOMPARE(appProperty(AppProperty::scenarioSpeechVoice), settings.scenarioSpeechVoice);
        }
        const AppSettings stored = storedOnDisk();
        QVERIFY(stored.scenarioSpeechEnabled);
        QCOMPARE(stored.scenarioSpeechVoice, settings.scenarioSpeechVoice);
        QCOMPARE(stored.scenarioSpeechRate, 1.75);
    }

    void overlayHotkeyIsSavedAtOnceOrRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("kept");
        QTest::newRow("free") << "Alt+P"
                              << ""
                              << ""
                              << "Alt+P";
        QTest::newRow("used by a scenario")
            << "Alt+S"
            << "scenario"
            << "Горячая клавиша Alt+S уже используется: сценарий \"aim\"."
            << "Alt+O";
        QTest::newRow("used by another program")
            << "Alt+K"
            << "program"
            << "Не удалось установить горячую клавишу Alt+K. Сочетание уже используется другой "
               "программой."
            << "Alt+O";
    }
    void overlayHotkeyIsSavedAtOnceOrRefused()
    {
        QFETCH(QString, typed);
        QFETCH(QString, holder);
        QFETCH(QString, box);
        QFETCH(QString, kept);
        QObject scenario;
        if (holder == "scenario")
            QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence(typed),
                                                       "сценарий \"aim\""));
        if (holder == "program")
            m_desktop->setHotKeyHeldElsewhere(MOD_ALT, 'K', true);
        const SettingsWgt page;
        auto* edit = child<QLineEdit>(page, "overlayHotkeyEdit");
        QCOMPARE(edit->text(), "Alt+O");

        edit->setText(typed); // as a key press in the field does

        QCOMPARE(m_prompter->prompts.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QCOMPARE(m_prompter->prompts[0].kind, Prompt::Kind::Warning);
            QCOMPARE(m_prompter->prompts[0].text, box);
        }
        QCOMPARE(edit->text(), kept);
        QCOMPARE(storedOnDisk().overlayHotkey, kept);
        QVERIFY(!child<QPushButton>(page, "pushButtonSave")->isEnabled());
        // The combination kept is the one registered: it shows the overlay.
        QVERIFY(pressHotKey(*m_desktop, MOD_ALT, kept.back().unicode()));
        QVERIFY(child<QCheckBox>(page, "overlayEnableCheck")->isChecked());
    }

    void resetKeepsWhatThePageDoesNotShow()
    {
        AppSettings settings;
        settings.theme = QStringLiteral("light");
        settings.language = QStringLiteral("en");
        settings.deactivationHotkey = QStringLiteral("Ctrl+D");
        settings.isSound = false;
        settings.systemApiXY = 2.5;
        settings.overlay.positionMode = 3;
        settings.overlayHotkey = QStringLiteral("Alt+P");
        saveSettings(settings);
        SettingsWgt page;
        child<QRadioButton>(page, "radioButtonOn")->click();
        m_prompter->queueButton(QMessageBox::Yes);

        child<QPushButton>(page, "pushButtonReset")->click();

        QCOMPARE(m_prompter->prompts.size(), 1);
        QCOMPARE(m_prompter->prompts[0].text, "Сбросить настройки?");
        QVERIFY(!child<QPushButton>(page, "pushButtonSave")->isEnabled());
        QCOMPARE(child<QLineEdit>(page, "overlayHotkeyEdit")->text(), "Alt+O");
        QCOMPARE(appProperty(AppProperty::systemApiXY), 1.0);
        const AppSettings stored = storedOnDisk();
        QCOMPARE(stored.theme, "light");
        QCOMPARE(stored.language, "en");
        QCOMPARE(stored.deactivationHotkey, "Ctrl+D");
        QVERIFY(stored.isSound);
        QCOMPARE(stored.systemApiXY, 1.0);
        QCOMPARE(stored.overlay.positionMode, OverlaySettings().positionMode);
        QCOMPARE(stored.overlayHotkey, "Alt+O");
    }

    void resetTakesTheDefaultOverlayHotkeyOrSaysWhy_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("hotkey"); // shown and registered afterwards
        QTest::newRow("free") << ""
                              << ""
                              << "Alt+O";
        QTest::newRow("used by a scenario")
            << "scenario"
            << "Горячая клавиша Alt+O уже используется: сценарий \"aim\"."
            << "";
        QTest::newRow("used by another program")
            << "program"
            << "Не удалось установить горячую клавишу Alt+O. Сочетание уже используется другой "
               "программой."
            << "";
    }
    void resetTakesTheDefaultOverlayHotkeyOrSaysWhy()
    {
        QFETCH(QString, holder);
        QFETCH(QString, box);
        QFETCH(QString, hotkey);
        AppSettings settings;
        settings.overlayHotkey = QStringLiteral("Alt+P");
        saveSettings(settings);
        const SettingsWgt page;
        QObject scenario;
        if (holder == "scenario")
            QVERIFY(ShortcutRegistry::instance().claim(&scenario, QKeySequence("Alt+O"),
                                                       "сценарий \"aim\""));
        if (holder == "program")
            m_desktop->setHotKeyHeldElsewhere(MOD_ALT, 'O', true);
        m_prompter->queueButton(QMessageBox::Yes);

        child<QPushButton>(page, "pushButtonReset")->click();

        QCOMPARE(m_prompter->prompts.size(), box.isEmpty() ? 1 : 2);
        if (!box.isEmpty())
            QCOMPARE(m_prompter->prompts[1].text, box);
        QCOMPARE(child<QLineEdit>(page, "overlayHotkeyEdit")->text(), hotkey);
        QCOMPARE(OverlayController::instance().overlayHotkeyText(), hotkey);
        QVERIFY(!pressHotKey(*m_desktop, MOD_ALT, 'P')); // the replaced one is given up
        QCOMPARE(pressHotKey(*m_desktop, MOD_ALT, 'O'), !hotkey.isEmpty());
        // A blank one reads as the default: the next start tries it again.
        QCOMPARE(storedOnDisk().overlayHotkey, "Alt+O");
    }

    // Choosing the custom position and moving the overlay both start where it stands.
    void customPositionStartsWhereTheOverlayIs()
    {
        AppSettings settings;
        settings.overlay.enabled = true;
        settings.overlay.positionMode = OverlayPlacement::TopLeft;
        settings.overlay.customPosition = QPoint(0, 0);
        saveSettings(settings);
        const SettingsWgt page;
        const OverlayWidget* window = OverlayController::instance().overlayWindow();
        const QPoint corner(24, 24);
        QCOMPARE(window->pos(), corner);

        child<QComboBox>(page, "overlayAnchorCombo")->setCurrentIndex(OverlayPlacement::Custom);
        QCOMPARE(window->pos(), corner);
        QCOMPARE(child<QLabel>(page, "overlayPositionLabel")->text(), "Координаты X: 24    Y: 24");
        child<QPushButton>(page, "overlayMoveButton")->click();
        QCOMPARE(window->pos(), corner);
        QVERIFY(!window->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    // Save ends positioning, also when the window appears where it was left the time before.
    void saveEndsPositioning()
    {
        const SettingsWgt page;
        child<QComboBox>(page, "overlayAnchorCombo")->setCurrentIndex(4);
        for (int time = 1; time <= 2; ++time) {
            child<QPushButton>(page, "overlayMoveButton")->click();
            const OverlayWidget* window = OverlayController::instance().overlayWindow();
            QVERIFY(!window->testAttribute(Qt::WA_TransparentForMouseEvents));
            QVERIFY2(child<QPushButton>(page, "pushButtonSave")->isEnabled(),
                     qPrintable(QString::number(time)));

            child<QPushButton>(page, "pushButtonSave")->click();

            QVERIFY2(window->testAttribute(Qt::WA_TransparentForMouseEvents),
                     qPrintable(QString::number(time)));
        }
    }

    void leavingWithoutSaveStoresTheForm()
    {
        {
            SettingsWgt page;
            child<QRadioButton>(page, "radioButtonOff")->click();
            QCOMPARE(appProperty(AppProperty::isSound), false);
            QVERIFY(child<QPushButton>(page, "pushButtonSave")->isEnabled());
            QVERIFY(storedOnDisk().isSound);
        }
        QVERIFY(!storedOnDisk().isSound);
    }

    void storedDriverModeIsCheckedAtStart_data()
    {
        QTest::addColumn<bool>("driverPresent");
        // The driver is made for Windows only: elsewhere a stored driver mode falls back quietly.
        QTest::newRow("driver not made for this system") << false;
        QTest::newRow("driver present") << true;
    }
    void storedDriverModeIsCheckedAtStart()
    {
        QFETCH(bool, driverPresent);
        if (driverPresent)
            m_hid->attachVirtualMouse();
        AppSettings settings;
        settings.controlMode = 1;
        saveSettings(settings);
        {
            const SettingsWgt page;
            QVERIFY(m_prompter->prompts.isEmpty());
            QCOMPARE(child<QRadioButton>(page, "radioButtonDriver")->isChecked(), driverPresent);
            QCOMPARE(child<QRadioButton>(page, "radioButtonSystemApi")->isChecked(),
                     !driverPresent);
            QCOMPARE(appProperty(AppProperty::controlMode), driverPresent ? 1 : 0);
            QVERIFY(!child<QPushButton>(page, "pushButtonSave")->isEnabled());
        }
        QCOMPARE(storedOnDisk().controlMode, driverPresent ? 1 : 0);
    }

    void licencesButtonOpensTheLicences()
    {
        const SettingsWgt page;
        child<QPushButton>(page, "pushButtonLicenses")->click();
        QTRY_VERIFY(page.findChild<LicensesDialog*>());
    }

    void theDriverChoiceIsClosedWhereTheDriverIsNotMade()
    {
        const SettingsWgt page;
        auto* driver = child<QRadioButton>(page, "radioButtonDriver");
        QVERIFY(!driver->isEnabled());
        QCOMPARE(driver->toolTip(), "Драйвер виртуальной мыши есть только для Windows.");
        QTest::mouseClick(driver, Qt::LeftButton);
        QVERIFY(m_prompter->prompts.isEmpty());
        QVERIFY(child<QRadioButton>(page, "radioButtonSystemApi")->isChecked());
        QCOMPARE(appProperty(AppProperty::controlMode), 0);
    }

    void languageSwitchKeepsTheForm()
    {
        m_voices->list = {makeVoice("slt", "en_US", QVoice::Female),
                          makeVoice("clb", "en_US", QVoice::Female)};
        AppSettings settings;
        settings.overlay.backgroundColor = QColor(0x123456);
        settings.overlay.textColor = QColor(0xFFD666);
        settings.overlay.positionMode = 2;
        saveSettings(settings);
        LanguageManager& languages = LanguageManager::instance();
        languages.initialize({QStringLiteral(":/i18n")}, QStringLiteral("clavitor"));
        QVERIFY(languages.setLanguage("ru"));
        const SettingsWgt page;
        child<QComboBox>(page, "scenarioVoiceCombo")->setCurrentIndex(1);
        child<QPushButton>(page, "pushButtonSave")->click();

        QVERIFY(languages.setLanguage("en"));
        QCOMPARE(child<QLabel>(page, "pageTitle")->text(), "Settings");
        QCOMPARE(itemTexts(child<QComboBox>(page, "scenarioVoiceCombo")),
                 (QStringList{"Female 1", "Female 2"}));
        QCOMPARE(child<QComboBox>(page, "scenarioVoiceCombo")->currentIndex(), 1);
        QCOMPARE(child<QComboBox>(page, "overlayBackgroundCombo")->currentText(), "Custom");
        QCOMPARE(child<QComboBox>(page, "overlayTextCombo")->currentText(), "Amber");
        QCOMPARE(child<QComboBox>(page, "overlayAnchorCombo")->currentText(), "Bottom-left corner");
        QCOMPARE(child<QLabel>(page, "overlayPositionLabel")->text(), "Bottom-left corner");
        QVERIFY(!child<QPushButton>(page, "pushButtonSave")->isEnabled());
        QVERIFY(languages.setLanguage("ru"));
        QCOMPARE(child<QComboBox>(page, "overlayBackgroundCombo")->currentText(),
                 "Пользовательский");
    }
};

CLAVITOR_TEST(SettingsPageTest);
#include "SettingsPageTest.moc"
