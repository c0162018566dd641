#pragma once

#include "AutoClicker.h"
#include "AutoclickerProfiles.h"
#include "hotkeys/QGlobalShortcut.h"

#include <QButtonGroup>
#include <QWidget>

#include <memory>
#include <optional>

class HotkeyAssignment;
class QComboBox;
class QGlobalMouseHook;

namespace Ui {
class AutoclickerWidget;
}

// The autoclicker's page: the settings of the current autoclicker profile, the profile
// commands, and the state machine that decides when the click engine runs. The engine is
// armed by the Enable button or the toggle hotkey; an armed autoclicker runs while the user
// holds the left button (or both buttons), or between presses of the profile's mode hotkey.
// An active scenario takes priority: it stops and disarms the autoclicker and locks the page.
class AutoclickerWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AutoclickerWidget(QWidget* parent = nullptr);
    ~AutoclickerWidget() override;

public slots:
    void onScenarioActivationChanged(bool active);
    void onLeftMouse(bool down);
    void onRightMouse(bool down);
    void onEnableToggled(bool checked);
    void onModeShortcut();
    void onToggleShortcut();
    void onSettingsChanged();
    void onProfileChanged(int index);
    void onProfileAdd();
    void onProfileRename();
    void onProfileDuplicate();
    void onProfileImport();
    void onProfileExport();
    void onProfileDelete();
    void onToggleHotkeyEdited(const QString& text);
    void onModeHotkeyEdited(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

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
    // The one guard against re-entry of load, selection, settings change and commands.
    enum class Busy
    {
        Free,
        Loading,
        Selection,
        Settings,
        Command
    };
    class BusyScope;

    void setUpControls();
    void connectControls();
    void loadProfiles();

    AutoclickerSettings readUi() const;
    void applyToUi(const AutoclickerSettings& settings);
    void storeUi(bool save);
    void selectProfile(int index);
    void saveProfiles();
    void fillProfileSelector();
    void refreshProfileButtons();
    // Fills the selector, shows the current profile and saves: the end of a list command.
    void finishListCommand();
    std::optional<QString> promptName(const QString& title, const QString& label,
                                      const QString& initialText, int excludedIndex);
    bool confirmSelectionHotkey(int index);
    void warn(const QString& text);
    void notice(const QString& text);

    void startClicker(StartSource source);
    void stopClicker(const QString& reason);
    void onClickerStopped();
    void evaluateHold(HoldEvent event, int buttons = 0, const QString& reason = {});
    int heldButtons() const;
    void useMouseHook(bool use);
    bool holdModeCanRun() const;

    // Registers the sequence for the shortcut; the overlay is told of a success.
    HotkeyAssignment assignHotkey(QGlobalShortcut& shortcut, const QKeySequence& sequence);
    bool applyHotkey(QGlobalShortcut& shortcut, const QKeySequence& sequence, bool showErrors);
    // The current profile's mode hotkey. One that cannot be registered leaves the profile
    // without a working hotkey: the previous profile's is given up, the field and the overlay
    // show none, and the user is told why (except while loading). The profile keeps the
    // combination, so that it works again once it is free.
    void applyProfileHotkey(const QKeySequence& hotkey);
    void pushHotkeysToOverlay();

    void refreshStatus();
    void applyInputTypeVisibility();
    void applyMoveVisibility();
    void applyRepeatVisibility();

    std::unique_ptr<Ui::AutoclickerWidget> ui;
    AutoClicker m_clicker;
    QGlobalShortcut m_modeShortcut;
    QGlobalShortcut m_toggleShortcut;
    QKeySequence m_refusedHotkey; // the current profile's, when it could not be registered
    QButtonGroup m_intervalRandomGroup;
    QButtonGroup m_moveRandomGroup;
    bool m_loadingUi = false;
    int m_previousMode = AutoClicker::HoldLeftRight;
    AutoclickerProfiles m_profiles;
    Busy m_busy = Busy::Free;
    bool m_storeWhenFree = false; // a settings change came while busy: store it once free
    StartSource m_startSource = UnknownSource;
    int m_hookButtons = 0;  // bit 0 left, bit 1 right, as the mouse hook last reported them
    int m_hookReleased = 0; // set where the hook's last event for the button was a release
    QString m_lastStopReason;
    int m_enabledState = 0;                  // 1: armed
    int m_scenarioLock = 0;                  // 1: a scenario is active
    QGlobalMouseHook* m_mouseHook = nullptr; // held while a hold mode can run
};
