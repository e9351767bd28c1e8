#include "standards/TIHOForm.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"
#include "standards/GraphOverview.h"
#include "survey/SurveyOrders.h"
#include "ui_TIHOForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace {

using Form = Ui::TIHOForm;
using Item = QLabel* Form::*; // a picture or label the order selection shows and hides

// The TVU formula on choosing a row. Definitions and the graph overview have no
// TVU of their own and leave the formula as the last order left it.
enum class Formula { Show, Hide, Keep };

// The depth field on choosing a row. It always goes to 1 m first with both
// results emptied; an order then goes on to 10 m, which computes both results.
enum class OnChoose { StartDepth, StayAtOne, RedrawGraph };

// What each selector row shows beside the inputs; a row's page is the tab of
// the same position.
struct RowRule {
    Item logo;         // the logo of the body that issues the order; null: none
    Formula formula;   // the root-sum-square TVU formula
    Item thuRule;      // the linear THU rule written over its result; null: none
    bool scrollHint;   // the arrow pointing at the graph depth scroll bars
    OnChoose onChoose; // what becomes of the depth field and the graph
};

// clang-format off
constexpr std::array<RowRule, 11> kRowRules = {{
    // logo               TVU formula     THU rule             hint    depth field
    {&Form::img_IHO,      Formula::Show,  nullptr,             false,  OnChoose::StartDepth},   // IHO Special Order
    {&Form::img_IHO,      Formula::Show,  &Form::lbl_THU_005,  false,  OnChoose::StartDepth},   // IHO Order 1a
    {&Form::img_IHO,      Formula::Show,  &Form::lbl_THU_005,  false,  OnChoose::StartDepth},   // IHO Order 1b
    {&Form::img_IHO,      Formula::Show,  &Form::lbl_THU_01,   false,  OnChoose::StartDepth},   // IHO Order 2
    {&Form::img_FSIS,     Formula::Show,  nullptr,             false,  OnChoose::StartDepth},   // FSIS-44
    {&Form::img_LINZ,     Formula::Show,  nullptr,             false,  OnChoose::StartDepth},   // LINZ Special Order
    {&Form::img_NL,       Formula::Show,  nullptr,             false,  OnChoose::StartDepth},   // NL Order A
    {&Form::img_NL,       Formula::Show,  nullptr,             false,  OnChoose::StartDepth},   // NL Order B
    // The Orsted TVU is a table of depth steps, not the root-sum-square rule.
    {&Form::img_Orsted,   Formula::Hide,  nullptr,             false,  OnChoose::StartDepth},   // Orsted
    {nullptr,             Formula::Keep,  nullptr,             false,  OnChoose::StayAtOne},    // Definitions
    {nullptr,             Formula::Keep,  nullptr,             true,   OnChoose::RedrawGraph},  // Graph Overview
}};
// clang-format on
constexpr std::array<Item, 5> kLogos = {&Form::img_IHO, &Form::img_FSIS, &Form::img_LINZ, &Form::img_NL,
                                        &Form::img_Orsted};
constexpr std::array<Item, 2> kThuRules = {&Form::lbl_THU_005, &Form::lbl_THU_01};

static_assert(TIHOForm::kDefinitionsRow == static_cast<int>(survey::SurveyOrderTable.size()) &&
                  TIHOForm::kGraphOverviewRow == TIHOForm::kDefinitionsRow + 1,
              "the selector lists the survey orders, then Definitions and Graph Overview");
static_assert(kRowRules.size() == TIHOForm::kGraphOverviewRow + 1, "a rule for every selector row");

} // namespace

