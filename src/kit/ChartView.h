// The line chart every tool draws its curves in: the graph overview of the
// survey orders, the coverage calculator's swath graph and the TPU charts (whose
// report grabs the widget as drawn).
//
// A window builds the chart once (titles, legend, axis titles, its series with
// colour, width and line style) and afterwards only calls GetSeries, Clear,
// AddXY, SetActive and SetColor. The points live here, in the series model, kept
// in ascending x; the drawn QLineSeries are refilled from the model with one
// replace() per changed series, once per event-loop turn or at the end of a
// ChartBatch, so refilling 1,400 points costs one repaint and not 1,400. What is
// drawn leaves out the points that lie within a fifth of a pixel of the line
// through their neighbours, and is thinned again when the user zooms in. The
// axes follow the points of the shown series unless the user has zoomed.
//
// QtCharts draws the lines. The plot area, frame, grid, tick labels, titles and
// the legend are laid out in ChartLayout and painted by two items of our own
// (ChartItems), in plain
// text laid out once per distinct text: the chart's own axes and legend set
// every label as rich text on each change, and the axes moved the plot
// whenever a label changed width, which made each refill slow and the plot
// jitter.
//
// Zoom (ChartZoom): drag a rectangle with the middle mouse button (it keeps the
// plot's aspect ratio); a right click, or a middle click without dragging,
// undoes the last zoom step; the wheel zooms in and out about the pointer and
// never pans.
//
// The numbers and the picture go out through a small button in the top-right
// corner, with a menu: "Copy data" puts the shown series on the clipboard as a
// table for a spreadsheet (ChartTable), "Save picture…" writes the chart as
// shown into a PNG file for a report. Ctrl+C copies too while the chart has
// the focus, which a click gives it, and the menu key or Shift+F10 opens the
// menu. The button shows only while the pointer is over the chart or the chart
// has the focus, so the pictures the suite grabs of its charts (the TPU report,
// the driver's screenshots) never show it.
#pragma once

#include <QChartView>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QStringList>

#include <memory>
#include <vector>

class QImage;
class QLineSeries;
class QToolButton;
class QValueAxis;

namespace kit {

class ChartView;
class ChartDecoration;
class ChartLegend;
class ChartMenu;
class ChartZoom;
class TextCache;
enum class ChartText;

enum class LineStyle { Solid, Dotted, Dashed };

struct SeriesSettings {
    QString title;
    QString legendText; // empty: the series is not listed in the legend
    QColor color = Qt::black;
    int width = 2;
    LineStyle style = LineStyle::Solid;
    bool hoverHighlight = false; // drawn wider while the pointer is over its line
    // A line that marks a place on the chart (the current depth, a cursor)
    // rather than carrying numbers: drawn like any series, never copied.
    bool marker = false;
    // Added to every x in the copied table, never to the drawn line: for a
    // series drawn one step away from the x its values belong to.
    double copyXShift = 0.0;
};

struct TitleSettings {
    QStringList lines;
    Qt::Alignment alignment = Qt::AlignHCenter; // AlignLeft, AlignHCenter or AlignRight
    QFont font;
    QColor color = Qt::black;
    bool rotated = false; // reads upward along the left edge; "left" is then the bottom
    QPointF offset;       // nudges the title from the place the alignment gives
};

struct LegendSettings {
    bool visible = false;
    QFont font;                     // drawn bold
    bool textInSeriesColor = false; // each legend text in the colour of its line
    QPointF offset;                 // from the top-left corner of the plot
};

// One line of the legend as drawn, in the chart's coordinates.
struct LegendEntry {
    QString text;
    QColor color;
    QRectF place;
};

// One line of a chart. The points stay in ascending x; points with equal x keep
// the order they were added in.
class ChartSeries {
public:
    void Clear();
    void AddXY(double x, double y);
    void SetActive(bool active);
    void SetColor(const QColor& color);

    bool IsActive() const { return active_; }
    QColor Color() const { return color_; }
    const QString& Title() const { return settings_.title; }
    const QString& LegendText() const { return settings_.legendText; }
    bool IsMarker() const { return settings_.marker; }
    int Count() const { return static_cast<int>(points_.size()); }
    const QList<QPointF>& Points() const;

private:
    friend class ChartView;
    ChartSeries(ChartView* view, const SeriesSettings& settings, QLineSeries* line);
    // What the copied table heads its column with: the legend's text, or the
    // title where the series is not listed in the legend.
    QString CopyName() const;

    ChartView* view_;
    SeriesSettings settings_;
    QLineSeries* line_;
    QColor color_;
    bool active_ = true;
    bool hovered_ = false;
    bool pointsChanged_ = false;
    QSizeF drawnScale_;          // pixels per unit the drawn line was thinned for
    mutable bool sorted_ = true; // false once a point came in below the last x
    mutable QList<QPointF> points_;
};

class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
    ~ChartView() override;

