#include "kit/ChartTable.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace chart_table_test {

namespace {

using kit::ChartTableText;
using kit::TableNumber;
using kit::TableSeries;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ChartTableTest, TableShapes) {
    struct Case {
        const char* reason;
        QString xTitle;
        std::vector<TableSeries> series;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"series on the same depths share one x column under the axis title",
         QStringLiteral("Depth [m]"),
         {{QStringLiteral("Special Order"), {{0, 0.25}, {10, 0.2502}}},
          {QStringLiteral("Order 1a"), {{0, 0.5}, {10, 0.5123}}}},
         QStringLiteral("Depth [m]\tSpecial Order\tOrder 1a\n0\t0.25\t0.5\n10\t0.2502\t0.5123\n")},
        {"different x values: a pair of columns each, the x column headed with the series and the axis title, "
         "the shorter series' cells empty below its end",
         QStringLiteral("Beam angle (\u00B0)"),
         {{QStringLiteral("Port"), {{-3, 1}, {-2, 2}, {-1, 3}}}, {QStringLiteral("Starboard"), {{1, 3}, {2.5, 2}}}},
         QStringLiteral("Port: Beam angle (\u00B0)\tPort\tStarboard: Beam angle (\u00B0)\tStarboard\n"
                        "-3\t1\t1\t3\n-2\t2\t2.5\t2\n-1\t3\t\t\n")},
        {"the longer series last: its columns stay in place after the empty pair",
         QString(),
         {{QStringLiteral("A"), {{1, 1}}}, {QStringLiteral("B"), {{2, 2}, {3, 3}}}},
         QStringLiteral("A: X\tA\tB: X\tB\n1\t1\t2\t2\n\t\t3\t3\n")},
        {"no series shown: the heading alone, so a paste shows what was copied",
         QStringLiteral("Depth"),
         {},
         QStringLiteral("Depth\n")},
        {"no axis title and one empty series", QString(), {{QStringLiteral("TVU"), {}}}, QStringLiteral("X\tTVU\n")},
        {"a tab or line break in a title becomes a blank; an untitled series is numbered",
         QStringLiteral("Depth\t[m]"),
         {{QStringLiteral("IHO\nSpecial"), {{1, 2}}}, {QString(), {{1, 3}}}},
         QStringLiteral("Depth [m]\tIHO Special\tSeries 2\n1\t2\t3\n")},
        {"negative zero is written as 0; not-a-number and infinity are empty cells",
         QString(),
         {{QStringLiteral("a"), {{-0.0, kNaN}, {1, kInf}, {2, -0.0}}}},
         QStringLiteral("X\ta\n0\t\n1\t\n2\t0\n")},
        {"a NaN x still lines up with a NaN x of the other series",
         QString(),
         {{QStringLiteral("a"), {{1, 1}, {kNaN, 2}}}, {QStringLiteral("b"), {{1, 5}, {kNaN, 6}}}},
         QStringLiteral("X\ta\tb\n1\t1\t5\n\t2\t6\n")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChartTableText(c.xTitle, c.series).toStdString(), c.expected.toStdString()) << c.reason;
    }
}

// A title with a CR, a tab or a Windows line end (typed into a chart's form or
// read from an equipment file) stays one clean cell of the heading in either
// layout: a spreadsheet takes a CR for a new row and a tab for a new column,
// and every column after it would slide under the wrong heading.
TEST(ChartTableTest, ATitleWithACarriageReturnOrTabStaysOneCell) {
    const QString titles[] = {QStringLiteral("IHO\rSpecial"), QStringLiteral("IHO\tSpecial"),
                              QStringLiteral("IHO\r\nSpecial"), QStringLiteral("Order 1a\r"), QStringLiteral("\r")};
    for (const QString& title : titles) {
        for (const bool sharedX : {true, false}) {
            SCOPED_TRACE(QString(title).replace('\r', "\\r").replace('\t', "\\t").replace('\n', "\\n").toStdString() +
                         (sharedX ? ", one x column" : ", x and y per series"));
            const std::vector<TableSeries> series = {
                {title, {{0, 1}, {1, 2}}},
                {QStringLiteral("TVU"), sharedX ? QList<QPointF>{{0, 3}, {1, 4}} : QList<QPointF>{{5, 3}, {6, 4}}}};
            const QString table = ChartTableText(title, series);
            EXPECT_FALSE(table.contains('\r')) << table.toStdString();
            const QStringList lines = table.split('\n');
            ASSERT_EQ(lines.size(), 4) << "a heading, two rows and the last line end";
            const qsizetype columns = sharedX ? 3 : 4;
            EXPECT_EQ(lines[0].split('\t').size(), columns) << lines[0].toStdString();
            EXPECT_EQ(lines[1].split('\t').size(), columns) << lines[1].toStdString();
        }
    }
}

TEST(ChartTableTest, NumbersAreShortestRoundTripWithADecimalPoint) {
    struct Case {
        const char* reason;
        double value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"a decimal fraction as typed, not its binary expansion", 0.1, "0.1"},
        {"a sum that is not 0.3 keeps the digits that tell it apart", 0.1 + 0.2, "0.30000000000000004"},
        {"whole numbers without a point", 1400, "1400"},
        {"negative", -12.75, "-12.75"},
        {"small but ordinary: no exponent", 0.00002, "0.00002"},
        {"large but ordinary: no exponent", 123456789012.5, "123456789012.5"},
        {"below the fixed range an exponent is shorter and exact", 1.5e-9, "1.5e-09"},
        {"beyond the fixed range", 2e20, "2e+20"},
        {"largest double still reads back", std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TableNumber(c.value), c.expected) << c.reason;
        double back = 0.0;
        std::from_chars(c.expected.data(), c.expected.data() + c.expected.size(), back);
        EXPECT_EQ(back, c.value) << c.reason << ": reads back";
    }
}

TEST(ChartTableTest, DecimalCommaLocaleStillWritesAPoint) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where the machine has it; harmless where not
    const QString table = ChartTableText(QStringLiteral("Tiefe"), {{QStringLiteral("TVU"), {{2.5, 1234.5}}}});
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(previous);
    EXPECT_EQ(table.toStdString(), "Tiefe\tTVU\n2.5\t1234.5\n");
}

} // namespace

} // namespace chart_table_test
