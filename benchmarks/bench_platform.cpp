// The cost of the simulated desktop itself: the baseline against which the input routine
// and the Lua API are measured.
#include "platform/simulated/SimulatedPlatform.h"

#include <benchmark/benchmark.h>

namespace {

void SimulatedSendInputRelativeMove(benchmark::State& state)
{
    platform::SimulatedPlatform desktop;
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = 1;
    record.mi.dwFlags = MOUSEEVENTF_MOVE;
    for (auto _ : state) {
        record.mi.dx = -record.mi.dx;
        benchmark::DoNotOptimize(desktop.sendInput(1, &record, sizeof(INPUT)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SimulatedSendInputRelativeMove);

void SimulatedGetAsyncKeyState(benchmark::State& state)
{
    platform::SimulatedPlatform desktop;
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop.getAsyncKeyState(VK_LBUTTON));
}
BENCHMARK(SimulatedGetAsyncKeyState);

void SimulatedPerformanceCounter(benchmark::State& state)
{
    platform::SimulatedPlatform desktop;
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop.queryPerformanceCounter());
}
BENCHMARK(SimulatedPerformanceCounter);

} // namespace

BENCHMARK_MAIN();
