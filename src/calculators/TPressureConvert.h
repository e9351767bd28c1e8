// Pressure conversion between thirteen units. There is no button: choosing a
// unit runs cbo_FromChange / cbo_ToChange and any change of the value runs
// edt_ValueChange, each ending in ConvertValue, which writes the result field.
// An unreadable value is put back to "1" (a change that converts 1 from inside
// the handler), the user is told once, and 1 is converted.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

class TPressureConvert : public QWidget {
    Q_OBJECT
public:
    explicit TPressureConvert(QWidget* parent = nullptr);

    void cbo_FromChange();
    void cbo_ToChange();
    void edt_ValueChange();

    QComboBox* cbo_From = nullptr;
    QComboBox* cbo_To = nullptr;
    QLineEdit* edt_Value = nullptr;
    QLineEdit* edt_Result = nullptr;
    QLabel* lbl_From = nullptr;
    QLabel* lbl_To = nullptr;
    QLabel* lbl_Maker = nullptr;

private:
    QComboBox* MakeUnitSelector(const char* name, int top);
    void ConvertField();
    void ConvertValue(double value);
};
