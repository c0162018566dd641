#pragma once

#include "DeactivationHotkey.h"
#include "PageDialogs.h"
#include "ProfileCommands.h"
#include "ScenarioRowCommands.h"
#include "following/FollowedPage.h"
#include "following/ForegroundWatch.h"
#include "profiles/ProfileLibrary.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class AutoReplacePanel;
class ProfileTrustCheck;
class ProgramsPanel;
class QListWidgetItem;
class RecordingPanel;
class ScenarioRowPool;
class ScriptsModel;
class SingleScriptWidget;

namespace Ui {
class ScriptsListWidget;
}

// The scenario page: the profiles with their switch, the current profile's scenarios as rows,
// its description and auto-replace table, the active scenario with the hotkey that deactivates
// it. It owns the profile list and the scenario model of the current profile, which it builds
// anew on every profile switch, and wires its controls to the profile commands and the
// scenario row commands. Row i of the list, row i of the model and scenario i of the profile
// always describe the same scenario; every change is saved at once and shown on the overlay.
class ScriptsListWidget : public QWidget, public FollowedPage
{
    Q_OBJECT

public:
    explicit ScriptsListWidget(QWidget* parent = nullptr);
    ~ScriptsListWidget() override;

    const QList<ScenarioProfile>& profiles() const override { return m_library.profiles(); }
    // The current profile's index in profiles(); -1 while none is current.
    qsizetype currentProfileIndex() const override { return m_currentIndex; }
    ScriptsModel* scriptsModel() const override { return m_model; }
    // The row widget of row i of the list (the rows waiting for the page to be shown are made
    // now); nullptr out of range.
    SingleScriptWidget* row(int i);
    // Makes the profile current for the program in front, without asking and without taking
    // it for the profile to show at the next start: the hotkeys of its scenarios that another
    // part of the program holds stay unregistered, are named in the log and show as "—" on
    // the overlay. False while a dialog of the page is open.
    bool followProgram(qsizetype index) override;
    // The program in front, for the follower and the page's "Выбрать окно".
    ForegroundWatch& foregroundWatch() override { return m_foreground; }

signals:
    void sigScenarioActivationChanged(bool active);
    void sigProfileChanged(const QString& profileName);
    // The user turned following the program in front on or off (saved already).
    void sigFollowingChanged(bool enabled);
    // A row's error mark: the user wants the log of the scenario named.
    void logRequested(const QString& scenario);

public slots:
    void slotProfileChanged(int index);

    void slotDisableScript();
    void slotActiveLuaChanged(const QString& name);

    // Applies the profile's auto-replace table to its scripts.
    void slotAutoReplaceApply();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    ScenarioProfile* currentProfile()
    {
        return m_library.contains(m_currentIndex) ? &m_library[m_currentIndex] : nullptr;
    }
    // Who makes a profile current: the user, whose choice is asked about hotkey conflicts and
    // shown again at the next start, or following the program in front (see followProgram),
    // which asks nothing and is not remembered.
    enum class SwitchBy
    {
        User,
        Following
    };
    // Makes the profile current; false when the user cancelled it, and nothing changed.
    bool switchToProfile(qsizetype index, SwitchBy by = SwitchBy::User);
    // Warns of the target profile's hotkeys that another owner holds; on Continue clears them
    // in the target profile. False on Cancel.
    bool resolveHotkeyConflicts(qsizetype index);
    // The page without a current profile: no rows, an empty model, nothing on the overlay.
    void showNoProfile();
    void replaceModel();
    void rebuildScenarioList();
    void showDescription();
    // The one place where what the page edits outside the profile list (the description and
    // the auto-replace table) goes into the current profile; true when that changed it.
    bool takePendingEdits();
    // Takes the pending edits and writes the list when they changed the profile.
    void savePendingEdits();
    // Takes the pending edits and writes the whole list.
    void saveProfiles();
    // After a change of the current profile's scenarios: saved, and shown on the overlay.
    void saveScenarioChange();
    // The profile's four modifier properties; the scenario's are the engine's.
    void publishProfileModifiers();
    // The scenario's modifier properties back to neutral, for a profile switch.
    void resetScenarioModifiers();
    void publishOverlayList();
    void rememberLastProfile();
    void updateProfileButtons();
    void updateListVisibility();
    void refreshActiveLabel();

    SingleScriptWidget* addRow(const QString& path, const QString& hotkey);
    // A row widget connected to the page's slots: a kept one, or a new one when none is kept.
    // Kept rows were made after every row in use, so the rows stay in the focus chain's order.
    SingleScriptWidget* takeRow();
    // Shows the scenario's file and hotkey on the row and puts it on the item.
    void placeRow(QListWidgetItem* item, SingleScriptWidget* row, const QString& path,
                  const QString& hotkey);
    // Makes the rows of the current profile's scenarios that wait for the page to be shown.
    void makePendingRows();
    int rowIndex(const SingleScriptWidget* row) const;
    // Model row i exists: the model's spare empty row, or a new one.
    void ensureModelRow(int i);
    void setModelHotkey(int i, const QString& nativeText);

    void onDisableHotkeyEdited(const QString& text);
    // The recorder counts down or records (true) or has stopped: meanwhile no scenario is
    // active nor activated by its hotkey, the deactivation hotkey stops the recorder, the
    // profile and its scenarios stay as they are and the autoclicker is locked.
    void onRecordingChanged(bool recording);

    // The commands work on the page's profile list, rows and model.
    friend class ProfileCommands;
    friend class ProfileTrustCheck;
    friend class ProgramsPanel;
    friend class RecordingPanel;
    friend class ScenarioRowCommands;

    std::unique_ptr<Ui::ScriptsListWidget> ui;
    AutoReplacePanel* m_autoReplace;
    ForegroundWatch m_foreground;
    ProfileTrustCheck* m_trust = nullptr;
    ProgramsPanel* m_programs = nullptr;
    // The list's delegate, keeping the rows of the profile left for the next one.
    ScenarioRowPool* m_rowPool = nullptr;
    RecordingPanel* m_recording = nullptr;
    ProfileLibrary m_library;
    qsizetype m_currentIndex = -1;
    ScriptsModel* m_model = nullptr;
    DeactivationHotkey m_deactivation;
    QString m_activeName;
    QTimer m_descriptionTimer;
    PageDialogs m_dialogs;
    ProfileCommands m_profileCommands;
    ScenarioRowCommands m_rowCommands;
    // Rows are made once the page has been shown: a row is styled when it is shown, again
    // whenever one of its ancestors moves to another parent, and start-up moves the page
    // twice before the window is shown.
    bool m_shown = false;
    bool m_rowsPending = false;
};
