#pragma once

// Helpers of the scenario page tests: profiles on disk as the page finds them at start-up,
// and the page's controls by name.

#include "ProfileFiles.h"

#include "ScriptedPrompter.h"

#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "following/ElevationWarning.h"
#include "following/ProfileFollower.h"
#include "overlay/OverlayFeed.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "profiles/ProfileStore.h"
#include "scenarios/FollowingConnections.h"
#include "scenarios/ScriptsListWidget.h"
#include "scenarios/SingleScriptWidget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>

#include <memory>

// A scenario of a profile on disk: a script file named `file` in the profile's folder.
struct StoredScenario
{
    QString file; // file name in the profile's folder; empty for none
    QString hotkey;
    MovementModifiers modifier;
};

// Writes the profiles (files included) and the settings' lastProfile, as a previous run would
// have left them.
inline void storeProfiles(const QList<QPair<QString, QList<StoredScenario>>>& profiles,
                          const QString& lastProfile = QStringLiteral("default"))
{
    QList<ScenarioProfile> list;
    for (const auto& [name, scenarios] : profiles) {
        ScenarioProfile profile = named(name);
        QDir().mkpath(profileDirectory(name));
        for (const StoredScenario& stored : scenarios) {
            ProfileScenario scenario;
            if (!stored.file.isEmpty()) {
                scenario.file = profileDirectory(name) + "/" + stored.file;
                if (!QFileInfo::exists(scenario.file) &&
                    !writeFile(scenario.file, "function OnEvent() end -- " + stored.file.toUtf8()))
                    qFatal("cannot write %s", qPrintable(scenario.file));
            }
            scenario.hotkey = stored.hotkey;
            scenario.modifier = stored.modifier;
            profile.scenarios.append(scenario);
        }
        list.append(profile);
    }
    if (!saveProfiles(list))
        qFatal("cannot write profiles.json");
    AppSettings settings = loadSettings();
    settings.lastProfile = lastProfile;
    saveSettings(settings);
}

template <typename T = QWidget> T* control(const QWidget& parent, const char* name)
{
    auto* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline void click(const QWidget& parent, const char* name)
{
    control<QAbstractButton>(parent, name)->click();
}

// What the page pushed to the overlay last.
class RecordingOverlay : public OverlayFeed
{
public:
    RecordingOverlay() { OverlayFeed::setCurrent(this); }
    ~RecordingOverlay() override { OverlayFeed::setCurrent(nullptr); }

    void setScenarios(const QString& name, const QList<OverlayScenarioEntry>& list) override
    {
        profileName = name;
        entries = list;
    }
    void setActiveScenario(const QString& name) override { active = name; }
    void setDisableHotkey(const QString& text) override { disableHotkey = text; }
    void setAutoclickerState(const QString&, AutoclickerActivity) override {}
    void setAutoclickerHotkeys(const QString&, const QString&) override {}
    void setRecording(const QString& text) override { recording = text; }
    void setNotice(const QString& text) override { notice = text; }

    QString profileName;
    QList<OverlayScenarioEntry> entries;
    QString active;
    QString disableHotkey;
    QString recording;
    QString notice;
};

// An empty data directory, the simulated desktop, scripted prompts and a recording overlay,
// for one test of the page.
struct PageFixture
{
    PageFixture()
    {
        removeDataDirectory();
        platform::Platform::setCurrent(&desktop);
        EngineState::instance() = EngineState{};
        qApp->setProperty(AppProperty::isSound, false);
        qApp->setProperty(AppProperty::scenarioSpeechEnabled, false);
    }
    ~PageFixture() { platform::Platform::setCurrent(nullptr); }

    // The user presses a combination on the desktop; true when a hotkey took it.
    bool press(UINT modifiers, UINT virtualKey)
    {
        const bool taken = desktop.pressHotKey(modifiers, virtualKey);
        QCoreApplication::sendPostedEvents();
        return taken;
    }

    // The text of the last prompt, and that there was one.
    QString lastPrompt() const
    {
        return prompter.prompts.isEmpty() ? QString() : prompter.prompts.last().text;
    }

    platform::SimulatedPlatform desktop;
    ScriptedPrompter prompter;
    RecordingOverlay overlay;
};

inline QComboBox* profileCombo(const ScriptsListWidget& page)
{
    return control<QComboBox>(page, "profileComboBox");
}

// The current profile's name; empty while none is current.
inline QString currentName(const ScriptsListWidget& page)
{
    return page.profiles().value(page.currentProfileIndex()).name;
}

inline QListWidget* scenarioList(const ScriptsListWidget& page)
{
    return control<QListWidget>(page, "listWidgetScripts");
}

// Row i of the list, of the model and of the profile describe one scenario: file and hotkey.
inline bool inStep(ScriptsListWidget& page)
{
    const QList<ProfileScenario>& scenarios =
        page.profiles().at(page.currentProfileIndex()).scenarios;
    page.row(0); // the rows that wait for the page to be shown are made
    if (scenarioList(page)->count() != scenarios.size() ||
        page.scriptsModel()->rowCount() < scenarios.size())
        return false;
    for (int i = 0; i < scenarios.size(); ++i) {
        const ScriptData* record = page.scriptsModel()->scriptAt(i);
        const QKeySequence hotkey =
            QKeySequence::fromString(scenarios[i].hotkey, QKeySequence::NativeText);
        if (page.row(i)->path() != scenarios[i].file || record->path != scenarios[i].file ||
            QKeySequence(record->hotkey) != hotkey ||
            QKeySequence::fromString(page.row(i)->hotkey(), QKeySequence::NativeText) != hotkey)
            return false;
    }
    return true;
}

// The profiles as profiles.json holds them now.
inline QList<ScenarioProfile> storedProfiles()
{
    QList<ScenarioProfile> profiles = readProfiles(profilesFilePath());
    for (ScenarioProfile& profile : profiles) {
        for (ProfileScenario& scenario : profile.scenarios) {
            if (!scenario.file.isEmpty())
                scenario.file = resolveScenarioPath(profile, scenario.file);
        }
    }
    return profiles;
}

// Following the program in front on the page, connected as the main window connects it.
struct PageFollower : ProfileFollower
{
    explicit PageFollower(ScriptsListWidget& page) : ProfileFollower(page, nullptr)
    {
        FollowingConnections::connect(page, *this);
    }
};

// The notice of elevated programs in front, connected as the main window connects it.
struct PageElevationWarning : ElevationWarning
{
    explicit PageElevationWarning(ScriptsListWidget& page)
        : ElevationWarning(page.foregroundWatch(), nullptr)
    {
        FollowingConnections::connect(page, *this);
    }
};
