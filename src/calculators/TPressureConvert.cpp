#include "calculators/TPressureConvert.h"

#include "calculators/PressureConversion.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/WindowParts.h"

#include <QComboBox>
#include <QLineEdit>

using kit::MakeLabel;
using kit::PixelFont;
using kit::SetTextColor;

namespace {

using kit::kTahoma;
const QColor kGradientActiveCaption(185, 209, 234);

} // namespace

TPressureConvert::TPressureConvert(QWidget* parent) : QWidget(parent) {
    kit::SetUpWindow(this, QStringLiteral("PressureConvert"), QStringLiteral("PressureConvert"), false);
    setFixedSize(315, 116);

    cbo_From = MakeUnitSelector("cbo_From", 18);
    cbo_To = MakeUnitSelector("cbo_To", 46);

    const QFont caption = PixelFont(kTahoma, 12, true);
    lbl_From = MakeLabel(this, QStringLiteral("lbl_From"), QStringLiteral("From"), 138, 22, caption, kit::kNavy);
    lbl_To = MakeLabel(this, QStringLiteral("lbl_To"), QStringLiteral("To"), 144, 50, caption, kit::kNavy);

    edt_Value = new QLineEdit(QStringLiteral("1"), this);
    edt_Value->setObjectName(QStringLiteral("edt_Value"));
    edt_Value->setGeometry(176, 18, 123, 22);
    edt_Value->setFont(PixelFont(kTahoma, 12));

    edt_Result = new QLineEdit(this);
    edt_Result->setObjectName(QStringLiteral("edt_Result"));
    edt_Result->setGeometry(176, 46, 123, 22);
    edt_Result->setReadOnly(true);
    edt_Result->setFont(PixelFont(kTahoma, 12, true));
    SetTextColor(edt_Result, kit::kNavy);
    QPalette resultPalette = edt_Result->palette();
    resultPalette.setColor(QPalette::Base, kGradientActiveCaption);
    edt_Result->setPalette(resultPalette);

    lbl_Maker = MakeLabel(this, QStringLiteral("lbl_Maker"), QStringLiteral("Tormalind ApS"), 88, 89,
                          PixelFont(QStringLiteral("Arial"), 16, true), kit::kNavy);

    // Only the value takes part in the Tab order; the selectors and the result
    // are reached with the mouse.
    for (QWidget* skipped :
         {static_cast<QWidget*>(cbo_From), static_cast<QWidget*>(cbo_To), static_cast<QWidget*>(edt_Result)}) {
        skipped->setFocusPolicy(Qt::ClickFocus);
    }
    edt_Value->setFocus();

    connect(cbo_From, &QComboBox::activated, this, &TPressureConvert::cbo_FromChange);
    connect(cbo_To, &QComboBox::activated, this, &TPressureConvert::cbo_ToChange);
    connect(edt_Value, &QLineEdit::textChanged, this, &TPressureConvert::edt_ValueChange);
}

QComboBox* TPressureConvert::MakeUnitSelector(const char* name, int top) {
    auto* selector = new QComboBox(this);
    selector->setObjectName(QString::fromLatin1(name));
    selector->setFont(PixelFont(kTahoma, 12));
    for (const calculators::PressureUnit& unit : calculators::kPressureUnits) {
        selector->addItem(QString::fromLatin1(unit.name.data(), static_cast<qsizetype>(unit.name.size())));
    }
    selector->setMaxVisibleItems(selector->count());
    selector->setGeometry(14, top, 119, 21);
    return selector;
}

void TPressureConvert::cbo_FromChange() { ConvertField(); }

void TPressureConvert::cbo_ToChange() { ConvertField(); }

void TPressureConvert::edt_ValueChange() {
    double value = 0.0;
    if (!common::TryParseFloat(edt_Value->text().toStdString(), value)) {
        // The reset is itself a change and converts 1 from inside this handler;
        // the message then comes once, from this outer run only.
        edt_Value->setText(QStringLiteral("1"));
        common::ShowMessage(
            QStringLiteral("Invallid input value\nUse positive numbers\nUse points as decimal separator"));
        ConvertValue(1.0);
        return;
    }
    ConvertValue(value);
}

void TPressureConvert::ConvertField() {
    common::RunGuarded([this] { ConvertValue(common::ParseFloat(edt_Value->text().toStdString())); });
}

void TPressureConvert::ConvertValue(double value) {
    const double result = calculators::ConvertPressure(value, static_cast<std::size_t>(cbo_From->currentIndex()),
                                                       static_cast<std::size_t>(cbo_To->currentIndex()));
    edt_Result->setText(QString::fromStdString(common::FormatFixed(result, 10, 6)));
}
