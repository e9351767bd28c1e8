#include "bench/BenchWindows.h"
#include "standards/TIHOForm.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

// One keystroke in the depth field: parse, compute both tolerances, write both
// result fields, and paint the three changed fields.
static void BM_DepthKeystroke(benchmark::State& state) {
    TIHOForm form;
    bench::ShowOnScreen(&form);
    auto* depth = form.findChild<QLineEdit*>(QStringLiteral("edt_Depth"));
    const QString depths[] = {QStringLiteral("102"), QStringLiteral("1025"), QStringLiteral("10")};
    std::size_t i = 0;
    for (auto _ : state) {
        depth->setText(depths[i++ % 3]);
        bench::PaintChanges(&form);
    }
}
BENCHMARK(BM_DepthKeystroke)->Unit(benchmark::kMicrosecond);
