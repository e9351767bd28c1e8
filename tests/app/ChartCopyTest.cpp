// "Copy data" of every chart a surveyor pastes from: the heading row names
// the x column by quantity and unit and each column by the legend, a marker
// line stays out, and the numbers are the ones the window itself shows (for
// the TPU charts, the ones the sweep's export writes for the same beam).
#include "coverage/TR2SonicCoverage.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "standards/TIHOForm.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "tpu/TTPU_Calculator.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace chart_copy_test {

namespace {

// The copied table as rows of cells, the heading row first.
using Table = std::vector<QStringList>;

Table Cells(const QString& text) {
    Table rows;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        rows.push_back(line.split(QLatin1Char('\t')));
    }
    return rows;
}

// The cell in `column` of the first row whose cell in `keyColumn` reads `key`.
std::optional<double> At(const Table& table, int keyColumn, const QString& key, int column) {
    for (std::size_t row = 1; row < table.size(); ++row) {
        if (table[row].value(keyColumn) == key) {
            bool read = false;
            const double value = table[row].value(column).toDouble(&read);
            return read ? std::optional<double>(value) : std::nullopt;
        }
    }
    return std::nullopt;
}

// Half a unit of a shown text's last decimal, and a little: 0.125 is shown as "0.13".
constexpr double kHalfCentimetre = 0.005 + 1e-9;

// The number in a shown text such as "±  0.26 m" or "  55".
double Shown(QString text) {
    text.remove(QStringLiteral("\u00B1")).remove(QStringLiteral(" m"));
    return text.trimmed().toDouble();
}

// Every beam of the sweep's export at the window's depth: angle -> (TVU, THU).
QMap<int, std::pair<double, double>> ExportedSweep(const support::Controls& ui) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sweep.csv"));
    kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
    ui.Click("btnExportSweep");
    kit::SetFileDialogPresenter({});
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QMap<int, std::pair<double, double>> beams;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> cells = lines[i].trimmed().split(',');
        if (cells.size() > 3) {
            beams[cells[1].toInt()] = {cells[2].toDouble(), cells[3].toDouble()};
        }
    }
    return beams;
}

// The TVU or THU chart against the sweep's export: each beam's own angle and
// value, on the starboard pair of columns and mirrored on the port pair.
void CheckTpuChart(const support::Controls& ui, const Table& table, bool tvu) {
    const auto sweep = ExportedSweep(ui);
    ASSERT_TRUE(sweep.contains(30) && sweep.contains(65) && !sweep.contains(66));
    const auto value = [&](int angle) { return tvu ? sweep[angle].first : sweep[angle].second; };
    for (const int angle : {0, 30, 65}) {
        SCOPED_TRACE(angle);
        const std::optional<double> starboard = At(table, 0, QString::number(angle), 1);
        const std::optional<double> port = At(table, 2, QString::number(-angle), 3);
        ASSERT_TRUE(starboard && port);
        // The export writes six decimals.
        EXPECT_NEAR(*starboard, value(angle), 5.1e-7);
        EXPECT_NEAR(*port, value(angle), 5.1e-7);
    }
    EXPECT_FALSE(At(table, 0, QStringLiteral("66"), 1)) << "no beam beyond half the 130° swath";
    // The order's limit beside each beam, as the results column shows it.
    EXPECT_NEAR(*At(table, 4, QStringLiteral("30"), 5), Shown(ui.Text(tvu ? "lbl_v1" : "lbl_h1")), kHalfCentimetre);
}

struct Case {
    const char* what;
    std::function<std::unique_ptr<QWidget>()> make;
    std::function<void(const support::Controls&)> before;
    const char* chart;
    QString heading;
    std::function<void(const support::Controls&, const Table&)> check;
};

template <typename Window> std::function<std::unique_ptr<QWidget>()> Make() {
    return [] { return std::make_unique<Window>(); };
}

const QString kAngle = QStringLiteral("Beam angle (\u00B0)");

QString Pairs(const QStringList& names) {
    QStringList cells;
    for (const QString& name : names) {
        cells << name + QStringLiteral(": ") + kAngle << name;
    }
    return cells.join(QLatin1Char('\t'));
}

