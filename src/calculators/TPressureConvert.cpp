#include "calculators/TPressureConvert.h"

#include "calculators/PressureConversion.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/WindowParts.h"
#include "ui_TPressureConvert.h"

TPressureConvert::TPressureConvert(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TPressureConvert>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, false);
    // The unit names are the core's table; both selectors list them in its order.
    for (const calculators::PressureUnit& unit : calculators::kPressureUnits) {
        const QString name = QString::fromLatin1(unit.name.data(), static_cast<qsizetype>(unit.name.size()));
        ui->cbo_From->addItem(name);
        ui->cbo_To->addItem(name);
    }
    ui->edt_Value->setFocus();

    connect(ui->cbo_From, &QComboBox::activated, this, &TPressureConvert::cbo_FromChange);
    connect(ui->cbo_To, &QComboBox::activated, this, &TPressureConvert::cbo_ToChange);
    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { edt_ValueChange(); });
    typed_->Watch({ui->edt_Value});
    typed_->Results({ui->edt_Result});
    connect(ui->edt_Value, &QLineEdit::textChanged, this, &TPressureConvert::edt_ValueChange);
}

TPressureConvert::~TPressureConvert() = default;

void TPressureConvert::cbo_FromChange() { ConvertField(); }

void TPressureConvert::cbo_ToChange() { ConvertField(); }

void TPressureConvert::edt_ValueChange() {
    typed_->Run([this] {
        double value = 0.0;
        if (!common::TryParseFloat(typed_->Text(ui->edt_Value).toStdString(), value)) {
            // The reset is itself a change and converts 1 from inside this
            // handler; the message then comes once, from this outer run only.
            typed_->Show(ui->edt_Value, QStringLiteral("1"));
            common::ShowMessage(
                QStringLiteral("Invallid input value\nUse positive numbers\nUse points as decimal separator"));
            ConvertValue(1.0);
            return true;
        }
        ConvertValue(value);
        return true;
    });
}

void TPressureConvert::ConvertField() {
    common::RunGuarded([this] { ConvertValue(common::ParseFloat(typed_->Text(ui->edt_Value).toStdString())); });
}

void TPressureConvert::ConvertValue(double value) {
    const double result = calculators::ConvertPressure(value, static_cast<std::size_t>(ui->cbo_From->currentIndex()),
                                                       static_cast<std::size_t>(ui->cbo_To->currentIndex()));
    ui->edt_Result->setText(QString::fromStdString(common::FormatFixed(result, 10, 6)));
}
