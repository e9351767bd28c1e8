#include "standards/GraphOverview.h"

#include "common/NumberFormat.h"
#include "kit/Assets.h"
#include "kit/ChartView.h"
#include "kit/WindowParts.h"
#include "standards/SurveyOrders.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

using namespace kit;

namespace {

const QColor kGridLine(128, 128, 128);

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

// The table rows, in the same order as the curves; an invalid colour keeps the
// window text colour.
struct TableRow {
    const char* name;
    QColor color;
};
const std::array<TableRow, 7> kTableRows = {{
    {"IHO - Special", QColor(255, 0, 0)},
    {"IHO Order 1", QColor(0, 0, 255)},
    {"IHO Order 2", QColor(0, 128, 0)},
    {"FSIS-44 Exclusive", QColor()},
    {"NL Order A", QColor(255, 0, 255)},
    {"NL Order B", QColor(128, 128, 0)},
    {"Orsted", QColor(0, 0, 128)},
}};

// Page geometry of the table, in pixels of the page.
constexpr int kPanelHeight = 166;
constexpr int kChartWidth = 540;
constexpr int kChartHeight = 147;
constexpr int kScrollHeight = 17;
constexpr int kGridLeft = 48;
constexpr int kGridRight = 346;
constexpr int kGridTop = 362;
constexpr int kGridBottom = 537;
constexpr int kNameLeft = 56;
constexpr int kNameRight = 184; // between the longest row name and the TVU column
constexpr int kTvuLeft = 192;
constexpr int kColumnLine = 240;
constexpr int kThuLeft = 280;
constexpr int kHeadTop = 370;
constexpr int kFirstRowTop = 390;
constexpr int kRowPitch = 21;

const standards::SurveyOrder& OrderOfCurve(std::size_t curve) {
    return standards::SurveyOrderTable[static_cast<std::size_t>(standards::GraphRows[curve])];
}

// A label in a fixed cell of the table, not sized to its text.
QLabel* MakeCellLabel(QWidget* parent, const QString& text, QRect geometry, const QFont& font,
                      const QColor& color = QColor()) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    if (color.isValid()) {
        SetTextColor(label, color);
    }
    label->setGeometry(geometry);
    return label;
}

QString ValueText(double value) { return QString::fromStdString(common::FormatFixed(value, 3, 2)); }

using ToleranceRule = double (*)(const standards::SurveyOrder&, int);

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

} // namespace

GraphOverview::GraphOverview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnl_GraphOverview"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kCream);
    setPalette(palette);

    BuildChartPanel(0, QStringLiteral("Vertical Tolerance"), false, cht_Vertical, scb_Vertical, "cht_Vertical",
                    "scb_Vertical");
    BuildChartPanel(kPanelHeight, QStringLiteral("Horizontal Tolerance"), true, cht_Horizontal, scb_Horizontal,
                    "cht_Horizontal", "scb_Horizontal");
    BuildTable();

    connect(scb_Vertical, &QScrollBar::valueChanged, this, &GraphOverview::scb_VerticalChange);
    connect(scb_Horizontal, &QScrollBar::valueChanged, this, &GraphOverview::scb_HorizontalChange);
}

QWidget* GraphOverview::BuildChartPanel(int top, const QString& title, bool dottedFsis, kit::ChartView*& chart,
                                        QScrollBar*& bar, const char* chartName, const char* barName) {
    auto* panel = new QWidget(this);
    panel->setGeometry(0, top, kChartWidth + 4, kPanelHeight);

    chart = new kit::ChartView(panel);
    chart->setObjectName(QString::fromLatin1(chartName));
    chart->setGeometry(2, 1, kChartWidth, kChartHeight);
    chart->SetBackground(kCream);
    chart->SetAxisFont(PixelFont(kTahoma, 10));
    kit::TitleSettings heading;
    heading.lines = {title};
    heading.font = PixelFont(kTahoma, 12, true);
    heading.color = kNavy;
    heading.rotated = true;
    chart->SetTitle(heading);
    kit::LegendSettings legend;
    legend.visible = true;
    legend.font = PixelFont(kTahoma, 10, true);
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

    bar = new QScrollBar(Qt::Horizontal, panel);
    bar->setObjectName(QString::fromLatin1(barName));
    bar->setGeometry(2, 1 + kChartHeight, kChartWidth, kScrollHeight);
    bar->setRange(kFirstDepth, kLastDepth);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(kStartDepth);
    return panel;
}

