#include "tpu/TTPU_Calculator.h"

#include "common/NumberFormat.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "kit/UpDown.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "tpu/TpuAnalysis.h"
#include "tpu/TpuAnalysisPages.h"
#include "tpu/TpuSettings.h"
#include "tpu/TpuStartInputs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

#include <sys/stat.h>

namespace ttpu_calculator_test {

namespace {

const QString kPm = QStringLiteral("\u00B1 ");

class TpuWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }

    kit::ChartView* Chart(const char* name) const { return ui.Get<kit::ChartView>(name); }
    int Points(const char* chart, int series) const { return Chart(chart)->GetSeries(series).Count(); }
    // Which series of a chart are drawn.
    QList<int> Active(const char* chart) const {
        QList<int> active;
        for (int s = 0; s < Chart(chart)->SeriesCount(); ++s) {
            if (Chart(chart)->GetSeries(s).IsActive()) {
                active << s;
            }
        }
        return active;
    }
    QStringList Results() const {
        return {ui.Text("edtAlongbeam"), ui.Text("edtAcrossbeam"), ui.Text("edt_Max_TVU"),
                ui.Text("edt_Min_TVU"),  ui.Text("edt_Max_THU"),   ui.Text("edt_Min_THU")};
    }
    bool Enabled(const char* name) const { return ui.Get(name)->isEnabled(); }

