#pragma once
// The main of a benchmark program that needs a QApplication: offscreen
// unless QT_QPA_PLATFORM says otherwise, then every benchmark asked for.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace cbbench {

inline int RunWithQApplication(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace cbbench
