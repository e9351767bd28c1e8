#include "bench/BenchWindows.h"
#include "lineplan/Tsurveyplan.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

// One keystroke in the maximum depth field: read every field, plan, fill every
// result and paint what changed, the two diagrams included.
static void BM_PlannerKeystroke(benchmark::State& state) {
    Tsurveyplan window;
    bench::ShowOnScreen(&window);
    auto* depth = window.findChild<QLineEdit*>(QStringLiteral("edtMaximum_depth"));
    const QString texts[] = {QStringLiteral("80"), QStringLiteral("85")};
    std::size_t i = 0;
    for (auto _ : state) {
        depth->setText(texts[i++ % 2]);
        bench::PaintChanges(&window);
    }
}
BENCHMARK(BM_PlannerKeystroke)->Unit(benchmark::kMillisecond);
