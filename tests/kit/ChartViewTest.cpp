#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "support/MessageLog.h"

#include <QChart>
#include <QClipboard>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace chart_view_test {

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

// ---------------------------------------------------------------------------
// Copy the data, save the picture

namespace {

// A window as the tools build theirs: a field first, the chart below it.
class ChartOutputTest : public testing::Test {
protected:
    ChartOutputTest() : field(new QLineEdit(&window)), view(*new ChartView(&window)) {}

    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(&view);
        for (const char* name : {"first", "second"}) {
            kit::SeriesSettings settings;
            settings.title = QString::fromLatin1(name);
            view.AddSeries(settings);
        }
        previousPresenter = kit::SetFileDialogPresenter([this](const kit::FileDialogRequest& request) {
            asked.push_back(request);
            return answer;
        });
        MessageLog::Take();
        window.resize(560, 340);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseMove(field); // the pointer rests on the field, away from the chart
    }
    void TearDown() override { kit::SetFileDialogPresenter(std::move(previousPresenter)); }

    QAction* MenuItem(const QString& text) {
        for (QAction* action : view.CornerButton()->findChild<QMenu*>()->actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        ADD_FAILURE() << "no menu item " << text.toStdString();
        return nullptr;
    }
    void Hover(bool over) {
        if (over) {
            QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), view.mapToGlobal(QPointF(10, 10)));
            QApplication::sendEvent(&view, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&view, &leave);
        }
    }

    // Grabs and pictures in one format, so that only their pixels compare.
    static QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

    QWidget window;
    QLineEdit* field;
    ChartView& view;
    kit::FileDialogPresenter previousPresenter;
    std::vector<kit::FileDialogRequest> asked;
    QString answer;
};

} // namespace

TEST_F(ChartOutputTest, CtrlCOnAClickedChartCopiesEveryPointOfTheShownSeries) {
    view.SetAxisTitles(QStringLiteral("Depth [m]"), QStringLiteral("TVU [m]"));
    kit::SeriesSettings hidden;
    hidden.title = QStringLiteral("hidden");
    view.AddSeries(hidden).AddXY(0, 99);
    view.GetSeries(2).SetActive(false);
    // A straight line is drawn from its two ends; the copy has all of it.
    for (int i = 0; i <= 600; ++i) {
        view.GetSeries(0).AddXY(i, 0.5 * i);
        view.GetSeries(1).AddXY(i, 0.25 * i + 1);
    }
    view.Flush();
    ASSERT_EQ(static_cast<QLineSeries*>(view.chart()->series().at(0))->count(), 2);

    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_TRUE(view.hasFocus());
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);

    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 603) << "heading, 601 rows and the empty rest after the last line end";
    EXPECT_EQ(lines[0], QStringLiteral("Depth [m]\tfirst\tsecond"));
    EXPECT_EQ(lines[1], QStringLiteral("0\t0\t1"));
    EXPECT_EQ(lines[302], QStringLiteral("301\t150.5\t76.25"));
    EXPECT_EQ(lines[601], QStringLiteral("600\t300\t151"));
    EXPECT_TRUE(lines[602].isEmpty());
    EXPECT_FALSE(QGuiApplication::clipboard()->text().contains(QStringLiteral("hidden")));

    // The menu's item copies the same.
    QGuiApplication::clipboard()->clear();
    MenuItem(QStringLiteral("Copy data"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().split(QLatin1Char('\n')), lines);
}

// The copy is headed as a reader of the chart knows its lines: by the legend
// (without the blanks that only space it), by the window's name for a series
// the legend leaves out, under the copy's x title where the chart draws none.
// A marker line (the current depth) is no data and stays out; a series drawn
// one step off its own x is copied at its own x, and drawn where it was.
TEST_F(ChartOutputTest, TheCopyIsHeadedByTheLegendAndLeavesMarkersOut) {
    view.SetAxisTitles(QStringLiteral("Depth (m)"), QString());
    kit::SeriesSettings listed;
    listed.title = QStringLiteral("Series1");
    listed.legendText = QStringLiteral("Dual Head ");
    view.AddSeries(listed);
    kit::SeriesSettings marker;
    marker.title = QStringLiteral("Depth");
    marker.marker = true;
    view.AddSeries(marker);
    for (int s = 0; s < 2; ++s) {
        view.GetSeries(s).SetActive(false);
    }
    view.GetSeries(2).AddXY(10, 35);
    view.GetSeries(2).AddXY(20, 70);
    view.GetSeries(3).AddXY(15, 0);
    view.GetSeries(3).AddXY(15, 70);
    EXPECT_EQ(view.DataTable(), QStringLiteral("Depth (m)\tDual Head\n10\t35\n20\t70\n"));

    view.SetCopyXTitle(QStringLiteral("Beam angle (\u00B0)"));
    kit::SeriesSettings shifted;
    shifted.title = QStringLiteral("TVU - Left");
    shifted.copyXShift = 1.0;
    view.AddSeries(shifted).AddXY(-3, 0.5);
    view.Flush();
    EXPECT_EQ(view.DataTable(), QStringLiteral("Dual Head: Beam angle (\u00B0)\tDual Head\t"
                                               "TVU - Left: Beam angle (\u00B0)\tTVU - Left\n"
                                               "10\t35\t-2\t0.5\n20\t70\t\t\n"));
    EXPECT_EQ(static_cast<QLineSeries*>(view.chart()->series().at(4))->points(), QList<QPointF>{QPointF(-3, 0.5)});
    EXPECT_EQ(view.GetSeries(4).Points(), QList<QPointF>{QPointF(-3, 0.5)});
}

