// The journal under a scenario that logs in a tight loop: 100,000 lines through the Qt message
// log into the journal and its file, the time until the last batch is taken, and the memory the
// journal holds afterwards. Run with the standard error output sent away, as the program's is
// on Windows: build/benchmarks/bench_log 2>/dev/null
#include "BenchmarkMain.h"
#include "ProcessStatus.h"
#include "log/LogJournal.h"
#include "log/MessageCapture.h"
#include "log/ScenarioScope.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <chrono>

#include <benchmark/benchmark.h>

namespace {

Q_LOGGING_CATEGORY(lcBenchScript, "clavitor.script")

constexpr int kLines = 100'000;

// Logging the lines (what the script waits for) and, in the counter "drain_ms", taking them
// into the journal and the file in batches as the GUI thread does.
void HundredThousandLinesLogged(benchmark::State& state)
{
    QTemporaryDir dir;
    double drainMs = 0;
    double heldMiB = 0;
    for (auto _ : state) {
        const double before = statusKiB("VmRSS:");
        {
            LogJournal journal;
            journal.setFileFolder(dir.path());
            MessageCapture::install(journal);
            {
                const ScenarioScope scope(QStringLiteral("spray"));
                for (int i = 0; i < kLines; ++i) {
                    qCInfo(lcBenchScript).noquote()
                        << QStringLiteral("recoil step %1: dx=%2 dy=%3").arg(i).arg(i % 7).arg(5);
                    // The GUI thread takes a batch every 50 ms: at 10,000 lines a second, one
                    // every 500 lines.
                    if (i % 500 == 499) {
                        state.PauseTiming();
                        const auto start = std::chrono::steady_clock::now();
                        journal.flush();
                        drainMs += std::chrono::duration<double, std::milli>(
                                       std::chrono::steady_clock::now() - start)
                                       .count();
                        state.ResumeTiming();
                    }
                }
            }
            MessageCapture::uninstall();
            journal.flush();
            // The first run's: later runs reuse the heap the first one gave back.
            if (heldMiB == 0)
                heldMiB = (statusKiB("VmRSS:") - before) / 1024;
            benchmark::DoNotOptimize(journal.size());
        }
        QFile::remove(dir.filePath(QStringLiteral("clavitor.log")));
    }
    state.counters["drain_ms"] = drainMs / static_cast<double>(state.iterations());
    state.counters["held_MiB"] = heldMiB;
    state.counters["lines_per_s"] =
        benchmark::Counter(kLines, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(HundredThousandLinesLogged)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv);
}
