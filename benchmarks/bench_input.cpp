// The input routine against a bare call of the simulated desktop, with the per-record log
// line on and off; a relative move from Lua; and how long Sleep(10) really waits.
// Run with 2>/dev/null: the log lines go to the standard error.
#include "BenchmarkMain.h"
#include "core/AppProperties.h"
#include "engine/ScriptsModel.h"
#include "input/InputSender.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <algorithm>

namespace {

INPUT relativeMove()
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = 3;
    record.mi.dy = -2;
    record.mi.dwFlags = MOUSEEVENTF_MOVE;
    return record;
}

void BareSimulatedSendInput(benchmark::State& state)
{
    platform::SimulatedPlatform desktop;
    const INPUT record = relativeMove();
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop.sendInput(1, &record, sizeof(INPUT)));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BareSimulatedSendInput);

void SendInputRecord(benchmark::State& state)
{
    const bool logOn = state.range(0) != 0;
    QLoggingCategory::setFilterRules(logOn ? QStringLiteral("clavitor.input.info=true")
                                           : QStringLiteral("clavitor.input.info=false"));
    platform::SimulatedPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    qApp->setProperty(AppProperty::systemApiXY, 1.5);
    qApp->setProperty(AppProperty::scenarioRand, 1.0);
    const INPUT record = relativeMove();
    for (auto _ : state)
        benchmark::DoNotOptimize(sendInputRecord(record));
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(logOn ? "log on" : "log off");
    platform::Platform::setCurrent(nullptr);
}
BENCHMARK(SendInputRecord)->Arg(0)->Arg(1);

void MoveMouseRelativeFromLua(benchmark::State& state)
{
    QLoggingCategory::setFilterRules(QStringLiteral("clavitor.input.info=false"));
    platform::SimulatedPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    ScriptsModel model;
    lua_State* L = model.luaState();
    luaL_loadstring(L, "MoveMouseRelative(3, -2)");
    for (auto _ : state) {
        lua_pushvalue(L, -1);
        lua_call(L, 0, 0);
    }
    lua_pop(L, 1);
    state.SetItemsProcessed(state.iterations());
    platform::Platform::setCurrent(nullptr);
}
BENCHMARK(MoveMouseRelativeFromLua);

void Sleep10FromLua(benchmark::State& state)
{
    ScriptsModel model;
    lua_State* L = model.luaState();
    luaL_loadstring(L, "Sleep(10)");
    double shortest = 1e9, longest = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        lua_pushvalue(L, -1);
        timer.start();
        lua_call(L, 0, 0);
        const double ms = timer.nsecsElapsed() / 1e6;
        shortest = std::min(shortest, ms);
        longest = std::max(longest, ms);
    }
    lua_pop(L, 1);
    state.counters["shortest_ms"] = shortest;
    state.counters["longest_ms"] = longest;
}
BENCHMARK(Sleep10FromLua)->Iterations(200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv, publishModifierDefaults);
}
