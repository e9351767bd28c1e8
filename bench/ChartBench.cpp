#include "standards/TIHOForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QScrollBar>
#include <benchmark/benchmark.h>

// One step of the graph-depth scroll bar at its deep end, as the user drags it:
// both refreshes compute their 1,400 points, both charts are refilled and the
// whole window is painted into an offscreen picture.
static void BM_GraphOverviewScrollStep(benchmark::State& state) {
    TIHOForm form;
    form.show();
    auto* selector = form.findChild<QComboBox*>(QStringLiteral("cbo_Order"));
    selector->setCurrentIndex(TIHOForm::kGraphOverviewRow);
    emit selector->activated(TIHOForm::kGraphOverviewRow);
    QImage picture(form.size(), QImage::Format_ARGB32_Premultiplied);
    auto* bar = form.findChild<QScrollBar*>(QStringLiteral("scb_Vertical"));
    int step = 0;
    for (auto _ : state) {
        bar->setValue(step++ % 2 == 0 ? 199 : 200);
        QCoreApplication::sendPostedEvents(); // the charts' relayout, as the event loop runs it
        form.render(&picture);
    }
}
BENCHMARK(BM_GraphOverviewScrollStep)->Unit(benchmark::kMillisecond);
