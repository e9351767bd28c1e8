// Small construction helpers shared by the three calculator windows: every
// control there sits at a fixed pixel position with a font given in pixels.
#pragma once

#include "Assets.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace calculators::ui {

inline void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

// A label sized to its text, as the layouts place them by their top-left corner.
inline QLabel* MakeLabel(QWidget* parent, const QString& objectName, const QString& text, int left, int top,
                         const QFont& font, const QColor& color = QColor()) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setFont(font);
    if (color.isValid()) {
        SetTextColor(label, color);
    }
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace calculators::ui
