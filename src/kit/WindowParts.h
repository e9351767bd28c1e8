// Building blocks of the tool windows. Every layout places its controls by pixel
// position, names fonts by family and pixel height, and uses a few colours of
// the classic desktop palette; these helpers say that once for every window.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace kit {

inline const QString kTahoma = QStringLiteral("Tahoma");
inline const QString kSansSerif = QStringLiteral("MS Sans Serif");

inline const QColor kNavy(0, 0, 128);
inline const QColor kCream(255, 251, 240);
inline const QColor kPaleGreen(192, 220, 192); // the result fields' "money green"
inline const QColor kHotLight(0, 102, 204);    // the desktop's hot-light (link) colour

// A top-level window with its fixed object name and caption. Every window has
// a system menu and can be closed; none offers a maximise button, since the
// layouts are fixed in pixels. Whether the border is sizeable is the caller's
// choice of setFixedSize or resize.
inline void SetUpWindow(QWidget* window, const QString& objectName, const QString& caption, bool minimiseButton) {
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimiseButton) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    window->setWindowFlags(flags);
}

// A font by family and pixel height, as the layouts give them.
inline QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Text colour of a label, edit, drop-down or button alike.
inline void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

// A label sized to its text and placed by its top-left corner; an empty object
// name leaves it anonymous.
inline QLabel* MakeLabel(QWidget* parent, const QString& objectName, const QString& text, int left, int top,
                         const QFont& font, const QColor& color = QColor()) {
    auto* label = new QLabel(text, parent);
    if (!objectName.isEmpty()) {
        label->setObjectName(objectName);
    }
    label->setFont(font);
    if (color.isValid()) {
        SetTextColor(label, color);
    }
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace kit
