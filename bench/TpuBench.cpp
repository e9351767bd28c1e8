#include "bench/BenchWindows.h"
#include "tpu/TTPU_Calculator.h"

#include <QCheckBox>
#include <QLineEdit>
#include <benchmark/benchmark.h>

// One keystroke in a model field at the widest swath (160°, 82 passes) with all
// seven survey orders drawn: parse every field, sweep, refill the 32 series,
// and paint what changed in the window.
static void BM_TpuKeystroke(benchmark::State& state) {
    TTPU_Calculator window;
    bench::ShowOnScreen(&window);
    window.findChild<QLineEdit*>(QStringLiteral("edt_Swath_width"))->setText(QStringLiteral("160"));
    for (const char* order : {"ckb_IHO_1", "ckb_IHO_2", "ckb_FSIS44", "ckb_NL_A", "ckb_NL_B", "ckb_Orsted"}) {
        window.findChild<QCheckBox*>(QString::fromLatin1(order))->click();
    }
    bench::PaintChanges(&window);
    auto* yaw = window.findChild<QLineEdit*>(QStringLiteral("edt_Patch_yaw"));
    const QString texts[] = {QStringLiteral("0.2"), QStringLiteral("0.25")};
    std::size_t i = 0;
    for (auto _ : state) {
        yaw->setText(texts[i++ % 2]);
        bench::PaintChanges(&window);
    }
}
BENCHMARK(BM_TpuKeystroke)->Unit(benchmark::kMillisecond);
