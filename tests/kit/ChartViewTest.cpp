#include "kit/ChartView.h"

#include <QChart>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using kit::ChartBatch;
using kit::ChartSeries;
using kit::ChartView;

class ChartViewTest : public testing::Test {
protected:
    void SetUp() override {
        view.resize(540, 300);
        for (const char* name : {"first", "second"}) {
            kit::SeriesSettings settings;
            settings.title = QString::fromLatin1(name);
            settings.legendText = settings.title;
            view.AddSeries(settings);
        }
        view.show();
        Settle();
    }

    // Lets queued flushes and the chart's layout run, as the event loop would.
    static void Settle() { QTest::qWait(20); }

    QLineSeries* Drawn(int index) { return static_cast<QLineSeries*>(view.chart()->series().at(index)); }
    // The legend texts as drawn, in order.
    QStringList Listed() const {
        QStringList texts;
        for (const kit::LegendEntry& entry : view.LegendEntries()) {
            texts << entry.text;
        }
        return texts;
    }

    ChartView view;
};

} // namespace

TEST_F(ChartViewTest, InactiveSeriesKeepsReceivingPointsAndShowsThemAllWhenActiveAgain) {
    kit::LegendSettings legend;
    legend.visible = true;
    view.SetLegend(legend);
    ChartSeries& hidden = view.GetSeries(0);
    ChartSeries& shown = view.GetSeries(1);
    shown.AddXY(10, 100);
    shown.AddXY(20, 200);
    hidden.SetActive(false);
    hidden.AddXY(3, 1000);
    hidden.AddXY(1, 2000);
    hidden.AddXY(2, 3000);
    view.Flush();

    EXPECT_FALSE(Drawn(0)->isVisible());
    EXPECT_EQ(Listed(), QStringList{"second"});
    EXPECT_EQ(hidden.Count(), 3);
    // The axes follow the shown series only.
    EXPECT_GE(view.AxisRange().left(), 10.0);
    EXPECT_LT(view.AxisRange().bottom(), 1000.0);

    hidden.SetActive(true);
    view.Flush();
    EXPECT_TRUE(Drawn(0)->isVisible());
    EXPECT_EQ(Listed(), (QStringList{"first", "second"}));
    EXPECT_EQ(Drawn(0)->points(), (QList<QPointF>{{1, 2000}, {2, 3000}, {3, 1000}}));
    const QRectF range = view.AxisRange();
    EXPECT_LE(range.left(), 1.0);
    EXPECT_GE(range.right(), 20.0);
    EXPECT_GE(range.bottom(), 3000.0);
}

TEST_F(ChartViewTest, PointsAddedWithDecreasingXAreDrawnAsOneLineFromSmallestX) {
    // As the left-hand side of a swath is filled, from nadir outwards; equal x
    // keep the order they came in.
    ChartSeries& series = view.GetSeries(0);
    for (const QPointF& p : {QPointF(0, 0), QPointF(-1, 1), QPointF(-2, 2), QPointF(-2, 5), QPointF(-3, 3)}) {
        series.AddXY(p.x(), p.y());
    }
    view.Flush();
    const QList<QPointF> expected = {{-3, 3}, {-2, 2}, {-2, 5}, {-1, 1}, {0, 0}};
    EXPECT_EQ(series.Points(), expected);
    EXPECT_EQ(Drawn(0)->points(), expected);

    // A later point in between still lands in its place, after its equals.
    series.AddXY(-1, 7);
    view.Flush();
    EXPECT_EQ(Drawn(0)->points(), (QList<QPointF>{{-3, 3}, {-2, 2}, {-2, 5}, {-1, 1}, {-1, 7}, {0, 0}}));
}

TEST_F(ChartViewTest, EmptyChartDrawsItsFrameTitleAndAxes) {
    kit::TitleSettings title;
    title.lines = {QStringLiteral("Empty")};
    title.color = QColor(255, 0, 0);
    title.font.setPixelSize(20);
    title.font.setBold(true);
    title.rotated = true;
    view.SetTitle(title);
    Settle();

    const QRectF range = view.AxisRange();
    EXPECT_TRUE(std::isfinite(range.left()) && std::isfinite(range.bottom()));
    EXPECT_GT(range.width(), 0.0);
    EXPECT_GT(range.height(), 0.0);

    const QImage image = view.grab().toImage();
    const QRectF plot = view.chart()->plotArea();
    ASSERT_GT(plot.width(), 100.0);
    int titlePixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < int(plot.left()); ++x) {
            const QColor c = image.pixelColor(x, y);
            titlePixels += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    }
    EXPECT_GT(titlePixels, 20) << "the rotated title left of the plot";
    // The frame around the plot: drawn along its right edge, white inside
    // but for the grid lines.
    const int midY = int(plot.top() + 0.43 * plot.height());
    int edge = 255;
    for (int x = int(plot.right()) - 2; x <= int(plot.right()) + 2; ++x) {
        edge = std::min(edge, image.pixelColor(x, midY).lightness());
    }
    EXPECT_LT(edge, 230);
    int white = 0;
    const QRect inside = plot.toRect().adjusted(3, 3, -3, -3);
    for (int x = inside.left(); x <= inside.right(); ++x) {
        white += image.pixelColor(x, midY) == QColor(Qt::white);
    }
    EXPECT_GT(white, inside.width() * 8 / 10);
}

