#include "standards/GraphOverview.h"

#include "common/NumberFormat.h"
#include "kit/ChartView.h"
#include "kit/WindowParts.h"
#include "survey/SurveyOrders.h"
#include "ui_GraphOverview.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

namespace {

// The seven curves, one per graph row of the survey order table, in legend order.
struct Curve {
    const char* legend;
    QColor color;
};
const std::array<Curve, 7> kCurves = {{
    {"IHO Special", QColor(255, 0, 0)},
    {"IHO 1", QColor(0, 0, 255)},
    {"IHO 2", QColor(0, 128, 0)},
    {"FSIS Exclusive", QColor(64, 0, 64)},
    {"NL-A", QColor(255, 128, 192)},
    {"NL-B", QColor(128, 128, 0)},
    {"Orsted", QColor(0, 0, 128)},
}};
constexpr std::size_t kFsisCurve = 3;

// The ruling of the table, in pixels of the page. The form lays the labels out
// in these cells: the rows 21 px apart from y 390, each rule 3 px above a row's
// text; the order names left of x 184, the TVU column left of x 240 and the THU
// column to the right edge.
const QColor kGridLine(128, 128, 128);
constexpr int kGridLeft = 48;
constexpr int kGridRight = 346;
constexpr int kGridTop = 362;
constexpr int kGridBottom = 537;
constexpr int kNameColumnRight = 184;
constexpr int kTvuColumnRight = 240;
constexpr int kFirstRowTop = 390;
constexpr int kRowPitch = 21;

const survey::SurveyOrder& OrderOfCurve(std::size_t curve) {
    return survey::SurveyOrderTable[static_cast<std::size_t>(survey::kGraphRows[curve])];
}

QString ValueText(double value) { return QString::fromStdString(common::FormatFixed(value, 3, 2)); }

using ToleranceRule = double (*)(const survey::SurveyOrder&, int);

// One point per whole metre from the first depth down to `depth`, for each
// curve, drawn once when the whole chart is filled.
void FillCurves(kit::ChartView* chart, ToleranceRule rule, int depth) {
    kit::ChartBatch batch(chart);
    for (int curve = 0; curve < chart->SeriesCount(); ++curve) {
        chart->GetSeries(curve).Clear();
    }
    for (int d = GraphOverview::kFirstDepth; d <= depth; ++d) {
        for (int curve = 0; curve < chart->SeriesCount(); ++curve) {
            chart->GetSeries(curve).AddXY(d, rule(OrderOfCurve(static_cast<std::size_t>(curve)), d));
        }
    }
}

// The chart's title, legend and seven curves: what it draws, not where it sits.
void SetUpCurves(kit::ChartView* chart, const QString& title, bool dottedFsis) {
    chart->SetBackground(kit::kCream);
    chart->SetAxisFont(kit::PixelFont(kit::kTahoma, 10));
    kit::TitleSettings heading;
    heading.lines = {title};
    heading.font = kit::PixelFont(kit::kTahoma, 12, true);
    heading.color = kit::kNavy;
    heading.rotated = true;
    chart->SetTitle(heading);
    // No axis titles are drawn (the heading says what the chart shows); the
    // copied table still names its depth column.
    chart->SetCopyXTitle(QStringLiteral("Depth (m)"));
    kit::LegendSettings legend;
    legend.visible = true;
    legend.font = kit::PixelFont(kit::kTahoma, 10, true);
    legend.textInSeriesColor = true;
    legend.offset = QPointF(2, 0);
    chart->SetLegend(legend);
    for (std::size_t curve = 0; curve < kCurves.size(); ++curve) {
        kit::SeriesSettings series;
        series.title = QString::fromLatin1(kCurves[curve].legend);
        series.legendText = series.title;
        series.color = kCurves[curve].color;
        series.width = 2;
        // The FSIS THU equals the IHO Special THU at every depth; dotted, it
        // leaves the red line beneath it visible.
        series.style = dottedFsis && curve == kFsisCurve ? kit::LineStyle::Dotted : kit::LineStyle::Solid;
        chart->AddSeries(series);
    }
}

} // namespace

