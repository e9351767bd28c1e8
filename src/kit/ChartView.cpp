#include "kit/ChartView.h"

#include "kit/ChartItems.h"
#include "kit/ChartLayout.h"
#include "kit/ChartMenu.h"
#include "kit/ChartScale.h"
#include "kit/ChartTable.h"
#include "kit/ChartZoom.h"
#include "kit/Dialogs.h"

#include <QChart>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPen>
#include <QToolButton>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kit {

namespace {

// A drawn line may leave out points that lie closer than this to it, in
// pixels: far below what an anti-aliased 2-pixel line can show.
constexpr double kThinning = 0.2;
// How much finer the scale may get before a thinned line is thinned again.
constexpr double kRethinGrowth = 1.25;

// Room kept between the extreme points and the plot's frame, so a line along
// the top or bottom is drawn whole and not half under the frame.
constexpr double kEdgeRoom = 4.0;

// NaN sorts with +infinity so the order stays strict and weak whatever a
// computation produced.
double SortKey(double x) { return std::isnan(x) ? std::numeric_limits<double>::infinity() : x; }

QPen SeriesPen(const QColor& color, int width, LineStyle style, bool highlighted) {
    // Square caps and bevel joins: round ones turn every one of a thousand
    // short segments into curves for the stroker, and at 2 or 3 pixels the
    // difference does not show.
    QPen pen(color, highlighted ? width + 2 : width);
    pen.setJoinStyle(Qt::BevelJoin);
    switch (style) {
    case LineStyle::Solid:
        pen.setStyle(Qt::SolidLine);
        pen.setCapStyle(Qt::SquareCap);
        break;
    case LineStyle::Dotted:
        // Flat caps keep the gaps open; square caps would close dots of a
        // 2-pixel line into a nearly solid one.
        pen.setStyle(Qt::DotLine);
        pen.setCapStyle(Qt::FlatCap);
        break;
    case LineStyle::Dashed:
        pen.setStyle(Qt::DashLine);
        pen.setCapStyle(Qt::FlatCap);
        break;
    }
    return pen;
}

} // namespace

// ---------------------------------------------------------------------------
// ChartSeries

ChartSeries::ChartSeries(ChartView* view, const SeriesSettings& settings, QLineSeries* line)
    : view_(view), settings_(settings), line_(line), color_(settings.color) {}

void ChartSeries::Clear() {
    points_.clear();
    sorted_ = true;
    view_->SeriesChanged(this, ChartView::Change::Points);
}

void ChartSeries::AddXY(double x, double y) {
    if (sorted_ && !points_.isEmpty() && SortKey(x) < SortKey(points_.constLast().x())) {
        sorted_ = false;
    }
    points_.append(QPointF(x, y));
    view_->SeriesChanged(this, ChartView::Change::Points);
}

void ChartSeries::SetActive(bool active) {
    if (active_ != active) {
        active_ = active;
        view_->SeriesChanged(this, ChartView::Change::Shown);
    }
}

void ChartSeries::SetColor(const QColor& color) {
    if (color_ != color) {
        color_ = color;
        line_->setPen(SeriesPen(color_, settings_.width, settings_.style, hovered_));
        view_->SeriesChanged(this, ChartView::Change::Look);
    }
}

QString ChartSeries::CopyName() const {
    // A legend text may carry blanks that only space the legend ("TVU ").
    const QString legend = settings_.legendText.trimmed();
    return legend.isEmpty() ? settings_.title : legend;
}

const QList<QPointF>& ChartSeries::Points() const {
    if (!sorted_) {
        // Stable, so points with equal x keep the order they were added in.
        std::stable_sort(points_.begin(), points_.end(),
                         [](const QPointF& a, const QPointF& b) { return SortKey(a.x()) < SortKey(b.x()); });
        sorted_ = true;
    }
    return points_;
}

// ---------------------------------------------------------------------------
// ChartView

