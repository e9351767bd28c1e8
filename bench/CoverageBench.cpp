#include "bench/BenchWindows.h"
#include "coverage/TR2SonicCoverage.h"

#include <QLineEdit>
#include <QRadioButton>
#include <benchmark/benchmark.h>

// One keystroke in the altitude field at a range of 1200 m (the swath graph's
// two longest curves, 1200 points each): read every field, compute, refill the
// graph and paint what changed, the swath picture included.
static void BM_CoverageKeystroke(benchmark::State& state) {
    TR2SonicCoverage window;
    bench::ShowOnScreen(&window);
    window.findChild<QRadioButton*>(QStringLiteral("rbnSonic2026"))->click();
    window.findChild<QLineEdit*>(QStringLiteral("edtRange_select"))->setText(QStringLiteral("1200"));
    bench::PaintChanges(&window);
    auto* altitude = window.findChild<QLineEdit*>(QStringLiteral("edtAltitude"));
    const QString texts[] = {QStringLiteral("100"), QStringLiteral("105")};
    std::size_t i = 0;
    for (auto _ : state) {
        altitude->setText(texts[i++ % 2]);
        bench::PaintChanges(&window);
    }
}
BENCHMARK(BM_CoverageKeystroke)->Unit(benchmark::kMillisecond);
