// Shared main of the benchmarks: the windows are real, so they need a
// QApplication (offscreen) and the suite's process set-up; message boxes are
// swallowed so a benchmark never blocks.
#include "common/Messages.h"
#include "kit/Startup.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    kit::Application application(argc, argv, kit::Screen::Offscreen);
    common::SetMessagePresenter([](common::MessageKind, const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
