#include "AutoclickerStateMachine.h"

#include "AutoclickerFile.h"
#include "hooks/QGlobalMouseHook.h"
#include "platform/Platform.h"

namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;

bool isHoldMode(int mode)
{
    return mode == AutoClicker::HoldLeft || mode == AutoClicker::HoldLeftRight;
}

} // namespace

AutoclickerStateMachine::AutoclickerStateMachine(const SettingsSource& settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_clicker(this)
{
    m_clicker.setObjectName(QStringLiteral("clicker"));
    connect(&m_clicker, &AutoClicker::stopped, this, &AutoclickerStateMachine::onClickerStopped);
}

AutoclickerStateMachine::~AutoclickerStateMachine()
{
    m_clicker.disconnect(this);
    useMouseHook(false);
}

void AutoclickerStateMachine::restoreArmed(bool armed)
{
    m_armed = armed;
}

bool AutoclickerStateMachine::setArmed(bool armed)
{
    if (m_locked && armed)
        return false;
    m_armed = armed;
    if (!armed)
        stopClicker(QStringLiteral("toggle_off"));
    emit armedByUser(armed);
    settingsChanged(); // the armed state is one of the settings
    evaluateHold(HoldEvent::Toggle, 0, armed ? QString() : QStringLiteral("toggle_off"));
    return true;
}

void AutoclickerStateMachine::toggleArmed()
{
    if (m_locked)
        return;
    setArmed(!m_armed);
}

void AutoclickerStateMachine::modeHotkeyPressed()
{
    const int mode = m_settings.mode();
    if (m_locked || !m_armed || isHoldMode(mode))
        return;
    if (!m_clicker.isRunning())
        startClicker(FromModeHotkey);
    else if (mode == AutoClicker::HotkeyToggle)
        stopClicker(QStringLiteral("mode_hotkey"));
    // A counted run is not cut short by the hotkey.
}

bool AutoclickerStateMachine::setScenarioActive(bool active)
{
    if (active == m_locked)
        return false;
    if (active) {
        stopClicker(QStringLiteral("scenario_active"));
        m_armed = false;
    }
    m_locked = active;
    evaluateHold(HoldEvent::Scenario, 0, active ? QStringLiteral("scenario_active") : QString());
    return true;
}

void AutoclickerStateMachine::settingsChanged()
{
    const int mode = m_settings.mode();
    const bool sameMode = mode == m_previousMode;
    if (!sameMode)
        evaluateHold(HoldEvent::ModeChange); // a hold run ends where the new mode lets it go
    const QString reason =
        sameMode ? QStringLiteral("settings_change") : QStringLiteral("mode_change");
    const HoldEvent event = sameMode ? HoldEvent::SettingsChange : HoldEvent::ModeChange;
    if (m_clicker.isRunning()) {
        stopClicker(reason);
        if (isHoldMode(mode)) {
            evaluateHold(event, 0, reason);
        } else {
            if (!sameMode)
                evaluateHold(HoldEvent::ModeChange, 0, reason);
            startClicker(FromUi); // a run in a hotkey mode starts over with the new settings
        }
    } else if (isHoldMode(mode) || !sameMode) {
        evaluateHold(event, 0, reason);
    }
    m_previousMode = mode;
}

void AutoclickerStateMachine::settingsReplaced()
{
    stopClicker(QStringLiteral("profile_change"));
    m_previousMode = m_settings.mode();
}

void AutoclickerStateMachine::profileShown()
{
    evaluateHold(HoldEvent::ModeChange); // the new profile's mode, with its settings
}

void AutoclickerStateMachine::startClicker(StartSource source)
{
    const AutoclickerSettings s = m_settings.settings();
    m_clicker.setInterval(s.interval);
    switch (s.inputType) {
    case AutoclickerSettings::Mouse:
        m_clicker.setClickEnabled(true);
        m_clicker.setMouseButton(s.button);
        break;
    case AutoclickerSettings::Keyboard:
        m_clicker.setClickEnabled(true);
        m_clicker.setKeyboardKey(s.key);
        break;
    default:
        m_clicker.setClickEnabled(false);
        break;
    }
    m_clicker.setOffset(s.useMove ? s.move : QPoint());
    m_clicker.setSmoothMove(s.smooth);
    m_clicker.setClicksPerTick(s.inputType == AutoclickerSettings::NoClicks ? 0 : s.clickCount);
    m_clicker.setMode(s.mode);
    m_clicker.setRepeatCount(s.repeat);
    m_clicker.setIntervalRandomization(s.delayRand);
    m_clicker.setOffsetRandomization(s.moveRand);
    qCInfo(lcAutoclicker).noquote() << QStringLiteral("Автокликер запущен: %1")
                                           .arg(source == FromUi           ? "ui"
                                                : source == FromModeHotkey ? "mode_hotkey"
                                                                           : "mouse");
    m_clicker.start();
    if (m_clicker.isRunning()) {
        m_startSource = source;
        emit clickingChanged();
    }
}

void AutoclickerStateMachine::stopClicker(const QString& reason)
{
    if (!m_clicker.isRunning())
        return;
    m_lastStopReason = reason;
    m_clicker.stop();
}

void AutoclickerStateMachine::onClickerStopped()
{
    // A hold run stopped for new settings starts again in the handler that stopped it, once
    // the new settings are in place; starting it here would click once more with the old
    // ones, or while a scenario takes over.
    const QString reason = std::exchange(m_lastStopReason, QString());
    qCInfo(lcAutoclicker).noquote()
        << QStringLiteral("Автокликер остановлен: %1")
               .arg(reason.isEmpty() ? QStringLiteral("run_complete") : reason);
    m_startSource = UnknownSource;
    emit clickingChanged();
}

bool AutoclickerStateMachine::holdModeCanRun() const
{
    return isHoldMode(m_settings.mode()) && m_armed && !m_locked;
}

void AutoclickerStateMachine::useMouseHook(bool use)
{
    if (use == (m_mouseHook != nullptr))
        return;
    if (use) {
        m_mouseHook = QGlobalMouseHook::acquire();
        connect(m_mouseHook, &QGlobalMouseHook::leftMouseButtonEvent, this,
                &AutoclickerStateMachine::onLeftMouse, Qt::QueuedConnection);
        connect(m_mouseHook, &QGlobalMouseHook::rightMouseButtonEvent, this,
                &AutoclickerStateMachine::onRightMouse, Qt::QueuedConnection);
        // The hook hears every change from now on; what it said before it was last given up
        // is stale. The buttons held at this moment count as pressed where it heard them.
        m_hookReleased = 0;
        m_hookButtons = 0;
        m_hookButtons = heldButtons();
    } else {
        m_mouseHook->disconnect(this);
        m_mouseHook = nullptr;
        QGlobalMouseHook::release();
    }
}

// The hook hears only the user's own buttons, while the system's state also follows the
// engine's clicks: what the hook heard last wins over the system's state.
int AutoclickerStateMachine::heldButtons() const
{
    platform::Platform& system = platform::Platform::current();
    int held = m_hookButtons;
    if (!(m_hookReleased & kLeft) && (system.getAsyncKeyState(VK_LBUTTON) & 0x8000))
        held |= kLeft;
    if (!(m_hookReleased & kRight) && (system.getAsyncKeyState(VK_RBUTTON) & 0x8000))
        held |= kRight;
    return held;
}

void AutoclickerStateMachine::evaluateHold(HoldEvent event, int buttons, const QString& givenReason)
{
    // The hook listens exactly while a hold mode could run.
    useMouseHook(holdModeCanRun());

    QString reason = givenReason;
    if (reason.isEmpty()) {
        switch (event) {
        case HoldEvent::Mouse:
            reason = QStringLiteral("mouse_release");
            break;
        case HoldEvent::ModeChange:
            reason = QStringLiteral("mode_change");
            break;
        case HoldEvent::SettingsChange:
            reason = QStringLiteral("settings_change");
            break;
        case HoldEvent::Toggle:
            reason = QStringLiteral("toggle_off");
            break;
        case HoldEvent::Scenario:
            reason = QStringLiteral("scenario_active");
            break;
        }
    }
    int held = 0;
    if (event == HoldEvent::Mouse)
        held = m_hookButtons = buttons;
    else
        held = heldButtons();
    const int mode = m_settings.mode();
    const bool heldRun = m_clicker.isRunning() && m_startSource == FromMouse;

    const int needed = mode == AutoClicker::HoldLeft ? kLeft : kLeft | kRight;
    if (!holdModeCanRun() || (held & needed) != needed) {
        if (heldRun)
            stopClicker(reason);
        return;
    }
    if (m_clicker.isRunning()) {
        if (heldRun && (event == HoldEvent::ModeChange || event == HoldEvent::SettingsChange))
            stopClicker(reason); // the caller's next evaluation starts it again
        return;
    }
    startClicker(FromMouse);
}

void AutoclickerStateMachine::onLeftMouse(bool down)
{
    m_hookButtons = down ? m_hookButtons | kLeft : m_hookButtons & ~kLeft;
    m_hookReleased = down ? m_hookReleased & ~kLeft : m_hookReleased | kLeft;
    evaluateHold(HoldEvent::Mouse, m_hookButtons);
}

void AutoclickerStateMachine::onRightMouse(bool down)
{
    m_hookButtons = down ? m_hookButtons | kRight : m_hookButtons & ~kRight;
    m_hookReleased = down ? m_hookReleased & ~kRight : m_hookReleased | kRight;
    evaluateHold(HoldEvent::Mouse, m_hookButtons);
}
