// The TPU calculator's two analysis tabs beside its charts. "Order Fit" shows,
// for each survey order, how far out the beams meet the order at the current
// depth, why they stop there, the swath and line spacing that gives, down to
// which depth the order holds over the whole swath and at the nadir, and a
// chart of the usable swath over depth. "Error Budget" shows each term's share
// of a chosen beam's and the nadir's TVU and THU; a click on a term leaves it
// out of a second, paler total, so a surveyor sees what a better sensor would
// buy. Both are read off the sweep each computation makes, and change no
// result.
#pragma once

#include "tpu/TpuAnalysis.h"

#include <QColor>
#include <QStringList>
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

    // The fit at the sweep's depth, read off its beams; the depth columns and
    // the curves over depth from 1 m to `deepest`.
    void Show(const TpuInputs& inputs, std::shared_ptr<const TpuSweep> sweep, int deepest);
    // No computation stands: nothing fits, the chart is empty.
    void Clear();

    // The order's curve follows its tick box.
    void ShowOrder(std::size_t order, bool shown);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowSpacing();
    // The depth columns and the curves over depth, worked out when the page
    // is in view: a keystroke with another tab in view leaves them to be
    // done when this one is shown.
    void ShowOverDepth();
    // The order's runs of its curve follow its tick box.
    void ShowSegments(std::size_t order);
    // The current depth as a line up to the widest swath of the orders shown.
    void PlaceDepthMarker();

    std::unique_ptr<Ui::OrderFitPage> ui;
    // The table's rows, in the order of kOrderLimits. Its figures have a fixed
    // size in the form: a new text (why an order stops changes with nearly
    // every keystroke) is repainted in its place and lays out nothing again.

    using Column = std::array<QLabel*, kOrderLimits.size()>;
    Column captions_{}, angles_{}, swathTexts_{}, spacings_{}, stops_{}, fullTo_{}, nadirTo_{};
    std::array<std::optional<double>, kOrderLimits.size()> swaths_{};
    std::array<bool, kOrderLimits.size()> shown_{};
    std::array<double, kOrderLimits.size()> widest_{}; // m, the widest swath of each curve in view
    int depth_ = 0;
    // The computation whose depth columns and curves are not yet shown.
    struct Pending {
        TpuInputs inputs;
        std::shared_ptr<const TpuSweep> sweep;
        int deepest = 0;
    };
    std::optional<Pending> pending_;
};

// One budget as horizontal bars, largest share first, each with the term's
// name and share; left-out terms are drawn pale and the total without them
// stands under the total.
class BudgetBars : public QWidget {
    Q_OBJECT
public:
    explicit BudgetBars(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // The terms with their names, in the model's order; a term left out stays
    // left out (by its name) from one computation to the next.
    void SetTerms(std::span<const NamedTerm> terms);
    void Clear();

    // Leaves the term out, or takes it back in.
    void ToggleTerm(std::size_t term);
    bool LeftOut(std::size_t term) const;

    // "Beam 40° TVU ± 0.431 m" and "without it: ± 0.412 m" (empty when
    // nothing is left out), as drawn.
    QString TotalText() const;
    QString WithoutText() const;
    // The term drawn in the bar at `rank` (0 the largest), and that bar's row.
    std::size_t TermAt(std::size_t rank) const;
    QRect RowRect(std::size_t rank) const;
    // The names of the bars, in the model's order.
    const std::vector<QString>& Names() const { return names_; }

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
    QStringList leftOut_;             // names
};

class ErrorBudgetPage : public QWidget {
    Q_OBJECT
public:
    explicit ErrorBudgetPage(QWidget* parent = nullptr);
    ~ErrorBudgetPage() override;

    // The budget of the chosen beam of the sweep and of the nadir. With an
    // RTK height the vessel's and the tide's terms are zero and left out.
    void Show(std::shared_ptr<const TpuSweep> sweep, bool rtkHeight);
    void Clear();

private:
    // The chosen beam's bars, from the sweep shown.
    void ShowBeam();
    void AngleChanged();
    void AngleFinished();
    // The beam the bars show: the one chosen, within the swath.
    int BeamInUse() const;

    std::unique_ptr<Ui::ErrorBudgetPage> ui;
    std::shared_ptr<const TpuSweep> sweep_;
    bool rtkHeight_ = false;
    // The beam the surveyor chose; none: the outer beam, as the swath changes.
    std::optional<int> chosen_;
    bool writing_ = false; // the page writes the angle field itself
};

} // namespace tpu
