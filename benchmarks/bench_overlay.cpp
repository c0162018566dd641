// The overlay's share of a scenario hotkey press: the scenario list page tells the overlay
// which scenario is now active, and the shown overlay restyles its rows and fits its size
// before the press is over. Run on the offscreen platform with the dark theme's stylesheet.
#include "overlay/OverlayController.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "ui/appearance/ThemeStyleSheet.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void activeScenarioChanges(benchmark::State& state)
{
    platform::SimulatedPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    OverlayController overlay;
    OverlaySettings settings;
    settings.enabled = true;
    overlay.setSettings(settings);
    QList<OverlayScenarioEntry> entries;
    for (int i = 0; i < state.range(0); ++i)
        entries.append(
            {QStringLiteral("Сценарий %1").arg(i), QStringLiteral("Alt+%1").arg(i), true});
    overlay.setScenarios(QStringLiteral("Игры"), entries);
    const QString names[] = {entries.first().name, entries.last().name};
    int next = 0;
    for (auto _ : state) {
        overlay.setActiveScenario(names[next]);
        next ^= 1;
    }
    platform::Platform::setCurrent(nullptr);
}
BENCHMARK(activeScenarioChanges)->Arg(5)->Arg(30)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setStyleSheet(loadThemeStyleSheet(QStringLiteral("default")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
