// Saves one of the program's files again and again, alternately a small and a large
// version, until it is killed:
//
//     save_loop settings|profiles|autoclicker
//
// The data directory is the one of the environment (XDG_DATA_HOME). Before the loop it saves
// each version once and keeps a copy of the bytes beside the file ("<file>.small",
// "<file>.large"); then it prints the file's path on a line of its own.

#include "app/DataDirectory.h"
#include "app/SettingsFile.h"
#include "autoclicker/AutoclickerFile.h"
#include "library/ProfileStore.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <functional>

namespace {

AppSettings settingsVersion(bool large)
{
    AppSettings settings;
    settings.lastProfile = large ? QStringLiteral("Игры") : QStringLiteral("default");
    settings.systemApiXY = large ? 2.5 : 1.0;
    // A large file takes long enough to write that many kills land in the middle of it.
    if (large)
        settings.reservedText = QString(1 << 20, QLatin1Char('x'));
    return settings;
}

QList<ScenarioProfile> profilesVersion(bool large)
{
    QList<ScenarioProfile> profiles(large ? 100 : 1);
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        ScenarioProfile& profile = profiles[i];
        profile.name = i == 0 ? QStringLiteral("default") : QStringLiteral("Профиль %1").arg(i);
        if (!large)
            continue;
        profile.description = QString(10000, QLatin1Char('d'));
        profile.scenarios.append({QStringLiteral("main.lua"), QStringLiteral("Alt+1"), {}});
        profile.autoReplacements.append({QStringLiteral("Скорость"), QString(),
                                         QStringLiteral("speed"), QStringLiteral("10"),
                                         QStringLiteral("20")});
    }
    return profiles;
}

AutoclickerProfiles autoclickerVersion(bool large)
{
    AutoclickerProfiles profiles;
    profiles.list.append({QStringLiteral("default"), AutoclickerSettings()});
    for (int i = 1; large && i < 2000; ++i)
        profiles.list.append({QStringLiteral("Автокликер %1").arg(i), AutoclickerSettings()});
    profiles.currentIndex = 0;
    return profiles;
}

bool keepCopy(const QString& path, const QString& suffix)
{
    QFile::remove(path + suffix);
    return QFile::copy(path, path + suffix);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QString path;
    std::function<bool(bool)> save;
    if (kind == QLatin1String("settings")) {
        path = dataFilePath(QStringLiteral("Settings"));
        save = [](bool large) { return saveSettings(settingsVersion(large)); };
    } else if (kind == QLatin1String("profiles")) {
        path = profilesFilePath();
        const QList<ScenarioProfile> small = profilesVersion(false);
        const QList<ScenarioProfile> large = profilesVersion(true);
        save = [small, large](bool isLarge) { return saveProfiles(isLarge ? large : small); };
    } else if (kind == QLatin1String("autoclicker")) {
        path = AutoclickerFile::path();
        const AutoclickerProfiles small = autoclickerVersion(false);
        const AutoclickerProfiles large = autoclickerVersion(true);
        save = [path, small, large](bool isLarge) {
            return AutoclickerFile::save(path, isLarge ? large : small, isLarge);
        };
    } else {
        std::fprintf(stderr, "usage: save_loop settings|profiles|autoclicker\n");
        return 2;
    }

    if (!save(false) || !keepCopy(path, QStringLiteral(".small")) || !save(true) ||
        !keepCopy(path, QStringLiteral(".large")))
        return 1;
    std::printf("%s\n", QFile::encodeName(path).constData());
    std::fflush(stdout);
    for (bool large = false;; large = !large) {
        if (!save(large))
            return 1;
    }
}
