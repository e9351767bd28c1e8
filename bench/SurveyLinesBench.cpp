#include "bench/BenchWindows.h"
#include "lineplan/SurveyLines.h"
#include "lineplan/TSurveyLines.h"

#include <QLineEdit>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

// A 10 km square in UTM zone 32.
QString Square() { return QStringLiteral("500000\t6200000\n510000\t6200000\n510000\t6210000\n500000\t6210000"); }

// The same square with a sawtooth north shore of 1,000 corners: 499 bays
// 20 m wide and 500 m deep, a coast that cuts every east-west line into
// hundreds of pieces.
std::vector<surveylines::Point> Sawtooth() {
    std::vector<surveylines::Point> corners{{500000, 6200000}, {510000, 6200000}};
    for (int i = 0; i < 499; ++i) {
        const double east = 510000 - 20.0 * i;
        corners.push_back({east, 6210000});
        corners.push_back({east - 10, 6209500});
    }
    corners.push_back({500020, 6210000});
    corners.push_back({500000, 6210000});
    return corners;
}

QString Text(const std::vector<surveylines::Point>& corners) {
    QStringList rows;
    for (const surveylines::Point& p : corners) {
        rows << QStringLiteral("%1\t%2").arg(p.x, 0, 'f', 2).arg(p.y, 0, 'f', 2);
    }
    return rows.join(QLatin1Char('\n'));
}

// One keystroke in the spacing field of a window showing `area`: read the
// fields and corners, lay and clip the lines, fill the table and the totals,
// and paint the plan.
void Keystroke(benchmark::State& state, const QString& area, const QString& heading, const QStringList& spacings) {
    TSurveyLines window;
    window.resize(1180, 740);
    bench::ShowOnScreen(&window);
    window.findChild<QObject*>(QStringLiteral("grdCorners"))->setProperty("plainText", area);
    window.findChild<QLineEdit*>(QStringLiteral("edtHeading"))->setText(heading);
    auto* spacing = window.findChild<QLineEdit*>(QStringLiteral("edtSpacing"));
    std::size_t i = 0;
    for (auto _ : state) {
        spacing->setText(spacings[qsizetype(i++ % 2)]);
        bench::PaintChanges(&window);
    }
    state.counters["lines"] = double(window.Lines().size());
}

} // namespace

// 2,000 lines 5 m apart over 10 km.
static void BM_TenKilometresAtFiveMetres(benchmark::State& state) {
    Keystroke(state, Square(), QStringLiteral("0"), {QStringLiteral("5"), QStringLiteral("5.001")});
}
BENCHMARK(BM_TenKilometresAtFiveMetres)->Unit(benchmark::kMillisecond);

// The 1,000-corner shore, lines along the bays (2,000 lines) and across them
// at 25 m (20 tracks in the bays, each cut into 500 lines).
static void BM_ThousandCornersAlongTheBays(benchmark::State& state) {
    Keystroke(state, Text(Sawtooth()), QStringLiteral("0"), {QStringLiteral("5"), QStringLiteral("5.001")});
}
BENCHMARK(BM_ThousandCornersAlongTheBays)->Unit(benchmark::kMillisecond);

static void BM_ThousandCornersAcrossTheBays(benchmark::State& state) {
    Keystroke(state, Text(Sawtooth()), QStringLiteral("90"), {QStringLiteral("25"), QStringLiteral("25.001")});
}
BENCHMARK(BM_ThousandCornersAcrossTheBays)->Unit(benchmark::kMillisecond);

// The core alone: checking the area and laying the lines.
static void BM_LayLinesThousandCorners(benchmark::State& state) {
    const std::vector<surveylines::Point> corners = Sawtooth();
    for (auto _ : state) {
        const auto area = surveylines::CheckedArea(corners);
        benchmark::DoNotOptimize(surveylines::LayLines(area, {0, false, 5, 0, 0, true}));
    }
}
BENCHMARK(BM_LayLinesThousandCorners)->Unit(benchmark::kMillisecond);

static void BM_LayLinesTenKilometres(benchmark::State& state) {
    const std::vector<surveylines::Point> square{
        {500000, 6200000}, {510000, 6200000}, {510000, 6210000}, {500000, 6210000}};
    for (auto _ : state) {
        const auto area = surveylines::CheckedArea(square);
        benchmark::DoNotOptimize(surveylines::LayLines(area, {0, false, 5, 0, 0, true}));
    }
}
BENCHMARK(BM_LayLinesTenKilometres)->Unit(benchmark::kMillisecond);