ChartView::ChartView(QWidget* parent)
    : QChartView(parent), labelTexts_(std::make_unique<TextCache>()), axisTitleTexts_(std::make_unique<TextCache>()),
      axisTitleUp_(std::make_unique<TextCache>(true)), titleTexts_(std::make_unique<TextCache>()),
      legendTexts_(std::make_unique<TextCache>()) {
    for (TextCache* cache : {labelTexts_.get(), axisTitleTexts_.get(), axisTitleUp_.get(), titleTexts_.get()}) {
        cache->SetFont(font());
    }
    QChart* plot = chart();
    plot->setAnimationOptions(QChart::NoAnimation);
    plot->setBackgroundRoundness(0);
    plot->setDropShadowEnabled(false);
    plot->layout()->setContentsMargins(0, 0, 0, 0);
    plot->setPlotAreaBackgroundVisible(false);
    // The view fills the background once; the viewport's own fill and the
    // chart's background item would each paint the same pixels again.
    plot->setBackgroundVisible(false);
    setBackgroundBrush(Qt::white);
    viewport()->setAutoFillBackground(false);
    // The background brush covers every pixel of the viewport, so the widgets
    // beneath it need not be painted first whenever a refill repaints the chart.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    plot->legend()->hide(); // the legend item below draws the legend
    // The chart does not move its own plot background to a plot area set from
    // outside, so the ground and frame are drawn by the decoration.
    decoration_ = new ChartDecoration(plot);
    legendItem_ = new ChartLegend(plot);

    // The axes only map the lines into the plot. Hidden, they skip the label
    // layout that QtCharts does in rich text on every change of range; the
    // grid, ticks and labels are drawn by LayOut instead.
    axisX_ = new QValueAxis(plot);
    axisY_ = new QValueAxis(plot);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setTickCount(2);
        axis->setMinorTickCount(0);
        axis->setVisible(false);
    }
    plot->addAxis(axisX_, Qt::AlignBottom);
    plot->addAxis(axisY_, Qt::AlignLeft);

    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setRubberBand(QChartView::NoRubberBand);
    setDragMode(QGraphicsView::NoDrag);
    zoom_ = std::make_unique<ChartZoom>(this);
    // A click gives the chart the focus, for Ctrl+C and the menu key. The Tab
    // key reaches it once the window has put its charts after its inputs
    // (kit::SetUpKeyboard), so a window that opens never gives a chart the
    // focus its first field should get.
    setFocusPolicy(Qt::ClickFocus);
    menu_ = new ChartMenu(this);

    ApplyAxisRange(AutoRange());
    axesStale_ = false;
}

ChartView::~ChartView() {
    // The chart and its lines go with the base class, after the series models:
    // no hover signal may reach a model that is gone.
    for (const auto& series : series_) {
        series->line_->disconnect(this);
    }
}

void ChartView::SetTitle(const TitleSettings& title) {
    title_ = title;
    titleTexts_ = std::make_unique<TextCache>(title_.rotated);
    titleTexts_->SetFont(title_.font);
    ApplyAxisRange(shownRange_, true);
}

void ChartView::SetLegend(const LegendSettings& legend) {
    legend_ = legend;
    QFont bold = legend_.font;
    bold.setBold(true);
    legendTexts_->SetFont(bold);
    legendPlace_ = QRectF();
    PlaceLegend();
}

QFont ChartView::LegendFont() const { return legendTexts_->Font(); }

void ChartView::SetAxisTitles(const QString& bottom, const QString& left, const QFont& font) {
    xTitle_ = bottom;
    yTitle_ = left;
    axisTitleTexts_->SetFont(font);
    axisTitleUp_->SetFont(font);
    ApplyAxisRange(shownRange_, true);
}

void ChartView::SetAxisFont(const QFont& font) {
    labelTexts_->SetFont(font);
    ApplyAxisRange(shownRange_, true);
}

void ChartView::SetBackground(const QColor& color) { setBackgroundBrush(color); }

void ChartView::SetCopyXTitle(const QString& title) { copyXTitle_ = title; }

ChartSeries& ChartView::AddSeries(const SeriesSettings& settings) {
    auto* line = new QLineSeries;
    line->setName(settings.legendText.isEmpty() ? settings.title : settings.legendText);
    line->setPen(SeriesPen(settings.color, settings.width, settings.style, false));
    chart()->addSeries(line);
    line->attachAxis(axisX_);
    line->attachAxis(axisY_);
    series_.push_back(std::unique_ptr<ChartSeries>(new ChartSeries(this, settings, line)));
    ChartSeries* added = series_.back().get();
    if (settings.hoverHighlight) {
        connect(line, &QLineSeries::hovered, this, [added](const QPointF&, bool over) {
            added->hovered_ = over;
            added->line_->setPen(SeriesPen(added->color_, added->settings_.width, added->settings_.style, over));
        });
    }
    legendPlace_ = QRectF();
    PlaceLegend();
    return *added;
}

