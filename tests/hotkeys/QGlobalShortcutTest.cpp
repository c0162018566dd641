#include "HotkeyPress.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "hotkeys/HotkeyCapture.h"
#include "hotkeys/QGlobalShortcut.h"
#include "hotkeys/SwitchSound.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using platform::SimulatedPlatform;

namespace {

using Combination = QPair<UINT, UINT>; // modifiers, virtual key

// Hands a message to the application's native event filters as the event loop does.
bool filter(const QByteArray& eventType, UINT message, WPARAM wParam)
{
    MSG msg{};
    msg.message = message;
    msg.wParam = wParam;
    qintptr result = 0;
    return QAbstractEventDispatcher::instance()->filterNativeEvent(eventType, &msg, &result);
}

} // namespace

class QGlobalShortcutTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimulatedPlatform> m_desktop;

    bool press(UINT modifiers, UINT virtualKey)
    {
        return pressHotKey(*m_desktop, modifiers, virtualKey);
    }

    QList<Combination> registered() const
    {
        QList<Combination> combinations;
        for (const SimulatedPlatform::HotKey& hotKey : m_desktop->registeredHotKeys())
            combinations.append({hotKey.modifiers, hotKey.virtualKey});
        return combinations;
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        qApp->setProperty(AppProperty::isSound, false);
    }

    void cleanup()
    {
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void everyChordIsRegisteredAndActivates()
    {
        auto shortcut = std::make_unique<QGlobalShortcut>();
        QSignalSpy activated(shortcut.get(), &QGlobalShortcut::activated);
        QVERIFY(shortcut->setShortcut(QKeySequence(QStringLiteral("Ctrl+K, Ctrl+L"))));
        QCOMPARE(shortcut->keySequence(), QKeySequence(QStringLiteral("Ctrl+K, Ctrl+L")));
        QCOMPARE(registered(), (QList<Combination>{{MOD_CONTROL, 'K'}, {MOD_CONTROL, 'L'}}));
        const auto hotKeys = m_desktop->registeredHotKeys();
        QVERIFY(hotKeys[0].id != hotKeys[1].id);
        QCOMPARE(hotKeys[0].window, nullptr);

        QVERIFY(press(MOD_CONTROL, 'L'));
        QCOMPARE(activated.size(), 1);
        // A held combination repeats: every repeated message activates again.
        QVERIFY(press(MOD_CONTROL, 'K'));
        QVERIFY(press(MOD_CONTROL, 'K'));
        QCOMPARE(activated.size(), 3);

        // A new sequence replaces the old one.
        QVERIFY(shortcut->setShortcut(QKeySequence(QStringLiteral("Alt+F2"))));
        QCOMPARE(registered(), (QList<Combination>{{MOD_ALT, VK_F2}}));
        QVERIFY(!press(MOD_CONTROL, 'K'));

        QVERIFY(shortcut->unsetShortcut());
        QVERIFY(registered().isEmpty());
        QVERIFY(shortcut->keySequence().isEmpty());
        QVERIFY(shortcut->setShortcut(QKeySequence(QStringLiteral("Alt+F3"))));
        shortcut.reset();
        QVERIFY(registered().isEmpty());
    }

    void chordsBecomeModifiersAndVirtualKeys_data()
    {
        QTest::addColumn<QKeySequence>("sequence");
        QTest::addColumn<UINT>("modifiers");
        QTest::addColumn<UINT>("virtualKey");
        auto row = [](const char* name, QKeySequence sequence, UINT modifiers, UINT key) {
            QTest::newRow(name) << sequence << modifiers << key;
        };
        row("Ctrl++", QKeySequence(Qt::CTRL | Qt::Key_Plus), MOD_CONTROL, VK_ADD);
        row("Ctrl+Num+5", QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_5),
            MOD_CONTROL, VK_NUMPAD5);
        row("Num+0", QKeySequence(Qt::KeypadModifier | Qt::Key_0), 0, VK_NUMPAD0);
        row("Num++", QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), 0, VK_ADD);
        row("Num+*", QKeySequence(Qt::KeypadModifier | Qt::Key_Asterisk), 0, VK_MULTIPLY);
        row("Num+-", QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), 0, VK_SUBTRACT);
        row("Num+/", QKeySequence(Qt::KeypadModifier | Qt::Key_Slash), 0, VK_DIVIDE);
        row("Num+.", QKeySequence(Qt::KeypadModifier | Qt::Key_Period), 0, VK_DECIMAL);
        row("Num+,", QKeySequence(Qt::KeypadModifier | Qt::Key_Comma), 0, VK_SEPARATOR);
        row("Num+Enter", QKeySequence(Qt::KeypadModifier | Qt::Key_Enter), 0, VK_RETURN);
        row("Alt+x", QKeySequence(QStringLiteral("Alt+x")), MOD_ALT, 'X');
        row("Ctrl+Shift+7", QKeySequence(QStringLiteral("Ctrl+Shift+7")), MOD_CONTROL | MOD_SHIFT,
            '7');
        row("all four modifiers", QKeySequence(QStringLiteral("Ctrl+Alt+Shift+Meta+F24")),
            MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN, VK_F24);
        row("Print is VK_PRINT", QKeySequence(Qt::Key_Print), 0, VK_PRINT);
        row("SysReq", QKeySequence(Qt::Key_SysReq), 0, VK_SNAPSHOT);
        row("PgDown", QKeySequence(Qt::Key_PageDown), 0, VK_NEXT);
        row("Media Play", QKeySequence(Qt::Key_MediaPlay), 0, VK_MEDIA_PLAY_PAUSE);
        row("Volume Mute", QKeySequence(Qt::Key_VolumeMute), 0, VK_VOLUME_MUTE);
        row("name outside the table", QKeySequence(Qt::CTRL | Qt::Key_Launch0), MOD_CONTROL, 0);
        row("Shift+Tab", QKeySequence(Qt::SHIFT | Qt::Key_Backtab), MOD_SHIFT, VK_TAB);
        // Punctuation is the key that types it in the first layout, English here.
        row("Ctrl+-", QKeySequence(QStringLiteral("Ctrl+-")), MOD_CONTROL, VK_OEM_MINUS);
        row("Ctrl+.", QKeySequence(QStringLiteral("Ctrl+.")), MOD_CONTROL, VK_OEM_PERIOD);
        row("Ctrl+/", QKeySequence(QStringLiteral("Ctrl+/")), MOD_CONTROL, VK_OEM_2);
        row("Ctrl+;", QKeySequence(QStringLiteral("Ctrl+;")), MOD_CONTROL, VK_OEM_1);
        row("Ctrl+[", QKeySequence(QStringLiteral("Ctrl+[")), MOD_CONTROL, VK_OEM_4);
        row("Ctrl+=", QKeySequence(QStringLiteral("Ctrl+=")), MOD_CONTROL, VK_OEM_PLUS);
        row("Ctrl+`", QKeySequence(QStringLiteral("Ctrl+`")), MOD_CONTROL, VK_OEM_3);
        // Only the second layout has the letter.
        row("Alt+Ж", QKeySequence(QStringLiteral("Alt+Ж")), MOD_ALT, VK_OEM_1);
        row("Alt+Б", QKeySequence(QStringLiteral("Alt+Б")), MOD_ALT, VK_OEM_COMMA);
        // No layout has it: the character itself.
        row("Alt+ß", QKeySequence(QStringLiteral("Alt+ß")), MOD_ALT, 0xDF);
    }

    void chordsBecomeModifiersAndVirtualKeys()
    {
        QFETCH(QKeySequence, sequence);
        QFETCH(UINT, modifiers);
        QFETCH(UINT, virtualKey);
        QGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(sequence));
        QCOMPARE(registered(), QList<Combination>{Combination(modifiers, virtualKey)});
    }

    void layoutsAreSearchedInTheirOrder()
    {
        QGlobalShortcut shortcut;
        m_desktop->setKeyboardLayouts(
            {SimulatedPlatform::kRussianLayout, SimulatedPlatform::kEnglishLayout});
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+."))));
        QCOMPARE(registered(), QList<Combination>{Combination(MOD_CONTROL, VK_OEM_2)});
        // Punctuation is the key of the layout typing now, whatever the list's order.
        m_desktop->setCurrentKeyboardLayout(SimulatedPlatform::kEnglishLayout);
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+."))));
        QCOMPARE(registered(), QList<Combination>{Combination(MOD_CONTROL, VK_OEM_PERIOD)});

        m_desktop->setKeyboardLayouts({SimulatedPlatform::kEnglishLayout});
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Alt+Ж"))));
        QCOMPARE(registered(), QList<Combination>{Combination(MOD_ALT, 0x0416)});
    }

    // While a field captures, a press of any of the program's hotkeys, a disabled one's too,
    // goes to the field as its combination and acts on nothing.
    void capturingFieldTakesTheCombinationInsteadOfTheHotkey()
    {
        QGlobalShortcut enabled;
        QGlobalShortcut disabled;
        QVERIFY(enabled.setShortcut(QKeySequence(QStringLiteral("Alt+3"))));
        QVERIFY(disabled.setShortcut(QKeySequence(QStringLiteral("Ctrl+F2"))));
        disabled.setEnabled(false);
        QSignalSpy activated(&enabled, &QGlobalShortcut::activated);
        QObject field;
        QStringList captured;
        HotkeyCapture::instance().begin(&field, [&captured](const QKeySequence& combination) {
            captured << combination.toString(QKeySequence::NativeText);
        });
        QVERIFY(press(MOD_ALT, '3'));
        QVERIFY(press(MOD_CONTROL, VK_F2));
        QCOMPARE(captured, (QStringList{"Alt+3", "Ctrl+F2"}));
        QVERIFY(activated.isEmpty());

        HotkeyCapture::instance().end(&field);
        QVERIFY(press(MOD_ALT, '3'));
        QCOMPARE(activated.size(), 1);
        QCOMPARE(captured.size(), 2);
    }

    void combinationHeldByAnotherProgramIsRefused()
    {
        QGlobalShortcut shortcut;
        QSignalSpy activated(&shortcut, &QGlobalShortcut::activated);
        const QKeySequence earlier(QStringLiteral("Alt+1"));
        QVERIFY(shortcut.setShortcut(earlier));
        m_desktop->setHotKeyHeldElsewhere(MOD_CONTROL | MOD_SHIFT, 'K', true);

        QVERIFY(!shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+J, Ctrl+Shift+K"))));
        QCOMPARE(shortcut.errorText(),
                 QStringLiteral("Сочетание уже используется другой программой."));
        QCOMPARE(shortcut.keySequence(), earlier);
        // Neither the earlier combination nor the first chord stays registered.
        QVERIFY(registered().isEmpty());
        QVERIFY(!press(MOD_ALT, '1'));
        QVERIFY(activated.isEmpty());

        // The same combination registered by this program counts as taken too.
        QGlobalShortcut other;
        QVERIFY(other.setShortcut(QKeySequence(QStringLiteral("Ctrl+J"))));
        QVERIFY(!shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+J"))));

        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+L"))));
        QCOMPARE(shortcut.errorText(), QString());
    }

    void otherRefusalsAreWordedBySystem()
    {
        QGlobalShortcut shortcut;
        m_desktop->setRegisterHotKeyError(ERROR_ACCESS_DENIED);
        QVERIFY(!shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+F1"))));
        QCOMPARE(shortcut.errorText(), QStringLiteral("Access is denied."));

        m_desktop->setRegisterHotKeyError(12345);
        QVERIFY(!shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+F1"))));
        QCOMPARE(shortcut.errorText(), QStringLiteral("Код ошибки: 12345"));
    }

    void onlyItsOwnHotkeyMessagesAreConsumed()
    {
        QGlobalShortcut first;
        QGlobalShortcut second;
        QSignalSpy firstActivated(&first, &QGlobalShortcut::activated);
        QSignalSpy secondActivated(&second, &QGlobalShortcut::activated);
        QVERIFY(first.setShortcut(QKeySequence(QStringLiteral("Ctrl+1"))));
        QVERIFY(second.setShortcut(QKeySequence(QStringLiteral("Ctrl+2"))));
        const WPARAM firstId = static_cast<WPARAM>(m_desktop->registeredHotKeys()[0].id);
        const QByteArray windows = QByteArrayLiteral("windows_generic_MSG");

        QVERIFY(filter(windows, WM_HOTKEY, firstId));
        QVERIFY(filter(QByteArrayLiteral("windows_dispatcher_MSG"), WM_HOTKEY, firstId));
        QCOMPARE(firstActivated.size(), 2);
        QVERIFY(secondActivated.isEmpty());

        QVERIFY(!filter(windows, WM_MOUSEMOVE, firstId));
        QVERIFY(!filter(windows, WM_HOTKEY, firstId + 0x10000));
        // Messages of other kinds are not read as Windows messages.
        QVERIFY(!filter(QByteArrayLiteral("xcb_generic_event_t"), WM_HOTKEY, firstId));
        QCOMPARE(firstActivated.size(), 2);

        // Disabled: the press is left to others and nothing happens; the registration stays.
        first.setEnabled(false);
        QVERIFY(!filter(windows, WM_HOTKEY, firstId));
        QCOMPARE(firstActivated.size(), 2);
        QCOMPARE(m_desktop->registeredHotKeys().size(), size_t(2));
        QVERIFY(press(MOD_CONTROL, '2'));
        QCOMPARE(secondActivated.size(), 1);
        first.setEnabled(true);
        QVERIFY(press(MOD_CONTROL, '1'));
        QCOMPARE(firstActivated.size(), 3);
    }

    void plainSwitchSoundOnlyWithoutFeedbackOfTheHandler_data()
    {
        QTest::addColumn<bool>("isSound");
        QTest::addColumn<QVariant>("handlerResult"); // invalid: the handler sets nothing
        QTest::addColumn<int>("sounds");
        QTest::newRow("handler without feedback") << true << QVariant() << 1;
        QTest::newRow("sound off") << false << QVariant() << 0;
        QTest::newRow("handler succeeded") << true << QVariant(true) << 0;
        QTest::newRow("handler failed") << true << QVariant(false) << 0;
    }

    void plainSwitchSoundOnlyWithoutFeedbackOfTheHandler()
    {
        QFETCH(bool, isSound);
        QFETCH(QVariant, handlerResult);
        QFETCH(int, sounds);
        qApp->setProperty(AppProperty::isSound, isSound);
        qApp->setProperty(AppProperty::scenarioActivationResult, true); // from an earlier press
        QGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+F12"))));
        QVariant seenByHandler = QStringLiteral("not called");
        connect(&shortcut, &QGlobalShortcut::activated, this, [&] {
            seenByHandler = qApp->property(AppProperty::scenarioActivationResult);
            if (handlerResult.isValid())
                qApp->setProperty(AppProperty::scenarioActivationResult, handlerResult);
        });
        QSignalSpy played(QGlobalShortcut::sharedSwitchSound(), &SwitchSound::played);

        QVERIFY(press(MOD_CONTROL, VK_F12));

        QCOMPARE(seenByHandler, QVariant());
        QCOMPARE(played.size(), sounds);
        QCOMPARE(qApp->property(AppProperty::scenarioActivationResult), QVariant());
    }

    void idsStayInTheRangeWindowsAccepts()
    {
        // One shortcut keeps its id while another registers more ids than the range holds.
        QGlobalShortcut holder;
        QVERIFY(holder.setShortcut(QKeySequence(QStringLiteral("Ctrl+F1"))));
        const int heldId = m_desktop->registeredHotKeys()[0].id;
        QGlobalShortcut cycling;
        int previous = 0;
        bool wrapped = false;
        for (int i = 0; i <= SimulatedPlatform::kMaxHotKeyId + 1; ++i) {
            // The simulated desktop refuses ids outside 0..0xBFFF and ids still registered.
            if (!cycling.setShortcut(QKeySequence(Qt::Key_F2)))
                QFAIL(qPrintable(cycling.errorText()));
            const int id = m_desktop->registeredHotKeys()[1].id;
            QVERIFY(id >= 1 && id != heldId);
            wrapped = wrapped || id < previous;
            previous = id;
        }
        QVERIFY(wrapped);
    }
};

CLAVITOR_TEST(QGlobalShortcutTest);
#include "QGlobalShortcutTest.moc"
