// The scenario activation path, the delivery of a mouse event to a script's OnEvent, the cost
// of the stop check in a running script, the processor time of the scripts' Sleep, and a
// script stopped by the memory bound.
#include "../tests/support/ScenarioScripts.h"
#include "BenchmarkMain.h"
#include "ProcessStatus.h"
#include "engine/EngineState.h"
#include "engine/RunawayStop.h"
#include "engine/ScriptsModel.h"
#include "ui/prompts/Prompter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <ctime>

#include <lua.hpp>

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

// A tight Lua loop (ten million additions) run as a script runs it, with the check for the
// stop combination (the hook armed every few milliseconds, a look at the keys each time),
// alternating with the same loop run bare. The counter "cost_percent" is how much longer the
// loop takes with the check, in processor time (the goal: at most 2 %).
void StopCheckCost(benchmark::State& state)
{
    ScriptsModel model;
    lua_State* L = model.luaState();
    luaL_loadstring(L, "local x = 0 for i = 1, 1e7 do x = x + i end");
    const int chunk = luaL_ref(L, LUA_REGISTRYINDEX);
    const auto runLoop = [L, chunk] {
        lua_rawgeti(L, LUA_REGISTRYINDEX, chunk);
        lua_call(L, 0, 0);
    };
    std::clock_t with = 0;
    std::clock_t without = 0;
    for (auto _ : state) {
        std::clock_t start = std::clock();
        {
            const RunawayStop run(L);
            runLoop();
        }
        with += std::clock() - start;
        start = std::clock();
        runLoop();
        without += std::clock() - start;
    }
    state.counters["cost_percent"] =
        100.0 * (static_cast<double>(with) / static_cast<double>(without) - 1.0);
}
BENCHMARK(StopCheckCost)->Unit(benchmark::kMillisecond)->Iterations(100);

// A script's Sleep(10) in a loop of about 10 s: the wall time per call (11 ms at most: the
// start is truncated to whole milliseconds), and in "cpu" the processor time it costs; the
// counter "cpu_share" is that time as a share of the wall time.
void SleepTenMilliseconds(benchmark::State& state)
{
    ScriptsModel model;
    lua_State* L = model.luaState();
    luaL_loadstring(L, "Sleep(10)");
    const int chunk = luaL_ref(L, LUA_REGISTRYINDEX);
    const auto cpuStart = std::clock();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, chunk);
        lua_call(L, 0, 0);
    }
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.counters["cpu_share"] = cpu / wall;
}
BENCHMARK(SleepTenMilliseconds)->Unit(benchmark::kMillisecond)->Iterations(950)->UseRealTime();

// Takes the activation's failure message without a window.
class SilentPrompter : public Prompter
{
public:
    SilentPrompter() { Prompter::setCurrent(this); }
    ~SilentPrompter() override { Prompter::setCurrent(nullptr); }
    PromptAnswer ask(const Prompt&) override { return {}; }
};

// A script that allocates until the memory bound (the default, 256 MiB) stops it: the time
// from its activation until the state is made anew, and in the counters the process's peak
// resident memory ("peak_MiB") and what stays resident after ("after_MiB").
void AllocationLoopStoppedByTheBound(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeScript(
        dir, QStringLiteral("bench.lua"),
        "t = {} while true do t[#t + 1] = {#t, #t, #t, #t, #t, #t, #t, #t} end");
    const SilentPrompter prompter;
    ScriptsModel model;
    for (auto _ : state)
        model.executeLua(path);
    state.counters["peak_MiB"] = statusKiB("VmHWM:") / 1024;
    state.counters["after_MiB"] = statusKiB("VmRSS:") / 1024;
}
BENCHMARK(AllocationLoopStoppedByTheBound)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv);
}
