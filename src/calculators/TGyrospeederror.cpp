#include "calculators/TGyrospeederror.h"

#include "calculators/GyroSpeedError.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/WindowParts.h"
#include "ui_TGyrospeederror.h"

namespace {

const QChar kDegreeSign(0x00BA); // the ordinal indicator the result has always carried

} // namespace

TGyrospeederror::TGyrospeederror(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TGyrospeederror>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, false);
    ui->udb_Latitude->Associate(ui->edt_Latitude);
    ui->udb_Speed->Associate(ui->edt_Speed);
    ui->udb_Course->Associate(ui->edt_Course);

    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { btn_CalculateClick(); });
    typed_->Watch({ui->edt_Latitude, ui->edt_Speed, ui->edt_Course});
    std::vector<QWidget*> results{ui->lbl_Error};
    for (QLabel* label : RangeLabels()) {
        results.push_back(label);
    }
    typed_->Results(results);
    for (QLineEdit* field : {ui->edt_Latitude, ui->edt_Speed, ui->edt_Course}) {
        connect(field, &QLineEdit::textChanged, this, &TGyrospeederror::btn_CalculateClick);
    }
    connect(ui->btn_Calculate, &QPushButton::clicked, this, &TGyrospeederror::btn_CalculateClick);
    connect(ui->btn_Exit, &QPushButton::clicked, this, &TGyrospeederror::btn_ExitClick);
}

TGyrospeederror::~TGyrospeederror() = default;

std::array<QLabel*, 11> TGyrospeederror::RangeLabels() const {
    return {ui->lbl_Range10,   ui->lbl_Range20,   ui->lbl_Range30,   ui->lbl_Range50,
            ui->lbl_Range100,  ui->lbl_Range200,  ui->lbl_Range300,  ui->lbl_Range500,
            ui->lbl_Range1000, ui->lbl_Range5000, ui->lbl_Range10000};
}

void TGyrospeederror::btn_CalculateClick() {
    typed_->Run([this] {
        bool done = false;
        common::RunGuarded([&] {
            // All three fields are read before anything is written, so a field that
            // cannot be read leaves every result as it was.
            calculators::GyroInput input;
            input.latitude = common::ParseFloat(ui->edt_Latitude->text().toStdString());
            input.speed = common::ParseFloat(ui->edt_Speed->text().toStdString());
            input.course = common::ParseFloat(ui->edt_Course->text().toStdString());
            const calculators::GyroResult result = calculators::ComputeGyroSpeedError(input);

            ui->lbl_Error->setText(QString::fromStdString(common::FormatGeneral(result.error)) + kDegreeSign);
            const auto labels = RangeLabels();
            for (std::size_t i = 0; i < labels.size(); ++i) {
                labels[i]->setText(QString::fromStdString(common::FormatGeneral(result.horizontal[i])) +
                                   QStringLiteral(" m"));
            }
            done = true;
        });
        return done;
    });
}

void TGyrospeederror::btn_ExitClick() { close(); }
