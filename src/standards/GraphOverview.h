// The "Graph Overview" page of the survey specification calculator: the maximum
// allowable TVU and THU of seven survey orders drawn over depth, from 1 m down
// to the graph depth the user scrolls to, and the fourteen values at that depth
// in a table below the charts.
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

class QLabel;
class QScrollBar;

namespace kit {
class ChartView;
}

class GraphOverview : public QWidget {
    Q_OBJECT
public:
    explicit GraphOverview(QWidget* parent = nullptr);

    static constexpr int kFirstDepth = 1;
    static constexpr int kLastDepth = 200;
    static constexpr int kStartDepth = 10;

    void scb_VerticalChange();
    void scb_HorizontalChange();
    // Back to the start depth by way of 1 m, so both charts and the table are
    // drawn afresh even when the depth already was the start depth.
    void ResetGraphDepth();

    kit::ChartView* cht_Vertical = nullptr;
    kit::ChartView* cht_Horizontal = nullptr;
    QScrollBar* scb_Vertical = nullptr;
    QScrollBar* scb_Horizontal = nullptr;
    QLabel* lbl_GraphDepth = nullptr;
    std::array<QLabel*, 7> lbl_TVU{}; // table order: the seven graph rows
    std::array<QLabel*, 7> lbl_THU{};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* BuildChartPanel(int top, const QString& title, bool dottedFsis, kit::ChartView*& chart, QScrollBar*& bar,
                             const char* chartName, const char* barName);
    void BuildTable();
};