    TTPU_Calculator window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(TpuWindow, OpensOnTheSonic2024AtTenMetres) {
    EXPECT_EQ(window.windowTitle(), "Tormalind ApS  TPU Calculator");
    EXPECT_EQ(Results(),
              (QStringList{" 1.0 \u00B0", " 0.5 \u00B0", kPm + "0.091", kPm + "0.078", kPm + "0.954", kPm + "0.110"}));
    EXPECT_EQ(ui.Text("cbo_Select_sonar"), "Sonic 2024");
    EXPECT_EQ(ui.Text("edt_Selected_sonar"), "Sonic 2024");
    EXPECT_EQ(ui.Text("cbo_Select_Motion"), "3 - I2NS II (Appl. Wavemaster)");
    EXPECT_EQ(ui.Text("edt_Selected_Motion"), "I2NS v.II (WaveMaster)");
    EXPECT_EQ(ui.Text("edt_Selected_Heading"), "I2NS v.II (WaveMaster)");
    EXPECT_EQ(ui.Text("lbl_Max_Depth"), "500");
    EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->maximum(), 500);
    EXPECT_EQ(ui.Text("lbl_scroll_depth"), "10 m");
    EXPECT_FALSE(Enabled("rdg_GNSS_Aiding"));
    EXPECT_TRUE(Enabled("rdg_Antenna_separation"));
    EXPECT_EQ(window.GnssModeDescription(), "RTK (Accurate height)");
    // RTK: the vessel figures and the tide are zero.
    for (const char* name : {"edt_SD_Draft", "edt_SD_Squat", "edt_SD_Settlement", "edt_SD_Load", "edt_tidal_SD"}) {
        EXPECT_EQ(ui.Text(name), "0") << name;
    }
    const QStringList tvu{"\u00B1  0.26 m", "\u00B1  0.52 m", "\u00B1  1.03 m", "\u00B1  0.16 m",
                          "\u00B1  0.13 m", "\u00B1  0.17 m", "\u00B1  0.15 m"};
    const QStringList thu{"\u00B1  2.00 m", "\u00B1  5.50 m", "\u00B1  21.00 m", "\u00B1  2.00 m",
                          "\u00B1  0.40 m", "\u00B1  0.40 m", "\u00B1  0.70 m"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ui.Text(QStringLiteral("lbl_v%1").arg(i + 1)), tvu[i]);
        EXPECT_EQ(ui.Text(QStringLiteral("lbl_h%1").arg(i + 1)), thu[i]);
    }
    // Only the system's curves and the IHO Special Order are drawn; every
    // series holds one point per pass, 67 for the 130° swath.
    EXPECT_EQ(Active("TVU_Calc_Chart"), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(Active("THU_Calc_Chart"), (QList<int>{0, 1, 2, 3}));
    for (const char* chart : {"TVU_Calc_Chart", "THU_Calc_Chart"}) {
        for (int s = 0; s < 16; ++s) {
            EXPECT_EQ(Points(chart, s), 67) << chart << " " << s;
        }
    }
    const auto& port = Chart("TVU_Calc_Chart")->GetSeries(3).Points();
    EXPECT_EQ(port.front(), QPointF(-66, 0.25 * std::sqrt(1.0 + 0.09)) /* √(0.0625 + 0.075²) */);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TpuWindow, SonarListAppliesItsRowAndTheShallowerEndPullsTheDepthUp) {
    ui.Choose("cbo_Select_sonar", QStringLiteral("Sonic 2024 700 kHz"));
    EXPECT_EQ(ui.Text("edt_Swath_width"), "70");
    EXPECT_EQ(ui.Text("edt_frq"), "700");
    EXPECT_EQ(ui.Get<kit::UpDown>("udb_frq")->Minimum(), 700);
    EXPECT_EQ(ui.Get<kit::UpDown>("udb_frq")->Maximum(), 700);
    EXPECT_EQ(ui.Get<kit::UpDown>("udb_Swath")->Maximum(), 70);
    ui.SetText("edt_Depth_main", QStringLiteral("50"));
    EXPECT_EQ(Results(),
              (QStringList{" 0.6 \u00B0", " 0.3 \u00B0", kPm + "0.147", kPm + "0.125", kPm + "0.518", kPm + "0.296"}));
    EXPECT_EQ(Points("TVU_Calc_Chart", 0), 37);

    ui.Choose("cbo_Select_sonar", QStringLiteral("Sonic 2022"));
    ui.SetText("edt_Depth_main", QStringLiteral("120"));
    ui.Choose("cbo_Select_sonar", QStringLiteral("Sonic 2020 700 kHz"));
    EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->value(), 50);
    EXPECT_EQ(ui.Text("edt_Depth"), "50");
    EXPECT_EQ(ui.Text("edt_Depth_main"), "50");
    EXPECT_EQ(ui.Text("lbl_scroll_depth"), "50 m");
    EXPECT_EQ(ui.Text("lbl_Max_Depth"), "50");

    ui.Choose("cbo_Select_sonar", QStringLiteral("Sonic 2026   90 kHz"));
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 2.2 \u00B0");
    EXPECT_EQ(ui.Text("edtAcrossbeam"), " 2.2 \u00B0");
    EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->maximum(), 1000);

    // "Default" changes nothing but the Selected text, and computes nothing.
    const QStringList before = Results();
    ui.Get<QLineEdit>("edt_Max_TVU")->setText(QStringLiteral("stale"));
    ui.Choose("cbo_Select_sonar", QStringLiteral("Default"));
    EXPECT_EQ(ui.Text("edt_Selected_sonar"), "Default");
    EXPECT_EQ(ui.Text("edt_Max_TVU"), "stale");
    EXPECT_EQ(ui.Text("edt_frq"), "90");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TpuWindow, MotionAndHeadingRowsWriteTheirFiguresAndGroupStates) {
    struct Case {
        const char* list;
        const char* item;
        const char* roll;    // nullptr: not checked
        const char* heading; // SD-Heading afterwards
        bool aidingEnabled;
        bool antennaEnabled;
    };
    const Case cases[] = {
        {"cbo_Select_Motion", "2 - I2NS I (Appl. OceanMaster)", "0.01", "0.02", true, true},
        {"cbo_Select_Motion", "5 - Octans (4th)", "0.01", "0.05", false, false},
        {"cbo_Select_Motion", "8 - TSS DMS-25", "0.25", "0.05", false, false}, // leaves the groups as they were
        {"cbo_Select_Motion", "7 - SBG Apogee D", "0.008", "0.04", true, true},
        {"cbo_Select_Motion", "8 - TSS DMS-25", "0.25", "0.04", true, true},
        {"cbo_Select_Heading", "8 - Gimbal Gyro type", nullptr, "0.4", true, false},
        {"cbo_Select_Heading", "4 - I2NS III (Applanix SurfMaster)", nullptr, "0.08", true, true},
        {"cbo_Select_Motion", "1 - Motion Sensor", "0.02", "0.08", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ui.Choose(c.list, QString::fromLatin1(c.item));
        if (c.roll != nullptr) {
            EXPECT_EQ(ui.Text("edt_SD_Roll"), c.roll);
            EXPECT_EQ(ui.Text("edt_SD_Pitch"), c.roll);
        }
        EXPECT_EQ(ui.Text("edt_SD_Heading"), c.heading);
        EXPECT_EQ(Enabled("rdg_GNSS_Aiding"), c.aidingEnabled);
        EXPECT_EQ(Enabled("rdg_Antenna_separation"), c.antennaEnabled);
    }
    ui.Choose("cbo_Select_Motion", QStringLiteral("4 - I2NS III (Appl. SurfMaster)"));
    EXPECT_EQ(ui.Text("cbo_Select_Heading"), "4 - I2NS III (Applanix SurfMaster)");
    EXPECT_EQ(ui.Text("edt_Selected_Heading"), "I2NS v.III (SurfMaster)");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TpuWindow, AidingAndAntennaSeparationRefineTheInertialFigures) {
    ui.Choose("cbo_Select_Motion", QStringLiteral("4 - I2NS III (Appl. SurfMaster)"));
    ui.Choose("rdg_GNSS_Aiding", QStringLiteral("DGNSS"));
    EXPECT_EQ(ui.Text("edt_SD_Roll"), "0.04");
    EXPECT_EQ(ui.Text("edt_SD_Pitch"), "0.04");
    ui.Choose("rdg_Antenna_separation", QStringLiteral("4 m separation"));
    EXPECT_EQ(ui.Text("edt_SD_Heading"), "0.06");
    // A motion sensor without aiding figures, a gyro without a baseline: nothing changes.
    ui.Choose("cbo_Select_Motion", QStringLiteral("8 - TSS DMS-25"));
    ui.Choose("rdg_GNSS_Aiding", QStringLiteral("RTK"));
    EXPECT_EQ(ui.Text("edt_SD_Roll"), "0.25");
    ui.Choose("cbo_Select_Heading", QStringLiteral("1 - Heading Gyro"));
    ui.Get<QGroupBox>("rdg_Antenna_separation")->setEnabled(true); // normally disabled for a gyro
    ui.Choose("rdg_Antenna_separation", QStringLiteral("4 m separation"));
    EXPECT_EQ(ui.Text("edt_SD_Heading"), "0.03");
}

TEST_F(TpuWindow, GnssModeSwitchesTheHeightBudgetBetweenPositioningAndVessel) {
    // In RTK a typed draft does not stick: the computation writes 0 back.
    ui.SetText("edt_SD_Draft", QStringLiteral("0.3"));
    EXPECT_EQ(ui.Text("edt_SD_Draft"), "0");
    EXPECT_EQ(ui.Text("edt_Max_TVU"), kPm + "0.091");

    ui.Choose("rdg_gnss_mode", QStringLiteral("DGNSS"));
    EXPECT_FALSE(Enabled("edt_pos_vertical"));
    EXPECT_FALSE(Enabled("edt_pos_z_off"));
    EXPECT_EQ(ui.Text("edt_pos_horizontal"), "0.5");
    EXPECT_EQ(ui.Text("edt_SD_Settlement"), "0.10");
    EXPECT_EQ(ui.Text("edt_tidal_SD"), "0");
    EXPECT_EQ(window.GnssModeDescription(), "Differential (Unreliable height)");
    ui.SetText("edt_tidal_SD", QStringLiteral("0.25"));
    EXPECT_EQ(Results().mid(2), (QStringList{kPm + "0.289", kPm + "0.285", kPm + "1.076", kPm + "0.510"}));

    ui.Choose("rdg_gnss_mode", QStringLiteral("RTK"));
    EXPECT_TRUE(Enabled("edt_pos_vertical"));
    EXPECT_EQ(ui.Text("edt_pos_z_off"), "0.01");
    EXPECT_EQ(ui.Text("edt_tidal_SD"), "0");
    EXPECT_EQ(Results().mid(2), (QStringList{kPm + "0.091", kPm + "0.078", kPm + "0.954", kPm + "0.110"}));
    EXPECT_EQ(Points("TVU_Calc_Chart", 0), 67);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TpuWindow, OrderBoxesShowTheirLinesAndTheTvuChartDropsIhoOrder2OnRecomputing) {
    ui.Click("ckb_IHO_2");
    EXPECT_TRUE(Active("TVU_Calc_Chart").contains(6));
    EXPECT_TRUE(Active("THU_Calc_Chart").contains(7));
    ui.SetText("edt_Depth_main", QStringLiteral("11"));
    EXPECT_FALSE(Active("TVU_Calc_Chart").contains(6));
    EXPECT_TRUE(Active("THU_Calc_Chart").contains(6));
    EXPECT_TRUE(ui.Get<QCheckBox>("ckb_IHO_2")->isChecked());

    ui.Click("ckb_IHO_Special");
    ui.SetText("edt_Depth_main", QStringLiteral("12"));
    EXPECT_EQ(Active("TVU_Calc_Chart"), (QList<int>{0, 1}));
    EXPECT_EQ(Active("THU_Calc_Chart"), (QList<int>{0, 1, 6, 7}));
    // Lines are flat at the limit of the current depth across the swath.
    const auto& orsted = Chart("THU_Calc_Chart")->GetSeries(14).Points();
    EXPECT_EQ(orsted.front(), QPointF(0, 0.5 + 0.02 * 12));
    EXPECT_EQ(orsted.back(), QPointF(66, 0.5 + 0.02 * 12));
}

// The order fit follows every computation: the depth, the overlap, an input
// that cannot be read, and the tick boxes for its chart.
TEST_F(TpuWindow, OrderFitShowsTheUsableSwathOfEachOrderAtTheDepth) {
    const auto row = [this](int order) {
        return QStringList{ui.Text(QStringLiteral("lblFitAngle_%1").arg(order)),
                           ui.Text(QStringLiteral("lblFitSwath_%1").arg(order)),
                           ui.Text(QStringLiteral("lblFitSpacing_%1").arg(order)),
                           ui.Text(QStringLiteral("lblFitLimit_%1").arg(order))};
    };
    struct Case {
        const char* field;
        const char* text;
        int order;
        QStringList shown;
        const char* note;
        const char* reason;
    };
    const QString stop41 = QStringLiteral("THU \u00B1 2.022 > 2.00 m at 41\u00B0");
    const Case cases[] = {
        {"edt_Depth_main", "10", 1, {"65\u00B0", "43 m", "41 m", "full swath"}, "", "the whole swath at 10 m, 10 %"},
        {"edtFitOverlap", "30", 1, {"65\u00B0", "43 m", "36 m", "full swath"}, "", "30 % keeps 85 % of the swath"},
        {"edtFitOverlap", "12.5", 1, {"65\u00B0", "43 m", "40 m", "full swath"}, "", "an overlap with decimals"},
        {"edtFitOverlap", "100", 1, {"65\u00B0", "43 m", "21 m", "full swath"}, "", "100 % gives half the swath"},
        {"edt_Depth_main", "100", 1, {"40\u00B0", "168 m", "84 m", stop41}, "", "the 41° beam's THU exceeds 2 m"},
        {"edtFitOverlap",
         "101",
         1,
         {"40\u00B0", "168 m", "\u2014", stop41},
         "The overlap runs from 0 to 100 %",
         "no spacing for more than 100 % overlap, and why beside the field"},
        {"edtFitOverlap",
         "1O",
         1,
         {"40\u00B0", "168 m", "\u2014", stop41},
         "Type the overlap as a number, 0 to 100 %",
         "a letter O for a nought"},
        {"edtFitOverlap", "10", 1, {"40\u00B0", "168 m", "159 m", stop41}, "", "a usable overlap again"},
        {"edt_Depth_main", "2", 1, {"65\u00B0", "8.6 m", "8.1 m", "full swath"}, "", "below 10 m with a decimal"},
        {"edt_Depth_main",
         "180",
         1,
         {"0\u00B0", "0.0 m", "0.0 m", "THU \u00B1 2.020 > 2.00 m at 1\u00B0"},
         "",
         "the nadir, Min THU 1.732, fits Special Order; the 1° beam does not"},
        {"edt_Pulse_duration", "30.5", 1, {"\u2014", "\u2014", "\u2014", "\u2014"}, "", "no computation stands"},
        {"edt_Pulse_duration",
         "30",
         1,
         {"0\u00B0", "0.0 m", "0.0 m", "THU \u00B1 2.020 > 2.00 m at 1\u00B0"},
         "",
         "back with the next computation"},
        {"edt_Depth_main", "100", 1, {"40\u00B0", "168 m", "159 m", stop41}, "", "back at 100 m"},
        {"edt_pos_horizontal",
         "0.5",
         5,
         {"none", "\u2014", "\u2014", "THU \u00B1 1.084 > 0.40 m at 0\u00B0"},
         "",
         "NL Order A's 0.4 m THU fails at nadir"},
        {"edt_pos_horizontal", "0.05", 1, {"40\u00B0", "168 m", "159 m", stop41}, "", "the start's positioning"},
    };
    for (const Case& c : cases) {
        ui.SetText(c.field, QString::fromUtf8(c.text));
        MessageLog::Take();
        EXPECT_EQ(row(c.order), c.shown) << c.reason;
        EXPECT_EQ(ui.Text("lblFitOverlapNote"), QString::fromUtf8(c.note)) << c.reason;
    }
    EXPECT_EQ(ui.Text("edt_Max_TVU"), kPm + "0.520") << "the fit changes no result";

    // Typed, the overlap says nothing about itself until it is finished.
    ui.Get<QLineEdit>("edtFitOverlap")->setFocus();
    ui.Backspace("edtFitOverlap", 2);
    ui.Type("edtFitOverlap", "250");
    EXPECT_EQ(ui.Text("lblFitSpacing_1"), "\u2014");
    EXPECT_EQ(ui.Text("lblFitOverlapNote"), "");
    ui.Key("edtFitOverlap", "Return");
    EXPECT_EQ(ui.Text("lblFitOverlapNote"), "The overlap runs from 0 to 100 %");
    EXPECT_EQ(ui.Text("edtFitOverlap"), "250") << "never rewritten";
    ui.SetText("edtFitOverlap", QStringLiteral("10"));

    // The depth columns and the curves are worked out when the tab comes into view.
    EXPECT_EQ(Points("Fit_Chart", 0), 0);
    ui.Choose("TPU_Graphs", QStringLiteral("Order Fit"));
    EXPECT_EQ(ui.Text("lblFitFullTo_1"), "20 m");
    EXPECT_EQ(ui.Text("lblFitNadirTo_1"), "207 m");
    EXPECT_EQ(ui.Text("lblFitFullTo_3"), "\u2265 500 m");
    // The depth axis reaches twice the depth in view; Special Order's curve
    // stops where no beam beyond the nadir fits (178 m), with no line on zero.
    EXPECT_EQ(Points("Fit_Chart", 0), 178);
    EXPECT_EQ(Chart("Fit_Chart")->GetSeries(0).Points()[99], QPointF(100, tpu::UsableSwath(100, 40)));
    EXPECT_EQ(Points("Fit_Chart", 1), 200);
    EXPECT_EQ(Active("Fit_Chart"), (QList<int>{0, 7}));
    ui.Click("ckb_IHO_1");
    ui.Click("ckb_IHO_Special");
    EXPECT_EQ(Active("Fit_Chart"), (QList<int>{1, 7}));
    EXPECT_EQ(Chart("Fit_Chart")->GetSeries(7).Points().front().x(), 100);
    ui.SetText("edt_Depth_main", QStringLiteral("5"));
    EXPECT_EQ(Chart("Fit_Chart")->GetSeries(7).Points().front().x(), 5) << "redrawn at once while in view";
    EXPECT_EQ(Points("Fit_Chart", 1), 20) << "never squeezed into a corner: 1 m to 20 m in view";
    ui.SetText("edt_pos_horizontal", QStringLiteral("0.5"));
    EXPECT_EQ(ui.Text("lblFitFullTo_5"), "\u2014");
    EXPECT_EQ(ui.Text("lblFitNadirTo_5"), "\u2014");
}

// The budget's shares add up to the shown totals; leaving a term out changes
// only the paler total, and it stays out through the next computation.
TEST_F(TpuWindow, ErrorBudgetLeavesATermOutOfAPalerTotalOnly) {
    ui.SetText("edt_Depth_main", QStringLiteral("100"));
    ui.Choose("TPU_Graphs", QStringLiteral("Error Budget"));
    EXPECT_EQ(ui.Text("lblBudgetTopTVU"), "Range: 83 %");
    EXPECT_EQ(ui.Text("lblBudgetTopTHU"), "Across-track footprint: 95 %");
    auto* outer = ui.Get<tpu::BudgetBars>("barsOuterTvu");
    EXPECT_EQ(outer->TotalText(), QStringLiteral("Beam 65\u00B0 TVU ") + kPm + "0.520 m");
    EXPECT_EQ(outer->WithoutText(), "");

    // A click on the largest bar, the range: what a better sonar would buy.
    ASSERT_EQ(outer->TermAt(0), 0U);
    QTest::mouseClick(outer, Qt::LeftButton, {}, outer->RowRect(0).center());
    EXPECT_TRUE(outer->LeftOut(0));
    EXPECT_EQ(outer->WithoutText(), "without it: " + kPm + "0.214 m"); // the other terms
    const QStringList before = Results();
    ui.SetText("edt_Patch_yaw", QStringLiteral("0.25"));
    EXPECT_TRUE(outer->LeftOut(0)) << "left out until clicked again";
    EXPECT_EQ(Results()[2], before[2]) << "the outer TVU takes no yaw";
    QTest::mouseClick(outer, Qt::LeftButton, {}, outer->RowRect(0).center());
    EXPECT_EQ(outer->WithoutText(), "");
    EXPECT_EQ(Results()[2], kPm + "0.520");

    ui.SetText("edt_Pulse_duration", QStringLiteral("x"));
    MessageLog::Take();
    EXPECT_EQ(ui.Text("lblBudgetTopTVU"), "\u2014");
    EXPECT_EQ(outer->TotalText(), "Beam 65\u00B0 TVU");
}

// The bars show the beam chosen in the angle field, the outer beam at first;
// the angle keeps within the swath as it changes, and what the RTK height
// makes zero is left out of the bars with one line saying so.
TEST_F(TpuWindow, ErrorBudgetAtAnyBeam) {
    ui.Choose("TPU_Graphs", QStringLiteral("Error Budget"));
    auto* tvu = ui.Get<tpu::BudgetBars>("barsOuterTvu");
    auto* thu = ui.Get<tpu::BudgetBars>("barsOuterThu");
    const auto total = [](const tpu::BeamTerms& beam, bool thuTotal) {
        return QString::fromStdString(common::FormatFixed(thuTotal ? beam.thu : beam.tvu, 0, 3));
    };
    struct Case {
        const char* field;
        const char* text;
        const char* angle; // the field afterwards
        int beam;
        const char* reason;
    };
    const Case cases[] = {
        {nullptr, nullptr, "65", 65, "the outer beam at first"},
        {"edtBudgetAngle", "40", "40", 40, "a beam typed"},
        {"edt_Swath_width", "60", "30", 30, "a narrower swath pulls the beam in to its outer beam"},
        {"edt_Swath_width", "130", "40", 40, "and lets it back out to the beam chosen"},
        {"edtBudgetAngle", "0", "0", 0, "the 0° beam by the beam formula"},
    };
    for (const Case& c : cases) {
        if (c.field != nullptr) {
            ui.SetText(c.field, QString::fromUtf8(c.text));
        }
        EXPECT_EQ(ui.Text("edtBudgetAngle"), c.angle) << c.reason;
        const tpu::BeamTerms beam = tpu::EvaluateBeam(tpu::StartInputs(), 10, c.beam);
        EXPECT_EQ(tvu->TotalText(), QStringLiteral("Beam %1\u00B0 TVU ").arg(c.beam) + kPm + total(beam, false) + " m")
            << c.reason;
        EXPECT_EQ(thu->TotalText(), QStringLiteral("Beam %1\u00B0 THU ").arg(c.beam) + kPm + total(beam, true) + " m")
            << c.reason;
    }
    ui.SpinUp("udbBudgetAngle");
    EXPECT_EQ(ui.Text("edtBudgetAngle"), "1");
    EXPECT_TRUE(tvu->TotalText().startsWith(QStringLiteral("Beam 1\u00B0 TVU")));

    // Typed beyond the swath: the bars show the outer beam while the field
    // keeps what is typed, and it reads the outer beam when finished.
    ui.Get<QLineEdit>("edtBudgetAngle")->setFocus();
    ui.Backspace("edtBudgetAngle");
    ui.Type("edtBudgetAngle", "70");
    EXPECT_EQ(ui.Text("edtBudgetAngle"), "70");
    EXPECT_TRUE(tvu->TotalText().startsWith(QStringLiteral("Beam 65\u00B0 TVU")));
    ui.Key("edtBudgetAngle", "Return");
    EXPECT_EQ(ui.Text("edtBudgetAngle"), "65");
    EXPECT_TRUE(MessageLog::Take().isEmpty());

    // RTK: five terms of the thirteen are the mode's zeros, not shown.
    EXPECT_EQ(tvu->Names().size(), 8U);
    EXPECT_FALSE(ui.Text("lblBudgetRtk").isEmpty());
    ui.Click("rbn_gnss_DGNSS");
    EXPECT_EQ(tvu->Names().size(), 13U);
    EXPECT_EQ(ui.Get<tpu::BudgetBars>("barsNadirTvu")->Names().size(), 11U);
    EXPECT_TRUE(ui.Text("lblBudgetRtk").isEmpty());
}

TEST_F(TpuWindow, DepthFieldsTrackBarAndLimitsStayInStep) {
    struct Case {
        const char* field;
        const char* text;
        int depth;
        const char* orsted;
    };
    const Case cases[] = {
        {"edt_Depth_main", "20", 20, "\u00B1  0.15 m"},
        {"edt_Depth", "21", 21, "\u00B1  0.20 m"},
        {"edt_Depth_main", "40", 40, "\u00B1  0.20 m"},
        {"edt_Depth", "41", 41, "\u00B1  0.25 m"},
    };
    for (const Case& c : cases) {
        ui.SetText(c.field, QString::fromLatin1(c.text));
        EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->value(), c.depth);
        EXPECT_EQ(ui.Text("edt_Depth"), c.text);
        EXPECT_EQ(ui.Text("edt_Depth_main"), c.text);
        EXPECT_EQ(ui.Text("lbl_scroll_depth"), QStringLiteral("%1 m").arg(c.depth));
        EXPECT_EQ(ui.Text("lbl_v7"), c.orsted);
    }
    // Beyond the sonar's reach the track bar stops at its end; typed again, the
    // field keeps what was typed.
    ui.SetText("edt_Depth_main", QStringLiteral("600"));
    EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->value(), 500);
    EXPECT_EQ(ui.Text("edt_Depth_main"), "500");
    ui.SetText("edt_Depth_main", QStringLiteral("600"));
    EXPECT_EQ(ui.Text("edt_Depth_main"), "600");
    EXPECT_EQ(ui.Text("lbl_scroll_depth"), "500 m");
    ui.Get<QSlider>("TrackBar1")->setValue(30);
    EXPECT_EQ(ui.Text("edt_Depth_main"), "30");
    EXPECT_EQ(ui.Text("edt_Depth"), "30");
    // SetDepth moves all three, held within the sonar's reach.
    window.SetDepth(700);
    EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->value(), 500);
    EXPECT_EQ(ui.Text("edt_Depth"), "500");
    EXPECT_EQ(ui.Text("edt_Depth_main"), "500");
    EXPECT_EQ(ui.Text("lbl_scroll_depth"), "500 m");
    window.SetDepth(30);
    EXPECT_EQ(ui.Text("lbl_v7"), "\u00B1  0.20 m");
    EXPECT_TRUE(MessageLog::Take().isEmpty());

    ui.SetText("edt_Depth", QString());
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: '' is not a valid integer value."});
    EXPECT_EQ(ui.Get<QSlider>("TrackBar1")->value(), 30);
    EXPECT_EQ(ui.Text("edt_Depth_main"), "30");
}

