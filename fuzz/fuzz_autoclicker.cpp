// autoclicker.json as the program finds it: whatever the file holds, loading it repairs it
// into a usable list ("default" first and once, unique names, a current profile, one on/off
// state in every profile), and that list survives a save and a load unchanged (compared in
// the form the file keeps).

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"

#include "autoclicker/AutoclickerFile.h"

#include <QFile>

#include <cstdio>

namespace {

QByteArray savedBytes(const QString& path, const AutoclickerProfiles& profiles, bool enabled)
{
    if (!AutoclickerFile::save(path, profiles, enabled))
        qFatal("the autoclicker file could not be saved");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the saved autoclicker file cannot be read");
    return file.readAll();
}

void checkRepaired(const AutoclickerProfiles& profiles, bool enabled)
{
    const QList<AutoclickerProfile>& list = profiles.list;
    FUZZ_CHECK(!list.isEmpty() && AutoclickerProfiles::isReservedName(list.first().name));
    FUZZ_CHECK(profiles.currentIndex >= 0 && profiles.currentIndex < list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        FUZZ_CHECK(!list[i].name.isEmpty() && list[i].name == list[i].name.trimmed());
        FUZZ_CHECK(list[i].settings.enabled == enabled);
        FUZZ_CHECK(i == 0 || !AutoclickerProfiles::isReservedName(list[i].name));
        FUZZ_CHECK(!profiles.isTaken(list[i].name, static_cast<int>(i)));
    }
}

// The profiles as reading their file gives them back: a profile without clicks keeps no
// click count (the "default" profile a repair adds carries the default 1 until then).
AutoclickerProfiles asRead(AutoclickerProfiles profiles)
{
    for (AutoclickerProfile& profile : profiles.list) {
        if (profile.settings.inputType == AutoclickerSettings::NoClicks)
            profile.settings.clickCount = 0;
    }
    return profiles;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzEnvironment& environment = FuzzEnvironment::instance();
    environment.clearDataDirectory();
    const QString path = AutoclickerFile::path();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        qFatal("cannot write the autoclicker file");
    file.close();

    AutoclickerProfiles loaded;
    const bool enabled = AutoclickerFile::load(path, loaded);
    checkRepaired(loaded, enabled);
    savedBytes(path, loaded, enabled);

    AutoclickerProfiles reloaded;
    FUZZ_CHECK(AutoclickerFile::load(path, reloaded) == enabled);
    FUZZ_CHECK(reloaded.currentIndex == loaded.currentIndex);
    const QByteArray expected = savedBytes(path, asRead(loaded), enabled);
    const QByteArray savedAgain = savedBytes(path, reloaded, enabled);
    if (savedAgain != expected)
        std::fprintf(stderr, "expected:\n%s\nsaved again:\n%s\n", expected.constData(),
                     savedAgain.constData());
    FUZZ_CHECK(savedAgain == expected);
    return 0;
}
