// The scenario page on its hot paths, offscreen on the simulated desktop, with the dark
// theme's stylesheet:
// - ProfileSwitch: a switch to a profile of 50 scenarios, each with a file and a hotkey: the
//   old model gone, the new one built, 50 hotkeys registered, 50 rows made and laid out.
// - FollowedProgramSwitch: the same switch made by the follower for the program brought to the
//   front, from the moment the program has stayed there long enough (the end of the follower's
//   300 ms wait, which is not counted) until the 50 hotkeys are registered and the rows laid out;
//   the process's processor time over the same span in the counter cpu_ms, and the first
//   switch of a run (the one that makes the profile's rows) in first_ms. The counters
//   hotkeys_ms and first_hotkeys_ms time the same spans only until the desktop holds the
//   profile's 50 hotkeys, noted inside the registration that completes them.
// - StartupToFirstPaint: the main window made as start-up makes it, on the scenario page,
//   until its first paint: with only the default profile, and with 20 profiles of 20
//   scenarios beside it (the last of them shown).
#include "app/Startup.h"
#include "core/AppProperties.h"
#include "core/SettingsFile.h"
#include "engine/ScriptsModel.h"
#include "following/ProfileFollower.h"
#include "platform/simulated/SimulatedPlatform.h"
#include "profiles/ProfileStore.h"
#include "scenarios/FollowingConnections.h"
#include "scenarios/ScriptsListWidget.h"
#include "ui/appearance/EmbeddedFonts.h"
#include "ui/appearance/ThemeStyleSheet.h"
#include "ui/shell/FramelessWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace {

QString dataRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

// The nth distinct hotkey of a profile: Ctrl+Alt+A … Z, then Ctrl+Shift+A … Z.
QString hotkey(int n)
{
    return QStringLiteral("%1+%2")
        .arg(n < 26 ? QStringLiteral("Ctrl+Alt") : QStringLiteral("Ctrl+Shift"))
        .arg(QChar(u'A' + n % 26));
}

ScenarioProfile makeProfile(const QString& name, int scenarios)
{
    ScenarioProfile profile;
    profile.name = name;
    const QString directory = profileDirectory(name);
    QDir().mkpath(directory);
    for (int s = 0; s < scenarios; ++s) {
        const QString file = directory + QStringLiteral("/scenario_%1.lua").arg(s);
        QFile script(file);
        if (script.open(QIODevice::WriteOnly))
            script.write("function OnEvent(event, arg) end\n");
        profile.scenarios.append({file, hotkey(s), {1.0, 1.0, 1.0, s % 4}});
    }
    return profile;
}

// A fresh data directory with these profiles, the last one remembered, the scenario page
// the one shown.
void storeLibrary(const QList<ScenarioProfile>& profiles)
{
    saveProfiles(profiles);
    AppSettings settings = loadSettings();
    settings.lastProfile = profiles.last().name;
    settings.lastPage = QStringLiteral("scriptsList");
    saveSettings(settings);
}

void resetDataDirectory()
{
    QDir(dataRoot()).removeRecursively();
}

void ProfileSwitch(benchmark::State& state)
{
    resetDataDirectory();
    storeLibrary(
        {makeProfile(QStringLiteral("default"), 0), makeProfile(QStringLiteral("Fifty"), 50)});
    platform::SimulatedPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    {
        ScriptsListWidget page;
        page.resize(760, 560);
        page.show();
        QApplication::processEvents();
        auto* profiles = page.findChild<QComboBox*>(QStringLiteral("profileComboBox"));
        for (auto _ : state) {
            state.PauseTiming();
            profiles->setCurrentIndex(0);
            QApplication::processEvents();
            state.ResumeTiming();

            profiles->setCurrentIndex(1);
            // Until the rows are laid out and the old ones deleted.
            QApplication::processEvents();

            state.PauseTiming();
            if (page.scriptsModel()->rowCount() != 50 || desktop.registeredHotKeys().size() != 51)
                state.SkipWithError("the profile did not come up whole");
            state.ResumeTiming();
        }
    }
    platform::Platform::setCurrent(nullptr);
}
BENCHMARK(ProfileSwitch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

// Notes when the wait for the program to stay in front (ForegroundWatch) ends: the one single-shot
// timer of that interval firing.
class SettleWatcher : public QObject
{
public:
    std::chrono::steady_clock::time_point settledAt;
    std::clock_t settledCpu = 0;
    bool settled = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* timer = qobject_cast<QTimer*>(watched);
        if (event->type() == QEvent::Timer && timer && timer->isSingleShot() &&
            timer->interval() == ForegroundWatch::kSettleMs) {
            settledAt = std::chrono::steady_clock::now();
            settledCpu = std::clock();
            settled = true;
        }
        return false;
    }
};

