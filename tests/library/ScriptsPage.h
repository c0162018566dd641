#pragma once

// Helpers of the scenario page tests: profiles on disk as the page finds them at start-up,
// and the page's controls by name.

#include "ProfileFiles.h"

#include "app/SettingsFile.h"
#include "library/ProfileStore.h"
#include "library/ScriptsListWidget.h"
#include "library/SingleScriptWidget.h"

#include <QAbstractButton>
#include <QLineEdit>

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
                    !writeFile(scenario.file, "-- " + stored.file.toUtf8() + "\n"))
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
