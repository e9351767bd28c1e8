// A spinner bound to an edit field. A click steps from the number currently in
// the field (not from a remembered position), stays within the range and writes
// plain digits back, so the field's own change handler does the recalculation.
// Typed text is left alone: the field accepts anything and its handler decides.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kit {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    // Puts the spinner inside the right edge of the field's rectangle, as the
    // layouts measure a field with its spinner: the field gives up the spinner's
    // width. The Up and Down keys of the field step it too.
    void Associate(QLineEdit* edit);

    void SetRange(int minimum, int maximum);
    void SetIncrement(int increment);
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
