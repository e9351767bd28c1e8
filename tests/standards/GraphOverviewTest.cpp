#include "standards/GraphOverview.h"
#include "kit/ChartView.h"
#include "standards/TIHOForm.h"

#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GraphOverviewTest : public testing::Test {
protected:
    void SetUp() override { form.show(); }

    void ChooseGraphOverview() {
        form.cbo_Order->setCurrentIndex(TIHOForm::kGraphOverviewRow);
        emit form.cbo_Order->activated(TIHOForm::kGraphOverviewRow);
    }
    GraphOverview& Page() { return *form.pnl_GraphOverview; }
    QStringList Column(const std::array<QLabel*, 7>& labels) {
        QStringList texts;
        for (QLabel* label : labels) {
            texts << label->text();
        }
        return texts;
    }
    QStringList Tvu() { return Column(Page().lbl_TVU); }
    QStringList Thu() { return Column(Page().lbl_THU); }
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
};

} // namespace

TEST_F(GraphOverviewTest, ShowsPlaceholdersAndEmptyChartsUntilTheFirstRefresh) {
    EXPECT_EQ(Page().lbl_GraphDepth->text(), "xx metres");
    EXPECT_EQ(Tvu(), QStringList(7, "xx "));
    EXPECT_EQ(Thu(), (QStringList{"xx ", "xx ", "xx", "xx ", "xx ", "xx ", "xx "}));
    EXPECT_EQ(Counts(Page().cht_Vertical), All(0));
    EXPECT_EQ(Counts(Page().cht_Horizontal), All(0));
    EXPECT_EQ(Page().scb_Vertical->value(), 10);
    EXPECT_EQ(Page().scb_Horizontal->value(), 10);

    // Opening the tab directly does not refresh anything.
    form.pgc_Orders->setCurrentIndex(TIHOForm::kGraphOverviewRow);
    EXPECT_EQ(Page().lbl_GraphDepth->text(), "xx metres");
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
        Page().scb_Vertical->setValue(c.depth);
        EXPECT_EQ(Page().lbl_GraphDepth->text(), QString::number(c.depth) + " metres");
        EXPECT_EQ(Tvu(), c.tvu);
        EXPECT_EQ(Thu(), c.thu);
        EXPECT_EQ(Counts(Page().cht_Vertical), All(c.depth));
        EXPECT_EQ(Counts(Page().cht_Horizontal), All(c.depth));
        // The last point of each curve is the value in the table.
        for (int curve = 0; curve < 7; ++curve) {
            const QPointF last = Page().cht_Horizontal->GetSeries(curve).Points().constLast();
            EXPECT_EQ(last.x(), c.depth);
            EXPECT_EQ(QString::number(last.y(), 'f', 2), c.thu[curve].trimmed());
        }
    }
}

TEST_F(GraphOverviewTest, EitherScrollBarMovesTheOtherAndTheOtherChartIsRedrawnFirst) {
    ChooseGraphOverview();
    // Which chart was pushed to the drawing in which order.
    QStringList drawn;
    QLineSeries* vertical = static_cast<QLineSeries*>(Page().cht_Vertical->chart()->series().at(0));
    QLineSeries* horizontal = static_cast<QLineSeries*>(Page().cht_Horizontal->chart()->series().at(0));
    QObject::connect(vertical, &QXYSeries::pointsReplaced, vertical, [&] { drawn << "V"; });
    QObject::connect(horizontal, &QXYSeries::pointsReplaced, horizontal, [&] { drawn << "H"; });

    Page().scb_Horizontal->setValue(50);
    EXPECT_EQ(Page().scb_Vertical->value(), 50);
    EXPECT_EQ(Page().lbl_GraphDepth->text(), "50 metres");
    EXPECT_EQ(Page().lbl_TVU[0]->text(), "0.45");
    EXPECT_EQ(Page().lbl_THU[1]->text(), "7.50");
    EXPECT_EQ(Counts(Page().cht_Vertical), All(50));
    EXPECT_EQ(drawn, (QStringList{"V", "H"}));

    drawn.clear();
    Page().scb_Vertical->setValue(120);
    EXPECT_EQ(Page().scb_Horizontal->value(), 120);
    EXPECT_EQ(Page().lbl_THU[1]->text(), "11.00");
    EXPECT_EQ(Counts(Page().cht_Horizontal), All(120));
    EXPECT_EQ(drawn, (QStringList{"H", "V"}));
}

