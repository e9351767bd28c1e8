// A spinner bound to an edit field. A click steps from the number currently in
// the field (not from a remembered position; a fraction is first rounded to the
// nearest whole number, halves to even), stays within the range and writes plain
// digits back, so the field's own change handler does the recalculation. Only a
// field that cannot be read at all steps from the spinner's own position. Typed
// text is left alone: the field accepts anything and its handler decides.
//
// A form sets the range, increment and start position as the properties
// minimum, maximum, increment and position (stdset="0").
#pragma once

#include <QWidget>
#include <algorithm>

class QLineEdit;
class QToolButton;

namespace kit {

class UpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int minimum READ Minimum WRITE SetMinimum)
    Q_PROPERTY(int maximum READ Maximum WRITE SetMaximum)
    Q_PROPERTY(int increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int position READ Position WRITE SetPosition)
public:
    explicit UpDown(QWidget* parent = nullptr);

    // Puts the spinner inside the right edge of the field's rectangle, as the
    // layouts measure a field with its spinner: the field gives up the spinner's
    // width. The Up and Down keys of the field step it too.
    void Associate(QLineEdit* edit);

    void SetRange(int minimum, int maximum);
    void SetMinimum(int minimum) { SetRange(minimum, std::max(minimum, maximum_)); }
    void SetMaximum(int maximum) { SetRange(std::min(minimum_, maximum), maximum); }
    void SetIncrement(int increment);
    int Increment() const { return increment_; }
    void SetPosition(int position);
    int Position() const { return position_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int direction);

    QLineEdit* edit_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 100;
    int increment_ = 1;
    int position_ = 0;
};

} // namespace kit
