// The survey specification calculator: for a chosen survey order and a water
// depth, the maximum allowable TVU and THU. Every change of the depth field runs
// edt_DepthChange (read the depth, fall back on the last good one, write both
// results); choosing an order runs cbo_OrderChange, which rewrites the depth
// field and so runs the depth calculation again from inside itself. Beside the
// inputs a page set shows each order's requirements, the definitions of the
// terms and the graph overview of all orders. The layout is TIHOForm.ui; what
// each selector row shows beside the inputs is one table in the .cpp.
#pragma once

#include "kit/Recompute.h"
#include "kit/TypedFields.h"

#include <QWidget>
#include <array>
#include <memory>

class QPlainTextEdit;
class QRadioButton;

namespace Ui {
class TIHOForm;
}

class TIHOForm : public QWidget {
    Q_OBJECT
public:
    explicit TIHOForm(QWidget* parent = nullptr);
    ~TIHOForm() override;

    // Selector positions past the nine survey orders.
    static constexpr int kDefinitionsRow = 9;
    static constexpr int kGraphOverviewRow = 10;

    void edt_DepthChange();
    void cbo_OrderChange();
    void rdg_DefinitionsClick();
    // A click on the window's own background, not on any control: the graph
    // overview redraws its TVU chart and column for the unchanged depth.
    void FormClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ShowItemsOfRow(int row);
    void ShowTolerances();

    std::unique_ptr<Ui::TIHOForm> ui;
    std::array<QRadioButton*, 6> definitionItems_{};   // the radio group's items, in its order...
    std::array<QPlainTextEdit*, 6> definitionMemos_{}; // ...and the memo each one shows
    int lastDepth_ = 0;                                // the last depth read successfully in this window
    // The results always follow, from the last readable depth at worst.
    std::unique_ptr<kit::TypedFields> typed_; // the depth, as a person types it
    kit::Recompute recompute_{[this] {
        return typed_->Run([this] {
            ShowTolerances();
            return true;
        });
    }};
};