ChartSeries& ChartView::GetSeries(int index) { return *series_.at(static_cast<std::size_t>(index)); }

const ChartSeries& ChartView::GetSeries(int index) const { return *series_.at(static_cast<std::size_t>(index)); }

void ChartView::SeriesChanged(ChartSeries* series, Change change) {
    switch (change) {
    case Change::Points:
        series->pointsChanged_ = true;
        // Points of a hidden series do not move the axes.
        axesStale_ = axesStale_ || series->active_;
        break;
    case Change::Shown:
        axesStale_ = true;
        legendStale_ = true;
        break;
    case Change::Look:
        legendStale_ = true;
        break;
    }
    if (batchDepth_ == 0) {
        ScheduleFlush();
    }
}

void ChartView::ScheduleFlush() {
    if (!flushScheduled_) {
        flushScheduled_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (flushScheduled_) {
                    Flush();
                }
            },
            Qt::QueuedConnection);
    }
}

void ChartView::Flush() {
    flushScheduled_ = false;
    // The axes first: a change of range lays out every line again with the
    // points it holds, so the lines about to be refilled are emptied before it
    // and each is laid out once, with its new points.
    if (axesStale_) {
        axesStale_ = false;
        const QRectF range = IsZoomed() ? shownRange_ : AutoRange();
        if (range != shownRange_) {
            for (const auto& series : series_) {
                if (series->active_ && series->pointsChanged_ && series->line_->count() > 0) {
                    series->line_->clear();
                }
            }
            ApplyAxisRange(range);
        }
    }
    const QSizeF scale = PixelScale();
    for (const auto& series : series_) {
        if (series->active_) {
            // A line thinned for a coarser scale would show its corners when
            // the plot grows or the user zooms in; a finer one stays good.
            const bool coarse = series->drawnScale_.width() * kRethinGrowth < scale.width() ||
                                series->drawnScale_.height() * kRethinGrowth < scale.height();
            if (series->pointsChanged_ || coarse) {
                const QList<QPointF> drawn = ThinnedLine(series->Points(), scale, kThinning);
                // A line through one point draws nothing; a dot shows it is there.
                const bool dot = drawn.size() == 1;
                if (dot != series->line_->pointsVisible()) {
                    series->line_->setMarkerSize(series->settings_.width * 2.5);
                    series->line_->setPointsVisible(dot);
                }
                series->line_->replace(drawn);
                series->drawnScale_ = scale;
                series->pointsChanged_ = false;
            }
            if (!series->line_->isVisible()) {
                series->line_->setVisible(true);
            }
        } else if (series->line_->isVisible()) {
            series->line_->setVisible(false);
        }
    }
    if (legendStale_) {
        legendStale_ = false;
        legendPlace_ = QRectF();
        PlaceLegend();
    }
}

QSizeF ChartView::PixelScale() const {
    const QRectF range = AxisRange();
    return QSizeF(plot_.width() / range.width(), plot_.height() / range.height());
}

QRectF ChartView::AutoRange() const {
    constexpr double inf = std::numeric_limits<double>::infinity();
    double xLow = inf;
    double xHigh = -inf;
    double yLow = inf;
    double yHigh = -inf;
    for (const auto& series : series_) {
        if (!series->active_) {
            continue;
        }
        for (const QPointF& p : series->points_) {
            if (std::isfinite(p.x()) && std::isfinite(p.y())) {
                xLow = std::min(xLow, p.x());
                xHigh = std::max(xHigh, p.x());
                yLow = std::min(yLow, p.y());
                yHigh = std::max(yHigh, p.y());
            }
        }
    }
    WidenRange(xLow, xHigh);
    WidenRange(yLow, yHigh);
    // The legend lies over the top of the plot; the range reaches up past the
    // highest point so that no line runs under the legend's texts.
    const double roomAbove = kEdgeRoom + (legend_.visible ? legendHeight_ : 0.0);
    const double drawn = plot_.height() - roomAbove - kEdgeRoom;
    if (drawn > plot_.height() / 3) {
        const double perPixel = (yHigh - yLow) / drawn;
        yHigh += roomAbove * perPixel;
        yLow -= kEdgeRoom * perPixel;
    }
    return QRectF(QPointF(xLow, yLow), QPointF(xHigh, yHigh));
}

QRectF ChartView::AxisRange() const { return shownRange_; }

