// The two paths a user waits on: a hotkey press (the WM_HOTKEY message entering the native
// event filters) until the script hears "PROFILE_ACTIVATED", and a physical click reported by
// the mouse hook until the script hears "MOUSE_BUTTON_PRESSED". Both report the median of
// their runs. Also what the filters cost every other native message of the application.
#include "BenchmarkMain.h"
#include "../tests/support/ScenarioScripts.h"
#include "engine/EngineState.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "hotkeys/QGlobalShortcut.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// When the script last called stamp().
Clock::time_point heardAt;

int stamp(lua_State*)
{
    heardAt = Clock::now();
    return 0;
}

// A scenario of typical size: a recoil table and an OnEvent that reacts to the events.
QByteArray scenarioSource()
{
    QByteArray source = "local pattern = {\n";
    for (int i = 0; i < 40; ++i)
        source += "  {" + QByteArray::number(i % 5) + ", " + QByteArray::number(3 + i % 4) + "},\n";
    source += "}\n"
              "local step = 1\n"
              "function OnEvent(event, arg)\n"
              "  if event == 'PROFILE_ACTIVATED' then step = 1; stamp()\n"
              "  elseif event == 'MOUSE_BUTTON_PRESSED' and arg == 1 then\n"
              "    stamp()\n"
              "    step = step % #pattern + 1\n"
              "  end\n"
              "end\n";
    return source;
}

// The simulated desktop as the current backend for one benchmark.
struct Desktop
{
    platform::SimulatedPlatform desktop;
    Desktop() { platform::Platform::setCurrent(&desktop); }
    ~Desktop() { platform::Platform::setCurrent(nullptr); }
};

// The shortcuts of a usual session besides the scenario's: deactivation, autoclicker,
// overlay and a few more scenarios. Each one's filter sees every message.
std::vector<std::unique_ptr<QGlobalShortcut>> otherShortcuts(int count)
{
    std::vector<std::unique_ptr<QGlobalShortcut>> shortcuts;
    for (int i = 0; i < count; ++i) {
        shortcuts.push_back(std::make_unique<QGlobalShortcut>());
        shortcuts.back()->setShortcut(QKeySequence(Qt::ShiftModifier | Qt::Key(Qt::Key_F1 + i)));
    }
    return shortcuts;
}

void reportMedian(benchmark::State& state, std::vector<double>& nanoseconds)
{
    if (nanoseconds.empty())
        return;
    const auto middle = nanoseconds.begin() + static_cast<std::ptrdiff_t>(nanoseconds.size() / 2);
    std::nth_element(nanoseconds.begin(), middle, nanoseconds.end());
    state.counters["median_us"] = *middle / 1000.0;
}

void HotkeyPressToProfileActivated(benchmark::State& state)
{
    Desktop desktop;
    QTemporaryDir dir;
    const auto others = otherShortcuts(12);
    ScriptsModel model;
    lua_register(model.luaState(), "stamp", &stamp);
    model.scriptAt(0)->path = writeScript(dir, QStringLiteral("recoil.lua"), scenarioSource());
    model.scriptAt(0)->hotkey = QStringLiteral("Ctrl+Alt+F1");
    if (!model.registerHotkey(0))
        qFatal("cannot register the benchmark hotkey");
    MSG press{};
    for (const auto& hotKey : desktop.desktop.registeredHotKeys()) {
        if (hotKey.virtualKey == VK_F1 && hotKey.modifiers == (MOD_CONTROL | MOD_ALT))
            press.wParam = static_cast<WPARAM>(hotKey.id);
    }
    press.message = WM_HOTKEY;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();

    std::vector<double> latencies;
    for (auto _ : state) {
        MSG message = press;
        qintptr result = 0;
        const Clock::time_point start = Clock::now();
        dispatcher->filterNativeEvent(QByteArrayLiteral("windows_generic_MSG"), &message, &result);
        const double nanoseconds =
            std::chrono::duration<double, std::nano>(heardAt - start).count();
        state.SetIterationTime(nanoseconds / 1e9);
        latencies.push_back(nanoseconds);
    }
    model.deactivateScript();
    reportMedian(state, latencies);
}
BENCHMARK(HotkeyPressToProfileActivated)->UseManualTime()->Unit(benchmark::kMicrosecond);

void PhysicalClickToMouseButtonPressed(benchmark::State& state)
{
    Desktop desktop;
    QTemporaryDir dir;
    const QString path = writeScript(dir, QStringLiteral("recoil.lua"), scenarioSource());
    ScriptsModel model;
    lua_register(model.luaState(), "stamp", &stamp);
    model.scriptAt(0)->path = path;
    model.executeLua(path);
    EngineState::instance().primaryButtonEventsEnabled = true;

    std::vector<double> latencies;
    for (auto _ : state) {
        heardAt = {};
        Clock::time_point pressed;
        // The button goes down on another thread, which runs the hook as the hook thread
        // does, once the GUI thread sleeps in its event loop as it does between events.
        std::thread button([&] {
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            pressed = Clock::now();
            desktop.desktop.setKeyDown(VK_LBUTTON, true);
        });
        while (heardAt == Clock::time_point{})
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        button.join();
        const double nanoseconds =
            std::chrono::duration<double, std::nano>(heardAt - pressed).count();
        state.SetIterationTime(nanoseconds / 1e9);
        latencies.push_back(nanoseconds);
        desktop.desktop.setKeyDown(VK_LBUTTON, false);
        QCoreApplication::processEvents();
    }
    model.deactivateScript();
    EngineState::instance().primaryButtonEventsEnabled = false;
    reportMedian(state, latencies);
}
BENCHMARK(PhysicalClickToMouseButtonPressed)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Every native message of the application passes every shortcut's filter.
void OtherNativeMessageThroughFilters(benchmark::State& state)
{
    Desktop desktop;
    const auto shortcuts = otherShortcuts(static_cast<int>(state.range(0)));
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    MSG move{};
    move.message = WM_MOUSEMOVE;
    for (auto _ : state) {
        qintptr result = 0;
        benchmark::DoNotOptimize(dispatcher->filterNativeEvent(
            QByteArrayLiteral("windows_generic_MSG"), &move, &result));
    }
}
BENCHMARK(OtherNativeMessageThroughFilters)->Arg(1)->Arg(16);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv);
}
