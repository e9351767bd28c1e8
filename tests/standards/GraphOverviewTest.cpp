#include "standards/GraphOverview.h"
#include "kit/ChartView.h"
#include "standards/TIHOForm.h"
#include "support/Controls.h"

#include <QChart>
#include <QLabel>
#include <QLineSeries>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace graph_overview_test {

namespace {

class GraphOverviewTest : public testing::Test {
protected:
    void SetUp() override { form.show(); }

    void ChooseGraphOverview() { ui.Choose(QStringLiteral("cbo_Order"), QStringLiteral("Graph Overview")); }
    GraphOverview& Page() const { return *ui.Get<GraphOverview>(QStringLiteral("pnl_GraphOverview")); }
    kit::ChartView* Vertical() const { return ui.Get<kit::ChartView>(QStringLiteral("cht_Vertical")); }
    kit::ChartView* Horizontal() const { return ui.Get<kit::ChartView>(QStringLiteral("cht_Horizontal")); }
    QScrollBar* VerticalBar() const { return ui.Get<QScrollBar>(QStringLiteral("scb_Vertical")); }
    QScrollBar* HorizontalBar() const { return ui.Get<QScrollBar>(QStringLiteral("scb_Horizontal")); }
    QString GraphDepth() const { return ui.Text(QStringLiteral("lbl_GraphDepth")); }
    // The value label of a table row (0 to 6) in the TVU or THU column.
    QLabel* TvuLabel(int row) const { return ui.Get<QLabel>(QStringLiteral("lbl_TVU%1").arg(row + 1)); }
    QLabel* ThuLabel(int row) const { return ui.Get<QLabel>(QStringLiteral("lbl_THU%1").arg(row + 1)); }
    QStringList Column(const char* column) const {
        QStringList texts;
        for (int row = 1; row <= 7; ++row) {
            texts << ui.Text(QStringLiteral("lbl_%1%2").arg(QLatin1String(column)).arg(row));
        }
        return texts;
    }
    QStringList Tvu() const { return Column("TVU"); }
    QStringList Thu() const { return Column("THU"); }
    // How many points each of the seven curves of a chart holds.
    static QList<int> Counts(const kit::ChartView* chart) {
        QList<int> counts;
        for (int i = 0; i < chart->SeriesCount(); ++i) {
            counts << chart->GetSeries(i).Count();
        }
        return counts;
    }
    static QList<int> All(int count) { return QList<int>(7, count); }

    TIHOForm form;
    support::Controls ui{&form};
};

} // namespace

TEST_F(GraphOverviewTest, ShowsPlaceholdersAndEmptyChartsUntilTheFirstRefresh) {
    EXPECT_EQ(GraphDepth(), "xx metres");
    EXPECT_EQ(Tvu(), QStringList(7, "xx "));
    EXPECT_EQ(Thu(), (QStringList{"xx ", "xx ", "xx", "xx ", "xx ", "xx ", "xx "}));
    EXPECT_EQ(Counts(Vertical()), All(0));
    EXPECT_EQ(Counts(Horizontal()), All(0));
    EXPECT_EQ(VerticalBar()->value(), 10);
    EXPECT_EQ(HorizontalBar()->value(), 10);

    // Opening the tab directly does not refresh anything.
    ui.Choose(QStringLiteral("pgc_Orders"), QStringLiteral("Graph Overview"));
    EXPECT_EQ(ui.Get<QTabWidget>("pgc_Orders")->currentIndex(), TIHOForm::kGraphOverviewRow);
    EXPECT_EQ(GraphDepth(), "xx metres");
}

