// Start-up load and whole-list save of a large profile library: 200 profiles of 50 scenarios,
// every scenario file present.
#include "profiles/ProfileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

namespace {

constexpr int kProfiles = 200;
constexpr int kScenarios = 50;

QList<ScenarioProfile> makeLibrary()
{
    QList<ScenarioProfile> profiles;
    for (int p = 0; p < kProfiles; ++p) {
        ScenarioProfile profile;
        profile.name = QStringLiteral("Профиль %1").arg(p);
        profile.description = QStringLiteral("Описание профиля %1").arg(p);
        profile.modifier = {1.25, 0.5, 1.0, p % 4};
        profile.autoReplacements = {{"Скорость", "шаг", "speed", "10", "20"}};
        const QString directory = profileDirectory(profile.name);
        for (int s = 0; s < kScenarios; ++s) {
            const QString file = directory + QStringLiteral("/scripts/scenario_%1.lua").arg(s);
            QDir().mkpath(QFileInfo(file).path());
            QFile script(file);
            if (script.open(QIODevice::WriteOnly))
                script.write("function OnEvent(event, arg) end\n");
            profile.scenarios.append({file, QStringLiteral("Ctrl+Alt+F%1").arg(s % 12 + 1),
                                      {1.0, 1.0, 0.5, s % 4}});
        }
        profiles.append(profile);
    }
    return profiles;
}

const QList<ScenarioProfile>& library()
{
    static const QList<ScenarioProfile> profiles = [] {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
            .removeRecursively();
        QList<ScenarioProfile> made = makeLibrary();
        saveProfiles(made);
        return made;
    }();
    return profiles;
}

void LoadProfiles(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        const QList<ScenarioProfile> loaded = loadProfiles();
        if (loaded.size() != kProfiles || loaded.back().scenarios.size() != kScenarios)
            state.SkipWithError("the library did not load whole");
        benchmark::DoNotOptimize(loaded.data());
    }
    state.SetItemsProcessed(state.iterations() * kProfiles * kScenarios);
}
BENCHMARK(LoadProfiles)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

void SaveProfiles(benchmark::State& state)
{
    const QList<ScenarioProfile>& profiles = library();
    for (auto _ : state) {
        if (!saveProfiles(profiles))
            state.SkipWithError("the library could not be saved");
    }
    state.SetItemsProcessed(state.iterations() * kProfiles * kScenarios);
}
BENCHMARK(SaveProfiles)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    // A data directory of its own, away from the user's real profiles.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("bench_profiles"));
    QCoreApplication app(argc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .removeRecursively();
    return 0;
}
