#include "standards/TIHOForm.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/Assets.h"
#include "kit/DocumentView.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"
#include "standards/GraphOverview.h"
#include "standards/SurveyOrders.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace kit;

namespace {

QLabel* MakePicture(QWidget* parent, const char* objectName, const QString& file, QRect geometry) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(objectName));
    picture->setGeometry(geometry);
    picture->setScaledContents(true);
    picture->setPixmap(AssetPixmap(file));
    return picture;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const QString& objectName, const QStringList& lines) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    return memo;
}

QLineEdit* MakeResultField(QWidget* parent, const char* objectName, QRect geometry, const QString& placeholder) {
    auto* field = new QLineEdit(placeholder, parent);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setGeometry(geometry);
    field->setFont(PixelFont(kTahoma, 32, true));
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, kPaleGreen);
    palette.setColor(QPalette::Text, Qt::red);
    field->setPalette(palette);
    return field;
}

// The requirement document of each order page; the LINZ page is a picture and
// the Orsted page a memo instead.
const char* const kOrderDocuments[] = {
    "order_iho_special.pdf", "order_iho_1a.pdf", "order_iho_1b.pdf", "order_iho_2.pdf", "order_fsis44.pdf", nullptr,
    "order_nl_a.pdf",        "order_nl_b.pdf",
};

const char* const kTabCaptions[] = {"IHO Special Order",  "Order 1a",   "Order 1b",   "Order 2", "FSIS-44",
                                    "LINZ Special Order", "NL Order A", "NL Order B", "Orsted",  "Definitions",
                                    "Graph Overview"};

const QStringList kOrstedLines = {
    QStringLiteral("1.\tData resolution sufficient for detection of seabed "),
    QStringLiteral("objects/features \u2265 0.5 m (minimum 3 pings to be landed on an object "),
    QStringLiteral("in both along-track and across-track axes)"),
    QString(),
    QStringLiteral("2.\tRequired minimum data density is 50-60 valid pings/m2 "),
    QStringLiteral("where line distance is 25 to 40 m. Where line distance is 100 m a "),
    QStringLiteral("data density of around 15-20 valid pings/m2 is expected."),
    QString(),
    QStringLiteral("3.\tNadir coverage is required*"),
    QString(),
    QStringLiteral("4.\tTVU** (Total Vertical Uncertainty) is for all processed "),
    QStringLiteral("beams/final data (2-sigma, 95%) to be"),
    QStringLiteral("     o   0.15 metres (2-sigma, 95%) or better down to 20 metres "),
    QStringLiteral("water depths"),
    QStringLiteral("     o   0.20 metres (2-sigma, 95%) or better from 20 metres to 40 "),
    QStringLiteral("metres water depths"),
    QStringLiteral("     o   0.25 metres (2-sigma, 95%) or better below 40 metres water "),
    QStringLiteral("depths"),
    QString(),
    QStringLiteral("5.\tTHU*** (Total Horizontal Uncertainty) for all processed "),
    QStringLiteral("beams/final data (2-sigma, 95%) will not exceed 0.5 metres + 2% of "),
    QStringLiteral("the water depth for allprocessed beams/final data (e.g. THU is 1.1 "),
    QStringLiteral("metres or better at 30 metres water depth and 1.5 metres orbetter at "),
    QStringLiteral("50 metres water depth)"),
    QString(),
    QStringLiteral("*Applies for dual head configurations only"),
    QString(),
    QStringLiteral("**The component of total propagated uncertainty (TPU) calculated in "),
    QStringLiteral("the vertical plane."),
    QString(),
    QStringLiteral("***The component of total propagated uncertainty (TPU) calculated "),
    QStringLiteral("in the horizontal plane."),
    QString(),
};

const char* const kDefinitionItems[] = {"Feature detection",
                                        "Full sea floor search",
                                        "Reduced depths ",
                                        "Total horizontal uncertainty (THU) ",
                                        "Total propagated uncertainty (TPU ",
                                        "Total vertical uncertainty (TVU)"};

