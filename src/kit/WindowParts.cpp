#include "kit/WindowParts.h"

#include "common/NumberFormat.h"
#include "kit/Assets.h"
#include "kit/ChartView.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStringList>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <vector>

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
        std::int32_t pixels = 0;
        if (common::TryParseInt(words[i].toStdString(), pixels) && pixels > 0) {
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

QPalette DesignPalette() {
    static const QPalette light = [] {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        return fusion != nullptr ? fusion->standardPalette() : QPalette(QColor(240, 240, 240));
    }();
    return light;
}

void ApplyFormLook(QWidget* window) {
    // The layouts fix their colours (navy text, cream panels, pale green
    // results), so they fix the grounds beneath them too: on a dark desktop
    // the window keeps the light grounds it was designed on, and every text
    // its contrast. Dialogs and menus of the desktop keep the desktop's look.
    window->setPalette(DesignPalette());
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

namespace {

// Scroll bars only while the window is smaller than its layout: at the design
// size the area would otherwise decide on bars while it is still being laid
// out, and keep them.
class ScrollBarsWhileSmaller : public QObject {
public:
    ScrollBarsWhileSmaller(QScrollArea* area, QSize design) : QObject(area), area_(area), design_(design) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            const QSize size = static_cast<QWidget*>(watched)->size();
            const bool smaller = size.width() < design_.width() || size.height() < design_.height();
            const Qt::ScrollBarPolicy bars = smaller ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
            area_->setHorizontalScrollBarPolicy(bars);
            area_->setVerticalScrollBarPolicy(bars);
        }
        return false;
    }

private:
    QScrollArea* area_;
    QSize design_;
};

} // namespace

// Small enough for any screen, large enough to show some of the tool.
constexpr QSize kSmallestScrolledWindow(320, 240);

void SetUpKeyboard(QWidget* window) {
    for (auto* memo : window->findChildren<QPlainTextEdit*>()) {
        memo->setTabChangesFocus(true);
    }
    for (auto* memo : window->findChildren<QTextEdit*>()) {
        memo->setTabChangesFocus(true);
    }
    std::vector<QWidget*> charts;
    QWidget* lastInput = nullptr;
    for (QWidget* widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain()) {
        if (!window->isAncestorOf(widget)) {
            continue;
        }
        if (qobject_cast<ChartView*>(widget) != nullptr) {
            charts.push_back(widget);
        } else if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->focusProxy() == nullptr) {
            lastInput = widget;
        }
    }
    for (QWidget* chart : charts) {
        chart->setFocusPolicy(Qt::StrongFocus);
        if (lastInput != nullptr) {
            QWidget::setTabOrder(lastInput, chart);
        }
        lastInput = chart;
    }
}

namespace {

// Moves the parts a form placed at fixed pixels onto `content`, each where it
// stood and as shown or hidden as it was.
void MoveFixedParts(QWidget* from, QWidget* content) {
    const QObjectList parts = from->children(); // a copy: each move takes a child out of the list
    for (QObject* child : parts) {
        auto* part = qobject_cast<QWidget*>(child);
        if (part == nullptr || part->isWindow()) {
            continue;
        }
        const bool shown = !part->isHidden();
        const QRect at = part->geometry();
        part->setParent(content);
        part->setGeometry(at);
        part->setVisible(shown);
    }
}

} // namespace

QWidget* ScrollWhenSmaller(QWidget* window, QSize smallest) {
    const QSize design = window->size();
    const QSize least = smallest.isValid() ? smallest.boundedTo(design) : design;
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("scrolledContent"));
    // Its design size is the least it is given, and all it asks for: a larger
    // hint would keep scroll bars where the window is just large enough.
    content->setMinimumSize(least);
    content->setPalette(window->palette());
    content->setAutoFillBackground(true);
    // A form whose panels are laid out keeps them laid out, inside the area.
    if (QLayout* laidOut = window->layout()) {
        auto* inside = new QVBoxLayout(content);
        inside->setContentsMargins(laidOut->contentsMargins());
        inside->setSpacing(laidOut->spacing());
        while (QLayoutItem* item = laidOut->takeAt(0)) {
            if (QWidget* part = item->widget()) {
                part->setMinimumSize(part->size().boundedTo(least));
                inside->addWidget(part);
            }
            delete item;
        }
        delete laidOut;
    }
    MoveFixedParts(window, content);
    auto* area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("scrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    // The window's first field, not the area, takes the focus when it opens.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    window->installEventFilter(new ScrollBarsWhileSmaller(area, least));
    // A layout fixed in pixels stays no larger than it was drawn, but may now
    // be made smaller than that.
    if (window->minimumSize() == window->maximumSize()) {
        window->setMinimumSize(design.boundedTo(kSmallestScrolledWindow));
    }
    window->resize(design);
    return content;
}

void ScrollPagesWhenSmaller(QTabWidget* tabs) {
    for (int index = 0; index < tabs->count(); ++index) {
        QWidget* page = tabs->widget(index);
        if (page->layout() != nullptr) {
            continue;
        }
        QRect fields;
        for (QObject* child : page->children()) {
            if (auto* part = qobject_cast<QWidget*>(child); part != nullptr && !part->isWindow()) {
                fields |= part->geometry();
            }
        }
        auto* content = new QWidget;
        content->setMinimumSize(fields.right() + 1 + fields.left(), fields.bottom() + 1 + fields.top());
        MoveFixedParts(page, content);
        auto* area = new QScrollArea(page);
        area->setFrameShape(QFrame::NoFrame);
        area->setFocusPolicy(Qt::NoFocus);
        area->setWidgetResizable(true);
        area->setWidget(content);
        area->viewport()->setAutoFillBackground(false);
        content->setAutoFillBackground(false);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(area);
    }
}

void PlaceOnScreen(QWidget* window, const QPoint& wanted, const QRect& available, const QSize& decoration) {
    if (available.isEmpty()) {
        window->move(wanted);
        return;
    }
    // The frame the desktop adds around the client area counts too. A window
    // not yet shown has none so far: it gets the one its neighbours have.
    QSize frame = window->frameGeometry().size() - window->size();
    if (frame.isEmpty()) {
        frame = decoration.expandedTo(QSize(0, 0));
    }
    const QSize room = available.size() - frame;
    if (window->width() > room.width() || window->height() > room.height()) {
        window->resize(window->size().boundedTo(room));
    }
    const QSize outer = window->size() + frame;
    const int x =
        std::clamp(wanted.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width()));
    const int y =
        std::clamp(wanted.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height()));
    window->move(x, y);
}

} // namespace kit
