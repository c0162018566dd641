// Saves one of the program's files again and again, in a small or a large version, until it
// is killed:
//
//     save_loop settings|profiles|autoclicker [copies]
//
// The data directory is the one of the environment (XDG_DATA_HOME). With "copies" it first
// saves each version once and keeps a copy of the bytes beside the file ("<file>.small",
// "<file>.large"). Then it prints the file's path on a line of its own.
//
// The caller paces the saves and picks their versions: each save starts when a byte arrives
// on stdin, "s" for the small version and "l" for the large one, and once it has finished its
// version ("small" or "large") is printed on a line of its own. At the end of stdin the loop
// ends. The caller thus always knows which save is under way and what the file held before
// it, however long a save takes.

#include "autoclicker/AutoclickerFile.h"
#include "core/DataDirectory.h"
#include "core/SettingsFile.h"
#include "profiles/ProfileStore.h"

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
        std::fprintf(stderr, "usage: save_loop settings|profiles|autoclicker [copies]\n");
        return 2;
    }

    const bool copies = argc > 2 && qstrcmp(argv[2], "copies") == 0;
    if (copies && (!save(false) || !keepCopy(path, QStringLiteral(".small")) || !save(true) ||
                   !keepCopy(path, QStringLiteral(".large"))))
        return 1;
    std::printf("%s\n", QFile::encodeName(path).constData());
    std::fflush(stdout);
    for (int version = std::getchar(); version != EOF; version = std::getchar()) {
        if ((version != 's' && version != 'l') || !save(version == 'l'))
            return 1;
        std::printf("%s\n", version == 'l' ? "large" : "small");
        std::fflush(stdout);
    }
    return 0;
}
