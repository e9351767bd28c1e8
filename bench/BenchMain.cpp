// Shared main of the benchmarks: the windows are real, so they need a
// QApplication (offscreen) and the suite's process set-up; message boxes are
// swallowed so a benchmark never blocks.
#include "Messages.h"
#include "Startup.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    shell::PrepareProcess();
    QApplication app(argc, argv);
    shell::PrepareApplication();
    common::SetMessagePresenter([](common::MessageKind, const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
