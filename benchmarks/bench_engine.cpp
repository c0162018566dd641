// The scenario activation path and the delivery of a mouse event to a script's OnEvent.
#include "BenchmarkMain.h"
#include "../tests/support/ScenarioScripts.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// About 10 KB of Lua: a few hundred table entries and helper functions, and an OnEvent
// that does a little arithmetic on every event.
QByteArray tenKilobyteScript()
{
    QByteArray source = "counter = 0\nweights = {\n";
    for (int i = 0; i < 300; ++i)
        source += "  " + QByteArray::number(i % 17) + ".5,\n";
    source += "}\n";
    for (int i = 0; source.size() < 10 * 1024 - 200; ++i)
        source += "local function helper" + QByteArray::number(i) +
                  "(a, b) return a * b + " + QByteArray::number(i) + " end\n";
    source += "function OnEvent(event, arg)\n"
              "  local sum = 0\n"
              "  for i = 1, 20 do sum = sum + weights[i] end\n"
              "  counter = counter + sum\n"
              "end\n";
    return source;
}

void ActivateTenKilobyteScript(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeScript(dir, QStringLiteral("bench.lua"), tenKilobyteScript());
    ScriptsModel model;
    for (auto _ : state)
        model.executeLua(path);
    model.deactivateScript();
}
BENCHMARK(ActivateTenKilobyteScript)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void MouseEventToOnEvent(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeScript(dir, QStringLiteral("bench.lua"), tenKilobyteScript());
    ScriptsModel model;
    model.executeLua(path);
    bool pressed = true;
    for (auto _ : state) {
        model.rigthMouseButtonStateChanged(pressed);
        pressed = !pressed;
    }
    model.deactivateScript();
}
BENCHMARK(MouseEventToOnEvent)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv);
}