TEST_F(ChartOutputTest, SavePictureWritesAPngOfTheChartAsShown) {
    view.GetSeries(0).AddXY(0, 0);
    view.GetSeries(0).AddXY(10, 5);
    view.Flush();
    QTemporaryDir folder;
    answer = folder.filePath(QStringLiteral("swath.png"));
    MenuItem(QStringLiteral("Save picture\u2026"))->trigger();

    ASSERT_EQ(asked.size(), 1U);
    EXPECT_EQ(asked[0].kind, kit::FileDialogKind::Save);
    EXPECT_EQ(asked[0].filter, QStringLiteral("PNG picture (*.png)"));
    EXPECT_EQ(asked[0].defaultSuffix, QStringLiteral("png"));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    QImage saved;
    ASSERT_TRUE(saved.load(answer, "PNG"));
    EXPECT_EQ(saved.size(), view.size());
    EXPECT_EQ(Rgb(saved), Rgb(view.grab().toImage()));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"swath.png"}) << "no working file left behind";

    // A cancelled dialog writes nothing and says nothing.
    answer.clear();
    MenuItem(QStringLiteral("Save picture\u2026"))->trigger();
    EXPECT_EQ(asked.size(), 2U);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(ChartOutputTest, SaveWhereNoFileCanBeMadeShowsOneErrorAndLeavesNothing) {
    QTemporaryDir folder;
    QFile blocker(folder.filePath(QStringLiteral("plans")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case {
        const char* reason;
        QString path;
    };
    const std::vector<Case> cases = {
        {"a folder that is not there", folder.filePath(QStringLiteral("missing/chart.png"))},
        {"a file where the folder should be", folder.filePath(QStringLiteral("plans/chart.png"))},
    };
    for (const Case& c : cases) {
        answer = c.path;
        view.SavePicture();
        const QStringList shown = MessageLog::Take();
        ASSERT_EQ(shown.size(), 1) << c.reason;
        EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: Cannot create file \"%1\". ").arg(c.path)))
            << c.reason << ": " << shown[0].toStdString();
        EXPECT_GT(shown[0].size(), QStringLiteral("error: Cannot create file \"%1\". ").arg(c.path).size() + 2)
            << c.reason << ": the system's reason follows";
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"plans"})
            << c.reason;
    }
}

TEST_F(ChartOutputTest, CornerButtonShowsWithPointerOrFocusOnlyAndNeverInAPicture) {
    view.GetSeries(0).AddXY(0, 0);
    view.GetSeries(0).AddXY(10, 5);
    view.Flush();
    QToolButton* button = view.CornerButton();
    EXPECT_TRUE(button->isHidden()) << "pointer away, no focus";
    const QImage plain = Rgb(view.grab().toImage());

    Hover(true);
    EXPECT_FALSE(button->isHidden());
    Hover(false);
    EXPECT_TRUE(button->isHidden());

    view.setFocus();
    ASSERT_FALSE(button->isHidden());
    EXPECT_NE(Rgb(view.grab().toImage()), plain) << "the shown button is drawn on screen";
    EXPECT_EQ(Rgb(view.Picture()), plain) << "but not in the chart's picture";
    EXPECT_TRUE(view.rect().contains(button->geometry()));
    EXPECT_EQ(button->geometry().right(), view.width() - 3) << "in the top-right corner";
    view.clearFocus();
    EXPECT_TRUE(button->isHidden());
    EXPECT_EQ(Rgb(view.grab().toImage()), plain) << "nothing is left of it in a grab";
}

TEST_F(ChartOutputTest, AWindowOpeningGivesItsFirstFieldTheFocusAndTabPassesTheChartBy) {
    EXPECT_TRUE(field->hasFocus());
    EXPECT_TRUE(view.CornerButton()->isHidden());

    // A click on the chart takes the focus from the field, which sees it go as
    // a window's computation on leaving a field expects.
    QTest::keyClicks(field, QStringLiteral("12.5"));
    QSignalSpy finished(field, &QLineEdit::editingFinished);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(view.hasFocus());
    EXPECT_EQ(finished.count(), 1);

    field->setFocus();
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(view.hasFocus());
}

} // namespace chart_view_test