TEST_F(GraphOverviewTest, TableAndChartsAtTheGraphDepth) {
    struct Case {
        int depth;
        QStringList tvu;
        QStringList thu;
    };
    const Case cases[] = {
        {10,
         {"0.26", "0.52", "1.03", "0.16", "0.13", "0.17", "0.15"},
         {"2.00", "5.50", "21.00", "2.00", "0.40", "0.40", "0.70"}},
        {1,
         {"0.25", "0.50", "1.00", "0.15", "0.10", "0.15", "0.15"},
         {"2.00", "5.05", "20.10", "2.00", "0.40", "0.40", "0.52"}},
        {200,
         {"1.52", "2.65", "4.71", "0.81", "1.50", "1.51", "0.25"},
         {"2.00", "15.00", "40.00", "2.00", "0.40", "0.40", "4.50"}},
    };
    ChooseGraphOverview(); // the reset lands on 10
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        ui.Scroll(QStringLiteral("scb_Vertical"), c.depth);
        EXPECT_EQ(GraphDepth(), QString::number(c.depth) + " metres");
        EXPECT_EQ(Tvu(), c.tvu);
        EXPECT_EQ(Thu(), c.thu);
        EXPECT_EQ(Counts(Vertical()), All(c.depth));
        EXPECT_EQ(Counts(Horizontal()), All(c.depth));
        // The last point of each curve is the value in the table.
        for (int curve = 0; curve < 7; ++curve) {
            const QPointF last = Horizontal()->GetSeries(curve).Points().constLast();
            EXPECT_EQ(last.x(), c.depth);
            EXPECT_EQ(QString::number(last.y(), 'f', 2), c.thu[curve].trimmed());
        }
    }
}

TEST_F(GraphOverviewTest, EitherScrollBarMovesTheOtherAndTheOtherChartIsRedrawnFirst) {
    ChooseGraphOverview();
    // Which chart was pushed to the drawing in which order.
    QStringList drawn;
    QLineSeries* vertical = static_cast<QLineSeries*>(Vertical()->chart()->series().at(0));
    QLineSeries* horizontal = static_cast<QLineSeries*>(Horizontal()->chart()->series().at(0));
    QObject::connect(vertical, &QXYSeries::pointsReplaced, vertical, [&] { drawn << "V"; });
    QObject::connect(horizontal, &QXYSeries::pointsReplaced, horizontal, [&] { drawn << "H"; });

    ui.Scroll(QStringLiteral("scb_Horizontal"), 50);
    EXPECT_EQ(VerticalBar()->value(), 50);
    EXPECT_EQ(GraphDepth(), "50 metres");
    EXPECT_EQ(TvuLabel(0)->text(), "0.45");
    EXPECT_EQ(ThuLabel(1)->text(), "7.50");
    EXPECT_EQ(Counts(Vertical()), All(50));
    EXPECT_EQ(drawn, (QStringList{"V", "H"}));

    drawn.clear();
    ui.Scroll(QStringLiteral("scb_Vertical"), 120);
    EXPECT_EQ(HorizontalBar()->value(), 120);
    EXPECT_EQ(ThuLabel(1)->text(), "11.00");
    EXPECT_EQ(Counts(Horizontal()), All(120));
    EXPECT_EQ(drawn, (QStringList{"H", "V"}));
}

TEST_F(GraphOverviewTest, ChoosingGraphOverviewRedrawsAtTenEvenWhenAlreadyThere) {
    ChooseGraphOverview();
    Vertical()->GetSeries(0).Clear();
    Horizontal()->GetSeries(6).Clear();
    TvuLabel(0)->setText("stale");
    ChooseGraphOverview();
    EXPECT_EQ(Counts(Vertical()), All(10));
    EXPECT_EQ(Counts(Horizontal()), All(10));
    EXPECT_EQ(TvuLabel(0)->text(), "0.26");

    ui.Scroll(QStringLiteral("scb_Horizontal"), 77);
    ui.Choose(QStringLiteral("cbo_Order"), QStringLiteral("IHO Order 2"));
    EXPECT_EQ(VerticalBar()->value(), 77) << "other pages leave the graph depth alone";
    ChooseGraphOverview();
    EXPECT_EQ(VerticalBar()->value(), 10);
    EXPECT_EQ(HorizontalBar()->value(), 10);
    EXPECT_EQ(GraphDepth(), "10 metres");
    EXPECT_EQ(ui.Get<QTabWidget>("pgc_Orders")->currentIndex(), TIHOForm::kGraphOverviewRow);
}

TEST_F(GraphOverviewTest, OrstedTvuStepsAndThuRisesTwoCentimetresPerMetre) {
    ChooseGraphOverview();
    ui.Scroll(QStringLiteral("scb_Vertical"), 60);
    const QList<QPointF> tvu = Vertical()->GetSeries(6).Points();
    const QList<QPointF> thu = Horizontal()->GetSeries(6).Points();
    ASSERT_EQ(tvu.size(), 60);
    for (const auto& [depth, expected] :
         {std::pair{1, 0.15}, {20, 0.15}, {21, 0.20}, {40, 0.20}, {41, 0.25}, {60, 0.25}}) {
        EXPECT_DOUBLE_EQ(tvu[depth - 1].y(), expected) << depth;
    }
    for (int i = 1; i < thu.size(); ++i) {
        EXPECT_NEAR(thu[i].y() - thu[i - 1].y(), 0.02, 1e-12);
    }
}

