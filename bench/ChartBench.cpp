#include "bench/BenchWindows.h"
#include "kit/ChartView.h"
#include "standards/TIHOForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// The survey order calculator on its graph overview page, on screen.
struct GraphPage {
    GraphPage() {
        bench::ShowOnScreen(&form);
        auto* selector = form.findChild<QComboBox*>(QStringLiteral("cbo_Order"));
        selector->setCurrentIndex(TIHOForm::kGraphOverviewRow);
        emit selector->activated(TIHOForm::kGraphOverviewRow);
        bar = form.findChild<QScrollBar*>(QStringLiteral("scb_Vertical"));
        bench::PaintChanges(&form);
    }
    TIHOForm form;
    QScrollBar* bar = nullptr;
};

} // namespace

// One step of the graph-depth scroll bar at its deep end, as the user drags it:
// both refreshes compute their 1,400 points, both charts are refilled, and the
// window repaints what changed (the charts, the table's values, the bars) into
// its backing store, as the event loop does before the next frame.
static void BM_GraphOverviewScrollStep(benchmark::State& state) {
    GraphPage page;
    int step = 0;
    for (auto _ : state) {
        page.bar->setValue(step++ % 2 == 0 ? 199 : 200);
        bench::PaintChanges(&page.form);
    }
}
BENCHMARK(BM_GraphOverviewScrollStep)->Unit(benchmark::kMillisecond);

// The same step with the whole window painted into a picture, every control
// included: the most a step can cost.
static void BM_GraphOverviewScrollStepWholeWindow(benchmark::State& state) {
    GraphPage page;
    QImage picture(page.form.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        page.bar->setValue(step++ % 2 == 0 ? 199 : 200);
        QCoreApplication::sendPostedEvents();
        page.form.render(&picture);
    }
}
BENCHMARK(BM_GraphOverviewScrollStepWholeWindow)->Unit(benchmark::kMillisecond);

// A chart of the TPU calculator's size and load: 32 series of 121 points across
// the swath refilled in one batch, then the chart repainted.
static void BM_ChartRefill32Series(benchmark::State& state) {
    kit::ChartView chart;
    chart.resize(560, 300);
    kit::LegendSettings legend;
    legend.visible = true;
    chart.SetLegend(legend);
    chart.SetAxisTitles(QStringLiteral("Beam angle (deg)"), QStringLiteral("Uncertainty (m)"));
    for (int s = 0; s < 32; ++s) {
        kit::SeriesSettings settings;
        settings.title = QStringLiteral("Series %1").arg(s);
        settings.legendText = s < 8 ? settings.title : QString();
        settings.color = QColor::fromHsv((s * 37) % 360, 200, 180);
        chart.AddSeries(settings);
    }
    bench::ShowOnScreen(&chart);
    double depth = 20.0;
    for (auto _ : state) {
        depth = depth == 20.0 ? 21.0 : 20.0; // a keystroke in the depth field
        {
            kit::ChartBatch batch(&chart);
            for (int s = 0; s < chart.SeriesCount(); ++s) {
                kit::ChartSeries& series = chart.GetSeries(s);
                series.Clear();
                for (int beam = -60; beam <= 60; ++beam) {
                    const double angle = beam * 0.017453292519943295;
                    series.AddXY(beam, depth * 0.001 * (s + 1) / std::cos(angle) + 0.01 * s);
                }
            }
        }
        bench::PaintChanges(&chart);
    }
}
BENCHMARK(BM_ChartRefill32Series)->Unit(benchmark::kMillisecond);
