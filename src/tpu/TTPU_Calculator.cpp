#include "tpu/TTPU_Calculator.h"

TTPU_Calculator::TTPU_Calculator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TPU_Calculator"));
    setWindowTitle(QStringLiteral("Tormalind ApS  TPU Calculator"));
    resize(1000, 700);
}
