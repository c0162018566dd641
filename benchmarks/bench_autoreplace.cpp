// Auto-replace of a 10-rule table over 500 scripts of 20 KB: the whole run on disk (read,
// rewrite, write each script through a file that replaces it), and the rewriting alone.
#include "BenchmarkMain.h"

#include "autoreplace/AutoReplaceRun.h"
#include "autoreplace/AutoReplacer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <utility>

namespace {

constexpr int kScripts = 500;
constexpr qsizetype kScriptSize = 20 * 1024;

// 8 parameters and 2 plain texts, each found several times in every script.
QList<AutoReplaceRule> table()
{
    return {{"", "", "sens", "1.5", "2.0"},
            {"", "", "delay", "25", "30"},
            {"", "", "recoil", "4", "5"},
            {"", "", "step", "0.75", "0.8"},
            {"", "", "burst", "3", "4"},
            {"", "", "speed", "10", "12"},
            {"", "", "threshold", "120", "140"},
            {"", "", "jitter", "1", "2"},
            {"", "", "", "Sleep(10)", "Sleep(12)"},
            {"", "", "", "PressKey(\"e\")", "PressKey(\"f\")"}};
}

QByteArray script()
{
    const QByteArray block = "-- Настройки отдачи\r\n"
                             "local sens = 1.5\r\nlocal delay = 25\r\nlocal recoil = 4\r\n"
                             "local step = 0.75\r\nlocal burst = 3\r\nlocal speed = 10\r\n"
                             "local threshold = 120\r\nlocal jitter = 1\r\n"
                             "function OnEvent(event, arg)\r\n"
                             "  if event == \"MOUSE_BUTTON_PRESSED\" and arg == 1 then\r\n"
                             "    for i = 1, burst do\r\n"
                             "      MoveMouseRelative(0, recoil * sens)\r\n"
                             "      Sleep(10)\r\n"
                             "    end\r\n"
                             "    PressKey(\"e\")\r\n"
                             "  end\r\n"
                             "end\r\n";
    QByteArray text;
    while (text.size() + block.size() <= kScriptSize)
        text += block;
    return text + QByteArray(kScriptSize - text.size(), ' ');
}

void swapValues(QList<AutoReplaceRule>& rules)
{
    for (AutoReplaceRule& rule : rules)
        std::swap(rule.fromValue, rule.toValue);
}

void AutoReplaceScriptsOnDisk(benchmark::State& state)
{
    QTemporaryDir directory;
    const QByteArray text = script();
    QStringList files;
    for (int i = 0; i < kScripts; ++i) {
        files.append(directory.filePath(QStringLiteral("script_%1.lua").arg(i)));
        QFile file(files.last());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            state.SkipWithError("cannot write the scripts");
    }
    QList<AutoReplaceRule> rules = table();
    for (auto _ : state) {
        const AutoReplaceOutcome outcome = AutoReplaceRun::rewrite(files, rules);
        if (outcome.updatedScripts != kScripts)
            state.SkipWithError("not every script was rewritten");
        swapValues(rules); // the next run undoes this one, as the command does
    }
    state.SetBytesProcessed(state.iterations() * kScripts * kScriptSize);
}
BENCHMARK(AutoReplaceScriptsOnDisk)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly()
    ->UseRealTime();

void AutoReplaceTextsInMemory(benchmark::State& state)
{
    QList<QByteArray> texts(kScripts, script());
    QList<AutoReplaceRule> rules = table();
    for (auto _ : state) {
        const AutoReplacer replacer(rules);
        for (QByteArray& text : texts)
            benchmark::DoNotOptimize(replacer.apply(text));
        swapValues(rules);
    }
    state.SetBytesProcessed(state.iterations() * kScripts * kScriptSize);
}
BENCHMARK(AutoReplaceTextsInMemory)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv);
}