TEST_F(ChartViewTest, RefillIsPushedOnceForTheWholeBatchOrEventLoopTurn) {
    QSignalSpy replaced(Drawn(0), &QXYSeries::pointsReplaced);
    QSignalSpy added(Drawn(0), &QXYSeries::pointAdded);
    {
        ChartBatch batch(&view);
        view.GetSeries(0).Clear();
        for (int i = 0; i < 1400; ++i) {
            view.GetSeries(0).AddXY(i, i % 7);
        }
        EXPECT_EQ(replaced.count(), 0);
    }
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(view.GetSeries(0).Count(), 1400);

    // Without a batch the points wait for the next turn of the event loop.
    view.GetSeries(0).Clear();
    view.GetSeries(0).AddXY(1, 1);
    view.GetSeries(0).AddXY(2, 2);
    EXPECT_EQ(replaced.count(), 1);
    Settle();
    EXPECT_EQ(replaced.count(), 2);
    EXPECT_EQ(Drawn(0)->points(), (QList<QPointF>{{1, 1}, {2, 2}}));
}

namespace {

double PixelDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// How far, in pixels of the plot, the farthest point of the series lies from
// the line as drawn.
double WorstMiss(ChartView& view, const QList<QPointF>& points, const QList<QPointF>& drawn) {
    const QRectF plot = view.chart()->plotArea();
    const QRectF range = view.AxisRange();
    const auto pixel = [&](QPointF p) {
        return QPointF(p.x() * plot.width() / range.width(), p.y() * plot.height() / range.height());
    };
    double worst = 0;
    for (const QPointF& p : points) {
        double nearest = std::numeric_limits<double>::infinity();
        for (qsizetype i = 1; i < drawn.size(); ++i) {
            nearest = std::min(nearest, PixelDistance(pixel(p), pixel(drawn[i - 1]), pixel(drawn[i])));
        }
        worst = std::max(worst, nearest);
    }
    return worst;
}

} // namespace

TEST_F(ChartViewTest, LinesAreDrawnWithTheirShapeButWithoutPointsThatAddNothing) {
    ChartSeries& straight = view.GetSeries(0);
    ChartSeries& wavy = view.GetSeries(1);
    for (int i = 0; i < 1200; ++i) {
        straight.AddXY(i, 0.05 * i + 20);
        wavy.AddXY(i, 30 + 10 * std::sin(i / 40.0));
    }
    view.Flush();
    Settle();
    EXPECT_EQ(Drawn(0)->points(), (QList<QPointF>{{0, 20}, {1199, 0.05 * 1199 + 20}}));
    EXPECT_LT(Drawn(1)->count(), 200);
    EXPECT_LT(WorstMiss(view, wavy.Points(), Drawn(1)->points()), 0.25);

    // Closer in, the line is drawn from more of its points and keeps its shape.
    const int before = Drawn(1)->count();
    view.ZoomTo(QRectF(QPointF(0, 20), QPointF(150, 40)));
    EXPECT_GT(Drawn(1)->count(), before);
    EXPECT_LT(WorstMiss(view, wavy.Points(), Drawn(1)->points()), 0.25);
}

TEST_F(ChartViewTest, LegendListsSeriesWithALegendTextInTheirColours) {
    kit::SeriesSettings unlisted;
    unlisted.title = QStringLiteral("no legend");
    view.AddSeries(unlisted);
    kit::LegendSettings legend;
    legend.visible = true;
    legend.textInSeriesColor = true;
    view.SetLegend(legend);
    view.GetSeries(1).SetColor(QColor(0, 128, 0));
    view.Flush();

    EXPECT_EQ(Listed(), (QStringList{"first", "second"})); // not the series without a legend text
    ASSERT_EQ(view.LegendEntries().size(), 2U);
    EXPECT_EQ(view.LegendEntries()[1].color, QColor(0, 128, 0));
    EXPECT_EQ(Drawn(1)->pen().color(), QColor(0, 128, 0));
    EXPECT_TRUE(view.LegendFont().bold());
    // Over the plot, not beside it: the legend takes no room from the plot.
    for (const kit::LegendEntry& entry : view.LegendEntries()) {
        EXPECT_TRUE(view.chart()->plotArea().contains(entry.place)) << entry.text.toStdString();
    }
    EXPECT_LT(view.LegendEntries()[0].place.right(), view.LegendEntries()[1].place.left());
}