const QStringList kDefinitionLines[] = {
    {QStringLiteral("Feature detection: The ability of a system to "),
     QStringLiteral("detect features of a defined size. These "),
     QStringLiteral("Standards specify the size of features "),
     QStringLiteral("which, for safety of navigation, should be "), QStringLiteral("detected during the survey. ")},
    {QStringLiteral("Full sea floor search: A systematic method "),
     QStringLiteral("of exploring the sea floor undertaken to "),
     QStringLiteral("detect most of the features specified in "),
     QStringLiteral("Table 1; utilising adequate detection "),
     QStringLiteral("systems, procedures and trained personnel. "),
     QStringLiteral("In practice, it is impossible to achieve 100% "),
     QStringLiteral("ensonification / 100% bathymetric coverage "), QStringLiteral("(the use of such terms should be "),
     QStringLiteral("discouraged). ")},
    {QStringLiteral("Reduced depths: Observed depths including "),
     QStringLiteral("all corrections related to the survey and "),
     QStringLiteral("post processing and reduction to the used "), QStringLiteral("vertical datum. "), QString()},
    {QStringLiteral("Total horizontal uncertainty (THU): The "),
     QStringLiteral("component of total propagated uncertainty "),
     QStringLiteral("(TPU) calculated in the horizontal plane. "),
     QStringLiteral("Although THU is quoted as a single figure, "),
     QStringLiteral("THU is a 2 Dimensional quantity. The "), QStringLiteral("assumption has been made that the "),
     QStringLiteral("uncertainty is isotropic (i.e. there is "),
     QStringLiteral("negligible correlation between errors in "),
     QStringLiteral("latitude and longitude). This makes a "),
     QStringLiteral("Normal distribution circularly symmetric "),
     QStringLiteral("allowing a single number to describe the "),
     QStringLiteral("radial distribution of errors about the true "), QStringLiteral("value. "), QString()},
    {QStringLiteral("Total propagated uncertainty (TPU): the "),
     QStringLiteral("result of uncertainty propagation, when all "),
     QStringLiteral("contributing measurement uncertainties, "),
     QStringLiteral("both random and systematic, have been "),
     QStringLiteral("included in the propagation. Uncertainty "),
     QStringLiteral("propagation combines the effects of "), QStringLiteral("measurement uncertainties from several "),
     QStringLiteral("sources upon the uncertainties of derived or "), QStringLiteral("calculated parameters. "),
     QString()},
    {QStringLiteral("Total vertical uncertainty (TVU): The "),
     QStringLiteral("component of total propagated uncertainty "),
     QStringLiteral("(TPU) calculated in the vertical dimension. "), QStringLiteral("TVU is a 1 Dimensional quantity."),
     QString()},
};

} // namespace

TIHOForm::TIHOForm(QWidget* parent) : QWidget(parent) {
    SetUpWindow(this, QStringLiteral("IHOForm"), QStringLiteral("Tormalind Survey Specification Calculator"), true);
    resize(884, 642);

    BuildInputColumn();
    BuildPages();

    connect(edt_Depth, &QLineEdit::textChanged, this, &TIHOForm::edt_DepthChange);
    connect(cbo_Order, &QComboBox::activated, this, &TIHOForm::cbo_OrderChange);
    connect(definitionButtons_, &QButtonGroup::idClicked, this, &TIHOForm::rdg_DefinitionsClick);
}

