#include "tpu/TpuAnalysisPages.h"

#include "common/NumberFormat.h"
#include "kit/ChartView.h"
#include "kit/WindowParts.h"
#include "survey/SurveyGeometry.h"
#include "ui_ErrorBudgetPage.h"
#include "ui_OrderFitPage.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace tpu {

namespace {

// The fit chart's last series marks the current depth.
constexpr int kDepthSeries = static_cast<int>(kOrderLimits.size());

const QString kNothing = QStringLiteral("\u2014");

QString Metres(double value) { return QString::fromStdString(common::FormatFixed(value, 0, 0)) + QStringLiteral(" m"); }

QString PlusMinus(double value) {
    return QStringLiteral("\u00B1 ") + QString::fromStdString(common::FormatFixed(value, 0, 3)) + QStringLiteral(" m");
}

void Write(QLabel* label, const QString& text) {
    // The same text again is no change and asks for no repaint.
    if (label->text() != text) {
        label->setText(text);
    }
}

} // namespace

void ApplyTpuChartLook(kit::ChartView* chart, const QString& title) {
    chart->SetBackground(chart->palette().color(QPalette::Highlight));
    chart->SetAxisFont(kit::PixelFont(kit::kTahoma, 11));
    kit::TitleSettings heading;
    heading.lines = {title};
    heading.alignment = Qt::AlignRight;
    heading.font = kit::PixelFont(kit::kTahoma, 16, true);
    heading.color = Qt::white;
    chart->SetTitle(heading);
    kit::LegendSettings legend;
    legend.visible = true;
    legend.font = kit::PixelFont(kit::kTahoma, 11, true);
    legend.offset = QPointF(4, 0);
    chart->SetLegend(legend);
}

// ---------------------------------------------------------------------------
// Order fit

OrderFitPage::OrderFitPage(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::OrderFitPage>()) {
    ui->setupUi(this);
    shown_.fill(true);
    captions_ = {ui->lblFitOrder_1, ui->lblFitOrder_2, ui->lblFitOrder_3, ui->lblFitOrder_4,
                 ui->lblFitOrder_5, ui->lblFitOrder_6, ui->lblFitOrder_7};
    angles_ = {ui->lblFitAngle_1, ui->lblFitAngle_2, ui->lblFitAngle_3, ui->lblFitAngle_4,
               ui->lblFitAngle_5, ui->lblFitAngle_6, ui->lblFitAngle_7};
    swathTexts_ = {ui->lblFitSwath_1, ui->lblFitSwath_2, ui->lblFitSwath_3, ui->lblFitSwath_4,
                   ui->lblFitSwath_5, ui->lblFitSwath_6, ui->lblFitSwath_7};
    spacings_ = {ui->lblFitSpacing_1, ui->lblFitSpacing_2, ui->lblFitSpacing_3, ui->lblFitSpacing_4,
                 ui->lblFitSpacing_5, ui->lblFitSpacing_6, ui->lblFitSpacing_7};
    ui->udbFitOverlap->Associate(ui->edtFitOverlap);
    kit::AcceptDigitsOnly({ui->edtFitOverlap});
    connect(ui->edtFitOverlap, &QLineEdit::textChanged, this, &OrderFitPage::ShowSpacing);

    kit::ChartView* chart = ui->Fit_Chart;
    ApplyTpuChartLook(chart, QStringLiteral("Usable Swath"));
    chart->SetAxisTitles(QStringLiteral("Depth (m)"), QStringLiteral("Usable swath (m)"),
                         kit::PixelFont(kit::kTahoma, 11, true));
    for (const QLabel* caption : captions_) {
        kit::SeriesSettings series;
        series.title = caption->text(); // each curve named as its row
        series.legendText = series.title;
        series.width = 3;
        chart->AddSeries(series);
    }
    kit::SeriesSettings depth;
    depth.title = QStringLiteral("Depth");
    depth.color = Qt::white;
    depth.width = 2;
    depth.style = kit::LineStyle::Dashed;
    depth.marker = true;
    chart->AddSeries(depth);
    Clear();
}

OrderFitPage::~OrderFitPage() = default;

void OrderFitPage::SetOrderColours(const std::array<QColor, kOrderLimits.size()>& colours) {
    for (std::size_t order = 0; order < colours.size(); ++order) {
        ui->Fit_Chart->GetSeries(static_cast<int>(order)).SetColor(colours[order]);
        QLabel* caption = captions_[order];
        QPalette look = caption->palette();
        look.setColor(QPalette::WindowText, colours[order]);
        caption->setPalette(look);
    }
}