TIHOForm::TIHOForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TIHOForm>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    // The selector lists the core's survey orders in table order, then the two
    // pages that are not orders, and drops down in full.
    for (const auto& order : survey::SurveyOrderTable) {
        ui->cbo_Order->addItem(QString::fromUtf8(order.selectorText.data(), qsizetype(order.selectorText.size())));
    }
    ui->cbo_Order->addItem(QStringLiteral("Definitions"));
    ui->cbo_Order->addItem(QStringLiteral("Graph Overview"));
    ui->cbo_Order->setMaxVisibleItems(ui->cbo_Order->count());
    ui->udb_Depth->Associate(ui->edt_Depth);

    definitionItems_ = {ui->rbt_FeatureDetection,
                        ui->rbt_FullSeaFloorSearch,
                        ui->rbt_ReducedDepths,
                        ui->rbt_THU,
                        ui->rbt_TPU,
                        ui->rbt_TVU};
    definitionMemos_ = {ui->mem_Definition0, ui->mem_Definition1, ui->mem_Definition2,
                        ui->mem_Definition3, ui->mem_Definition4, ui->mem_Definition5};

    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { edt_DepthChange(); });
    typed_->Watch({ui->edt_Depth});
    typed_->Results({ui->edt_TVU, ui->edt_THU});
    connect(ui->edt_Depth, &QLineEdit::textChanged, this, &TIHOForm::edt_DepthChange);
    connect(ui->cbo_Order, &QComboBox::activated, this, &TIHOForm::cbo_OrderChange);
    for (QRadioButton* item : definitionItems_) {
        connect(item, &QRadioButton::clicked, this, &TIHOForm::rdg_DefinitionsClick);
    }
}

TIHOForm::~TIHOForm() = default;

void TIHOForm::edt_DepthChange() { recompute_.Request(); }

void TIHOForm::ShowTolerances() {
    std::int32_t depth = 0;
    if (common::TryParseInt(typed_->Text(ui->edt_Depth).toStdString(), depth)) {
        lastDepth_ = depth;
    } else {
        // Emptying the field is itself a change, so the message appears once for
        // the bad text and once more for the emptied field; the results fall
        // back on the last depth that could be read.
        typed_->Write(ui->edt_Depth, QString());
        common::ShowMessage(QStringLiteral("Invallid argument for Depth\nUse positive Integers "));
    }
    const int row = ui->cbo_Order->currentIndex();
    if (row < 0 || row >= static_cast<int>(survey::SurveyOrderTable.size())) {
        return;
    }
    const auto& order = survey::SurveyOrderTable[static_cast<std::size_t>(row)];
    ui->edt_TVU->setText(QString::fromStdString(ToleranceText(order, lastDepth_, survey::Tolerance::TVU)));
    ui->edt_THU->setText(QString::fromStdString(ToleranceText(order, lastDepth_, survey::Tolerance::THU)));
}

void TIHOForm::cbo_OrderChange() {
    const int row = ui->cbo_Order->currentIndex();
    if (row < 0 || row >= static_cast<int>(kRowRules.size())) {
        return;
    }
    const RowRule& rule = kRowRules[static_cast<std::size_t>(row)];
    ui->edt_Depth->setText(QStringLiteral("1"));
    ui->edt_TVU->clear();
    ui->edt_THU->clear();
    ui->edt_Depth->setFocus();
    if (rule.onChoose == OnChoose::StartDepth) {
        ui->edt_Depth->setText(QStringLiteral("10"));
    } else if (rule.onChoose == OnChoose::RedrawGraph) {
        ui->pnl_GraphOverview->ResetGraphDepth();
    }
    ui->pgc_Orders->setCurrentIndex(row);
    ShowItemsOfRow(row);
}

void TIHOForm::ShowItemsOfRow(int row) {
    const RowRule& rule = kRowRules[static_cast<std::size_t>(row)];
    for (Item logo : kLogos) {
        ((*ui).*logo)->setVisible(logo == rule.logo);
    }
    if (rule.formula != Formula::Keep) {
        ui->img_Formula->setVisible(rule.formula == Formula::Show);
    }
    for (Item thuRule : kThuRules) {
        ((*ui).*thuRule)->setVisible(thuRule == rule.thuRule);
    }
    ui->img_ScrollHint->setVisible(rule.scrollHint);
    ui->lbl_ScrollDepth->setVisible(rule.scrollHint);
}

void TIHOForm::mousePressEvent(QMouseEvent* event) {
    // Presses that a control ignored arrive here too; only a point with no
    // control under it is the window's background.
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr) {
        FormClick();
    }
    QWidget::mousePressEvent(event);
}

void TIHOForm::FormClick() { ui->pnl_GraphOverview->scb_VerticalChange(); }

void TIHOForm::rdg_DefinitionsClick() {
    for (std::size_t item = 0; item < definitionItems_.size(); ++item) {
        definitionMemos_[item]->setVisible(definitionItems_[item]->isChecked());
    }
}
