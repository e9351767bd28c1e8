// The survey line planner: for an area between a minimum and a maximum depth,
// how far apart the lines may lie, how fast the vessel may go, which range to
// set, and what a chosen line spacing covers. Choosing a system fills in its
// figures; every change of an input (and "Calculate", the speed unit, a click
// on the window's or the left panel's background, the system list losing the
// focus, a click into the ping rate field) runs btnCalculateClick, which reads
// every field (answering an unreadable one with its message and a fallback),
// computes, fills every result and redraws the two diagrams.
#pragma once

#include "kit/Recompute.h"
#include "kit/TypedFields.h"
#include "lineplan/LinePlan.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class Tsurveyplan;
}

class Tsurveyplan : public QWidget {
    Q_OBJECT
public:
    explicit Tsurveyplan(QWidget* parent = nullptr);
    ~Tsurveyplan() override;

    void btnCalculateClick();
    void rg_Select_system_groupClick();
    void Button1Click() { ShowSystemList(); }
    void Button2Click() { SaveReport(); }
    // "Select System": the list of systems again, with the range limit it starts from.
    void ShowSystemList();
    // "Save calculated values to text file".
    void SaveReport();
    void btnExitClick();
    void btnSurveyLinesClick();

    // The diagrams of the last computation, as drawn; none after a run without results.
    const std::optional<lineplan::PlannerDiagrams>& Diagrams() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Calculate();
    // A whole or decimal number from a field; an unreadable one gets its
    // fallback text (or is emptied) and its message, and `last` is used.
    int ReadWhole(QLineEdit* field, int& last, const char* replacement, const QString& message);
    double ReadDecimal(QLineEdit* field, double& last, const QString& message);
    std::vector<QWidget*> ResultFields() const; // the plan's figures
    void ClearResults();
    void Show(const lineplan::PlannerResult& result);

    std::unique_ptr<Ui::Tsurveyplan> ui;
    QWidget* surface_ = nullptr; // the scrolled layout that holds every control
    std::optional<std::size_t> system_;
    // The last readable value of each field that falls back on it.
    int lastMinDepth_ = 50, lastMaxDepth_ = 50, lastSwath_ = 130, lastRange_ = 450, lastPingRate_ = 40,
        lastCoverage_ = 100, lastSoundVelocity_ = 1500, lastSpacing_ = 100;
    double lastOverlap_ = 30;
    std::unique_ptr<kit::TypedFields> typed_; // the number fields, as a person types them
    kit::Recompute recompute_{[this] { return typed_->Run([this] { return Calculate(); }); }};
};
