// The preview of the scripting guide's spray pattern (Example 4: two seconds of virtual time
// with the left button held): in this process, and through the preview process the editor
// starts (`clavitor --preview`, given as CLAVITOR_PROGRAM in the environment).
#include "BenchmarkMain.h"
#include "preview/PreviewClient.h"
#include "preview/PreviewRunner.h"

#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>

#include <benchmark/benchmark.h>

namespace {

PreviewRequest sprayRequest()
{
    QFile guide(QStringLiteral(CLAVITOR_SOURCE_DIR "/docs/scripting.md"));
    guide.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(guide.readAll());
    static const QRegularExpression example(
        QStringLiteral("### Example 4: a spray pattern\n\n```lua\n(.*?)```"),
        QRegularExpression::DotMatchesEverythingOption);
    PreviewRequest request;
    request.scenarioName = QStringLiteral("spray");
    request.script = example.match(text).captured(1);
    return request;
}

void SprayPreviewInProcess(benchmark::State& state)
{
    const PreviewRequest request = sprayRequest();
    for (auto _ : state) {
        const PreviewResult result = PreviewRunner::run(request);
        if (result.records.size() != 8)
            state.SkipWithError("the spray pattern did not run");
    }
}
BENCHMARK(SprayPreviewInProcess)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void SprayPreviewThroughTheProcess(benchmark::State& state)
{
    const QByteArray program = qgetenv("CLAVITOR_PROGRAM");
    if (program.isEmpty()) {
        state.SkipWithError("CLAVITOR_PROGRAM names no program");
        return;
    }
    const PreviewRequest request = sprayRequest();
    PreviewClient client(nullptr, QString::fromLocal8Bit(program));
    QEventLoop loop;
    PreviewResult result;
    QObject::connect(&client, &PreviewClient::finished, &loop, [&](const PreviewResult& r) {
        result = r;
        loop.quit();
    });
    for (auto _ : state) {
        client.start(request);
        loop.exec();
        if (result.records.size() != 8)
            state.SkipWithError("the spray pattern did not run");
    }
}
BENCHMARK(SprayPreviewThroughTheProcess)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarksWithApplication(argc, argv);
}