void TIHOForm::BuildInputColumn() {
    cbo_Order = new QComboBox(this);
    cbo_Order->setObjectName(QStringLiteral("cbo_Order"));
    for (const auto& order : standards::SurveyOrderTable) {
        cbo_Order->addItem(QString::fromUtf8(order.selectorText.data(), qsizetype(order.selectorText.size())));
    }
    cbo_Order->addItem(QStringLiteral("Definitions"));
    cbo_Order->addItem(QStringLiteral("Graph Overview"));
    cbo_Order->setMaxVisibleItems(cbo_Order->count());
    cbo_Order->setFont(PixelFont(kTahoma, 12, true));
    SetTextColor(cbo_Order, kNavy);
    cbo_Order->setGeometry(33, 67, 145, cbo_Order->sizeHint().height());

    img_IHO = MakePicture(this, "img_IHO", QStringLiteral("logo_iho.png"), {200, 33, 115, 67});
    img_FSIS = MakePicture(this, "img_FSIS", QStringLiteral("flags_fsis.png"), {200, 33, 117, 55});
    img_LINZ = MakePicture(this, "img_LINZ", QStringLiteral("logo_linz.png"), {200, 33, 117, 55});
    img_NL = MakePicture(this, "img_NL", QStringLiteral("flag_nl.png"), {200, 33, 57, 40});
    img_Orsted = MakePicture(this, "img_Orsted", QStringLiteral("logo_orsted.png"), {184, 33, 119, 40});

    MakeLabel(this, {}, QStringLiteral("Input minimum water depth"), 36, 101, font());
    edt_Depth = new QLineEdit(QStringLiteral("10"), this);
    edt_Depth->setObjectName(QStringLiteral("edt_Depth"));
    edt_Depth->setGeometry(36, 117, 129, 28);
    edt_Depth->setFont(PixelFont(kSansSerif, 17, true));
    udb_Depth = new kit::UpDown(this);
    udb_Depth->setObjectName(QStringLiteral("udb_Depth"));
    udb_Depth->SetRange(1, 15000);
    udb_Depth->SetIncrement(5);
    udb_Depth->SetPosition(10);
    udb_Depth->Associate(edt_Depth);

    const QFont heading = PixelFont(kTahoma, 15, true);
    MakeLabel(this, {}, QStringLiteral("Calculation of Vertical Tolerance"), 36, 172, heading, kNavy);

    // The TVU formula, sqrt(a² + (b * d)²): the root sign is a picture, the terms
    // are labels on it so they hide and show with it.
    img_Formula = MakePicture(this, "img_Formula", QStringLiteral("formula_root.png"), {42, 200, 123, 27});
    const QFont term = PixelFont(kTahoma, 16);
    const QFont exponent = PixelFont(kTahoma, 13);
    MakeLabel(img_Formula, {}, QStringLiteral("a"), 23, 6, term);
    MakeLabel(img_Formula, {}, QStringLiteral("2"), 31, 1, exponent);
    MakeLabel(img_Formula, {}, QStringLiteral("+ (b * d)"), 39, 6, term);
    MakeLabel(img_Formula, {}, QStringLiteral("2"), 107, 1, exponent);

    MakeLabel(this, {}, QStringLiteral("Maximum allowable error"), 36, 229, font());
    edt_TVU = MakeResultField(this, "edt_TVU", {36, 244, 153, 47}, QStringLiteral(" xx.x m"));

    MakeLabel(this, {}, QStringLiteral("Calculation of Horizontal Tolerance"), 36, 297, heading, kNavy);
    lbl_THU_005 = MakeLabel(this, QStringLiteral("lbl_THU_005"), QStringLiteral(" X + (d * 0.05)"), 46, 317, term);
    lbl_THU_01 = MakeLabel(this, QStringLiteral("lbl_THU_01"), QStringLiteral(" X + (d * 0.1)"), 48, 317, term);

    MakeLabel(this, {}, QStringLiteral("Maximum allowable error"), 40, 349, font());
    edt_THU = MakeResultField(this, "edt_THU", {40, 364, 155, 47}, QStringLiteral(" 2.0 m"));

    img_ScrollHint = MakePicture(this, "img_ScrollHint", QStringLiteral("scroll_arrow.png"), {201, 354, 105, 57});
    lbl_ScrollDepth = MakeLabel(this, QStringLiteral("lbl_ScrollDepth"), QStringLiteral("Scroll Depth"), 213, 374,
                                PixelFont(kTahoma, 11, true), kHotLight);

    for (QWidget* item :
         {static_cast<QWidget*>(img_FSIS), static_cast<QWidget*>(img_LINZ), static_cast<QWidget*>(img_NL),
          static_cast<QWidget*>(img_Orsted), static_cast<QWidget*>(lbl_THU_005), static_cast<QWidget*>(lbl_THU_01),
          static_cast<QWidget*>(img_ScrollHint), static_cast<QWidget*>(lbl_ScrollDepth)}) {
        item->hide();
    }
}

