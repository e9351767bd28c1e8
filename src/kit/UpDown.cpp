#include "kit/UpDown.h"

#include "common/NumberFormat.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <string>

namespace kit {

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
    resize(20, 28);
}

void UpDown::Associate(QLineEdit* edit) {
    edit_ = edit;
    const QRect pair = edit->geometry();
    edit->setGeometry(pair.adjusted(0, 0, -width(), 0));
    setGeometry(pair.right() - width() + 1, pair.y(), width(), pair.height());
    edit->installEventFilter(this);
}

void UpDown::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = std::clamp(position_, minimum_, maximum_);
}

void UpDown::SetIncrement(int increment) { increment_ = increment; }

void UpDown::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void UpDown::Step(int direction) {
    long long current = position_;
    if (edit_ != nullptr) {
        const std::string text = edit_->text().toStdString();
        std::int32_t whole = 0;
        double fraction = 0.0;
        if (common::TryParseInt(text, whole)) {
            current = whole;
        } else if (common::TryParseFloat(text, fraction)) {
            // "58.5" steps from 58: the number the surveyor sees, not a stale position.
            current = static_cast<long long>(std::nearbyint(std::clamp(fraction, -1e15, 1e15)));
        }
    }
    const long long next = current + static_cast<long long>(direction) * increment_;
    position_ = static_cast<int>(std::clamp<long long>(next, minimum_, maximum_));
    if (edit_ != nullptr) {
        const QString digits = QString::number(position_);
        if (edit_->text() != digits) {
            edit_->setText(digits);
        }
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

} // namespace kit
