#include "kit/ChartItems.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

namespace kit {

// ---------------------------------------------------------------------------
// TextCache

void TextCache::SetFont(const QFont& font) {
    font_ = font;
    known_.clear();
}

TextCache::Entry TextCache::Get(const QString& words) {
    auto found = known_.constFind(words);
    if (found != known_.constEnd()) {
        return *found;
    }
    if (known_.size() > 500) {
        known_.clear();
    }
    Entry entry;
    entry.text = QStaticText(words);
    entry.text.setTextFormat(Qt::PlainText);
    entry.text.setPerformanceHint(QStaticText::AggressiveCaching);
    entry.text.prepare(upward_ ? QTransform().rotate(-90.0) : QTransform(), font_);
    entry.width = QFontMetricsF(font_).horizontalAdvance(words);
    known_.insert(words, entry);
    return entry;
}

// ---------------------------------------------------------------------------
// ChartDecoration

ChartDecoration::ChartDecoration(QGraphicsItem* parent) : QGraphicsItem(parent) {
    setZValue(0.5); // over the chart's background, under the lines
}

void ChartDecoration::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(frame_, Qt::white);
    for (const QRect& line : grid_) {
        painter->fillRect(line, kGridColor);
    }
    for (const QRect& line : outline_) {
        painter->fillRect(line, kOutlineColor);
    }
    for (const Text& each : texts_) {
        painter->setFont(*each.font);
        painter->setPen(each.color);
        if (each.upward) {
            painter->save();
            painter->translate(each.at);
            painter->rotate(-90.0);
            painter->drawStaticText(QPointF(0, 0), each.text);
            painter->restore();
        } else {
            painter->drawStaticText(each.at, each.text);
        }
    }
}

void ChartDecoration::Set(const QRectF& bounds, const QRect& frame, QList<QRect> grid, QList<QRect> outline,
                          std::vector<Text> texts) {
    if (bounds != bounds_) {
        prepareGeometryChange();
        bounds_ = bounds;
    }
    frame_ = frame;
    grid_ = std::move(grid);
    outline_ = std::move(outline);
    texts_ = std::move(texts);
    update();
}

// ---------------------------------------------------------------------------
// ChartLegend

ChartLegend::ChartLegend(QGraphicsItem* parent) : QGraphicsItem(parent) {
    setZValue(11); // over the lines
}

void ChartLegend::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setFont(*font_);
    for (const Entry& entry : entries_) {
        painter->setPen(entry.pen);
        painter->drawLine(entry.sample);
        painter->setPen(entry.color);
        painter->drawStaticText(entry.at, entry.text);
    }
}

void ChartLegend::Set(const QRectF& bounds, const QFont* font, std::vector<Entry> entries) {
    if (bounds != bounds_) {
        prepareGeometryChange();
        bounds_ = bounds;
    }
    font_ = font;
    entries_ = std::move(entries);
    update();
}

} // namespace kit
