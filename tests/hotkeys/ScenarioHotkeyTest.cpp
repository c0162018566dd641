#include "HotkeyPress.h"
#include "ScenarioScripts.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/ActivationFeedback.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/QGlobalShortcut.h"
#include "hotkeys/ShortcutRegistry.h"
#include "hotkeys/SwitchSound.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using platform::SimulatedPlatform;

// A scenario's hotkey from its registration to the script hearing the press.
class ScenarioHotkeyTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<SimulatedPlatform> m_desktop;

    bool press(UINT modifiers, UINT virtualKey)
    {
        return pressHotKey(*m_desktop, modifiers, virtualKey);
    }

    // Gives the model's row a scenario file and a hotkey and registers it.
    static bool bind(ScriptsModel& model, int row, const QString& path, const QString& hotkey,
                     QString* error = nullptr)
    {
        while (model.rowCount() <= row)
            model.addScript();
        model.scriptAt(row)->path = path;
        model.scriptAt(row)->hotkey = hotkey;
        return model.registerHotkey(row, error);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, true);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
    }

    void cleanup()
    {
        qApp->setProperty(AppProperty::isSound, false);
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
        m_prompter.reset();
        m_dir.reset();
    }

    void hotkeyPressActivatesTheScenarioWithOneSound()
    {
        const QString path = writeScript(*m_dir, QStringLiteral("aim.lua"), kListeningScript);
        ScriptsModel model;
        QVERIFY(bind(model, 0, path, QStringLiteral("Ctrl+Alt+F1")));
        QCOMPARE(model.scriptAt(0)->hotkeyState, 0);
        QSignalSpy changed(&model, &ScriptsModel::sigActiveLuaChanged);
        QSignalSpy engineSound(ActivationFeedback::switchSound(), &SwitchSound::played);
        QSignalSpy plainSound(QGlobalShortcut::sharedSwitchSound(), &SwitchSound::played);

        QVERIFY(press(MOD_CONTROL | MOD_ALT, VK_F1));

        QCOMPARE(takeHeard(model.luaState()), QStringLiteral("PROFILE_ACTIVATED:nil;"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(0).toString(), QStringLiteral("aim"));
        QCOMPARE(model.activeScriptPath(), path);
        QCOMPARE(engineSound.size(), 1);
        QCOMPARE(plainSound.size(), 0);
        QCOMPARE(qApp->property(AppProperty::scenarioActivationResult), QVariant());

        // Pressed again, the scenario is left and entered again.
        QVERIFY(press(MOD_CONTROL | MOD_ALT, VK_F1));
        QCOMPARE(takeHeard(model.luaState()),
                 QStringLiteral("PROFILE_DEACTIVATED:nil;PROFILE_ACTIVATED:nil;"));
        QCOMPARE(engineSound.size(), 2);
        QCOMPARE(plainSound.size(), 0);
    }

    void failedActivationIsSilent_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("source");
        QTest::newRow("missing file") << false << QByteArray();
        QTest::newRow("Lua error") << true << QByteArray("error('no')\n");
    }

    void failedActivationIsSilent()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, source);
        const QString path = exists ? writeScript(*m_dir, QStringLiteral("broken.lua"), source)
                                    : m_dir->filePath(QStringLiteral("gone.lua"));
        ScriptsModel model;
        QVERIFY(bind(model, 0, path, QStringLiteral("Ctrl+F2")));
        QSignalSpy engineSound(ActivationFeedback::switchSound(), &SwitchSound::played);
        QSignalSpy plainSound(QGlobalShortcut::sharedSwitchSound(), &SwitchSound::played);

        QVERIFY(press(MOD_CONTROL, VK_F2));

        QCOMPARE(m_prompter->prompts.size(), 1); // the warning is the feedback
        QVERIFY(!EngineState::instance().scenarioActive);
        QCOMPARE(engineSound.size(), 0);
        QCOMPARE(plainSound.size(), 0);
    }

    void hotkeysArriveWhileAnActivationFailureIsShown()
    {
        const QString broken = writeScript(*m_dir, QStringLiteral("broken.lua"), "error('no')\n");
        const QString good = writeScript(*m_dir, QStringLiteral("good.lua"), kListeningScript);
        ScriptsModel model;
        QVERIFY(bind(model, 0, broken, QStringLiteral("Ctrl+F2")));
        QVERIFY(bind(model, 1, good, QStringLiteral("Ctrl+F3")));
        QSignalSpy changed(&model, &ScriptsModel::sigActiveLuaChanged);
        QSignalSpy plainSound(QGlobalShortcut::sharedSwitchSound(), &SwitchSound::played);

        // The failing hotkey repeats and another scenario's is pressed while the box is open:
        // both are taken without effect, and no second box stacks up.
        m_prompter->whileOpen = [&] {
            QVERIFY(press(MOD_CONTROL, VK_F2));
            QVERIFY(press(MOD_CONTROL, VK_F3));
        };
        QVERIFY(press(MOD_CONTROL, VK_F2));
        QCOMPARE(m_prompter->prompts.size(), 1);
        QVERIFY(!EngineState::instance().scenarioActive);
        QCOMPARE(takeHeard(model.luaState()), QString());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.takeFirst().at(0).toString(), QString());
        QCOMPARE(plainSound.size(), 0);

        // What happened meanwhile (here a deactivation) is newer than the failure, which
        // then reports nothing when its box closes.
        m_prompter->whileOpen = [&] { model.deactivateScript(); };
        QVERIFY(press(MOD_CONTROL, VK_F2));
        QCOMPARE(changed.size(), 0);
        QVERIFY(press(MOD_CONTROL, VK_F3));
        QCOMPARE(model.activeScriptPath(), good);
    }

    void hotkeyOfAnotherScenarioIsRefused()
    {
        const QString first = writeScript(*m_dir, QStringLiteral("first.lua"), kListeningScript);
        const QString second = writeScript(*m_dir, QStringLiteral("second.lua"), kListeningScript);
        ScriptsModel model;
        QVERIFY(bind(model, 0, first, QStringLiteral("Ctrl+F5")));
        QVERIFY(bind(model, 1, second, QStringLiteral("Ctrl+F6")));

        QString error;
        QVERIFY(!bind(model, 1, second, QStringLiteral("Ctrl+F5"), &error));
        ScriptData* refused = model.scriptAt(1);
        QCOMPARE(refused->hotkeyState, 1);
        QCOMPARE(error, QStringLiteral("сценарий \"first\""));
        QCOMPARE(refused->hotkeyError, error);

        // The refused scenario keeps its combination.
        QVERIFY(press(MOD_CONTROL, VK_F6));
        QCOMPARE(model.activeScriptPath(), second);
        QVERIFY(press(MOD_CONTROL, VK_F5));
        QCOMPARE(model.activeScriptPath(), first);

        // A successful registration clears the state.
        QVERIFY(bind(model, 1, second, QStringLiteral("Ctrl+F7")));
        QCOMPARE(refused->hotkeyState, 0);
        QCOMPARE(refused->hotkeyError, QString());
    }

    void hotkeyRefusedBySystemKeepsThePreviousOne()
    {
        const QString path = writeScript(*m_dir, QStringLiteral("aim.lua"), kListeningScript);
        ScriptsModel model;
        QVERIFY(bind(model, 0, path, QStringLiteral("Ctrl+F7")));
        m_desktop->setHotKeyHeldElsewhere(MOD_CONTROL, VK_F8, true);

        QString error;
        QVERIFY(!bind(model, 0, path, QStringLiteral("Ctrl+F8"), &error));
        QCOMPARE(model.scriptAt(0)->hotkeyState, 2);
        QCOMPARE(error, QStringLiteral("Сочетание уже используется другой программой."));
        QCOMPARE(model.scriptAt(0)->hotkeyError, error);
        QVERIFY(press(MOD_CONTROL, VK_F7));
        QCOMPARE(model.activeScriptPath(), path);
        QString holder;
        QVERIFY(ShortcutRegistry::instance().isInUse(QKeySequence(QStringLiteral("Ctrl+F7")), {},
                                                     &holder));
        QCOMPARE(holder, QStringLiteral("сценарий \"aim\""));
        QVERIFY(!ShortcutRegistry::instance().isInUse(QKeySequence(QStringLiteral("Ctrl+F8"))));

        // Without an earlier combination nothing stays registered or claimed.
        QVERIFY(!bind(model, 1, path, QStringLiteral("Ctrl+F8")));
        QCOMPARE(m_desktop->registeredHotKeys().size(), size_t(1));
    }

    void hotkeyIsGivenUpWithItsScenario()
    {
        const QString path = writeScript(*m_dir, QStringLiteral("aim.lua"), kListeningScript);
        const QKeySequence sequence(QStringLiteral("Shift+F9"));
        ShortcutRegistry& registry = ShortcutRegistry::instance();
        auto model = std::make_unique<ScriptsModel>();

        QVERIFY(bind(*model, 0, path, QStringLiteral("Shift+F9")));
        model->scriptAt(0)->hotkey = QStringLiteral("  ");
        QVERIFY(model->registerHotkey(0));
        QVERIFY(m_desktop->registeredHotKeys().empty());
        QVERIFY(!registry.isInUse(sequence));

        QVERIFY(bind(*model, 0, path, QStringLiteral("Shift+F9")));
        model->unregisterHotkey(0);
        QVERIFY(!press(MOD_SHIFT, VK_F9));
        QVERIFY(!registry.isInUse(sequence));
        QVERIFY(model->registerHotkey(0)); // after unregisterHotkey, presses reach it again
        QVERIFY(press(MOD_SHIFT, VK_F9));
        QCOMPARE(takeHeard(model->luaState()), QStringLiteral("PROFILE_ACTIVATED:nil;"));

        model->removeScript(0);
        QVERIFY(m_desktop->registeredHotKeys().empty());
        QVERIFY(!registry.isInUse(sequence));

        QVERIFY(bind(*model, 0, path, QStringLiteral("Shift+F9")));
        QVERIFY(!model->registerHotkey(7));
        model.reset();
        QVERIFY(m_desktop->registeredHotKeys().empty());
        QVERIFY(!registry.isInUse(sequence));
    }
};

CLAVITOR_TEST(ScenarioHotkeyTest);
#include "ScenarioHotkeyTest.moc"