TEST_F(ChartViewTest, LineStyleWidthAndHoverHighlight) {
    kit::SeriesSettings dotted;
    dotted.color = Qt::blue;
    dotted.width = 3;
    dotted.style = kit::LineStyle::Dotted;
    dotted.hoverHighlight = true;
    view.AddSeries(dotted);
    QLineSeries* line = Drawn(2);
    EXPECT_EQ(line->pen().style(), Qt::DotLine);
    EXPECT_EQ(line->pen().width(), 3);

    emit line->hovered(QPointF(), true);
    EXPECT_GT(line->pen().width(), 3);
    emit line->hovered(QPointF(), false);
    EXPECT_EQ(line->pen().width(), 3);

    // A series without the flag stays as it is.
    emit Drawn(0)->hovered(QPointF(), true);
    EXPECT_EQ(Drawn(0)->pen().width(), 2);
}

// ---------------------------------------------------------------------------
// Zoom by mouse

namespace {

class ChartZoomTest : public ChartViewTest {
protected:
    void SetUp() override {
        ChartViewTest::SetUp();
        for (int x = 0; x <= 100; ++x) {
            view.GetSeries(0).AddXY(x, x);
        }
        view.Flush();
        Settle();
        full = view.AxisRange();
    }

    QPoint InView(double fx, double fy) {
        const QRectF plot = view.chart()->plotArea();
        return view.mapFromScene(
            view.chart()->mapToScene(QPointF(plot.left() + fx * plot.width(), plot.top() + fy * plot.height())));
    }
    void MiddleDrag(QPoint from, QPoint to) {
        QTest::mousePress(view.viewport(), Qt::MiddleButton, {}, from);
        QTest::mouseMove(view.viewport(), (from + to) / 2);
        QTest::mouseMove(view.viewport(), to);
        QTest::mouseRelease(view.viewport(), Qt::MiddleButton, {}, to);
    }
    void Wheel(QPoint at, int delta) {
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
    }

    QRectF full;
};

} // namespace

TEST_F(ChartZoomTest, MiddleDragZoomsKeepingTheAspectRatioAndUndoGoesBackStepByStep) {
    // A flat, wide drag: the band is made as high as the plot's proportions ask.
    MiddleDrag(InView(0.25, 0.25), InView(0.5, 0.3));
    ASSERT_TRUE(view.IsZoomed());
    const QRectF first = view.AxisRange();
    EXPECT_NEAR(first.width() / full.width(), 0.25, 0.02);
    EXPECT_NEAR(first.height() / full.height(), first.width() / full.width(), 0.02);
    EXPECT_NEAR(first.left(), full.left() + 0.25 * full.width(), 0.02 * full.width());

    MiddleDrag(InView(0.5, 0.5), InView(0.0, 0.0)); // dragged up and left
    const QRectF second = view.AxisRange();
    EXPECT_NEAR(second.width() / first.width(), 0.5, 0.02);
    EXPECT_EQ(view.ZoomSteps(), 2);

    // While zoomed a refill does not move the axes.
    view.GetSeries(0).AddXY(500, 500);
    view.Flush();
    EXPECT_EQ(view.AxisRange(), second);

    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, InView(0.5, 0.5));
    EXPECT_EQ(view.AxisRange(), first);
    // A middle click without a drag undoes too; at the first step the axes
    // follow the points again, the one added while zoomed included.
    QTest::mouseClick(view.viewport(), Qt::MiddleButton, {}, InView(0.5, 0.5));
    EXPECT_FALSE(view.IsZoomed());
    EXPECT_GE(view.AxisRange().right(), 500.0);
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, InView(0.5, 0.5));
    EXPECT_FALSE(view.IsZoomed());
}

TEST_F(ChartZoomTest, WheelZoomsAboutThePointerAndNeverPans) {
    const QPoint at = InView(0.25, 0.75);
    const QPointF before(full.left() + 0.25 * full.width(), full.bottom() - 0.75 * full.height());
    Wheel(at, 120);
    Wheel(at, 120);
    const QRectF in = view.AxisRange();
    EXPECT_NEAR(in.width() / full.width(), 0.64, 1e-6);
    EXPECT_NEAR(in.height() / full.height(), 0.64, 1e-6);
    // The value under the pointer stays under the pointer.
    EXPECT_NEAR(in.left() + 0.25 * in.width(), before.x(), 0.005 * full.width());
    EXPECT_NEAR(in.bottom() - 0.75 * in.height(), before.y(), 0.005 * full.height());
    // One turn of the wheel is one undo step.
    EXPECT_EQ(view.ZoomSteps(), 1);

    Wheel(at, -240);
    EXPECT_NEAR(view.AxisRange().width(), full.width(), 1e-6 * full.width());
    // Sideways wheel movement neither pans nor zooms.
    QWheelEvent sideways(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(120, 0), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
    const QRectF still = view.AxisRange();
    QApplication::sendEvent(view.viewport(), &sideways);
    EXPECT_EQ(view.AxisRange(), still);

    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, at);
    EXPECT_EQ(view.AxisRange(), full);
}