void OrderFitPage::Show(const TpuInputs& inputs, int depth, int deepest) {
    Write(ui->lblFitDepth, QStringLiteral("At %1 m below the transducer, on a flat seabed:").arg(depth));
    for (std::size_t order = 0; order < kOrderLimits.size(); ++order) {
        const std::optional<int> angle = UsableAngle(inputs, depth, kOrderLimits[order]);
        swaths_[order] = angle ? std::optional<double>(UsableSwath(depth, *angle)) : std::nullopt;
        Write(angles_[order], angle ? QString::number(*angle) + QStringLiteral("\u00B0") : QStringLiteral("none"));
        Write(swathTexts_[order], swaths_[order] ? Metres(*swaths_[order]) : kNothing);
    }
    ShowSpacing();

    depth_ = depth;
    deepest_ = deepest;
    curveInputs_ = inputs;
    if (isVisible()) {
        DrawCurves();
    }
}

void OrderFitPage::showEvent(QShowEvent* event) {
    DrawCurves();
    QWidget::showEvent(event);
}

void OrderFitPage::DrawCurves() {
    if (!curveInputs_) {
        return;
    }
    kit::ChartView* chart = ui->Fit_Chart;
    kit::ChartBatch batch(chart);
    const FitCurves curves = UsableSwathByDepth(*curveInputs_, deepest_);
    curveInputs_.reset();
    for (std::size_t order = 0; order < curves.size(); ++order) {
        kit::ChartSeries& series = chart->GetSeries(static_cast<int>(order));
        series.Clear();
        widest_[order] = 0.0;
        for (const FitPoint& point : curves[order]) {
            series.AddXY(point.depth, point.swath);
            widest_[order] = std::max(widest_[order], point.swath);
        }
    }
    PlaceDepthMarker();
}

void OrderFitPage::PlaceDepthMarker() {
    double widest = 0.0;
    for (std::size_t order = 0; order < widest_.size(); ++order) {
        if (shown_[order]) {
            widest = std::max(widest, widest_[order]);
        }
    }
    kit::ChartSeries& marker = ui->Fit_Chart->GetSeries(kDepthSeries);
    marker.Clear();
    if (depth_ > 0) {
        marker.AddXY(depth_, 0.0);
        marker.AddXY(depth_, widest);
    }
}

void OrderFitPage::Clear() {
    for (const Column* column : {&angles_, &swathTexts_, &spacings_}) {
        for (QLabel* label : *column) {
            Write(label, kNothing);
        }
    }
    swaths_.fill(std::nullopt);
    widest_.fill(0.0);
    depth_ = 0;
    curveInputs_.reset();
    kit::ChartBatch batch(ui->Fit_Chart);
    for (int s = 0; s < ui->Fit_Chart->SeriesCount(); ++s) {
        ui->Fit_Chart->GetSeries(s).Clear();
    }
}

void OrderFitPage::ShowOrder(std::size_t order, bool shown) {
    kit::ChartBatch batch(ui->Fit_Chart);
    shown_[order] = shown;
    ui->Fit_Chart->GetSeries(static_cast<int>(order)).SetActive(shown);
    PlaceDepthMarker();
}

void OrderFitPage::ShowSpacing() {
    std::int32_t overlap = 0;
    const bool read = common::TryParseInt(ui->edtFitOverlap->text().trimmed().toStdString(), overlap);
    // An overlap outside 0 to 100 % (or none typed yet) gives no spacing.
    const bool usable = read && overlap >= 0 && overlap <= 100;
    for (std::size_t order = 0; order < spacings_.size(); ++order) {
        Write(spacings_[order],
              usable && swaths_[order] ? Metres(survey::LineSpacing(*swaths_[order], overlap)) : kNothing);
    }
}

// ---------------------------------------------------------------------------
// Budget bars

BudgetBars::BudgetBars(QWidget* parent) : QWidget(parent) { setCursor(Qt::PointingHandCursor); }