void ChartView::ShowRange(const QRectF& range) {
    ApplyAxisRange(range);
    Flush();
}

void ChartView::ApplyAxisRange(const QRectF& range, bool force) {
    if (range == shownRange_ && !force) {
        return;
    }
    shownRange_ = range;
    LayOut();
}

void ChartView::LayOut() {
    ChartLayoutInput input;
    input.size = chart()->size().isEmpty() ? QSizeF(this->size()) : chart()->size();
    input.range = shownRange_;
    input.lastPlot = plot_;
    input.measure = [this](ChartText role, const QString& words) { return TextsFor(role).Get(words).width; };
    input.labelHeight = QFontMetricsF(labelTexts_->Font()).height();
    input.axisTitleHeight = QFontMetricsF(axisTitleTexts_->Font()).height();
    input.titleHeight = QFontMetricsF(titleTexts_->Font()).height();
    input.bottomTitle = xTitle_;
    input.leftTitle = yTitle_;
    input.titleLines = title_.lines;
    input.titleAlignment = title_.alignment;
    input.titleRotated = title_.rotated;
    input.titleOffset = title_.offset;
    ChartLayout layout = LayOutChart(input);

    if (layout.plot != plot_) {
        plot_ = layout.plot;
        chart()->setPlotArea(plot_);
    }
    axisX_->setRange(shownRange_.left(), shownRange_.right());
    axisY_->setRange(shownRange_.top(), shownRange_.bottom());

    std::vector<ChartDecoration::Text> texts;
    texts.reserve(layout.texts.size());
    for (const PlacedText& placed : layout.texts) {
        TextCache& cache = TextsFor(placed.role);
        const bool title = placed.role == ChartText::Title;
        texts.push_back({cache.Get(placed.words).text, placed.at, &cache.Font(), title ? title_.color : Qt::black,
                         placed.role == ChartText::LeftTitle || (title && title_.rotated)});
    }
    decoration_->Set(QRectF(QPointF(0, 0), input.size), layout.frame, std::move(layout.grid), std::move(layout.outline),
                     std::move(texts));
    PlaceLegend();
}

TextCache& ChartView::TextsFor(ChartText role) const {
    switch (role) {
    case ChartText::BottomTitle:
        return *axisTitleTexts_;
    case ChartText::LeftTitle:
        return *axisTitleUp_;
    case ChartText::Title:
        return *titleTexts_;
    case ChartText::Label:
        break;
    }
    return *labelTexts_;
}

void ChartView::PlaceLegend() {
    const QPointF origin = plot_.topLeft() + legend_.offset;
    const QRectF place(origin, QSizeF(std::max(plot_.right() - origin.x(), 10.0), plot_.height()));
    if (place == legendPlace_) {
        return;
    }
    legendPlace_ = place;
    std::vector<const ChartSeries*> listed;
    LegendFlowInput input;
    input.origin = origin;
    input.right = place.right();
    input.textHeight = QFontMetricsF(legendTexts_->Font()).height();
    std::vector<TextCache::Entry> texts;
    for (const auto& series : series_) {
        if (!legend_.visible || !series->active_ || series->settings_.legendText.isEmpty()) {
            continue;
        }
        listed.push_back(series.get());
        texts.push_back(legendTexts_->Get(series->settings_.legendText));
        input.widths.push_back(texts.back().width);
    }
    const LegendFlow flow = FlowLegend(input);
    std::vector<ChartLegend::Entry> drawn;
    legendEntries_.clear();
    QRectF bounds;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const ChartSeries& series = *listed[i];
        const LegendFlowEntry& entry = flow.entries[i];
        QPen pen = SeriesPen(series.color_, std::min(series.settings_.width, 2), series.settings_.style, false);
        pen.setCapStyle(Qt::FlatCap); // the sample is exactly as long as laid out
        const QColor color = legend_.textInSeriesColor ? series.color_ : QColor(Qt::black);
        drawn.push_back({entry.sample, pen, texts[i].text, entry.textAt, color});
        legendEntries_.push_back({series.settings_.legendText, color, entry.place});
        bounds |= entry.place;
    }
    legendItem_->Set(bounds.adjusted(-2, -2, 2, 2), &legendTexts_->Font(), std::move(drawn));
    const double height = legendEntries_.empty() ? 0.0 : flow.bottom - plot_.top();
    if (height != legendHeight_) {
        legendHeight_ = height;
        axesStale_ = true;
        ScheduleFlush();
    }
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    menu_->Place();
    plot_ = QRectF();
    ApplyAxisRange(shownRange_, true);
    // The room kept for the legend is a share of the height, and lines
    // thinned for the old size may need more points.
    axesStale_ = true;
    ScheduleFlush();
}

