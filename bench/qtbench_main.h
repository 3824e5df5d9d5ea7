#pragma once
// The main of a benchmark program that needs widgets: an offscreen application
// around Google Benchmark's run.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

// start and stop run around the benchmarks, inside the application (units that need it).
inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& start = {},
                           const std::function<void()>& stop = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (start) start();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (stop) stop();
    return 0;
}
