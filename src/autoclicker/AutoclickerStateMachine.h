#pragma once

#include "AutoClicker.h"
#include "AutoclickerSettings.h"

#include <QObject>
#include <QString>

class QGlobalMouseHook;

// Decides when the click engine runs. The user arms and disarms the autoclicker (the Enable
// button, the toggle hotkey); an armed autoclicker runs in a hold mode while the mode's
// buttons are physically held, as the global mouse hook reports them, and in a hotkey mode
// between presses of the profile's mode hotkey. An active scenario takes priority: it stops
// and disarms the autoclicker and refuses arming until it ends. A change of the settings
// restarts a run with the new ones. Every run and every stop is logged with what caused it.
//
// The machine owns the engine and holds the mouse hook exactly while a hold mode could run.
// It reads the settings in force from its source whenever it decides: the mode at every
// decision, the whole settings at every start.
class AutoclickerStateMachine : public QObject
{
    Q_OBJECT

public:
    // Where the settings in force are read (the page's controls).
    class SettingsSource
    {
    public:
        virtual int mode() const = 0; // AutoClicker::Mode
        virtual AutoclickerSettings settings() const = 0;

    protected:
        ~SettingsSource() = default;
    };

    // The source outlives the machine; the constructor does not read it yet.
    explicit AutoclickerStateMachine(const SettingsSource& settings, QObject* parent = nullptr);
    ~AutoclickerStateMachine() override;

    bool isArmed() const { return m_armed; }
    // A run is on: ticks are being clicked.
    bool isClicking() const { return m_clicker.isRunning(); }
    // A scenario is active.
    bool isLocked() const { return m_locked; }

    // The armed state the last session saved, taken as it is; the next decision acts on it.
    void restoreArmed(bool armed);
    // The Enable button. Arming is refused while a scenario is active: false, nothing changed.
    bool setArmed(bool armed);
    // The toggle hotkey: flips the armed state, except while a scenario is active.
    void toggleArmed();
    // The mode hotkey: in a hotkey mode, an armed autoclicker starts a run, and a toggled run
    // stops; a counted run is not cut short.
    void modeHotkeyPressed();
    // A scenario became active (the autoclicker stops and is disarmed) or ended (it stays
    // disarmed). False when that was already so.
    bool setScenarioActive(bool active);
    // A setting changed, the mode included: a run starts over with the new settings, or
    // ends where the new mode does not let it run.
    void settingsChanged();
    // Another profile's settings replaced the shown ones: a run of the previous profile
    // stops, and later changes of the mode are seen against the new one. Nothing starts
    // before profileShown().
    void settingsReplaced();
    // Everything of the new profile is in place: its mode decides whether it runs at once.
    void profileShown();

signals:
    // The user armed (true) or disarmed (false) the autoclicker. Emitted before the machine
    // looks at the mode and the buttons again, so that the new state is shown and stored
    // first. A scenario's disarming is not told here: its caller finds it in isArmed().
    void armedByUser(bool armed);
    // A run started or ended (isClicking() tells which).
    void clickingChanged();

private:
    // What made the hold modes look at the buttons again.
    enum class HoldEvent
    {
        Mouse,
        ModeChange,
        SettingsChange,
        Toggle,
        Scenario
    };
    // What started the current run.
    enum StartSource
    {
        UnknownSource = 0,
        FromUi = 1,
        FromModeHotkey = 2,
        FromMouse = 3
    };

    void startClicker(StartSource source);
    void stopClicker(const QString& reason);
    void onClickerStopped();
    void evaluateHold(HoldEvent event, int buttons = 0, const QString& reason = {});
    int heldButtons() const;
    void useMouseHook(bool use);
    bool holdModeCanRun() const;
    void onLeftMouse(bool down);
    void onRightMouse(bool down);

    const SettingsSource& m_settings;
    AutoClicker m_clicker;
    int m_previousMode = AutoClicker::HoldLeftRight; // what a change of the mode is seen against
    StartSource m_startSource = UnknownSource;
    int m_hookButtons = 0;  // bit 0 left, bit 1 right, as the mouse hook last reported them
    int m_hookReleased = 0; // set where the hook's last event for the button was a release
    QString m_lastStopReason;
    bool m_armed = false;
    bool m_locked = false;
    QGlobalMouseHook* m_mouseHook = nullptr; // held while a hold mode can run
};
