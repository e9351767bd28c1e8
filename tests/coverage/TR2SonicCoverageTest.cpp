#include "coverage/TR2SonicCoverage.h"

#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "kit/UpDown.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "survey/SonarModels.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tr2sonic_coverage_test {

namespace {

class CoverageWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }
    void TearDown() override { kit::SetFileDialogPresenter({}); }

    QStringList Hits() const {
        QStringList texts;
        for (const char* name : {"edt_1along_A1", "edt_1across_A2", "edt_1x1total_A3"}) {
            texts << ui.Text(name);
        }
        return texts;
    }
    QByteArray SaveReport() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("report.txt"));
        kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
        ui.Click("btnSavetoTxt");
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TR2SonicCoverage window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(CoverageWindow, OpensWithTheSonic2024SingleHeadFigures) {
    EXPECT_EQ(window.windowTitle(), "Multibeam Coverage Calculation");
    EXPECT_TRUE(ui.Get<QRadioButton>("rbnSonic2024")->isChecked());
    EXPECT_EQ(ui.Text("lblCoverage_2"), "5.5");
    EXPECT_EQ(ui.Text("lbl_Dual_or_single"), "(Single Head)");
    EXPECT_EQ(ui.Text("lblAtDepth"), "10 m");
    EXPECT_EQ(ui.Text("edtNo_5"), "  55");
    EXPECT_EQ(ui.Text("edtNo_6"), "0.17");
    EXPECT_EQ(ui.Text("edtNo_7"), "0.09");
    EXPECT_EQ(ui.Text("stPingrate"), "6.6 p/s");
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 1.0 \u00B0");
    EXPECT_EQ(ui.Text("edtAcrossbeam"), " 0.5 \u00B0");
    EXPECT_EQ(Hits(), (QStringList{"2", "10", "20"}));
    EXPECT_EQ(ui.Text("edtNo_1"), "");
    EXPECT_FALSE(ui.Get("edtNo_1")->isEnabled());
    EXPECT_FALSE(ui.Get("edtSelect_distance")->isEnabled());
    EXPECT_EQ(ui.Get<kit::UpDown>("udbRotate")->Minimum(), -10);
    EXPECT_EQ(ui.Get<kit::UpDown>("udbRotate")->Maximum(), 10);
    EXPECT_EQ(ui.Get<kit::ChartView>("Coverage")->GetSeries(0).Count(), 100);
    EXPECT_EQ(ui.Get<kit::ChartView>("Coverage")->GetSeries(1).Count(), 100);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(CoverageWindow, EmptyFieldsAreRefilledAndTheAltitudeFallsBackQuietly) {
    ui.SetText("edtFreq", QString());
    EXPECT_EQ(ui.Text("edtFreq"), "300");
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 1.3 \u00B0");
    EXPECT_EQ(ui.Text("edtAcrossbeam"), " 0.7 \u00B0");
    ui.SetText("edtSector", QString());
    EXPECT_EQ(ui.Text("edtSector"), "130");
    ui.SetText("edtSector", QStringLiteral("5"));
    EXPECT_EQ(ui.Text("edtSector"), "10");
    ui.SetText("edtmount_ang", QString());
    EXPECT_EQ(ui.Text("edtmount_ang"), "0");
    EXPECT_TRUE(MessageLog::Take().isEmpty());

    ui.SetText("edtSector", QStringLiteral("140"));
    ui.SetText("edtAltitude", QString());
    EXPECT_EQ(ui.Text("edtAltitude"), "");
    EXPECT_EQ(ui.Text("edtNo_5"), "  55"); // still computed at 10 m
    EXPECT_TRUE(MessageLog::Take().isEmpty());

    // Another field that cannot be read stops the run with one error box.
    ui.SetText("edtRange_select", QString());
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: '' is not a valid integer value."});
    ui.SetText("edtRange_select", QStringLiteral("100"));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(ui.Text("stPingrate"), "6.6 p/s");
}

TEST_F(CoverageWindow, EachSonarButtonSelectsTheRowItNames) {
    // The window pairs its buttons with the rows by place: a button paired
    // with the wrong row would compute with another sonar's beams.
    for (const survey::SonarModel& model : survey::kSonarModels) {
        const QString caption = QString::fromUtf8(model.caption.data(), qsizetype(model.caption.size()));
        QRadioButton* named = nullptr;
        for (QRadioButton* button : window.findChildren<QRadioButton*>()) {
            if (button->text() == caption) {
                ASSERT_EQ(named, nullptr) << "two buttons read " << caption.toStdString();
                named = button;
            }
        }
        ASSERT_NE(named, nullptr) << caption.toStdString();
        named->click();
        EXPECT_EQ(ui.Text("lblSonar_type").toStdString(), model.typeText) << caption.toStdString();
        MessageLog::Take();
    }
}

TEST_F(CoverageWindow, SonarRowsAndModesRewriteTheirFields) {
    ui.Click("rbnSonic2020");
    ui.SetText("edtAltitude", QStringLiteral("350"));
    EXPECT_EQ(MessageLog::Take(), QStringList{"message: Probably no coverage on this altitude!"});
    EXPECT_EQ(ui.Text("edtAltitude"), "200");
    ui.Click("rbnSonic2026");
    ui.SetText("edtAltitude", QStringLiteral("995"));
    ui.SpinUp("udbAltitude");
    EXPECT_EQ(ui.Text("edtAltitude"), "1000");
    EXPECT_TRUE(MessageLog::Take().isEmpty());

    ui.Click("rbnSonic2024_UHR");
    EXPECT_EQ(ui.Text("edtFreq"), "700");
    EXPECT_EQ(ui.Text("edtSector"), "70");
    EXPECT_EQ(MessageLog::Take(), QStringList{"message: Probably no coverage on this altitude!"});
    EXPECT_EQ(ui.Text("edtAltitude"), "50");
    ui.Click("rbnSonic2022");
    EXPECT_EQ(ui.Text("edtFreq"), "400");
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 1.0 \u00B0");

    ui.SetText("edtRotate", QStringLiteral("20"));
    ui.Click("rbnDual_h");
    EXPECT_EQ(ui.Text("edtRotate"), "0");
    EXPECT_FALSE(ui.Get("edtRotate")->isEnabled());
    EXPECT_TRUE(ui.Get("edtNo_1")->isEnabled());
    EXPECT_EQ(ui.Text("lbl_Dual_or_single"), "(Dual Head)");
    ui.SetText("edtmount_ang", QStringLiteral("-10"));
    ui.SetText("edtSector", QStringLiteral("140"));
    ui.SetText("edtAltitude", QStringLiteral("10"));
    EXPECT_EQ(ui.Text("edtNo_1"), " 114");
    EXPECT_EQ(ui.Text("edtNo_4"), "  34");
    ui.Click("btnZero");
    EXPECT_EQ(ui.Text("edtmount_ang"), "0");

    ui.Click("rbnED");
    ui.SetText("edtSelect_Beam_Angle", QStringLiteral("30"));
    EXPECT_EQ(ui.Text("edtSelect_Beam_Angle"), "0");
    ui.SetText("edtLengthAlong", QStringLiteral("5"));
    EXPECT_EQ(ui.Text("edtLengthAcross"), "5");
    ui.SetText("edtLengthAcross", QStringLiteral("7"));
    EXPECT_EQ(ui.Text("edtLengthAcross"), "5");
}

TEST_F(CoverageWindow, ReportCopiesTheShownTextsInWindows1252) {
    QByteArray single = SaveReport();
    EXPECT_TRUE(single.startsWith("    Tormalind ApS   R2Sonic  Coverage Calculator\r\n"));
    EXPECT_TRUE(single.contains("           Sector Coverage :........140\xB0 (swath width)\r\n"));
    EXPECT_TRUE(single.contains("           Single head seabed coverage:.....  55 m\r\n"));
    EXPECT_TRUE(single.contains("    Beam footprint hits in area - At survey speed 6 knots\r\n"));
    EXPECT_TRUE(single.contains("           Outer edge of box at 0\xB0 from nadir\r\n"));
    EXPECT_TRUE(
        single.contains("           1 x 1 m box: 20 beam centre hits     (2 along track and 10 across track)\r\n"));
    EXPECT_FALSE(single.contains("Dual head"));
    EXPECT_TRUE(single.endsWith("    tormalind.example\r\n"));

    ui.Click("rbnDual_h");
    ui.Click("rbnED");
    ui.Click("rbnMsec");
    ui.Click("rbn1024");
    const QByteArray dual = SaveReport();
    EXPECT_TRUE(dual.contains("           Dual head separation:.1 m (horizontal distance between heads)\r\n"));
    EXPECT_TRUE(dual.contains("           Mission mode :........... Equidistant (ED)\r\n"));
    EXPECT_TRUE(dual.contains("At survey speed 6 m/sec:\r\n"));
    EXPECT_TRUE(dual.contains("Number of Soundings per ping: 1024\r\n"));
    EXPECT_FALSE(dual.contains("Outer edge of box"));
    EXPECT_EQ(dual.count("\r\n"), 66);

    // A file that cannot be written: the error box, and no file.
    kit::SetFileDialogPresenter(
        [](const kit::FileDialogRequest&) { return QStringLiteral("/nonexistent-folder/report.txt"); });
    ui.Click("btnSavetoTxt");
    EXPECT_EQ(MessageLog::Take().size(), 1);
    EXPECT_FALSE(QFile::exists(QStringLiteral("/nonexistent-folder/report.txt")));
}

TEST_F(CoverageWindow, PictureFollowsTheHeadsAndPaintingComputesNothing) {
    EXPECT_EQ(window.Picture().heads.size(), 1U);
    EXPECT_EQ(window.Picture().fans.size(), 1U);
    ui.Click("rbnDual_h");
    EXPECT_EQ(window.Picture().heads.size(), 2U);
    EXPECT_EQ(window.Picture().fans.size(), 2U);

    // An error box over the window uncovers it; the repaint shows no new box.
    ui.SetText("edtSpeed_input", QString());
    EXPECT_EQ(MessageLog::Take().size(), 1);
    window.repaint();
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(CoverageWindow, AnyTextInAnyFieldGivesAtMostOneMessagePerChange) {
    const QStringList fields{"edtSector",      "edtmount_ang",      "edtRotate",           "edtRange_select",
                             "edtAltitude",    "edtFreq",           "edtSpeed_input",      "edtSelect_distance",
                             "edtLengthAlong", "edtLengthAlong_cm", "edtSelect_Beam_Angle"};
    const QStringList texts{"", "-", "abc", QString(300, QLatin1Char('9')), "99999999999", "0", "999999999"};
    for (const QString& field : fields) {
        const QString kept = ui.Text(field);
        for (const QString& text : texts) {
            ui.SetText(field, text);
            EXPECT_LE(MessageLog::Take().size(), 2) << field.toStdString() << " " << text.toStdString();
            for (const coverage::SwathFan& fan : window.Picture().fans) {
                for (const coverage::PicturePoint& p : fan.points) {
                    EXPECT_TRUE(p.x >= 0 && p.x <= 501 && p.y >= 0 && p.y <= 200);
                }
            }
        }
        ui.SetText(field, kept);
        MessageLog::Take();
    }
    ui.SetText("edtAltitude", QStringLiteral("10"));
    ui.SetText("edtRange_select", QStringLiteral("100"));
    EXPECT_EQ(ui.Text("edtNo_5"), "  55");
}

TEST(CoverageWindows, EachWindowComputesFromItsOwnFields) {
    TR2SonicCoverage first;
    TR2SonicCoverage second;
    support::Controls(&first).SetText("edtAltitude", QStringLiteral("20"));
    EXPECT_EQ(support::Controls(&first).Text("lblAtDepth"), "20 m");
    EXPECT_EQ(support::Controls(&second).Text("lblAtDepth"), "10 m");
}

} // namespace tr2sonic_coverage_test