TEST_F(TpuWindow, AFieldThatCannotBeReadStopsTheComputationThereOnce) {
    const QStringList before = Results();
    ui.SetText("edt_frq", QStringLiteral("200"));
    ui.SetText("edt_Pulse_duration", QStringLiteral("30.5"));
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: '30.5' is not a valid integer value."});
    // The beamwidths are written before the pulse length is read; the results are not.
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 2.0 \u00B0");
    EXPECT_EQ(ui.Text("edt_Max_TVU"), before[2]);
    EXPECT_EQ(Points("TVU_Calc_Chart", 0), 0);

    // A preset writing several fields while one cannot be read: one message.
    ui.Choose("cbo_Select_Motion", QStringLiteral("2 - I2NS I (Appl. OceanMaster)"));
    EXPECT_EQ(MessageLog::Take().size(), 1);
    ui.SetText("edt_Pulse_duration", QStringLiteral("30"));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(Points("TVU_Calc_Chart", 0), 67);
}

// A swath wider than a full turn is a slip of the keyboard: one error like a
// field that cannot be read, and no sweep of millions of beams.
TEST_F(TpuWindow, ASwathOutsideAFullTurnIsRefusedLikeAFieldThatCannotBeRead) {
    struct Case {
        const char* text;
        int points; // of the TVU curve; 0 when refused
    };
    const Case cases[] = {{"10000000", 0}, {"2147483647", 0}, {"361", 0}, {"-10", 0}, {"360", 182}, {"0", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QElapsedTimer clock;
        clock.start();
        ui.SetText("edt_Swath_width", QString::fromLatin1(c.text));
        EXPECT_LT(clock.elapsed(), 2000);
        const QStringList shown = MessageLog::Take();
        if (c.points == 0) {
            EXPECT_EQ(shown, QStringList{QStringLiteral("error: '%1' is not a swath width from 0 to 360 degrees.")
                                             .arg(QString::fromLatin1(c.text))});
        } else {
            EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();
        }
        EXPECT_EQ(Points("TVU_Calc_Chart", 0), c.points);
    }
}

// On a laptop's screen the window is smaller than its layout: the layout keeps
// its size and scrolls, and the results column never lies over the charts.
// The results column is what a surveyor reads: on a laptop's screen it stays
// whole in view, the tabs and charts narrowing instead, and the window scrolls
// only below the least room it lays itself out for.
TEST_F(TpuWindow, TheResultsColumnStaysInViewAndTheTabsAndChartsGiveWay) {
    struct Room {
        QSize size;
        bool scrolls;
    };
    const Room rooms[] = {
        {{1484, 830}, false}, // the design size
        {{1280, 740}, false}, // a 1280 x 800 laptop, less panel and title bar
        {{1010, 680}, false}, // the least room
        {{1600, 900}, false}, // larger than designed
        {{900, 600}, true},
    };
    const auto* area = window.findChild<QScrollArea*>("scrollArea");
    ASSERT_NE(area, nullptr);
    for (const Room& room : rooms) {
        SCOPED_TRACE(std::to_string(room.size.width()) + "x" + std::to_string(room.size.height()));
        window.resize(room.size);
        QTest::qWait(0);
        EXPECT_EQ(area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible(), room.scrolls);
        if (const QString shots = qEnvironmentVariable("TORMALIND_SHOT_DIR"); !shots.isEmpty()) {
            window.grab().save(
                QStringLiteral("%1/tpu-%2x%3.png").arg(shots).arg(room.size.width()).arg(room.size.height()));
        }
        if (room.scrolls) {
            continue;
        }
        const QRect shown = window.rect();
        for (const char* result : {"btn_Print_PDF", "lbl_scroll_depth", "edt_Max_TVU", "edt_Min_TVU", "lbl_v1",
                                   "lbl_v7", "edt_Max_THU", "edt_Min_THU", "lbl_h7"}) {
            const QWidget* widget = ui.Get(result);
            const QRect at(widget->mapTo(&window, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(shown.contains(at)) << result;
        }
        // Nothing lies under the results column or under another part.
        const QWidget* right = ui.Get("pnlTPU_Right");
        const QWidget* setup = ui.Get("TPU_Setup");
        const QWidget* charts = ui.Get("TPU_Graphs");
        EXPECT_EQ(right->x() + right->width(), right->parentWidget()->width());
        for (const char* part : {"TPU_Setup", "TPU_Graphs", "ckb_IHO_Special", "ckb_NL_B", "ckb_Orsted"}) {
            EXPECT_LT(ui.Get(part)->geometry().right(), right->x()) << part;
        }
        for (const char* box : {"ckb_IHO_Special", "ckb_Orsted"}) {
            EXPECT_LT(ui.Get(box)->geometry().bottom(), setup->y()) << box;
        }
        EXPECT_LT(setup->geometry().bottom(), charts->y());
        EXPECT_LE(charts->geometry().bottom(), charts->parentWidget()->height());
        // A field beyond a narrowed tab's edge is scrolled to, not lost.
        auto* page = ui.Get("edtAlongbeam")->parentWidget();
        auto* pageArea = qobject_cast<QScrollArea*>(page->parentWidget()->parentWidget());
        ASSERT_NE(pageArea, nullptr);
        pageArea->ensureWidgetVisible(ui.Get("edtAlongbeam"));
        const QRect along(ui.Get("edtAlongbeam")->mapTo(pageArea, QPoint(0, 0)), ui.Get("edtAlongbeam")->size());
        EXPECT_TRUE(pageArea->rect().contains(along));
    }
    // At the design size every part stands where the form puts it.
    window.resize(1484, 830);
    QTest::qWait(0);
    EXPECT_EQ(ui.Get("pnlTPU_Right")->pos(), QPoint(1155, 0));
    EXPECT_EQ(ui.Get("TPU_Setup")->geometry(), QRect(92, 60, 1057, 230));
    EXPECT_EQ(ui.Get("TPU_Graphs")->geometry(), QRect(92, 296, 1057, 528));
    EXPECT_EQ(ui.Get("ckb_Orsted")->pos(), QPoint(998, 26));
    EXPECT_EQ(ui.Get("TrackBar1")->height(), 736);
    EXPECT_TRUE(ui.Get("img_Logo")->isVisible());
}

TEST_F(TpuWindow, AnyTextInAnyFieldGivesAtMostOneMessageAndWholeSeries) {
    const QStringList fields{"edt_Swath_width", "edt_Pulse_duration", "edt_frq",     "edt_sonar_x_off",
                             "edt_Patch_yaw",   "edt_pos_horizontal", "edt_SD_Roll", "edt_SD_Heading",
                             "edt_Max_heave",   "edt_Soundvelocity",  "edt_SD_SVP",  "edt_Depth_main"};
    const QStringList texts{"", "-", "1e999", QString(300, QLatin1Char('9')), "abc", "0,5", "-7", "0"};
    for (const QString& field : fields) {
        const QString kept = ui.Text(field);
        for (const QString& text : texts) {
            ui.SetText(field, text);
            EXPECT_LE(MessageLog::Take().size(), 1) << field.toStdString() << " " << text.toStdString();
            const int count = Points("TVU_Calc_Chart", 0);
            EXPECT_EQ(Points("THU_Calc_Chart", 15), count) << field.toStdString() << " " << text.toStdString();
            EXPECT_LE(count, 82);
        }
        ui.SetText(field, kept);
        MessageLog::Take();
    }
    EXPECT_EQ(Results().mid(2), (QStringList{kPm + "0.091", kPm + "0.078", kPm + "0.954", kPm + "0.110"}));
}

// ---------------------------------------------------------------------------
// Settings file

namespace {

class TpuSettingsFile : public TpuWindow {
protected:
    void SetUp() override {
        TpuWindow::SetUp();
        ASSERT_TRUE(folder.isValid());
    }
    void TearDown() override { kit::SetFileDialogPresenter({}); }

    // The next file dialog answers `path`.
    static void Answer(const QString& path) {
        kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
    }
    static void Save(TTPU_Calculator& window, const QString& path) {
        Answer(path);
        support::Controls(&window).Click("Button6");
    }
    static void Load(TTPU_Calculator& window, const QString& path) {
        Answer(path);
        support::Controls(&window).Click("Button7");
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Every field's text, by name.
    static QMap<QString, QString> Fields(TTPU_Calculator& window) {
        QMap<QString, QString> texts;
        for (const QLineEdit* field : window.findChildren<QLineEdit*>()) {
            if (!field->objectName().isEmpty()) {
                texts[field->objectName()] = field->text();
            }
        }
        return texts;
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(TpuSettingsFile, SavesFortyLinesAndTheChoicesAndLoadsThemBackIntoAFreshWindow) {
    const QString path = folder.filePath(QStringLiteral("start.tpu"));
    Save(window, path);
    // The forty lines as they always were, then the lists and the three groups,
    // then the sonar whose beamwidths and depth range are in use.
    const QByteArray expected = "130\r\nSonic 2024\r\n30\r\n400\r\n0.01\r\n0.01\r\n0.01\r\n0.05\r\n0.05\r\n0.2\r\n"
                                "30\r\n0.05\r\n0.05\r\n0.01\r\n0.01\r\n0.01\r\nI2NS v.II (WaveMaster)\r\n30\r\n0.02\r\n"
                                "0.02\r\n0.05\r\n0.01\r\n0.01\r\n0.01\r\nI2NS v.II (WaveMaster)\r\n30\r\n0.03\r\n0\r\n"
                                "0\r\n0\r\n10\r\n1.0\r\n0\r\n0.025\r\n0.025\r\n\"Tormalind ApS\"\r\n\"Client\"\r\n"
                                "\"Project ID:\"\r\n\"Operator\"\r\n1500\r\n"
                                "Sonic 2024\r\n3 - I2NS II (Appl. Wavemaster)\r\n3 - I2NS II (Applanix Wavemaster)\r\n"
                                "RTK\r\nRTK\r\n2 m separation\r\nSonic 2024\r\n";
    EXPECT_EQ(Bytes(path), expected);

    // Figures of another installation, in DGNSS, with a degree sign in a text.
    ui.Choose("rdg_gnss_mode", QStringLiteral("DGNSS"));
    ui.SetText("edt_Depth_main", QStringLiteral("35"));
    ui.SetText("edt_tidal_SD", QStringLiteral("0.3"));
    ui.SetText("edt_Swath_width", QStringLiteral("150"));
    ui.SetText("edt_Project", QStringLiteral("Cable route 2\u00B0 east"));
    const QString other = folder.filePath(QStringLiteral("other.tpu"));
    Save(window, other);
    EXPECT_TRUE(Bytes(other).contains("Cable route 2\xB0 east\r\n"));

    // A fresh window in RTK takes the file's DGNSS, and the tide with it.
    TTPU_Calculator fresh;
    fresh.show();
    support::Controls freshUi(&fresh);
    Load(fresh, other);
    EXPECT_EQ(freshUi.Text("rbn_gnss_DGNSS"), "checked");
    EXPECT_EQ(Fields(fresh), Fields(window));
    EXPECT_EQ(freshUi.Get<QSlider>("TrackBar1")->value(), 35);
    const QString again = folder.filePath(QStringLiteral("again.tpu"));
    Save(fresh, again);
    EXPECT_EQ(Bytes(again), Bytes(other));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// Every sonar in both GNSS modes: a file loaded into a fresh window gives the
// results and the chart points it was saved with.
TEST_F(TpuSettingsFile, EverySonarAndGnssModeComesBackWithItsResults) {
    const QStringList sonars = [&] {
        QStringList items;
        const auto* list = ui.Get<QComboBox>("cbo_Select_sonar");
        for (int i = 1; i < list->count(); ++i) {
            items << list->itemText(i);
        }
        return items;
    }();
    ASSERT_EQ(sonars.size(), 8);
    for (const QString& sonar : sonars) {
        for (const QString& mode : {QStringLiteral("RTK"), QStringLiteral("DGNSS")}) {
            SCOPED_TRACE((sonar + " " + mode).toStdString());
            TTPU_Calculator saved;
            saved.show();
            support::Controls savedUi(&saved);
            savedUi.Choose("cbo_Select_sonar", sonar);
            savedUi.Choose("cbo_Select_Motion", QStringLiteral("4 - I2NS III (Appl. SurfMaster)"));
            savedUi.Choose("rdg_gnss_mode", mode);
            savedUi.SetText("edt_tidal_SD", QStringLiteral("0.15"));
            const QString path = folder.filePath(QStringLiteral("installation.tpu"));
            Save(saved, path);

            TTPU_Calculator loaded;
            loaded.show();
            support::Controls loadedUi(&loaded);
            Load(loaded, path);
            EXPECT_TRUE(MessageLog::Take().isEmpty());
            for (const char* name : {"cbo_Select_sonar", "cbo_Select_Motion", "cbo_Select_Heading", "rbn_gnss_DGNSS",
                                     "rbn_aiding_DGNSS", "rbn_antenna_4m", "edtAlongbeam", "edtAcrossbeam",
                                     "edt_Max_TVU", "edt_Min_TVU", "edt_Max_THU", "edt_Min_THU", "edt_tidal_SD"}) {
                EXPECT_EQ(loadedUi.Text(name), savedUi.Text(name)) << name;
            }
            EXPECT_EQ(Fields(loaded), Fields(saved));
            for (const char* chart : {"TVU_Calc_Chart", "THU_Calc_Chart"}) {
                EXPECT_EQ(loadedUi.Get<kit::ChartView>(chart)->GetSeries(0).Points(),
                          savedUi.Get<kit::ChartView>(chart)->GetSeries(0).Points())
                    << chart;
            }
        }
    }
}

// Every state a surveyor can reach saves a file that loads back: each sonar
// (the list's "Default" after another one included), both GNSS modes, and text
// fields with line breaks, control characters, long texts and characters the
// code page cannot hold. A save either refuses with one message and writes
// nothing, or a fresh window loads every field, list, mode and result back.
TEST_F(TpuSettingsFile, EveryReachableStateSavesAFileThatLoadsBackOrIsRefused) {
    struct Text {
        const char* what;
        QString contractor;
        enum { Saved, TooLong, Declined } outcome;
    };
    const Text texts[] = {
        {"plain", QStringLiteral("Skibsv\u00E6rft \u00B10.2\u00B0"), Text::Saved},
        {"two lines pasted", QStringLiteral("Line one\nLine two\r\tend\u2028x\u0001"), Text::Saved},
        {"at the limit", QString(1000, QLatin1Char('w')), Text::Saved},
        {"past the limit", QString(1001, QLatin1Char('w')), Text::TooLong},
        {"outside the code page, declined", QStringLiteral("\u0141ukasz \U0001F600"), Text::Declined},
    };
    const QStringList sonars = [&] {
        QStringList items;
        const auto* list = ui.Get<QComboBox>("cbo_Select_sonar");
        for (int i = 0; i < list->count(); ++i) {
            items << list->itemText(i);
        }
        return items;
    }();
    const auto blanked = [](QString text) {
        for (QChar& ch : text) {
            if (ch.category() == QChar::Other_Control || ch == QChar(0x2028)) {
                ch = QLatin1Char(' ');
            }
        }
        return text;
    };
    const QString path = folder.filePath(QStringLiteral("state.tpu"));
    int round = 0;
    for (const QString& sonar : sonars) {
        for (const QString& mode : {QStringLiteral("RTK"), QStringLiteral("DGNSS")}) {
            const Text& text = texts[round++ % std::size(texts)];
            SCOPED_TRACE((sonar + " " + mode + ", " + text.what).toStdString());
            QFile::remove(path);
            TTPU_Calculator saved;
            saved.show();
            support::Controls savedUi(&saved);
            // "Default" keeps the figures of the sonar before it.
            savedUi.Choose("cbo_Select_sonar", sonars[(sonars.indexOf(sonar) + 2) % sonars.size()]);
            savedUi.Choose("cbo_Select_sonar", sonar);
            savedUi.Choose("rdg_gnss_mode", mode);
            savedUi.SetText("edt_Depth_main", QStringLiteral("180"));
            savedUi.SetText("edt_tidal_SD", QStringLiteral("0.15"));
            savedUi.SetText("edt_Contractor", text.contractor);
            savedUi.SetText("edt_Operator", text.contractor.left(30));
            MessageLog::Take();
            MessageLog::Proceed() = text.outcome != Text::Declined;
            Save(saved, path);
            MessageLog::Proceed() = true;
            const QStringList shown = MessageLog::Take();
            if (text.outcome != Text::Saved) {
                ASSERT_EQ(shown.size(), 1);
                EXPECT_TRUE(shown[0].startsWith(text.outcome == Text::TooLong
                                                    ? QStringLiteral("error: Cannot save the settings: \"Contractor\"")
                                                    : QStringLiteral("question: \"state.tpu\"")))
                    << shown[0].toStdString();
                EXPECT_FALSE(QFileInfo::exists(path));
                continue;
            }
            EXPECT_TRUE(shown.isEmpty()) << shown.join('|').toStdString();

            TTPU_Calculator loaded;
            loaded.show();
            support::Controls loadedUi(&loaded);
            Load(loaded, path);
            EXPECT_TRUE(MessageLog::Take().isEmpty());
            auto expected = Fields(saved);
            expected["edt_Contractor"] = blanked(expected["edt_Contractor"]);
            expected["edt_Operator"] = blanked(expected["edt_Operator"]);
            EXPECT_EQ(Fields(loaded), expected);
            for (const char* name : {"cbo_Select_sonar", "cbo_Select_Motion", "cbo_Select_Heading", "rbn_gnss_DGNSS",
                                     "rbn_aiding_DGNSS", "rbn_antenna_4m", "lbl_Max_Depth", "lbl_scroll_depth"}) {
                EXPECT_EQ(loadedUi.Text(name), savedUi.Text(name)) << name;
            }
            for (const char* chart : {"TVU_Calc_Chart", "THU_Calc_Chart"}) {
                EXPECT_EQ(loadedUi.Get<kit::ChartView>(chart)->GetSeries(0).Points(),
                          savedUi.Get<kit::ChartView>(chart)->GetSeries(0).Points())
                    << chart;
            }
        }
    }
}

// A save refused while a field cannot be read, in the words of the report's
// refusal, leaves the good file as it was; both depth fields count.
TEST_F(TpuSettingsFile, NoFileIsWrittenWhileAFieldCannotBeRead) {
    const QString path = folder.filePath(QStringLiteral("good.tpu"));
    Save(window, path);
    const QByteArray good = Bytes(path);
    struct Case {
        const char* field;
        const char* text;
        QString error; // after "Correct "
    };
    const Case cases[] = {
        {"edt_Patch_roll", "0,35", QStringLiteral("Roll\" before %1: '0,35' is not a valid floating point value.")},
        {"edt_Depth", "5O", QStringLiteral("Depth (m)\" before %1: '5O' is not a valid integer value.")},
        {"edt_Depth_main", "5O", QStringLiteral("Depth (m)\" before %1: '5O' is not a valid integer value.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const QString kept = ui.Text(c.field);
        ui.SetText(c.field, QString::fromLatin1(c.text));
        MessageLog::Take();
        Save(window, path);
        EXPECT_EQ(MessageLog::Take(),
                  QStringList{"error: Correct \"" + c.error.arg(QStringLiteral("saving the settings"))});
        EXPECT_EQ(Bytes(path), good);
        // The report and the sweep are refused alike: they would print a depth
        // beside the results of another.
        kit::SetDesktopOpener([](const QString&) { return true; });
        const QString start = QDir::currentPath();
        QDir::setCurrent(folder.path());
        ui.Click("btn_Print_PDF");
        QDir::setCurrent(start);
        kit::SetDesktopOpener({});
        Answer(folder.filePath(QStringLiteral("sweep.csv")));
        ui.Click("btnExportSweep");
        EXPECT_EQ(MessageLog::Take(),
                  (QStringList{"error: Correct \"" + c.error.arg(QStringLiteral("printing the report")),
                               "error: Correct \"" + c.error.arg(QStringLiteral("exporting the sweep"))}));
        EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("TPU_Report.pdf"))));
        EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("sweep.csv"))));
        ui.SetText(c.field, kept);
        MessageLog::Take();
    }
}

// A settings file from an editor of today, or with line ends of another
// system, loads as the file the window writes.
TEST_F(TpuSettingsFile, FilesInOtherEncodingsAndLineEndsLoad) {
    ui.SetText("edt_Contractor", QStringLiteral("Skibsv\u00E6rft"));
    const QString good = folder.filePath(QStringLiteral("good.tpu"));
    Save(window, good);
    const QString text = QString::fromLatin1(Bytes(good)); // Windows-1252 within Latin-1 here
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const QString crOnly = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    const Case cases[] = {
        {"UTF-8 without a mark", text.toUtf8()},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()},
        {"UTF-16 with a mark",
         QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)},
        {"CR alone", crOnly.toLatin1()},
    };
    ui.SetText("edt_Contractor", QStringLiteral("x"));
    const QString path = folder.filePath(QStringLiteral("other.tpu"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(path, c.bytes);
        ui.SetText("edt_Contractor", QStringLiteral("x"));
        MessageLog::Take();
        Load(window, path);
        EXPECT_TRUE(MessageLog::Take().isEmpty());
        EXPECT_EQ(ui.Text("edt_Contractor"), QStringLiteral("Skibsv\u00E6rft"));
    }
}

// The save dialog proposes the project's name and the file's kind, and the
// load dialog opens where the settings were saved.
TEST_F(TpuSettingsFile, TheDialogsProposeTheProjectAndTheLastFolder) {
    QList<kit::FileDialogRequest> asked;
    const QString path = folder.filePath(QStringLiteral("x.tpu"));
    kit::SetFileDialogPresenter([&](const kit::FileDialogRequest& request) {
        asked << request;
        return path;
    });
    ui.SetText("edt_Project", QStringLiteral("Cable route 2/East"));
    ui.Click("Button6");
    ui.SetText("edt_Project", QString());
    ui.Click("Button6");
    ui.Click("Button7");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked[0].fileName, QStringLiteral("Cable route 2_East TPU settings.tpu"));
    EXPECT_EQ(asked[1].fileName, QStringLiteral("TPU settings.tpu"));
    EXPECT_EQ(asked[1].folder, folder.path());
    EXPECT_EQ(asked[2].folder, folder.path());
}

// A file of the forty lines alone loads as it always did: the lists and the
// GNSS mode stay, and in RTK the vessel figures and the tide are zero again.
TEST_F(TpuSettingsFile, AFortyLineFileKeepsTheWindowsChoices) {
    const QString path = folder.filePath(QStringLiteral("vessel.tpu"));
    Save(window, path);
    QList<QByteArray> lines = Bytes(path).split('\n').mid(0, 40);
    lines[27] = "0.3\r"; // SD-Draft
    lines[32] = "0.2\r"; // Tidal SD
    Write(path, lines.join('\n') + '\n');
    Load(window, path);
    EXPECT_EQ(ui.Text("edt_SD_Draft"), "0");
    EXPECT_EQ(ui.Text("edt_tidal_SD"), "0");
    ui.Choose("rdg_gnss_mode", QStringLiteral("DGNSS"));
    Load(window, path);
    EXPECT_EQ(ui.Text("rbn_gnss_DGNSS"), "checked");
    EXPECT_EQ(ui.Text("edt_SD_Draft"), "0.3");
    EXPECT_EQ(ui.Text("edt_tidal_SD"), "0.2");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// The pulse length stands on four lines of the file: the field takes lines 3
// and 18 (the later one last) and never reads lines 11 and 26.
TEST_F(TpuSettingsFile, ThePulseLengthComesFromLinesThreeAndEighteenOnly) {
    const QString path = folder.filePath(QStringLiteral("pulse.tpu"));
    Save(window, path);
    const QList<QByteArray> lines = Bytes(path).split('\n');
    struct Case {
        QByteArray line3, line11, line18, line26;
        QString shown; // the field after loading; empty when the file is refused
        const char* reason;
    };
    const Case cases[] = {
        {"40", "45", "40", "50", "40", "lines 11 and 26 change nothing"},
        {"40", "not read", "40", "", "40", "lines 11 and 26 are not even checked"},
        {"35", "30", "60", "30", "60", "line 18 is written after line 3"},
        {"3.5", "30", "60", "30", "", "line 3 must be a whole number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        ui.SetText("edt_Pulse_duration", QStringLiteral("30"));
        MessageLog::Take();
        QList<QByteArray> changed = lines;
        changed[2] = c.line3 + '\r';
        changed[10] = c.line11 + '\r';
        changed[17] = c.line18 + '\r';
        changed[25] = c.line26 + '\r';
        Write(path, changed.join('\n'));
        Load(window, path);
        const QStringList shown = MessageLog::Take();
        EXPECT_EQ(shown.isEmpty(), !c.shown.isEmpty()) << shown.join('|').toStdString();
        EXPECT_EQ(ui.Text("edt_Pulse_duration"), c.shown.isEmpty() ? QStringLiteral("30") : c.shown);
    }
}

TEST_F(TpuSettingsFile, AFileThatIsNoSettingsFileIsRefusedWholeWithItsFirstBadLine) {
    const QString good = folder.filePath(QStringLiteral("good.tpu"));
    Save(window, good);
    const QList<QByteArray> lines = Bytes(good).split('\n');
    const auto with = [&](int line, const QByteArray& text) {
        QList<QByteArray> changed = lines;
        changed[line - 1] = text + '\r';
        return changed.join('\n');
    };
    const QString path = folder.filePath(QStringLiteral("bad.tpu"));
    const QString name = QDir::toNativeSeparators(path);
    struct Case {
        const char* what;
        QByteArray bytes;
        QString error;
    };
    const Case cases[] = {
        {"thirty lines", lines.mid(0, 30).join('\n') + '\n',
         QStringLiteral("Cannot load \"%1\": line 31 is missing: a settings file has 40 lines.").arg(name)},
        {"one bad number", with(12, "0,05"),
         QStringLiteral("Cannot load \"%1\": line 12 \"0,05\" is not a number.").arg(name)},
        {"a NUL in a number",
         with(31, QByteArray("1\0"
                             "30",
                             4)),
         QStringLiteral("Cannot load \"%1\": line 31 \"1\\00h30\" is not a whole number.").arg(name)},
        {"an unknown sonar", with(41, "Sonic 9999"),
         QStringLiteral("Cannot load \"%1\": line 41 \"Sonic 9999\" is not a sonar of the list.").arg(name)},
        {"an unknown mode", with(44, "PPP"),
         QStringLiteral("Cannot load \"%1\": line 44 \"PPP\" is not a GNSS mode (RTK or DGNSS).").arg(name)},
        {"forty lines, one of 2 MB", with(3, QByteArray(2 << 20, '7')), QString()},
        {"cut inside its last line", Bytes(good).chopped(3),
         QStringLiteral("Cannot load \"%1\": line 47 has no line end: the file was cut short.").arg(name)},
        {"cut inside the choices", lines.mid(0, 43).join('\n') + '\n',
         QStringLiteral("Cannot load \"%1\": line 44 is missing: the choices after line 40 are 6 lines.").arg(name)},
    };
    ui.Choose("rdg_gnss_mode", QStringLiteral("DGNSS"));
    ui.SetText("edt_Swath_width", QStringLiteral("100"));
    MessageLog::Take();
    const auto before = Fields(window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(path, c.bytes);
        Load(window, path);
        QStringList shown = MessageLog::Take();
        if (QByteArray(c.what).startsWith("forty lines, one of 2 MB")) {
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: Cannot load \"%1\": at ").arg(name)));
        } else {
            EXPECT_EQ(shown, QStringList{"error: " + c.error});
        }
        EXPECT_EQ(Fields(window), before) << "a field changed";
        EXPECT_EQ(ui.Text("rbn_gnss_DGNSS"), "checked");
    }
    // A pipe is never read: it would not end.
    const QString pipe = folder.filePath(QStringLiteral("x.tpu"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Load(window, pipe);
    EXPECT_EQ(MessageLog::Take(),
              QStringList{
                  QStringLiteral("error: Cannot load \"%1\": it is not a file.").arg(QDir::toNativeSeparators(pipe))});
    EXPECT_EQ(Fields(window), before);
}

TEST_F(TpuSettingsFile, MissingAndUnwritableFilesAreReported) {
    Load(window, folder.filePath(QStringLiteral("none.tpu")));
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: File does not exist."});

    Save(window, QStringLiteral("/nonexistent-folder/settings.tpu"));
    EXPECT_EQ(MessageLog::Take().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/nonexistent-folder/settings.tpu")));

    // A cancelled dialog does nothing.
    Answer(QString());
    ui.Click("Button7");
    ui.Click("Button6");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// The sweep's export uses the settings file's fixture: a file dialog answered
// in advance and a folder of its own.
TEST_F(TpuSettingsFile, ExportSweepWritesEveryBeamOrNothing) {
    const QString path = folder.filePath(QStringLiteral("sweep.csv"));
    ui.SetText("edt_Depth_main", QStringLiteral("40"));
    ui.Click("ckb_NL_A");
    Answer(path);
    ui.Click("btnExportSweep");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    const QList<QByteArray> lines = Bytes(path).split('\n');
    // The installation above the table: what it was computed with, each
    // field under its tab, as a spreadsheet shows it.
    const qsizetype header = lines.indexOf("\r") + 1;
    ASSERT_GT(header, 0);
    EXPECT_EQ(lines.mid(0, 4), (QList<QByteArray>{"Sonar,Sonic 2024\r", "GNSS mode,RTK (Accurate height)\r",
                                                  "Depth (m),40\r", "Multibeam System: Swath width,130\r"}));
    EXPECT_TRUE(lines.contains("Motion Sensor: SD X-offset,0.01\r"));
    EXPECT_TRUE(lines.contains("Project Information: Contractor,\"\"\"Tormalind ApS\"\"\"\r"));
    EXPECT_TRUE(lines.contains("NL Order A THU limit (m),0.400000\r"));
    ASSERT_EQ(lines.size(), header + 1 + 66 + 1) << "the header, 0° to 65°, and the last line's end";
    EXPECT_TRUE(lines[header].startsWith("Depth (m),Angle (deg),TVU (m),THU (m),"));
    EXPECT_TRUE(lines[header].endsWith(",IHO Special Order,NL Order A\r")) << "the ticked orders";
    const QByteArray& outer = lines[header + 66];
    EXPECT_TRUE(outer.startsWith("40,65,0.2")) << outer.toStdString(); // TVU of the outer beam, 0.2.. m
    EXPECT_TRUE(outer.endsWith(",fail,fail\r")) << "the outer beam's THU, 3.8 m, meets neither";

    // While a field cannot be read there is no sweep to export; an older file stays.
    ui.SetText("edt_SD_Roll", QStringLiteral("0,02"));
    MessageLog::Take();
    const QByteArray before = Bytes(path);
    ui.Click("btnExportSweep");
    const QStringList refused = MessageLog::Take();
    EXPECT_EQ(refused, QStringList{QStringLiteral("error: Correct \"SD Roll\" before exporting the sweep: "
                                                  "'0,02' is not a valid floating point value.")})
        << refused.join("|").toStdString();
    EXPECT_EQ(Bytes(path), before);
    ui.SetText("edt_SD_Roll", QStringLiteral("0.02"));

    Answer(QStringLiteral("/nonexistent-folder/sweep.csv"));
    ui.Click("btnExportSweep");
    const QStringList shown = MessageLog::Take();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("/nonexistent-folder/sweep.csv"))) << shown[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/nonexistent-folder/sweep.csv")));
}

TEST_F(TpuSettingsFile, RandomAndTruncatedFilesChangeNothing) {
    const QString good = folder.filePath(QStringLiteral("good.tpu"));
    Save(window, good);
    const QByteArray whole = Bytes(good);
    const QString path = folder.filePath(QStringLiteral("fuzz.tpu"));
    std::mt19937 random(20261210);
    ui.SetText("edt_Swath_width", QStringLiteral("110"));
    MessageLog::Take();
    const auto before = Fields(window);
    const QStringList results = Results();
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes;
        if (round % 2 == 0) {
            bytes = whole.left(static_cast<qsizetype>(random() % static_cast<unsigned>(whole.size())));
            // A cut between CR and LF still ends the line: CR alone is a line end.
            const qsizetype ends = bytes.count('\n') + (bytes.endsWith('\r') ? 1 : 0);
            if ((ends == 40 || ends == 46 || ends == 47) && (bytes.endsWith('\n') || bytes.endsWith('\r'))) {
                continue; // whole lines of the older forms, or all of them: a file that loads
            }
        } else {
            bytes.resize(static_cast<qsizetype>(random() % 5000));
            for (char& byte : bytes) {
                byte = static_cast<char>(random() % 256);
            }
        }
        Write(path, bytes);
        Load(window, path);
        EXPECT_EQ(MessageLog::Take().size(), 1) << round;
        EXPECT_EQ(Fields(window), before) << round;
        EXPECT_EQ(Results(), results) << round;
    }
    // The good file brings the saved figures back.
    Load(window, good);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(ui.Text("edt_Swath_width"), "130");
    EXPECT_EQ(Results().mid(2), (QStringList{kPm + "0.091", kPm + "0.078", kPm + "0.954", kPm + "0.110"}));
}

} // namespace ttpu_calculator_test
