// The TPU calculator's two analysis tabs beside its charts. "Order Fit" shows,
// for each survey order, how far out the beams meet the order at the current
// depth, the swath and line spacing that gives, and a chart of the usable swath
// over depth. "Error Budget" shows each term's share of the outer beam's and
// the nadir's TVU and THU; a click on a term leaves it out of a second, paler
// total, so a surveyor sees what a better sensor would buy. Both are refilled
// with the rest of the window on every computation and change no result.
#pragma once

#include "tpu/TpuAnalysis.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class QLabel;

namespace Ui {
class OrderFitPage;
class ErrorBudgetPage;
} // namespace Ui

namespace kit {
class ChartView;
}

namespace tpu {

// The TPU calculator's chart look, shared by its TVU, THU and fit charts: the
// highlight background, the title at the top right in white, a bold legend laid
// over the plot near its left edge.
void ApplyTpuChartLook(kit::ChartView* chart, const QString& title);

class OrderFitPage : public QWidget {
    Q_OBJECT
public:
    explicit OrderFitPage(QWidget* parent = nullptr);
    ~OrderFitPage() override;

    // The orders' colours, in the order of kOrderLimits, as the other charts draw them.
    void SetOrderColours(const std::array<QColor, kOrderLimits.size()>& colours);

    // The fit at `depth` and the curves from 1 m to `deepest`.
    void Show(const TpuInputs& inputs, int depth, int deepest);
    // No computation stands: nothing fits, the chart is empty.
    void Clear();

    // The order's curve follows its tick box.
    void ShowOrder(std::size_t order, bool shown);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowSpacing();
    // The curves over depth, drawn when the page is in view: a keystroke with
    // another tab in view leaves them to be drawn when this one is shown.
    void DrawCurves();
    // The current depth as a line up to the widest swath of the orders shown.
    void PlaceDepthMarker();

    std::unique_ptr<Ui::OrderFitPage> ui;
    // The table's rows, in the order of kOrderLimits.
    using Column = std::array<QLabel*, kOrderLimits.size()>;
    Column captions_{}, angles_{}, swathTexts_{}, spacings_{};
    std::array<std::optional<double>, kOrderLimits.size()> swaths_{};
    std::array<bool, kOrderLimits.size()> shown_{};
    std::array<double, kOrderLimits.size()> widest_{}; // m, the widest swath of each curve
    int depth_ = 0;
    std::optional<TpuInputs> curveInputs_; // the inputs of curves not yet drawn
    int deepest_ = 0;
};

// One budget as horizontal bars, largest share first, each with the term's
// name and share; left-out terms are drawn pale and the total without them
// stands under the total.
class BudgetBars : public QWidget {
    Q_OBJECT
public:
    explicit BudgetBars(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // The terms in the model's order with their names; the terms left out stay
    // left out from one computation to the next.
    void SetTerms(std::span<const std::string_view> names, std::span<const double> terms);
    void Clear();

    // Leaves the term out, or takes it back in.
    void ToggleTerm(std::size_t term);
    bool LeftOut(std::size_t term) const { return term < leftOut_.size() && leftOut_[term]; }

    // "Outer beam TVU  ± 0.523 m" and "without it: ± 0.412 m" (empty when
    // nothing is left out), as drawn.
    QString TotalText() const;
    QString WithoutText() const;
    // The term drawn in the bar at `rank` (0 the largest), and that bar's row.
    std::size_t TermAt(std::size_t rank) const;
    QRect RowRect(std::size_t rank) const;

    QSize sizeHint() const override;

signals:
    void termToggled(std::size_t term);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int HeaderHeight() const;

    QString caption_;
    std::vector<QString> names_;
    std::vector<double> terms_;
    std::vector<std::size_t> ranked_; // term indices, largest share first
    std::vector<double> percent_;     // by term
    std::vector<bool> leftOut_;       // by term
};

class ErrorBudgetPage : public QWidget {
    Q_OBJECT
public:
    explicit ErrorBudgetPage(QWidget* parent = nullptr);
    ~ErrorBudgetPage() override;

    void Show(const BeamTerms& outer, const NadirValues& nadir);
    void Clear();

private:
    std::unique_ptr<Ui::ErrorBudgetPage> ui;
};

} // namespace tpu
