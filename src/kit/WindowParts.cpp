#include "kit/WindowParts.h"

#include "kit/Assets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpressionValidator>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

namespace kit {

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont PixelFontFromText(const QString& text) {
    // The family may hold blanks ("MS Sans Serif 17"): the size is the first
    // word that is a number, the style words follow it.
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < words.size(); ++i) {
        bool isNumber = false;
        const int pixels = words[i].toInt(&isNumber);
        if (isNumber && pixels > 0) {
            const QStringList style = words.mid(i + 1);
            return PixelFont(words.mid(0, i).join(QLatin1Char(' ')), pixels, style.contains(QStringLiteral("bold")));
        }
    }
    return QFont();
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

namespace {

void ApplyLook(QWidget* widget) {
    const QVariant font = widget->property("pixelFont");
    if (font.isValid()) {
        widget->setFont(PixelFontFromText(font.toString()));
    }
    const QVariant text = widget->property("textColor");
    if (text.isValid()) {
        SetTextColor(widget, QColor::fromString(text.toString()));
    }
    const QVariant base = widget->property("baseColor");
    if (base.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, QColor::fromString(base.toString()));
        widget->setPalette(palette);
    }
    const QVariant tabFont = widget->property("tabFont");
    if (auto* tabs = qobject_cast<QTabWidget*>(widget); tabs != nullptr && tabFont.isValid()) {
        tabs->tabBar()->setFont(PixelFontFromText(tabFont.toString()));
    }
    const QVariant picture = widget->property("picture");
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && picture.isValid()) {
        label->setPixmap(AssetPixmap(picture.toString()));
    }
}

} // namespace

void AcceptDigitsOnly(std::initializer_list<QLineEdit*> fields) {
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (QLineEdit* field : fields) {
        field->setValidator(new QRegularExpressionValidator(digits, field));
    }
}

void ApplyFormLook(QWidget* window) {
    ApplyLook(window);
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        ApplyLook(widget);
    }
}

void SetWindowButtons(QWidget* window, bool minimiseButton) {
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimiseButton) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    window->setWindowFlags(flags);
}

} // namespace kit
