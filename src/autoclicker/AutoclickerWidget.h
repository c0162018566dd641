#pragma once

#include "AutoclickerProfileCommands.h"
#include "AutoclickerProfiles.h"
#include "AutoclickerStateMachine.h"
#include "hotkeys/QGlobalShortcut.h"

#include <QButtonGroup>
#include <QWidget>

#include <memory>

class HotkeyAssignment;

namespace Ui {
class AutoclickerWidget;
}

// The autoclicker's page: the settings of the current autoclicker profile, the profile
// selector with its commands, the Enable button and the two hotkeys. It shows and stores the
// current profile, and tells the state machine, which decides when the click engine runs,
// of every switch, hotkey press and change of the settings; the machine reads the settings
// from the page's controls.
class AutoclickerWidget : public QWidget, private AutoclickerStateMachine::SettingsSource
{
    Q_OBJECT

public:
    explicit AutoclickerWidget(QWidget* parent = nullptr);
    ~AutoclickerWidget() override;

public slots:
    void onScenarioActivationChanged(bool active);
    void onEnableToggled(bool checked);
    void onSettingsChanged();
    void onProfileChanged(int index);
    void onToggleHotkeyEdited(const QString& text);
    void onModeHotkeyEdited(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
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
    friend class AutoclickerProfileCommands;

    void setUpControls();
    void connectControls();
    void loadProfiles();

    int mode() const override;
    AutoclickerSettings settings() const override;
    void applyToUi(const AutoclickerSettings& settings);
    void storeUi(bool save);
    // storeUi(true), or once the page is free when one of its dialogs is open.
    void storeSettings();
    void selectProfile(int index);
    void saveProfiles();
    void fillProfileSelector();
    void refreshProfileButtons();
    bool confirmSelectionHotkey(int index);
    // A profile command, unless the page is busy; the profile buttons are refreshed after it.
    void runCommand(void (AutoclickerProfileCommands::*command)());
    // The user armed or disarmed the autoclicker: shown, and kept in every profile.
    void onArmedByUser(bool armed);

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
    // Tells the overlay the current profile's name and whether it is off, armed or clicking.
    void showActivityOnOverlay();
    void applyInputTypeVisibility();
    void applyMoveVisibility();
    void applyRepeatVisibility();

    std::unique_ptr<Ui::AutoclickerWidget> ui;
    AutoclickerStateMachine m_machine;
    QGlobalShortcut m_modeShortcut;
    QGlobalShortcut m_toggleShortcut;
    QKeySequence m_refusedHotkey; // the current profile's, when it could not be registered
    QButtonGroup m_intervalRandomGroup;
    QButtonGroup m_moveRandomGroup;
    bool m_loadingUi = false;
    AutoclickerProfiles m_profiles;
    AutoclickerProfileCommands m_profileCommands;
    Busy m_busy = Busy::Free;
    bool m_storeWhenFree = false; // a settings change came while busy: store it once free
};
