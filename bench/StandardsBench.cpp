#include "standards/TIHOForm.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

// One keystroke in the depth field: parse, compute both tolerances, write both
// result fields (and let them repaint on the next frame).
static void BM_DepthKeystroke(benchmark::State& state) {
    TIHOForm form;
    form.show();
    const QString depths[] = {QStringLiteral("102"), QStringLiteral("1025"), QStringLiteral("10")};
    std::size_t i = 0;
    for (auto _ : state) {
        form.edt_Depth->setText(depths[i++ % 3]);
    }
}
BENCHMARK(BM_DepthKeystroke)->Unit(benchmark::kMicrosecond);
