// Shared main of the benchmarks: the windows are real, so they need a
// QApplication (offscreen) and the suite's process set-up; message boxes are
// swallowed so a benchmark never blocks.
#include "bench/BenchWindows.h"
#include "common/Messages.h"
#include "kit/Startup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <stdexcept>

namespace bench {

void ShowOnScreen(QWidget* window) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        throw std::runtime_error("the window never came on screen");
    }
    PaintChanges(window);
}

void PaintChanges(QWidget* window) {
    QCoreApplication::sendPostedEvents();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
}

} // namespace bench

int main(int argc, char** argv) {
    kit::Application application(argc, argv, kit::Screen::Offscreen);
    common::SetMessagePresenter([](common::MessageKind, const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
