// Pressure conversion between thirteen units. There is no button: choosing a
// unit runs cbo_FromChange / cbo_ToChange and any change of the value runs
// edt_ValueChange, each ending in ConvertValue, which writes the result field.
// An unreadable value is put back to "1" (a change that converts 1 from inside
// the handler), the user is told once, and 1 is converted.
#pragma once

#include "kit/TypedFields.h"

#include <QWidget>
#include <memory>

namespace Ui {
class TPressureConvert;
}

class TPressureConvert : public QWidget {
    Q_OBJECT
public:
    explicit TPressureConvert(QWidget* parent = nullptr);
    ~TPressureConvert() override;

    void cbo_FromChange();
    void cbo_ToChange();
    void edt_ValueChange();

private:
    void ConvertField();
    void ConvertValue(double value);

    std::unique_ptr<Ui::TPressureConvert> ui;
    std::unique_ptr<kit::TypedFields> typed_; // the value, as a person types it
};
