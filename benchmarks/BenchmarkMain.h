#pragma once

// The main of the benchmarks that run the program's code: it needs an application object,
// whose properties carry the settings.

#include <QCoreApplication>

#include <benchmark/benchmark.h>

inline int runBenchmarksWithApplication(int argc, char** argv, void (*prepare)() = nullptr)
{
    QCoreApplication app(argc, argv);
    if (prepare)
        prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
