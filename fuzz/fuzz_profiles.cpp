// profiles.json as the program finds it: whatever the file holds, reading it does no harm,
// and the profiles it yields survive a save and a second read, with each scenario's file
// in the form a save stores it.

#include "FuzzCheck.h"
#include "FuzzEnvironment.h"

#include "profiles/ProfileStore.h"

namespace {

// The profiles as a save writes them: scenario paths in their stored form.
QList<ScenarioProfile> asStored(QList<ScenarioProfile> profiles)
{
    for (ScenarioProfile& profile : profiles) {
        for (ProfileScenario& scenario : profile.scenarios)
            scenario.file = storedScenarioPath(profile, scenario.file);
    }
    return profiles;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzEnvironment& environment = FuzzEnvironment::instance();
    environment.clearDataDirectory();
    const QString stored = environment.writeFile(QStringLiteral("profiles.json"), data, size);
    QString error;
    const QList<ScenarioProfile> profiles = readProfiles(stored, &error);
    if (profiles.isEmpty()) {
        FUZZ_CHECK(!error.isEmpty()); // a file that yields nothing always says why
        return 0;
    }

    const QString saved = environment.dataDirectory() + QStringLiteral("/profiles.json");
    if (!writeProfiles(profiles, saved, &error))
        qFatal("cannot save the profiles: %s", qPrintable(error));
    const QList<ScenarioProfile> reread = readProfiles(saved, &error);
    FUZZ_CHECK(reread == asStored(profiles));
    return 0;
}