void TIHOForm::BuildPages() {
    pgc_Orders = new QTabWidget(this);
    pgc_Orders->setObjectName(QStringLiteral("pgc_Orders"));
    pgc_Orders->setGeometry(309, 33, 550, 596);
    pgc_Orders->tabBar()->setFont(PixelFont(kTahoma, 13));
    pgc_Orders->setUsesScrollButtons(true);

    auto filledPage = [](QWidget* content) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content);
        return page;
    };

    for (int row = 0; row < 11; ++row) {
        QWidget* page = nullptr;
        if (row < 8 && kOrderDocuments[row] != nullptr) {
            auto* view = new kit::DocumentView;
            view->SetDocument(QString::fromLatin1(kOrderDocuments[row]));
            page = filledPage(view);
        } else if (row == 5) {
            page = new QWidget;
            MakePicture(page, "img_LINZTable", QStringLiteral("linz_table.png"), {8, 10, 281, 443});
        } else if (row == 8) {
            mem_Orsted = MakeMemo(nullptr, QStringLiteral("mem_Orsted"), kOrstedLines);
            QPalette palette = mem_Orsted->palette();
            palette.setColor(QPalette::Base, kCream);
            mem_Orsted->setPalette(palette);
            mem_Orsted->setTabStopDistance(40);
            page = filledPage(mem_Orsted);
        } else if (row == kDefinitionsRow) {
            page = new QWidget;
            rdg_Definitions = new QGroupBox(QStringLiteral("Fundamental Definitions"), page);
            rdg_Definitions->setObjectName(QStringLiteral("rdg_Definitions"));
            rdg_Definitions->setGeometry(16, 16, 265, 177);
            definitionButtons_ = new QButtonGroup(rdg_Definitions);
            auto* column = new QVBoxLayout(rdg_Definitions);
            for (int item = 0; item < 6; ++item) {
                auto* button = new QRadioButton(QString::fromLatin1(kDefinitionItems[item]), rdg_Definitions);
                definitionButtons_->addButton(button, item);
                column->addWidget(button);
                mem_Definition[static_cast<std::size_t>(item)] =
                    MakeMemo(page, QStringLiteral("mem_Definition%1").arg(item), kDefinitionLines[item]);
                mem_Definition[static_cast<std::size_t>(item)]->setGeometry(16, 208, 265, 241);
                mem_Definition[static_cast<std::size_t>(item)]->setVisible(item == 0);
            }
            definitionButtons_->button(0)->setChecked(true);
        } else {
            pnl_GraphOverview = new GraphOverview;
            page = pnl_GraphOverview;
        }
        pgc_Orders->addTab(page, QString::fromLatin1(kTabCaptions[row]));
    }
}

void TIHOForm::edt_DepthChange() {
    std::int32_t depth = 0;
    if (common::TryParseInt(edt_Depth->text().toStdString(), depth)) {
        lastDepth_ = depth;
    } else {
        // Emptying the field is itself a change, so the message appears once for
        // the emptied field and once for the bad text; the results fall back on
        // the last depth that could be read.
        edt_Depth->setText(QString());
        common::ShowMessage(QStringLiteral("Invallid argument for Depth\nUse positive Integers "));
    }
    const int row = cbo_Order->currentIndex();
    if (row < 0 || row >= static_cast<int>(standards::SurveyOrderTable.size())) {
        return;
    }
    const auto& order = standards::SurveyOrderTable[static_cast<std::size_t>(row)];
    edt_TVU->setText(QString::fromStdString(ToleranceText(order, lastDepth_, standards::Tolerance::TVU)));
    edt_THU->setText(QString::fromStdString(ToleranceText(order, lastDepth_, standards::Tolerance::THU)));
}

void TIHOForm::cbo_OrderChange() {
    const int row = cbo_Order->currentIndex();
    edt_Depth->setText(QStringLiteral("1"));
    edt_TVU->clear();
    edt_THU->clear();
    edt_Depth->setFocus();
    if (row < kDefinitionsRow) {
        edt_Depth->setText(QStringLiteral("10"));
    } else if (row == kGraphOverviewRow) {
        pnl_GraphOverview->ResetGraphDepth();
    }
    pgc_Orders->setCurrentIndex(row);
    ShowItemsOfRow(row);
}

void TIHOForm::ShowItemsOfRow(int row) {
    QLabel* logo = nullptr;
    if (row <= 3) {
        logo = img_IHO;
    } else if (row == 4) {
        logo = img_FSIS;
    } else if (row == 5) {
        logo = img_LINZ;
    } else if (row <= 7) {
        logo = img_NL;
    } else if (row == 8) {
        logo = img_Orsted;
    }
    for (QLabel* each : {img_IHO, img_FSIS, img_LINZ, img_NL, img_Orsted}) {
        each->setVisible(each == logo);
    }
    if (row <= 8) {
        img_Formula->setVisible(row != 8); // the Orsted TVU is a step table, not the root-sum-square rule
    }
    lbl_THU_005->setVisible(row == 1 || row == 2);
    lbl_THU_01->setVisible(row == 3);
    img_ScrollHint->setVisible(row == kGraphOverviewRow);
    lbl_ScrollDepth->setVisible(row == kGraphOverviewRow);
}

void TIHOForm::mousePressEvent(QMouseEvent* event) {
    // Presses that a control ignored arrive here too; only a point with no
    // control under it is the window's background.
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr) {
        FormClick();
    }
    QWidget::mousePressEvent(event);
}

void TIHOForm::FormClick() { pnl_GraphOverview->scb_VerticalChange(); }

void TIHOForm::rdg_DefinitionsClick() {
    const int chosen = definitionButtons_->checkedId();
    for (int item = 0; item < 6; ++item) {
        mem_Definition[static_cast<std::size_t>(item)]->setVisible(item == chosen);
    }
}
