#include "tpu/TpuAnalysisPages.h"

#include "common/NumberFormat.h"
#include "kit/ChartView.h"
#include "kit/TypedFields.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"
#include "survey/SurveyGeometry.h"
#include "ui_ErrorBudgetPage.h"
#include "ui_OrderFitPage.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tpu {

namespace {

// The fit chart's series: the first run of each order's curve, in the order
// of kOrderLimits, then the current depth, then each order's further runs.
constexpr int kDepthSeries = static_cast<int>(kOrderLimits.size());
constexpr int kSegments = 3; // runs drawn apart; a fourth goes on in the third

int SegmentSeries(std::size_t order, int segment) {
    return segment == 0 ? static_cast<int>(order)
                        : kDepthSeries + 1 + static_cast<int>(order) * (kSegments - 1) + segment - 1;
}

const QString kNothing = QStringLiteral("\u2014");

// Room for the longest budget, so that the bars keep their rows' height.
constexpr std::size_t kLongestBudget = std::max(kTermCount<BeamTvu>, kTermCount<BeamThu>);

// A swath or spacing: whole metres, and a decimal below 10 m, where a metre is
// a large part of it.
QString Metres(double value) {
    const int decimals = std::abs(value) < 9.95 ? 1 : 0;
    return QString::fromStdString(common::FormatFixed(value, 0, decimals)) + QStringLiteral(" m");
}

QString PlusMinus(double value) {
    return QStringLiteral("\u00B1 ") + QString::fromStdString(common::FormatFixed(value, 0, 3)) + QStringLiteral(" m");
}

void SetIfChanged(QLabel* label, const QString& text) {
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
    stops_ = {ui->lblFitLimit_1, ui->lblFitLimit_2, ui->lblFitLimit_3, ui->lblFitLimit_4,
              ui->lblFitLimit_5, ui->lblFitLimit_6, ui->lblFitLimit_7};
    fullTo_ = {ui->lblFitFullTo_1, ui->lblFitFullTo_2, ui->lblFitFullTo_3, ui->lblFitFullTo_4,
               ui->lblFitFullTo_5, ui->lblFitFullTo_6, ui->lblFitFullTo_7};
    nadirTo_ = {ui->lblFitNadirTo_1, ui->lblFitNadirTo_2, ui->lblFitNadirTo_3, ui->lblFitNadirTo_4,
                ui->lblFitNadirTo_5, ui->lblFitNadirTo_6, ui->lblFitNadirTo_7};
    ui->udbFitOverlap->Associate(ui->edtFitOverlap);
    connect(ui->edtFitOverlap, &QLineEdit::textChanged, this, &OrderFitPage::ShowSpacing);
    // The note on an overlap that cannot be used waits until the field is finished.
    connect(ui->edtFitOverlap, &QLineEdit::editingFinished, this, [this] {
        ui->edtFitOverlap->setModified(false);
        ShowSpacing();
    });

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
    depth.legendText = QStringLiteral("Current depth");
    // Dashed and dark on the white plot, unlike any order's solid line.
    depth.color = QColor(64, 64, 64);
    depth.width = 2;
    depth.style = kit::LineStyle::Dashed;
    depth.marker = true;
    chart->AddSeries(depth);
    // Where an order's swath comes back after a gap, it goes on in a series
    // of its own, so that no line is drawn across the gap.
    for (const QLabel* caption : captions_) {
        for (int more = 1; more < kSegments; ++more) {
            kit::SeriesSettings series;
            series.title = caption->text() + QStringLiteral(" (%1)").arg(more + 1);
            series.width = 3;
            chart->AddSeries(series);
        }
    }
    Clear();
}

OrderFitPage::~OrderFitPage() = default;

void OrderFitPage::SetOrderColours(const std::array<QColor, kOrderLimits.size()>& colours) {
    for (std::size_t order = 0; order < colours.size(); ++order) {
        for (int segment = 0; segment < kSegments; ++segment) {
            ui->Fit_Chart->GetSeries(SegmentSeries(order, segment)).SetColor(colours[order]);
        }
        QLabel* caption = captions_[order];
        QPalette look = caption->palette();
        look.setColor(QPalette::WindowText, colours[order]);
        caption->setPalette(look);
    }
}

void OrderFitPage::Show(const TpuInputs& inputs, std::shared_ptr<const TpuSweep> sweep, int deepest) {
    depth_ = sweep->depth;
    SetIfChanged(ui->lblFitDepth, QStringLiteral("At %1 m below the transducer, on a flat seabed:").arg(depth_));
    for (std::size_t order = 0; order < kOrderLimits.size(); ++order) {
        const OrderFit fit = FitOrder(*sweep, kOrderLimits[order]);
        swaths_[order] = fit.angle ? std::optional<double>(UsableSwath(depth_, *fit.angle)) : std::nullopt;
        SetIfChanged(angles_[order],
                     fit.angle ? QString::number(*fit.angle) + QStringLiteral("\u00B0") : QStringLiteral("none"));
        SetIfChanged(swathTexts_[order], swaths_[order] ? Metres(*swaths_[order]) : kNothing);
        SetIfChanged(stops_[order], QString::fromStdString(StopText(fit)));
    }
    ShowSpacing();

    pending_ = Pending{inputs, std::move(sweep), deepest};
    if (isVisible()) {
        ShowOverDepth();
    }
}

void OrderFitPage::showEvent(QShowEvent* event) {
    ShowOverDepth();
    QWidget::showEvent(event);
}

void OrderFitPage::ShowOverDepth() {
    if (!pending_) {
        return;
    }
    const DepthFits fits = FitOverDepth(pending_->inputs, *pending_->sweep, pending_->deepest);
    const int deepest = pending_->deepest;
    pending_.reset();
    for (std::size_t order = 0; order < fits.size(); ++order) {
        SetIfChanged(fullTo_[order], QString::fromStdString(ReachText(fits[order].fullSwathTo, deepest)));
        SetIfChanged(nadirTo_[order], QString::fromStdString(ReachText(fits[order].nadirTo, deepest)));
    }

    // The depth axis reaches about twice the current depth (at least 20 m, at
    // most the deepest), so the current depth stands near the middle of the
    // chart and the swath axis follows the depths in view.
    const int inView = std::min(deepest, std::max(20, (2 * depth_ + 9) / 10 * 10));
    kit::ChartView* chart = ui->Fit_Chart;
    kit::ChartBatch batch(chart);
    for (std::size_t order = 0; order < fits.size(); ++order) {
        for (int segment = 0; segment < kSegments; ++segment) {
            chart->GetSeries(SegmentSeries(order, segment)).Clear();
        }
        widest_[order] = 0.0;
        // A depth where no beam beyond the nadir fits is a gap in the curve,
        // not a line on zero over the other orders'.
        int segment = 0;
        bool inGap = false;
        bool drawn = false;
        for (const FitPoint& point : fits[order].curve) {
            if (point.depth > inView) {
                break;
            }
            if (!(point.swath > 0.0)) {
                inGap = true;
                continue;
            }
            if (inGap && drawn && segment + 1 < kSegments) {
                ++segment;
            }
            inGap = false;
            drawn = true;
            chart->GetSeries(SegmentSeries(order, segment)).AddXY(point.depth, point.swath);
            widest_[order] = std::max(widest_[order], point.swath);
        }
        ShowSegments(order);
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
        marker.AddXY(depth_, widest > 0.0 ? widest : 1.0);
    }
}

void OrderFitPage::Clear() {
    for (const Column* column : {&angles_, &swathTexts_, &spacings_, &stops_, &fullTo_, &nadirTo_}) {
        for (QLabel* label : *column) {
            SetIfChanged(label, kNothing);
        }
    }
    swaths_.fill(std::nullopt);
    widest_.fill(0.0);
    depth_ = 0;
    pending_.reset();
    kit::ChartBatch batch(ui->Fit_Chart);
    for (int s = 0; s < ui->Fit_Chart->SeriesCount(); ++s) {
        ui->Fit_Chart->GetSeries(s).Clear();
    }
}

void OrderFitPage::ShowOrder(std::size_t order, bool shown) {
    kit::ChartBatch batch(ui->Fit_Chart);
    shown_[order] = shown;
    ShowSegments(order);
    PlaceDepthMarker();
}

void OrderFitPage::ShowSegments(std::size_t order) {
    // A further run is drawn (and copied) only where the curve has one.
    for (int segment = 0; segment < kSegments; ++segment) {
        kit::ChartSeries& series = ui->Fit_Chart->GetSeries(SegmentSeries(order, segment));
        series.SetActive(shown_[order] && (segment == 0 || series.Count() > 0));
    }
}

void OrderFitPage::ShowSpacing() {
    const QString text = ui->edtFitOverlap->text();
    double overlap = 0.0;
    QString note;
    if (!common::TryParseFloat(text.toStdString(), overlap)) {
        note = QStringLiteral("Type the overlap as a number, 0 to 100 %");
        overlap = std::numeric_limits<double>::quiet_NaN();
    } else if (!(overlap >= 0.0 && overlap <= 100.0)) {
        // At 100 % every point of the seabed is in two swaths, half the swath
        // apart; beyond it, or below 0, the planner's rule is no overlap.
        note = QStringLiteral("The overlap runs from 0 to 100 %");
    }
    // What is being typed is not yet the overlap: the note waits until the
    // field is finished, and the spacings read "—" meanwhile.
    SetIfChanged(ui->lblFitOverlapNote, kit::TypedFields::Typing(ui->edtFitOverlap) ? QString() : note);
    const bool usable = overlap >= 0.0 && overlap <= 100.0;
    for (std::size_t order = 0; order < spacings_.size(); ++order) {
        SetIfChanged(spacings_[order],
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

void BudgetBars::SetTerms(std::span<const NamedTerm> terms) {
    names_.clear();
    terms_.clear();
    for (const NamedTerm& term : terms) {
        names_.push_back(QString::fromUtf8(term.name.data(), static_cast<qsizetype>(term.name.size())));
        terms_.push_back(term.value);
    }
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

bool BudgetBars::LeftOut(std::size_t term) const {
    return term < names_.size() && term < terms_.size() && leftOut_.contains(names_[term]);
}

void BudgetBars::ToggleTerm(std::size_t term) {
    if (term >= terms_.size()) {
        return;
    }
    if (!leftOut_.removeOne(names_[term])) {
        leftOut_.append(names_[term]);
    }
    update();
    emit termToggled(term);
}

QString BudgetBars::TotalText() const {
    return terms_.empty() ? caption_ : caption_ + QLatin1Char(' ') + PlusMinus(RootSumSquare(terms_));
}

QString BudgetBars::WithoutText() const {
    std::vector<bool> out(terms_.size());
    for (std::size_t term = 0; term < terms_.size(); ++term) {
        out[term] = LeftOut(term);
    }
    const auto count = std::count(out.begin(), out.end(), true);
    if (terms_.empty() || count == 0) {
        return {};
    }
    return (count == 1 ? QStringLiteral("without it: ") : QStringLiteral("without them: ")) +
           PlusMinus(TotalWithout(terms_, out));
}

std::size_t BudgetBars::TermAt(std::size_t rank) const { return rank < ranked_.size() ? ranked_[rank] : rank; }

int BudgetBars::HeaderHeight() const { return 2 * fontMetrics().height() + 6; }

QRect BudgetBars::RowRect(std::size_t rank) const {
    const int rows = static_cast<int>(std::max(ranked_.size(), kLongestBudget));
    const int rowHeight = std::max(fontMetrics().height(), (height() - HeaderHeight()) / rows);
    return {0, HeaderHeight() + static_cast<int>(rank) * rowHeight, width(), rowHeight};
}

QSize BudgetBars::sizeHint() const {
    return {480, HeaderHeight() + static_cast<int>(kLongestBudget) * (fontMetrics().height() + 2)};
}

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

namespace {

// The terms the bars show: with an RTK height the vessel's and the tide's are
// zero by the mode, not by the installation, and are left out.
template <typename Term> std::vector<NamedTerm> Shown(const TermValues<Term>& values, bool rtkHeight) {
    std::vector<NamedTerm> terms = Named(values);
    if (rtkHeight) {
        std::erase_if(terms, [](const NamedTerm& term) { return term.vessel; });
    }
    return terms;
}

} // namespace

ErrorBudgetPage::ErrorBudgetPage(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::ErrorBudgetPage>()) {
    ui->setupUi(this);
    ui->barsNadirTvu->SetCaption(QStringLiteral("Nadir TVU"));
    ui->barsNadirThu->SetCaption(QStringLiteral("Nadir THU"));
    ui->udbBudgetAngle->Associate(ui->edtBudgetAngle);
    connect(ui->edtBudgetAngle, &QLineEdit::textChanged, this, &ErrorBudgetPage::AngleChanged);
    connect(ui->edtBudgetAngle, &QLineEdit::editingFinished, this, &ErrorBudgetPage::AngleFinished);
    Clear();
}

ErrorBudgetPage::~ErrorBudgetPage() = default;

void ErrorBudgetPage::Show(std::shared_ptr<const TpuSweep> sweep, bool rtkHeight) {
    sweep_ = std::move(sweep);
    rtkHeight_ = rtkHeight;
    SetIfChanged(ui->lblBudgetRtk, rtkHeight
                                       ? QStringLiteral("With an RTK height, draft, squat, settlement, load and tide "
                                                        "are zero and not shown.")
                                       : QString());
    ShowBeam();
}

int ErrorBudgetPage::BeamInUse() const {
    const int outer = sweep_ ? static_cast<int>(sweep_->points.size()) - 2 : -1;
    return outer < 0 ? -1 : std::clamp(chosen_.value_or(outer), 0, outer);
}

void ErrorBudgetPage::ShowBeam() {
    const int beam = BeamInUse();
    if (beam < 0) {
        for (BudgetBars* bars : {ui->barsOuterTvu, ui->barsOuterThu, ui->barsNadirTvu, ui->barsNadirThu}) {
            bars->Clear();
        }
        SetIfChanged(ui->lblBudgetTopTVU, kNothing);
        SetIfChanged(ui->lblBudgetTopTHU, kNothing);
        return;
    }
    ui->udbBudgetAngle->SetRange(0, static_cast<int>(sweep_->points.size()) - 2);
    const BeamTerms& terms = sweep_->points[static_cast<std::size_t>(beam) + 1].terms;
    const std::vector<NamedTerm> tvu = Shown(terms.tvuTerms, rtkHeight_);
    const std::vector<NamedTerm> thu = Shown(terms.thuTerms, rtkHeight_);
    ui->barsOuterTvu->SetCaption(QStringLiteral("Beam %1\u00B0 TVU").arg(beam));
    ui->barsOuterThu->SetCaption(QStringLiteral("Beam %1\u00B0 THU").arg(beam));
    ui->barsOuterTvu->SetTerms(tvu);
    ui->barsOuterThu->SetTerms(thu);
    ui->barsNadirTvu->SetTerms(Shown(sweep_->nadir.tvuTerms, rtkHeight_));
    ui->barsNadirThu->SetTerms(Shown(sweep_->nadir.thuTerms, rtkHeight_));
    SetIfChanged(ui->lblCaptionBudgetTopTVU, QStringLiteral("Largest TVU term at %1\u00B0:").arg(beam));
    SetIfChanged(ui->lblCaptionBudgetTopTHU, QStringLiteral("Largest THU term at %1\u00B0:").arg(beam));
    SetIfChanged(ui->lblBudgetTopTVU, QString::fromStdString(TopTermText(tvu)));
    SetIfChanged(ui->lblBudgetTopTHU, QString::fromStdString(TopTermText(thu)));

    // The field shows the beam in use; while the surveyor types in it, it
    // keeps what was typed and says which beam is shown.
    QLineEdit* field = ui->edtBudgetAngle;
    const QString inUse = QString::number(beam);
    if (kit::TypedFields::Typing(field)) {
        kit::ShowFieldNote(field, field->text() == inUse ? QString() : QStringLiteral("shown for %1").arg(inUse));
    } else {
        kit::ShowFieldNote(field, QString());
        if (field->text() != inUse) {
            writing_ = true;
            field->setText(inUse);
            writing_ = false;
        }
    }
}

void ErrorBudgetPage::AngleChanged() {
    if (writing_) {
        return;
    }
    std::int32_t angle = 0;
    if (common::TryParseInt(ui->edtBudgetAngle->text().toStdString(), angle)) {
        chosen_ = angle;
    }
    ShowBeam();
}

void ErrorBudgetPage::AngleFinished() {
    QLineEdit* field = ui->edtBudgetAngle;
    if (!kit::TypedFields::Typing(field)) {
        return;
    }
    field->setModified(false);
    // A beam beyond the swath is the outer one from now on.
    if (chosen_ && BeamInUse() >= 0) {
        chosen_ = BeamInUse();
    }
    ShowBeam();
}

void ErrorBudgetPage::Clear() {
    sweep_.reset();
    ShowBeam();
}

} // namespace tpu
