// The "Graph Overview" page of the survey specification calculator: the maximum
// allowable TVU and THU of seven survey orders drawn over depth, from 1 m down
// to the graph depth the user scrolls to, and the fourteen values at that depth
// in a table below the charts. The layout is GraphOverview.ui; the curves, their
// colours and the chart titles are set up here.
//
// The two scroll bars hold one graph depth. Moving the upper one runs
// scb_VerticalChange, which first moves the lower one (running
// scb_HorizontalChange inside it when the position changes) and then redraws
// the TVU chart, the depth label and the TVU column; moving the lower one does
// the same the other way round. Whichever bar moves, both end at the same
// position with both charts and the whole table at that depth.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

class QLabel;

namespace Ui {
class GraphOverview;
}

class GraphOverview : public QWidget {
    Q_OBJECT
public:
    explicit GraphOverview(QWidget* parent = nullptr);
    ~GraphOverview() override;

    static constexpr int kFirstDepth = 1;
    static constexpr int kStartDepth = 10;

    void scb_VerticalChange();
    void scb_HorizontalChange();
    // Back to the start depth by way of 1 m, so both charts and the table are
    // drawn afresh even when the depth already was the start depth.
    void ResetGraphDepth();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<Ui::GraphOverview> ui;
    std::array<QLabel*, 7> tvuColumn_{}; // table order: the seven graph rows
    std::array<QLabel*, 7> thuColumn_{};
};
