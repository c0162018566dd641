// What the X11 backend costs the GUI thread per call: records sent (no round trip, one flush
// each), a typed character (one round trip for the keyboard's state), the cursor and a lock
// state (round trips). It moves, clicks and types wherever the pointer is: run it on a
// private Xvfb screen through benchmarks/x11-bench.sh.
#include "platform/x11/X11Platform.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<platform::X11Platform> openDesktop(benchmark::State& state)
{
    std::unique_ptr<platform::X11Platform> desktop = platform::X11Platform::open();
    if (!desktop)
        state.SkipWithError("no X display with XTEST and XKB");
    return desktop;
}

INPUT mouseRecord(LONG dx, LONG dy, DWORD flags)
{
    INPUT record{};
    record.type = INPUT_MOUSE;
    record.mi.dx = dx;
    record.mi.dy = dy;
    record.mi.dwFlags = flags;
    return record;
}

void X11RelativeMove(benchmark::State& state)
{
    const auto desktop = openDesktop(state);
    const INPUT there = mouseRecord(3, -2, MOUSEEVENTF_MOVE);
    const INPUT back = mouseRecord(-3, 2, MOUSEEVENTF_MOVE);
    for (auto _ : state) {
        if (!desktop)
            break;
        desktop->sendInput(1, &there, sizeof(INPUT));
        desktop->sendInput(1, &back, sizeof(INPUT));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(X11RelativeMove);

void X11ClickRecords(benchmark::State& state)
{
    const auto desktop = openDesktop(state);
    const INPUT down = mouseRecord(0, 0, MOUSEEVENTF_RIGHTDOWN);
    const INPUT up = mouseRecord(0, 0, MOUSEEVENTF_RIGHTUP);
    for (auto _ : state) {
        if (!desktop)
            break;
        desktop->sendInput(1, &down, sizeof(INPUT));
        desktop->sendInput(1, &up, sizeof(INPUT));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(X11ClickRecords);

void X11TypedCharacter(benchmark::State& state)
{
    const auto desktop = openDesktop(state);
    INPUT records[2]{};
    for (INPUT& record : records) {
        record.type = INPUT_KEYBOARD;
        record.ki.wScan = u'a';
        record.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    records[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    for (auto _ : state) {
        if (!desktop)
            break;
        desktop->sendInput(1, &records[0], sizeof(INPUT));
        desktop->sendInput(1, &records[1], sizeof(INPUT));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(X11TypedCharacter);

void X11CursorPosition(benchmark::State& state)
{
    const auto desktop = openDesktop(state);
    POINT point{};
    for (auto _ : state) {
        if (!desktop)
            break;
        benchmark::DoNotOptimize(desktop->getCursorPos(point));
    }
}
BENCHMARK(X11CursorPosition);

void X11CapsLockState(benchmark::State& state)
{
    const auto desktop = openDesktop(state);
    for (auto _ : state) {
        if (!desktop)
            break;
        benchmark::DoNotOptimize(desktop->getKeyState(VK_CAPITAL));
    }
}
BENCHMARK(X11CapsLockState);

} // namespace

BENCHMARK_MAIN();
