#include "PreviewProcess.h"

#include "PreviewRequest.h"
#include "PreviewResult.h"
#include "PreviewRunner.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#include <cstring>

bool PreviewProcess::isRequested(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kArgument) == 0)
            return true;
    }
    return false;
}

int PreviewProcess::run()
{
    // The per-record input lines would only slow the run down; the script's lines are kept.
    QLoggingCategory::setFilterRules(
        QStringLiteral("clavitor.input.info=false\nclavitor.script.info=true"));
    // Installed before anything asks for the platform: the process never makes the real one.
    platform::SimulatedPlatform idle;
    platform::Platform::setCurrent(&idle);

    QFile input;
    QFile output;
    if (!input.open(stdin, QIODevice::ReadOnly) || !output.open(stdout, QIODevice::WriteOnly))
        return 2;
    const std::optional<PreviewRequest> request = PreviewRequest::fromJson(input.readAll());
    PreviewResult result;
    if (request) {
        result = PreviewRunner::run(*request);
    } else {
        result.end = PreviewResult::End::Failed;
        result.errorText = QStringLiteral("bad request");
    }
    const bool written = output.write(result.toJson()) >= 0 && output.flush();
    platform::Platform::setCurrent(nullptr);
    return written ? 0 : 2;
}
