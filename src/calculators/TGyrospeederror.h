// Gyro speed error: the course error of a north-south aligned gyrocompass for a
// latitude, a speed and a course, and how far sideways that error puts a point
// at eleven example ranges. Any change of the three fields, a spinner step or
// "Calculate" runs btn_CalculateClick, which reads all three fields and then
// writes all twelve results; a field that cannot be read stops it at the general
// error box before any result changes.
#pragma once

#include "kit/TypedFields.h"

#include <QWidget>
#include <array>
#include <memory>

class QLabel;

namespace Ui {
class TGyrospeederror;
}

class TGyrospeederror : public QWidget {
    Q_OBJECT
public:
    explicit TGyrospeederror(QWidget* parent = nullptr);
    ~TGyrospeederror() override;

    void btn_CalculateClick();
    void btn_ExitClick();

private:
    // The range value labels in the order of calculators::kGyroRanges.
    std::array<QLabel*, 11> RangeLabels() const;

    std::unique_ptr<Ui::TGyrospeederror> ui;
    std::unique_ptr<kit::TypedFields> typed_; // the three fields, as a person types them
};