// The simulated desktop noting when a registration brings its hotkeys to a count.
class HotkeyCountingDesktop : public platform::SimulatedPlatform
{
public:
    std::size_t target = 0;
    std::chrono::steady_clock::time_point reachedAt;
    bool reached = false;
    BOOL registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) override
    {
        const BOOL registered =
            SimulatedPlatform::registerHotKey(window, id, modifiers, virtualKey);
        if (registered && !reached && registeredHotKeys().size() == target) {
            reachedAt = std::chrono::steady_clock::now();
            reached = true;
        }
        return registered;
    }
};

// Brings the program to the front and runs the event loop until the page has `hotkeys`
// registered hotkeys and nothing more to do; false after 5 s.
bool bringToFront(platform::SimulatedPlatform& desktop, const wchar_t* program, std::size_t hotkeys)
{
    desktop.setForegroundProgram({{program}, true, 4242});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (desktop.registeredHotKeys().size() != hotkeys) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QApplication::processEvents(); // the rows' layouts, the old rows' deletion
    return true;
}

void FollowedProgramSwitch(benchmark::State& state)
{
    resetDataDirectory();
    ScenarioProfile fifty = makeProfile(QStringLiteral("Fifty"), 50);
    fifty.programs = {QStringLiteral("game.exe")};
    storeLibrary({fifty, makeProfile(QStringLiteral("default"), 0)});
    HotkeyCountingDesktop desktop;
    platform::Platform::setCurrent(&desktop);
    {
        ScriptsListWidget page;
        ProfileFollower follower(page, nullptr);
        FollowingConnections::connect(page, follower);
        follower.setEnabled(true);
        page.resize(760, 560);
        page.show();
        QApplication::processEvents();
        const std::size_t outside = desktop.registeredHotKeys().size();
        SettleWatcher watcher;
        qApp->installEventFilter(&watcher);
        desktop.target = outside + 50;
        double cpuMs = 0;
        double hotkeysMs = 0;
        double firstMs = -1;
        double firstHotkeysMs = -1;
        for (auto _ : state) {
            if (!bringToFront(desktop, L"notepad.exe", outside)) {
                state.SkipWithError("the page did not return to default");
                break;
            }
            watcher.settled = false;
            desktop.reached = false;
            if (!bringToFront(desktop, L"game.exe", outside + 50) || !watcher.settled ||
                !desktop.reached || page.scriptsModel()->rowCount() != 50) {
                state.SkipWithError("the page did not follow the program whole");
                break;
            }
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - watcher.settledAt)
                    .count();
            const double toHotkeysMs =
                std::chrono::duration<double, std::milli>(desktop.reachedAt - watcher.settledAt)
                    .count();
            state.SetIterationTime(seconds);
            if (firstMs < 0) {
                firstMs = 1000.0 * seconds;
                firstHotkeysMs = toHotkeysMs;
            }
            hotkeysMs += toHotkeysMs;
            cpuMs +=
                1000.0 * static_cast<double>(std::clock() - watcher.settledCpu) / CLOCKS_PER_SEC;
        }
        state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
        state.counters["hotkeys_ms"] =
            benchmark::Counter(hotkeysMs, benchmark::Counter::kAvgIterations);
        state.counters["first_ms"] = firstMs;
        state.counters["first_hotkeys_ms"] = firstHotkeysMs;
        qApp->removeEventFilter(&watcher);
    }
    platform::Platform::setCurrent(nullptr);
}
BENCHMARK(FollowedProgramSwitch)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

// Counts the paints of a window.
class PaintWatcher : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void StartupToFirstPaint(benchmark::State& state)
{
    resetDataDirectory();
    QList<ScenarioProfile> library = {makeProfile(QStringLiteral("default"), 0)};
    for (int p = 1; p <= state.range(0); ++p)
        library.append(makeProfile(QStringLiteral("Профиль %1").arg(p), 20));
    storeLibrary(library);
    platform::SimulatedPlatform desktop;
    platform::Platform::setCurrent(&desktop);
    for (auto _ : state) {
        const std::unique_ptr<FramelessWindow> window = Startup::createMainWindow();
        PaintWatcher watcher;
        window->installEventFilter(&watcher);
        while (!watcher.painted)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);

        state.PauseTiming();
        window->removeEventFilter(&watcher);
        const auto* page = window->findChild<ScriptsListWidget*>(QStringLiteral("pageScriptsList"));
        if (page->profiles().size() != library.size() || !page->isVisible())
            state.SkipWithError("the window did not show the library");
        state.ResumeTiming();
    }
    platform::Platform::setCurrent(nullptr);
}
BENCHMARK(StartupToFirstPaint)
    ->Arg(0)
    ->Arg(20)
    ->ArgName("profilesOf20")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    // A data directory of its own, away from the user's real profiles; no real desktop.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("bench_scripts_page"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerEmbeddedFonts();
    applySettings(AppSettings{});
    app.setProperty(AppProperty::isSound, false);
    publishModifierDefaults();
    app.setStyleSheet(loadThemeStyleSheet(QStringLiteral("default")));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetDataDirectory();
    return 0;
}
