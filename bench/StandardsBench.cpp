#include "standards/TIHOForm.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

// One keystroke in the depth field: parse, compute both tolerances, write both
// result fields (and let them repaint on the next frame).
static void BM_DepthKeystroke(benchmark::State& state) {
    TIHOForm form;
    form.show();
    auto* depth = form.findChild<QLineEdit*>(QStringLiteral("edt_Depth"));
    const QString depths[] = {QStringLiteral("102"), QStringLiteral("1025"), QStringLiteral("10")};
    std::size_t i = 0;
    for (auto _ : state) {
        depth->setText(depths[i++ % 3]);
    }
}
BENCHMARK(BM_DepthKeystroke)->Unit(benchmark::kMicrosecond);