TEST_F(GraphOverviewTest, CurvesCarryTheirLegendTextsColoursAndTheDottedFsisThu) {
    const QStringList legends = {"IHO Special", "IHO 1", "IHO 2", "FSIS Exclusive", "NL-A", "NL-B", "Orsted"};
    const QList<QColor> colours = {QColor(255, 0, 0),     QColor(0, 0, 255),   QColor(0, 128, 0), QColor(64, 0, 64),
                                   QColor(255, 128, 192), QColor(128, 128, 0), QColor(0, 0, 128)};
    for (kit::ChartView* chart : {Vertical(), Horizontal()}) {
        for (int i = 0; i < 7; ++i) {
            auto* line = static_cast<QLineSeries*>(chart->chart()->series().at(i));
            EXPECT_EQ(chart->GetSeries(i).LegendText(), legends[i]);
            EXPECT_EQ(line->pen().color(), colours[i]);
            EXPECT_EQ(line->pen().width(), 2);
            const bool dotted = chart == Horizontal() && i == 3;
            EXPECT_EQ(line->pen().style(), dotted ? Qt::DotLine : Qt::SolidLine) << i;
        }
    }
}

TEST_F(GraphOverviewTest, EachTableRowNamesItsOrderOnTheLineOfItsValues) {
    // A surveyor reads a value across from the order's name, so a name on the
    // wrong line or in the wrong colour points at another order's tolerance.
    const QColor windowText = Page().palette().color(QPalette::WindowText);
    struct Row {
        const char* name;
        QColor colour;
    };
    const Row rows[] = {
        {"IHO - Special", QColor(255, 0, 0)}, {"IHO Order 1", QColor(0, 0, 255)},  {"IHO Order 2", QColor(0, 128, 0)},
        {"FSIS-44 Exclusive", windowText},    {"NL Order A", QColor(255, 0, 255)}, {"NL Order B", QColor(128, 128, 0)},
        {"Orsted", QColor(0, 0, 128)},
    };
    const auto labelWithText = [&](const QString& text) -> QLabel* {
        for (QLabel* label : Page().findChildren<QLabel*>()) {
            if (label->text() == text) {
                return label;
            }
        }
        return nullptr;
    };
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(rows[i].name);
        QLabel* name = labelWithText(QString::fromLatin1(rows[i].name));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->palette().color(QPalette::WindowText), rows[i].colour);
        EXPECT_TRUE(name->font().bold());
        EXPECT_EQ(name->x(), 56);
        for (QLabel* value : {TvuLabel(i), ThuLabel(i)}) {
            EXPECT_EQ(value->y(), name->y());
            EXPECT_EQ(value->palette().color(QPalette::WindowText), windowText);
            EXPECT_FALSE(value->font().bold());
        }
    }
    for (const auto& [head, column] : {std::pair{"TVU", TvuLabel(0)}, {"THU", ThuLabel(0)}}) {
        QLabel* label = labelWithText(QString::fromLatin1(head));
        ASSERT_NE(label, nullptr) << head;
        EXPECT_EQ(label->x(), column->x()) << head;
        EXPECT_LT(label->y(), column->y()) << head;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 128)) << head;
    }
}

TEST_F(GraphOverviewTest, ClickOnTheWindowBackgroundRedrawsOnlyTheVerticalChart) {
    ChooseGraphOverview();
    Vertical()->GetSeries(2).Clear();
    Horizontal()->GetSeries(2).Clear();

    // A click on a control, or on a chart, is not a click on the background.
    QTest::mouseClick(TvuLabel(0), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(Vertical()->viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(Vertical()->GetSeries(2).Count(), 0);

    const QPoint background(8, 600);
    ASSERT_EQ(form.childAt(background), nullptr);
    QTest::mouseClick(&form, Qt::LeftButton, {}, background);
    EXPECT_EQ(Vertical()->GetSeries(2).Count(), 10);
    EXPECT_EQ(Horizontal()->GetSeries(2).Count(), 0);
}

} // namespace graph_overview_test
