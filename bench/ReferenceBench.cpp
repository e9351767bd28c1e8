#include "app/ReferenceWindows.h"
#include "bench/BenchWindows.h"

#include <benchmark/benchmark.h>

// Opening a sheet window, as its menu command does: the form, the document read
// from disk, the view sized to the page and the first paint. The page's pixels
// are rendered on a thread of the document's own; the process's CPU time counts
// that work too.
static void BM_SheetWindowOpens(benchmark::State& state) {
    for (auto _ : state) {
        TSpec2024 window;
        bench::ShowOnScreen(&window);
        bench::PaintChanges(&window);
    }
}
BENCHMARK(BM_SheetWindowOpens)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// One step of dragging the frame of the drawing that is scaled to fit: the page
// refitted, rendered anew at its new scale and the window painted.
static void BM_ScaledDrawingResizeStep(benchmark::State& state) {
    TDraw2026 window;
    bench::ShowOnScreen(&window);
    const QSize sizes[] = {QSize(800, 750), QSize(804, 752)};
    std::size_t i = 0;
    for (auto _ : state) {
        window.resize(sizes[i++ % 2]);
        bench::PaintChanges(&window);
    }
}
BENCHMARK(BM_ScaledDrawingResizeStep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
