// The cost of the autoclicker's wait for a tick's start, 10 ms ahead on the system clock: the
// click clock's wait (one sleep to the moment where the system's sleep is precise, as on
// Linux) against the deadline wait of the scripts' Sleep, which sleeps to a margin before
// the moment and reads the clock for the rest. CPU: the processor time of one wait; late_us
// and late_p99_us: how late the waits returned, on average and in 99 of 100.
#include "autoclicker/ClickClock.h"
#include "engine/DeadlineWait.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr qint64 kAheadNs = 10'000'000;

template <typename Wait>
void measureWaits(benchmark::State& state, Wait wait)
{
    platform::SimulatedPlatform desktop; // sleeps on the monotonic clock, as X11 does
    platform::Platform::setCurrent(&desktop);
    ClickClock& clock = ClickClock::system();
    std::vector<double> lateUs;
    for (auto _ : state) {
        const qint64 due = clock.nowNs() + kAheadNs;
        wait(due);
        lateUs.push_back(double(clock.nowNs() - due) / 1000);
    }
    platform::Platform::setCurrent(nullptr);
    double sum = 0;
    for (double late : lateUs)
        sum += late;
    std::sort(lateUs.begin(), lateUs.end());
    state.counters["late_us"] = sum / double(lateUs.size());
    state.counters["late_p99_us"] = lateUs[lateUs.size() * 99 / 100];
}

void ClickClockWait(benchmark::State& state)
{
    measureWaits(state, [](qint64 due) { ClickClock::system().waitUntil(due); });
}
BENCHMARK(ClickClockWait)->Iterations(200);

// The simulated desktop's counter counts nanoseconds: a moment on the clock is its reading.
void DeadlineWaitUntil(benchmark::State& state)
{
    measureWaits(state, [](qint64 due) { DeadlineWait::until(due); });
}
BENCHMARK(DeadlineWaitUntil)->Iterations(200);

} // namespace

BENCHMARK_MAIN();