void BudgetBars::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void BudgetBars::SetTerms(std::span<const std::string_view> names, std::span<const double> terms) {
    if (names_.size() != names.size()) {
        names_.clear();
        for (const std::string_view name : names) {
            names_.push_back(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
    }
    terms_.assign(terms.begin(), terms.end());
    leftOut_.resize(terms_.size(), false);
    ranked_.clear();
    percent_.assign(terms_.size(), 0.0);
    for (const BudgetShare& share : BudgetShares(terms_)) {
        ranked_.push_back(share.term);
        percent_[share.term] = share.percent;
    }
    update();
}

void BudgetBars::Clear() {
    terms_.clear();
    ranked_.clear();
    percent_.clear();
    update();
}

void BudgetBars::ToggleTerm(std::size_t term) {
    if (term >= leftOut_.size()) {
        return;
    }
    leftOut_[term] = !leftOut_[term];
    update();
    emit termToggled(term);
}

QString BudgetBars::TotalText() const {
    return terms_.empty() ? caption_ : caption_ + QStringLiteral("  ") + PlusMinus(RootSumSquare(terms_));
}

QString BudgetBars::WithoutText() const {
    const auto count = std::count(leftOut_.begin(), leftOut_.end(), true);
    if (terms_.empty() || count == 0) {
        return {};
    }
    return (count == 1 ? QStringLiteral("without it: ") : QStringLiteral("without them: ")) +
           PlusMinus(TotalWithout(terms_, leftOut_));
}

std::size_t BudgetBars::TermAt(std::size_t rank) const { return rank < ranked_.size() ? ranked_[rank] : rank; }

int BudgetBars::HeaderHeight() const { return 2 * fontMetrics().height() + 6; }

QRect BudgetBars::RowRect(std::size_t rank) const {
    // Room for the longest budget, so that the rows keep their height.
    const int rows = static_cast<int>(std::max(ranked_.size(), std::size_t{13}));
    const int rowHeight = std::max(fontMetrics().height(), (height() - HeaderHeight()) / rows);
    return {0, HeaderHeight() + static_cast<int>(rank) * rowHeight, width(), rowHeight};
}

QSize BudgetBars::sizeHint() const { return {480, HeaderHeight() + 13 * (fontMetrics().height() + 2)}; }

void BudgetBars::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics = fontMetrics();
    const QColor ink = palette().color(QPalette::WindowText);
    QColor pale = ink;
    pale.setAlpha(110);

    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(ink);
    p.drawText(QRect(0, 0, width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, TotalText());
    p.setFont(font());
    p.setPen(pale);
    p.drawText(QRect(0, metrics.height() + 2, width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
               WithoutText());

    int nameWidth = 0;
    for (const QString& name : names_) {
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(name));
    }
    nameWidth = std::min(nameWidth + 8, width() * 45 / 100);
    const int shareWidth = metrics.horizontalAdvance(QStringLiteral("100.0 %")) + 6;
    const int barLeft = nameWidth + 4;
    const int barRoom = std::max(0, width() - barLeft - shareWidth);
    const QColor barColour = palette().color(QPalette::Highlight);
    QColor paleBar = barColour;
    paleBar.setAlpha(60);

    for (std::size_t rank = 0; rank < ranked_.size(); ++rank) {
        const std::size_t term = ranked_[rank];
        const QRect row = RowRect(rank);
        const bool out = LeftOut(term);
        p.setPen(out ? pale : ink);
        p.drawText(QRect(0, row.top(), nameWidth, row.height()), Qt::AlignRight | Qt::AlignVCenter,
                   term < names_.size() ? names_[term] : QString());
        const int length = static_cast<int>(barRoom * percent_[term] / 100.0 + 0.5);
        const QRect bar(barLeft, row.top() + 2, length, std::max(2, row.height() - 4));
        p.fillRect(bar, out ? paleBar : barColour);
        const QString share = QString::fromStdString(common::FormatFixed(percent_[term], 0, 1)) + QStringLiteral(" %");
        p.drawText(QRect(barLeft + length + 4, row.top(), shareWidth + barRoom - length, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, share);
    }
}

void BudgetBars::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    for (std::size_t rank = 0; rank < ranked_.size(); ++rank) {
        if (RowRect(rank).contains(event->position().toPoint())) {
            ToggleTerm(ranked_[rank]);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Error budget

ErrorBudgetPage::ErrorBudgetPage(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::ErrorBudgetPage>()) {
    ui->setupUi(this);
    ui->barsOuterTvu->SetCaption(QStringLiteral("Outer beam TVU"));
    ui->barsOuterThu->SetCaption(QStringLiteral("Outer beam THU"));
    ui->barsNadirTvu->SetCaption(QStringLiteral("Nadir TVU"));
    ui->barsNadirThu->SetCaption(QStringLiteral("Nadir THU"));
}

ErrorBudgetPage::~ErrorBudgetPage() = default;

void ErrorBudgetPage::Show(const BeamTerms& outer, const NadirValues& nadir) {
    ui->barsOuterTvu->SetTerms(kBeamTvuTermNames, outer.tvuTerms);
    ui->barsOuterThu->SetTerms(kBeamThuTermNames, outer.thuTerms);
    ui->barsNadirTvu->SetTerms(kNadirTvuTermNames, nadir.tvuTerms);
    ui->barsNadirThu->SetTerms(kNadirThuTermNames, nadir.thuTerms);
    Write(ui->lblBudgetTopTVU, QString::fromStdString(TopTermText(kBeamTvuTermNames, BudgetShares(outer.tvuTerms))));
    Write(ui->lblBudgetTopTHU, QString::fromStdString(TopTermText(kBeamThuTermNames, BudgetShares(outer.thuTerms))));
}

void ErrorBudgetPage::Clear() {
    for (BudgetBars* bars : {ui->barsOuterTvu, ui->barsOuterThu, ui->barsNadirTvu, ui->barsNadirThu}) {
        bars->Clear();
    }
    Write(ui->lblBudgetTopTVU, kNothing);
    Write(ui->lblBudgetTopTHU, kNothing);
}

} // namespace tpu
