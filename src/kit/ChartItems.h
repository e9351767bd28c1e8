// The chart view's own drawing, beside the lines QtCharts draws: the ground,
// frame, grid, tick marks and texts in one item, the legend in another, and the
// texts they draw, laid out once per distinct text.
#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QHash>
#include <QLineF>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QStaticText>
#include <QString>

#include <vector>

namespace kit {

// Words in one font, laid out once: a label keeps its QStaticText and its
// width from one layout to the next, so a refill measures and shapes only the
// texts it has not shown before.
class TextCache {
public:
    struct Entry {
        QStaticText text;
        double width = 0.0;
    };

    // `upward`: the texts are drawn turned a quarter back, read from the bottom up.
    explicit TextCache(bool upward = false) : upward_(upward) {}

    void SetFont(const QFont& font);
    const QFont& Font() const { return font_; }
    Entry Get(const QString& words);

private:
    QFont font_;
    bool upward_;
    QHash<QString, Entry> known_;
};

// Everything of the chart but the lines and the legend, painted in one go: the
// plot's white ground and frame, the grid, the tick marks and all texts. Each
// text is a QStaticText, laid out once and then only copied on every repaint.
// The frame, grid and ticks are one-pixel rectangles on whole pixels, filled:
// drawn as lines, every tall one would be blended row by row and handed to
// Qt's raster threads and back, which cost more than the drawing itself.
class ChartDecoration : public QGraphicsItem {
public:
    struct Text {
        QStaticText text;
        QPointF at;        // top left of the text; with `upward`, its bottom left
        const QFont* font; // owned by the view's text caches
        QColor color;
        bool upward = false; // turned a quarter back, read from the bottom up
    };

    explicit ChartDecoration(QGraphicsItem* parent);

    QRectF boundingRect() const override { return bounds_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    // `grid` and `outline` (frame and tick marks) are one-pixel wide rectangles.
    void Set(const QRectF& bounds, const QRect& frame, QList<QRect> grid, QList<QRect> outline,
             std::vector<Text> texts);

private:
    static inline const QColor kGridColor{218, 218, 218};
    static inline const QColor kOutlineColor{96, 96, 96};

    QRectF bounds_;
    QRect frame_;
    QList<QRect> grid_;
    QList<QRect> outline_;
    std::vector<Text> texts_;
};

// The legend over the top of the plot, in plain text: a short line in each
// listed series' pen, then its legend text. QtCharts' own legend lays out its
// labels as rich text on every change and costs more than the lines it names.
class ChartLegend : public QGraphicsItem {
public:
    struct Entry {
        QLineF sample;
        QPen pen;
        QStaticText text;
        QPointF at; // top left of the text
        QColor color;
    };

    explicit ChartLegend(QGraphicsItem* parent);

    QRectF boundingRect() const override { return bounds_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    void Set(const QRectF& bounds, const QFont* font, std::vector<Entry> entries);

private:
    QRectF bounds_;
    const QFont* font_ = nullptr;
    std::vector<Entry> entries_;
};

} // namespace kit
