// The line planner's two diagrams on screen, in their own frame: footprints a
// ping apart along track above, two survey lines a line spacing apart with
// their swaths and overlap below. Promoted in the window's form, 275 × 321
// pixels; empty while no plan could be computed.
#pragma once

#include "lineplan/LinePlan.h"

#include <QWidget>
#include <optional>

namespace lineplan {

class PlanDiagramView : public QWidget {
    Q_OBJECT
public:
    explicit PlanDiagramView(QWidget* parent = nullptr);

    // Nothing: no diagrams, as when the range cannot reach a depth.
    void SetDiagrams(const std::optional<PlannerDiagrams>& diagrams);
    const std::optional<PlannerDiagrams>& Diagrams() const { return diagrams_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<PlannerDiagrams> diagrams_;
};

} // namespace lineplan