TEST(ChartCopy, HeadingsNameTheQuantitiesAndSeriesAndTheNumbersAreTheWindows) {
    const auto nothing = [](const support::Controls&) {};
    const Case cases[] = {
        {"coverage calculator, swath width over depth", Make<TR2SonicCoverage>(), nothing, "Coverage",
         QStringLiteral("Depth (m)\tDual Head Coverage\tSingle Head Coverage"),
         [](const support::Controls& ui, const Table& table) {
             // One row a metre down to the range setting; at the altitude, the single head's swath shown.
             EXPECT_EQ(table.back().value(0), ui.Text("edtRange_select"));
             const std::optional<double> single = At(table, 0, ui.Text("edtAltitude"), 2);
             ASSERT_TRUE(single);
             EXPECT_EQ(std::lround(*single), Shown(ui.Text("edtNo_5")));
         }},
        {"survey order graph overview, vertical tolerance", Make<TIHOForm>(),
         [](const support::Controls& ui) { ui.Choose("cbo_Order", QStringLiteral("Graph Overview")); }, "cht_Vertical",
         QStringLiteral("Depth (m)\tIHO Special\tIHO 1\tIHO 2\tFSIS Exclusive\tNL-A\tNL-B\tOrsted"),
         [](const support::Controls& ui, const Table& table) {
             // At the graph depth, every order's TVU as the table beside the charts shows it.
             const QString depth = ui.Text("lbl_GraphDepth").section(QLatin1Char(' '), 0, 0);
             for (int order = 1; order <= 7; ++order) {
                 const std::optional<double> tvu = At(table, 0, depth, order);
                 ASSERT_TRUE(tvu) << order;
                 EXPECT_NEAR(*tvu, Shown(ui.Text(QStringLiteral("lbl_TVU%1").arg(order))), kHalfCentimetre) << order;
             }
         }},
        {"TPU calculator, TVU across the swath", Make<TTPU_Calculator>(), nothing, "TVU_Calc_Chart",
         Pairs({QStringLiteral("TVU"), QStringLiteral("TVU - Left"), QStringLiteral("IHO Special"),
                QStringLiteral("IHO Special - Left")}),
         [](const support::Controls& ui, const Table& table) { CheckTpuChart(ui, table, true); }},
        {"TPU calculator, THU across the swath", Make<TTPU_Calculator>(), nothing, "THU_Calc_Chart",
         Pairs({QStringLiteral("THU"), QStringLiteral("THU - Left"), QStringLiteral("IHO Special"),
                QStringLiteral("IHO Special - Left")}),
         [](const support::Controls& ui, const Table& table) { CheckTpuChart(ui, table, false); }},
        {"TPU calculator, usable swath over depth, without the depth marker", Make<TTPU_Calculator>(),
         [](const support::Controls& ui) {
             ui.Choose("TPU_Graphs", QStringLiteral("Order Fit"));
             ui.Click("ckb_IHO_1");
         },
         "Fit_Chart", QStringLiteral("Depth (m)\tIHO Special Order\tIHO Order 1"),
         [](const support::Controls& ui, const Table& table) {
             const std::optional<double> special = At(table, 0, ui.Text("edt_Depth_main"), 1);
             const std::optional<double> order1 = At(table, 0, ui.Text("edt_Depth_main"), 2);
             ASSERT_TRUE(special && order1);
             EXPECT_EQ(std::lround(*special), Shown(ui.Text("lblFitSwath_1")));
             EXPECT_EQ(std::lround(*order1), Shown(ui.Text("lblFitSwath_2")));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<QWidget> window = c.make();
        window->show();
        const support::Controls ui(window.get());
        c.before(ui);
        QTest::qWait(20); // the charts draw on the next turn of the event loop
        EXPECT_TRUE(MessageLog::Take().isEmpty());
        const Table table = Cells(ui.Get<kit::ChartView>(c.chart)->DataTable());
        ASSERT_GT(table.size(), 2U);
        EXPECT_EQ(table[0].join(QLatin1Char('\t')), c.heading);
        c.check(ui, table);
    }
}

} // namespace

} // namespace chart_copy_test
