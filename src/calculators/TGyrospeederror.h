// Gyro speed error: the course error of a north-south aligned gyrocompass for a
// latitude, a speed and a course, and how far sideways that error puts a point
// at eleven example ranges. Any change of the three fields, a spinner step or
// "Calculate" runs btn_CalculateClick, which reads all three fields and then
// writes all twelve results; a field that cannot be read stops it at the general
// error box before any result changes.
#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kit {
class UpDown;
}

class TGyrospeederror : public QWidget {
    Q_OBJECT
public:
    explicit TGyrospeederror(QWidget* parent = nullptr);

    void btn_CalculateClick();
    void btn_ExitClick();

    QLineEdit* edt_Latitude = nullptr;
    QLineEdit* edt_Speed = nullptr;
    QLineEdit* edt_Course = nullptr;
    kit::UpDown* udb_Latitude = nullptr;
    kit::UpDown* udb_Speed = nullptr;
    kit::UpDown* udb_Course = nullptr;
    QPushButton* btn_Calculate = nullptr;
    QPushButton* btn_Exit = nullptr;
    QGroupBox* grp_Error = nullptr;
    QLabel* lbl_Error = nullptr;
    QGroupBox* grp_Ranges = nullptr;
    QLabel* lbl_Range10 = nullptr;
    QLabel* lbl_Range20 = nullptr;
    QLabel* lbl_Range30 = nullptr;
    QLabel* lbl_Range50 = nullptr;
    QLabel* lbl_Range100 = nullptr;
    QLabel* lbl_Range200 = nullptr;
    QLabel* lbl_Range300 = nullptr;
    QLabel* lbl_Range500 = nullptr;
    QLabel* lbl_Range1000 = nullptr;
    QLabel* lbl_Range5000 = nullptr;
    QLabel* lbl_Range10000 = nullptr;
    QLabel* img_Diagram = nullptr;
    QLabel* img_Gyroscope = nullptr;
    QPlainTextEdit* mem_Reference = nullptr;

    // The range value labels in the order of calculators::kGyroRanges.
    std::array<QLabel*, 11> RangeLabels() const;

private:
    QLineEdit* MakeInput(const char* name, int top, const QString& tip);
    kit::UpDown* MakeSpinner(const char* name, QLineEdit* field, int minimum, int maximum, int increment);
    void BuildResults();
};