void GraphOverview::BuildTable() {
    const QFont bold = PixelFont(kTahoma, 13, true);
    const QFont regular = PixelFont(kTahoma, 13);
    const int lineHeight = QFontMetrics(bold).height();

    MakeCellLabel(this, QStringLiteral("TVU and THU for Waterdepth:    "), QRect(kNameLeft, 341, 208, lineHeight), bold,
                  kNavy);
    lbl_GraphDepth = MakeCellLabel(this, QStringLiteral("xx metres"), QRect(264, 341, 120, lineHeight), bold, kNavy);
    lbl_GraphDepth->setObjectName(QStringLiteral("lbl_GraphDepth"));

    MakeCellLabel(this, QStringLiteral("TVU"), QRect(kTvuLeft, kHeadTop, 44, lineHeight), bold, kNavy);
    MakeCellLabel(this, QStringLiteral("THU"), QRect(kThuLeft, kHeadTop, 60, lineHeight), bold, kNavy);
    for (std::size_t row = 0; row < kTableRows.size(); ++row) {
        const int top = kFirstRowTop + kRowPitch * static_cast<int>(row);
        MakeCellLabel(this, QString::fromLatin1(kTableRows[row].name),
                      QRect(kNameLeft, top, kNameRight - kNameLeft, lineHeight), bold, kTableRows[row].color);
        lbl_TVU[row] = MakeCellLabel(this, QStringLiteral("xx "),
                                     QRect(kTvuLeft, top, kColumnLine - kTvuLeft - 4, lineHeight), regular);
        lbl_TVU[row]->setObjectName(QStringLiteral("lbl_TVU%1").arg(row + 1));
        lbl_THU[row] = MakeCellLabel(this, QStringLiteral("xx "),
                                     QRect(kThuLeft, top, kGridRight - kThuLeft - 4, lineHeight), regular);
        lbl_THU[row]->setObjectName(QStringLiteral("lbl_THU%1").arg(row + 1));
    }
    lbl_THU[2]->setText(QStringLiteral("xx"));
}

void GraphOverview::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(kGridLine, 1));
    painter.drawRect(QRect(QPoint(kGridLeft, kGridTop), QPoint(kGridRight, kGridBottom)));
    // A double line under the column heads, single lines between the rows.
    const int headBottom = kFirstRowTop - 4;
    painter.drawLine(kGridLeft, headBottom, kGridRight, headBottom);
    painter.drawLine(kGridLeft, headBottom + 2, kGridRight, headBottom + 2);
    for (int row = 1; row < static_cast<int>(kTableRows.size()); ++row) {
        const int y = kFirstRowTop + kRowPitch * row - 3;
        painter.drawLine(kGridLeft, y, kGridRight, y);
    }
    painter.drawLine(kNameRight, kGridTop, kNameRight, kGridBottom);
    painter.drawLine(kColumnLine, kGridTop, kColumnLine, kGridBottom);
}

void GraphOverview::scb_VerticalChange() {
    const int depth = scb_Vertical->value();
    scb_Horizontal->setValue(depth); // runs the horizontal refresh first when it moves the bar
    FillCurves(cht_Vertical, &standards::MaxAllowableTVU, depth);
    lbl_GraphDepth->setText(QString::number(depth) + QStringLiteral(" metres"));
    for (std::size_t curve = 0; curve < lbl_TVU.size(); ++curve) {
        lbl_TVU[curve]->setText(ValueText(standards::MaxAllowableTVU(OrderOfCurve(curve), depth)));
    }
}

void GraphOverview::scb_HorizontalChange() {
    const int depth = scb_Horizontal->value();
    scb_Vertical->setValue(depth); // runs the vertical refresh first when it moves the bar
    FillCurves(cht_Horizontal, &standards::MaxAllowableTHU, depth);
    for (std::size_t curve = 0; curve < lbl_THU.size(); ++curve) {
        lbl_THU[curve]->setText(ValueText(standards::MaxAllowableTHU(OrderOfCurve(curve), depth)));
    }
}

void GraphOverview::ResetGraphDepth() {
    scb_Vertical->setValue(kFirstDepth);
    scb_Vertical->setValue(kStartDepth);
}