// ---------------------------------------------------------------------------
// Zoom

bool ChartView::IsZoomed() const { return zoom_->IsZoomed(); }

int ChartView::ZoomSteps() const { return zoom_->Steps(); }

QPointF ChartView::ToValue(const QPointF& viewPoint) const {
    const QPointF inChart = chart()->mapFromScene(mapToScene(viewPoint.toPoint()));
    const QRectF range = AxisRange();
    const double x = range.left() + (inChart.x() - plot_.left()) / plot_.width() * range.width();
    const double y = range.bottom() - (inChart.y() - plot_.top()) / plot_.height() * range.height();
    return {x, y};
}

void ChartView::ZoomTo(const QRectF& valueRect) { zoom_->ZoomTo(valueRect); }

void ChartView::UndoZoom() { zoom_->Undo(); }

void ChartView::ResetZoom() { zoom_->Reset(); }

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (!zoom_->Press(*event)) {
        QChartView::mousePressEvent(event);
    }
    // A chart is a control: a click on it is never a click on the window.
    event->accept();
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a quick pair is one more undo or a new band.
    if (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton) {
        mousePressEvent(event);
    } else {
        QChartView::mouseDoubleClickEvent(event);
        event->accept();
    }
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (zoom_->Move(*event)) {
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (!zoom_->Release(*event)) {
        QChartView::mouseReleaseEvent(event);
    }
    event->accept();
}

void ChartView::wheelEvent(QWheelEvent* event) {
    zoom_->Wheel(*event);
    event->accept(); // never hand the wheel to the scroll area: it would pan
}

// ---------------------------------------------------------------------------
// Copy the data, save the picture (the menu is ChartMenu)

QString ChartView::DataTable() const {
    std::vector<TableSeries> shown;
    for (const auto& series : series_) {
        if (!series->active_ || series->settings_.marker) {
            continue;
        }
        QList<QPointF> points = series->Points();
        if (const double shift = series->settings_.copyXShift; shift != 0.0) {
            for (QPointF& point : points) {
                point.rx() += shift;
            }
        }
        shown.push_back({series->CopyName(), std::move(points)});
    }
    return ChartTableText(copyXTitle_.isEmpty() ? xTitle_ : copyXTitle_, shown);
}

void ChartView::CopyData() { QGuiApplication::clipboard()->setText(DataTable()); }

QImage ChartView::Picture() {
    Flush();
    return viewport()->grab().toImage();
}

QToolButton* ChartView::CornerButton() const { return menu_->Button(); }

void ChartView::SavePicture() {
    // Named as the chart is headed, or, without a heading, after what it draws.
    QString title = FileNameFrom(title_.lines.join(QLatin1Char(' ')));
    if (title.isEmpty()) {
        title = FileNameFrom(yTitle_);
    }
    SaveChartPicture(this, title.isEmpty() ? QStringLiteral("Chart") : title);
}

bool ChartView::event(QEvent* event) {
    // Ctrl+C on the chart copies its data, even where the window has a
    // shortcut of its own on the same keys.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QChartView::event(event);
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyData();
        event->accept();
        return;
    }
    const bool menuKey =
        event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        menu_->Button()->click();
        event->accept();
        return;
    }
    QChartView::keyPressEvent(event);
}

void ChartView::enterEvent(QEnterEvent* event) {
    QChartView::enterEvent(event);
    menu_->PointerOver(true);
}

void ChartView::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    menu_->PointerOver(false);
}

void ChartView::focusInEvent(QFocusEvent* event) {
    QChartView::focusInEvent(event);
    menu_->FocusChanged();
}

void ChartView::focusOutEvent(QFocusEvent* event) {
    QChartView::focusOutEvent(event);
    menu_->FocusChanged();
}

// ---------------------------------------------------------------------------
// ChartBatch

ChartBatch::ChartBatch(ChartView* chart) : chart_(chart) { ++chart_->batchDepth_; }

ChartBatch::~ChartBatch() {
    if (--chart_->batchDepth_ == 0) {
        chart_->Flush();
    }
}

} // namespace kit