GraphOverview::GraphOverview(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::GraphOverview>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    SetUpCurves(ui->cht_Vertical, QStringLiteral("Vertical Tolerance"), false);
    SetUpCurves(ui->cht_Horizontal, QStringLiteral("Horizontal Tolerance"), true);
    tvuColumn_ = {ui->lbl_TVU1, ui->lbl_TVU2, ui->lbl_TVU3, ui->lbl_TVU4, ui->lbl_TVU5, ui->lbl_TVU6, ui->lbl_TVU7};
    thuColumn_ = {ui->lbl_THU1, ui->lbl_THU2, ui->lbl_THU3, ui->lbl_THU4, ui->lbl_THU5, ui->lbl_THU6, ui->lbl_THU7};

    connect(ui->scb_Vertical, &QScrollBar::valueChanged, this, &GraphOverview::scb_VerticalChange);
    connect(ui->scb_Horizontal, &QScrollBar::valueChanged, this, &GraphOverview::scb_HorizontalChange);
}

GraphOverview::~GraphOverview() = default;

void GraphOverview::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The grid as filled one-pixel rectangles: drawn as lines, each tall one is
    // blended row by row on Qt's raster threads, which costs more than the
    // table itself on every scroll step.
    QPainter painter(this);
    const auto across = [&](int y) { painter.fillRect(QRect(kGridLeft, y, kGridRight - kGridLeft + 1, 1), kGridLine); };
    const auto down = [&](int x) { painter.fillRect(QRect(x, kGridTop, 1, kGridBottom - kGridTop + 1), kGridLine); };
    // The frame's right and bottom edges lie one pixel outside, as a pen's would.
    painter.fillRect(QRect(kGridLeft, kGridBottom + 1, kGridRight - kGridLeft + 2, 1), kGridLine);
    painter.fillRect(QRect(kGridRight + 1, kGridTop, 1, kGridBottom - kGridTop + 1), kGridLine);
    across(kGridTop);
    down(kGridLeft);
    // A double line under the column heads, single lines between the rows.
    const int headBottom = kFirstRowTop - 4;
    across(headBottom);
    across(headBottom + 2);
    for (int row = 1; row < static_cast<int>(kCurves.size()); ++row) { // a table row per curve
        across(kFirstRowTop + kRowPitch * row - 3);
    }
    down(kNameColumnRight);
    down(kTvuColumnRight);
}

void GraphOverview::scb_VerticalChange() {
    const int depth = ui->scb_Vertical->value();
    ui->scb_Horizontal->setValue(depth); // runs the horizontal refresh first when it moves the bar
    FillCurves(ui->cht_Vertical, &survey::MaxAllowableTVU, depth);
    ui->lbl_GraphDepth->setText(QString::number(depth) + QStringLiteral(" metres"));
    for (std::size_t curve = 0; curve < tvuColumn_.size(); ++curve) {
        tvuColumn_[curve]->setText(ValueText(survey::MaxAllowableTVU(OrderOfCurve(curve), depth)));
    }
}

void GraphOverview::scb_HorizontalChange() {
    const int depth = ui->scb_Horizontal->value();
    ui->scb_Vertical->setValue(depth); // runs the vertical refresh first when it moves the bar
    FillCurves(ui->cht_Horizontal, &survey::MaxAllowableTHU, depth);
    for (std::size_t curve = 0; curve < thuColumn_.size(); ++curve) {
        thuColumn_[curve]->setText(ValueText(survey::MaxAllowableTHU(OrderOfCurve(curve), depth)));
    }
}

void GraphOverview::ResetGraphDepth() {
    ui->scb_Vertical->setValue(kFirstDepth);
    ui->scb_Vertical->setValue(kStartDepth);
}
