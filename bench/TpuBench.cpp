#include "bench/BenchWindows.h"
#include "tpu/TTPU_Calculator.h"
#include "tpu/TpuAnalysis.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

// One keystroke in a model field at the widest swath (160°, 82 passes) with all
// seven survey orders drawn: parse every field, sweep, refill the 32 series,
// fit the orders and their curves over depth, weigh the budget, and paint what
// changed in the window with the given tab of the charts in view (0 the TVU and
// THU charts, 1 the order fit, 2 the error budget).
static void BM_TpuKeystroke(benchmark::State& state) {
    TTPU_Calculator window;
    window.findChild<QTabWidget*>(QStringLiteral("TPU_Graphs"))->setCurrentIndex(static_cast<int>(state.range(0)));
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
BENCHMARK(BM_TpuKeystroke)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same keystroke typed as a person types it, key events into the focused
// field: the typed field's bookkeeping (its tint, the boxes held beside it)
// on top of the computation. Arg 0 types "5" after "0.2" and takes it back;
// arg 1 types "-" into an emptied field, a text on its way to a number, whose
// run stops at the field and dashes the results, then takes it back.
static void BM_TpuTypedKey(benchmark::State& state) {
    TTPU_Calculator window;
    bench::ShowOnScreen(&window);
    window.findChild<QLineEdit*>(QStringLiteral("edt_Swath_width"))->setText(QStringLiteral("160"));
    auto* yaw = window.findChild<QLineEdit*>(QStringLiteral("edt_Patch_yaw"));
    yaw->setFocus();
    yaw->end(false);
    if (state.range(0) == 1) {
        QTest::keyClick(yaw, Qt::Key_Backspace);
        QTest::keyClick(yaw, Qt::Key_Backspace);
        QTest::keyClick(yaw, Qt::Key_Backspace);
    }
    bench::PaintChanges(&window);
    const char key = state.range(0) == 1 ? '-' : '5';
    for (auto _ : state) {
        QTest::keyClick(yaw, key);
        bench::PaintChanges(&window);
        QTest::keyClick(yaw, Qt::Key_Backspace);
        bench::PaintChanges(&window);
    }
    state.SetItemsProcessed(state.iterations() * 2); // keystrokes
}
BENCHMARK(BM_TpuTypedKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The fit over depth from 1 m to 500 m for the seven orders (the chart's
// curves and the depth columns): the P + Q D² shortcut read off one sweep
// against a sweep at every depth.
static tpu::TpuInputs FitBenchInputs() {
    tpu::TpuInputs in;
    in.swathWidth = 160;
    in.pulseDuration = 30;
    in.frequency = in.referenceFrequency = 400;
    in.alongBeamwidth = 1.0;
    in.acrossBeamwidth = 0.5;
    in.sonarXOffset = in.sonarYOffset = in.sonarZOffset = 0.01;
    in.patchRoll = in.patchPitch = 0.05;
    in.patchYaw = 0.2;
    in.positionHorizontal = in.positionVertical = 0.05;
    in.positionXOffset = in.positionYOffset = in.positionZOffset = 0.01;
    in.motionRoll = in.motionPitch = 0.02;
    in.headingSd = 0.03;
    in.maxHeave = 1.0;
    in.soundVelocity = 1500;
    in.svsSd = in.svpSd = 0.025;
    return in;
}

static void BM_FitCurvesShortcut(benchmark::State& state) {
    const tpu::TpuInputs in = FitBenchInputs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tpu::FitOverDepth(in, tpu::RunTpuSweep(in, 10), 500));
    }
}
BENCHMARK(BM_FitCurvesShortcut)->Unit(benchmark::kMillisecond);

static void BM_FitCurvesBeamByBeam(benchmark::State& state) {
    const tpu::TpuInputs in = FitBenchInputs();
    for (auto _ : state) {
        double sum = 0;
        for (int depth = 1; depth <= 500; ++depth) {
            const tpu::TpuSweep sweep = tpu::RunTpuSweep(in, depth);
            for (const tpu::OrderLimit& order : tpu::kOrderLimits) {
                sum += tpu::FitOrder(sweep, order).angle.value_or(-1);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_FitCurvesBeamByBeam)->Unit(benchmark::kMillisecond);
