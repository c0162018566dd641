// Writes a scenario library into the program's data directory, as the program finds it
// outside the tests ($XDG_DATA_HOME/clavitor/Clavitor on Linux): the default profile and
// <profiles> profiles of <scenarios> scenarios each (files and hotkeys included), the last of
// them remembered and the scenario page the one shown. For startup-bench.sh.
// Usage: scenario_library_writer <profiles> <scenarios>
#include "core/SettingsFile.h"
#include "profiles/ProfileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("clavitor"));
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: scenario_library_writer <profiles> <scenarios>\n", stderr);
        return 2;
    }
    const int profileCount = QString::fromLocal8Bit(argv[1]).toInt();
    const int scenarioCount = QString::fromLocal8Bit(argv[2]).toInt();

    QList<ScenarioProfile> profiles(1);
    profiles[0].name = QStringLiteral("default");
    for (int p = 1; p <= profileCount; ++p) {
        ScenarioProfile profile;
        profile.name = QStringLiteral("Профиль %1").arg(p);
        for (int s = 0; s < scenarioCount; ++s) {
            ProfileScenario scenario;
            scenario.file =
                profileDirectory(profile.name) + QStringLiteral("/scenario_%1.lua").arg(s);
            scenario.hotkey = QStringLiteral("Ctrl+Alt+%1").arg(QChar(u'A' + s % 26));
            profile.scenarios.append(scenario);
        }
        profiles.append(profile);
    }
    for (const ScenarioProfile& profile : profiles) {
        QDir().mkpath(profileDirectory(profile.name));
        for (const ProfileScenario& scenario : profile.scenarios) {
            QFile script(scenario.file);
            if (!script.open(QIODevice::WriteOnly) ||
                script.write("function OnEvent(event, arg) end\n") < 0)
                return 1;
        }
    }
    AppSettings settings = loadSettings();
    settings.lastProfile = profiles.last().name;
    settings.lastPage = QStringLiteral("scriptsList");
    return saveProfiles(profiles) && saveSettings(settings) ? 0 : 1;
}
