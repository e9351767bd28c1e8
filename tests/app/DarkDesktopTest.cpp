// The suite on a dark desktop: every text of every window keeps a contrast of
// at least 4.5 : 1 against what lies behind it, as it has on a light one. The
// colours are read from the palettes the widgets draw with (no window uses a
// style sheet), so the check sees what the style paints.
#include "app/ToolWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>

namespace dark_desktop_test {

namespace {

double Luminance(const QColor& color) {
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The ground a transparent widget is drawn on: the nearest ancestor that fills
// its own background, the window at the latest.
QColor GroundOf(const QWidget* widget) {
    for (const QWidget* under = widget->parentWidget(); under != nullptr; under = under->parentWidget()) {
        if (under->autoFillBackground() || under->isWindow()) {
            return under->palette().color(under->backgroundRole());
        }
    }
    return widget->palette().color(QPalette::Window);
}

struct Pair {
    QColor text;
    QColor ground;
};

// The text and ground colours of a widget that shows text; false for one that
// does not (a picture, an empty label).
bool TextAndGround(const QWidget* widget, Pair& pair) {
    const QPalette& palette = widget->palette();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().trimmed().isEmpty()) {
            return false;
        }
        pair = {palette.color(label->foregroundRole()),
                label->autoFillBackground() ? palette.color(label->backgroundRole()) : GroundOf(label)};
        return true;
    }
    if (qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QListWidget*>(widget) != nullptr ||
        qobject_cast<const QPlainTextEdit*>(widget) != nullptr) {
        pair = {palette.color(QPalette::Text), palette.color(QPalette::Base)};
        return true;
    }
    if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
        pair = list->isEditable() ? Pair{palette.color(QPalette::Text), palette.color(QPalette::Base)}
                                  : Pair{palette.color(QPalette::ButtonText), palette.color(QPalette::Button)};
        return true;
    }
    if (qobject_cast<const QPushButton*>(widget) != nullptr) {
        pair = {palette.color(QPalette::ButtonText), palette.color(QPalette::Button)};
        return true;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) { // check boxes, radio buttons
        if (button->text().trimmed().isEmpty()) {
            return false;
        }
        pair = {palette.color(QPalette::WindowText), GroundOf(button)};
        return true;
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget); group != nullptr && !group->title().isEmpty()) {
        pair = {palette.color(QPalette::WindowText), GroundOf(group)};
        return true;
    }
    return false;
}

QPalette DarkDesktop() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(238, 238, 236));
    dark.setColor(QPalette::Base, QColor(36, 36, 36));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::Text, QColor(238, 238, 236));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(238, 238, 236));
    dark.setColor(QPalette::ToolTipBase, QColor(30, 30, 30));
    dark.setColor(QPalette::ToolTipText, QColor(238, 238, 236));
    return dark;
}

using Contrasts = std::map<QString, double>; // by "window/control"

// The contrast of every text of every tool window on a desktop of that palette.
// With TORMALIND_SHOT_DIR set, each window's picture is left there too.
Contrasts Measure(const QPalette& desktop, const QString& shots) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(desktop);
    Contrasts contrasts;
    std::set<QString> seen;
    for (const app::ToolEntry& tool : app::ToolTable()) {
        const QString className = QString::fromLatin1(tool.className);
        if (!seen.insert(className).second) {
            continue;
        }
        std::unique_ptr<QWidget> window(app::CreateToolWindow(className).window);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            Pair pair;
            if (widget->isVisible() && widget->isEnabled() && !widget->objectName().isEmpty() &&
                TextAndGround(widget, pair)) {
                contrasts[className + QLatin1Char('/') + widget->objectName()] = Contrast(pair.text, pair.ground);
            }
        }
        const QString dir = qEnvironmentVariable("TORMALIND_SHOT_DIR");
        if (!dir.isEmpty()) {
            window->grab().save(QStringLiteral("%1/%2-%3.png").arg(dir, shots, className));
        }
    }
    QApplication::setPalette(before);
    return contrasts;
}

// At least 4.5 : 1, or, where the design's own colours give less on its light
// ground (a survey order's red or olive beside its curve), no less than that.
TEST(DarkDesktop, EveryTextOfEveryWindowIsAsReadableAsOnALightDesktop) {
    const Contrasts light = Measure(QApplication::style()->standardPalette(), QStringLiteral("light"));
    const Contrasts dark = Measure(DarkDesktop(), QStringLiteral("dark"));
    ASSERT_GT(dark.size(), 100u);
    for (const auto& [control, contrast] : dark) {
        const auto onLight = light.find(control);
        const double wanted = std::min(4.5, onLight != light.end() ? onLight->second : 4.5);
        EXPECT_GE(contrast + 1e-9, wanted) << control.toStdString();
    }
}

} // namespace

} // namespace dark_desktop_test
