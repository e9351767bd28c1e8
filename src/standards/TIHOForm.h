// The survey specification calculator: for a chosen survey order and a water
// depth, the maximum allowable TVU and THU. Every change of the depth field runs
// edt_DepthChange (read the depth, fall back on the last good one, write both
// results); choosing an order runs cbo_OrderChange, which rewrites the depth
// field and so runs the depth calculation again from inside itself. Beside the
// inputs a page set shows each order's requirements, the definitions of the
// terms and the graph overview of all orders.
#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QGroupBox;
class QButtonGroup;
class QTabWidget;
class GraphOverview;

namespace kit {
class UpDown;
}

class TIHOForm : public QWidget {
    Q_OBJECT
public:
    explicit TIHOForm(QWidget* parent = nullptr);

    // Selector positions past the nine survey orders.
    static constexpr int kDefinitionsRow = 9;
    static constexpr int kGraphOverviewRow = 10;

    void edt_DepthChange();
    void cbo_OrderChange();
    void rdg_DefinitionsClick();
    // A click on the window's own background, not on any control: the graph
    // overview redraws its TVU chart and column for the unchanged depth.
    void FormClick();

    QComboBox* cbo_Order = nullptr;
    QLineEdit* edt_Depth = nullptr;
    kit::UpDown* udb_Depth = nullptr;
    QLineEdit* edt_TVU = nullptr;
    QLineEdit* edt_THU = nullptr;
    QTabWidget* pgc_Orders = nullptr;
    QGroupBox* rdg_Definitions = nullptr;
    std::array<QPlainTextEdit*, 6> mem_Definition{};
    QPlainTextEdit* mem_Orsted = nullptr;
    QLabel* img_IHO = nullptr;
    QLabel* img_FSIS = nullptr;
    QLabel* img_LINZ = nullptr;
    QLabel* img_NL = nullptr;
    QLabel* img_Orsted = nullptr;
    QLabel* img_Formula = nullptr;
    QLabel* lbl_THU_005 = nullptr;
    QLabel* lbl_THU_01 = nullptr;
    QLabel* img_ScrollHint = nullptr;
    QLabel* lbl_ScrollDepth = nullptr;
    GraphOverview* pnl_GraphOverview = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void BuildInputColumn();
    void BuildPages();
    void ShowItemsOfRow(int row);

    QButtonGroup* definitionButtons_ = nullptr;
    int lastDepth_ = 0; // the last depth read successfully in this window
};