    // Set-up, once, while the window is built.
    void SetTitle(const TitleSettings& title);
    void SetLegend(const LegendSettings& legend);
    void SetAxisTitles(const QString& bottom, const QString& left, const QFont& font = QFont());
    void SetAxisFont(const QFont& font);
    void SetBackground(const QColor& color);
    // The copied table's heading of the x column, quantity and unit, for a
    // chart whose bottom axis has no title drawn; it takes the place of the
    // axis title in the copy only.
    void SetCopyXTitle(const QString& title);
    ChartSeries& AddSeries(const SeriesSettings& settings);

    // The run-time operations the windows use.
    ChartSeries& GetSeries(int index);
    const ChartSeries& GetSeries(int index) const;
    int SeriesCount() const { return static_cast<int>(series_.size()); }

    // Pushes pending changes to the drawing now instead of on the next
    // event-loop turn, e.g. before grabbing the widget as a picture.
    void Flush();

    // Zoom history, as the mouse gestures drive it.
    bool IsZoomed() const;
    int ZoomSteps() const;
    void ZoomTo(const QRectF& valueRect);
    void UndoZoom();
    void ResetZoom();

    // The ranges the axes show now, as (x min, y min) to (x max, y max).
    QRectF AxisRange() const;
    // The range that shows every point of the shown series, with room for
    // the legend above the highest; the axes follow it until a zoom.
    QRectF AutoRange() const;
    // Shows `range` on the axes at once, outside the zoom's history (the zoom
    // keeps its own).
    void ShowRange(const QRectF& range);

    // The plot area in the view's pixels (the chart fills the view from its
    // top-left corner), and the value (x, y as the axes read) under a pixel.
    QRectF PlotArea() const { return plot_; }
    QPointF ToValue(const QPointF& viewPoint) const;

    // The legend as drawn: the listed, shown series in order, and its font.
    const std::vector<LegendEntry>& LegendEntries() const { return legendEntries_; }
    QFont LegendFont() const;

    // The shown data series with all their points, not only the drawn ones,
    // as a tab-separated table (ChartTableText) under the copy's x title or
    // else the bottom axis title; marker lines are left out.
    QString DataTable() const;
    // Puts DataTable on the clipboard.
    void CopyData();
    // The chart as it is shown, zoom included, without the corner button.
    QImage Picture();
    // Asks for a PNG file name and writes Picture there whole or not at all;
    // a failure shows the error box with the file and the system's reason.
    void SavePicture();

    // The button in the top-right corner that opens the copy and save menu.
    QToolButton* CornerButton() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class ChartSeries;
    friend class ChartBatch;

    enum class Change { Points, Shown, Look };
    void SeriesChanged(ChartSeries* series, Change change);
    void ScheduleFlush();
    void ApplyAxisRange(const QRectF& range, bool force = false);
    void LayOut();
    void PlaceLegend();
    TextCache& TextsFor(ChartText role) const;
    QSizeF PixelScale() const;

    std::vector<std::unique_ptr<ChartSeries>> series_;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    std::unique_ptr<TextCache> labelTexts_;     // tick labels
    std::unique_ptr<TextCache> axisTitleTexts_; // the bottom axis title
    std::unique_ptr<TextCache> axisTitleUp_;    // the left axis title, reading upward
    std::unique_ptr<TextCache> titleTexts_;
    std::unique_ptr<TextCache> legendTexts_;
    QString xTitle_;
    QString yTitle_;
    QString copyXTitle_;
    TitleSettings title_;
    ChartDecoration* decoration_ = nullptr; // owned by the chart
    ChartLegend* legendItem_ = nullptr;     // owned by the chart
    LegendSettings legend_;
    std::vector<LegendEntry> legendEntries_;
    QRectF legendPlace_;        // the plot the legend was last laid out in
    double legendHeight_ = 0.0; // how far the legend reaches down into the plot

    int batchDepth_ = 0;
    bool flushScheduled_ = false;
    bool axesStale_ = true;
    bool legendStale_ = true;
    QRectF shownRange_;
    QRectF plot_; // the plot area, in chart coordinates

    std::unique_ptr<ChartZoom> zoom_;
    ChartMenu* menu_ = nullptr; // owned by the view
};

// Holds back the drawing of a chart while a whole refresh is written; the last
// batch on it to end sets the axes once and pushes the points, one replace()
// per series.
class ChartBatch {
public:
    explicit ChartBatch(ChartView* chart);
    ~ChartBatch();
    ChartBatch(const ChartBatch&) = delete;
    ChartBatch& operator=(const ChartBatch&) = delete;

private:
    ChartView* chart_;
};

} // namespace kit
