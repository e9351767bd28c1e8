#include "tpu/TTPU_Calculator.h"

#include "kit/WindowParts.h"
#include "ui_TTPU_Calculator.h"

TTPU_Calculator::TTPU_Calculator(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TTPU_Calculator>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
}

TTPU_Calculator::~TTPU_Calculator() = default;