TEST_F(GraphOverviewTest, ChoosingGraphOverviewRedrawsAtTenEvenWhenAlreadyThere) {
    ChooseGraphOverview();
    Page().cht_Vertical->GetSeries(0).Clear();
    Page().cht_Horizontal->GetSeries(6).Clear();
    Page().lbl_TVU[0]->setText("stale");
    ChooseGraphOverview();
    EXPECT_EQ(Counts(Page().cht_Vertical), All(10));
    EXPECT_EQ(Counts(Page().cht_Horizontal), All(10));
    EXPECT_EQ(Page().lbl_TVU[0]->text(), "0.26");

    Page().scb_Horizontal->setValue(77);
    form.cbo_Order->setCurrentIndex(3);
    emit form.cbo_Order->activated(3);
    EXPECT_EQ(Page().scb_Vertical->value(), 77) << "other pages leave the graph depth alone";
    ChooseGraphOverview();
    EXPECT_EQ(Page().scb_Vertical->value(), 10);
    EXPECT_EQ(Page().scb_Horizontal->value(), 10);
    EXPECT_EQ(Page().lbl_GraphDepth->text(), "10 metres");
    EXPECT_EQ(form.pgc_Orders->currentIndex(), TIHOForm::kGraphOverviewRow);
}

TEST_F(GraphOverviewTest, OrstedTvuStepsAndThuRisesTwoCentimetresPerMetre) {
    ChooseGraphOverview();
    Page().scb_Vertical->setValue(60);
    const QList<QPointF> tvu = Page().cht_Vertical->GetSeries(6).Points();
    const QList<QPointF> thu = Page().cht_Horizontal->GetSeries(6).Points();
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
    for (kit::ChartView* chart : {Page().cht_Vertical, Page().cht_Horizontal}) {
        for (int i = 0; i < 7; ++i) {
            auto* line = static_cast<QLineSeries*>(chart->chart()->series().at(i));
            EXPECT_EQ(chart->GetSeries(i).LegendText(), legends[i]);
            EXPECT_EQ(line->pen().color(), colours[i]);
            EXPECT_EQ(line->pen().width(), 2);
            const bool dotted = chart == Page().cht_Horizontal && i == 3;
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
        for (QLabel* value : {Page().lbl_TVU[std::size_t(i)], Page().lbl_THU[std::size_t(i)]}) {
            EXPECT_EQ(value->y(), name->y());
            EXPECT_EQ(value->palette().color(QPalette::WindowText), windowText);
            EXPECT_FALSE(value->font().bold());
        }
    }
    for (const auto& [head, column] : {std::pair{"TVU", Page().lbl_TVU[0]}, {"THU", Page().lbl_THU[0]}}) {
        QLabel* label = labelWithText(QString::fromLatin1(head));
        ASSERT_NE(label, nullptr) << head;
        EXPECT_EQ(label->x(), column->x()) << head;
        EXPECT_LT(label->y(), column->y()) << head;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 128)) << head;
    }
}

TEST_F(GraphOverviewTest, ClickOnTheWindowBackgroundRedrawsOnlyTheVerticalChart) {
    ChooseGraphOverview();
    Page().cht_Vertical->GetSeries(2).Clear();
    Page().cht_Horizontal->GetSeries(2).Clear();

    // A click on a control, or on a chart, is not a click on the background.
    QLabel* label = Page().lbl_TVU[0];
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseClick(Page().cht_Vertical->viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(Page().cht_Vertical->GetSeries(2).Count(), 0);

    const QPoint background(8, 600);
    ASSERT_EQ(form.childAt(background), nullptr);
    QTest::mouseClick(&form, Qt::LeftButton, {}, background);
    EXPECT_EQ(Page().cht_Vertical->GetSeries(2).Count(), 10);
    EXPECT_EQ(Page().cht_Horizontal->GetSeries(2).Count(), 0);
}
