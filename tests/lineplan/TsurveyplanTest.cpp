#include "lineplan/Tsurveyplan.h"

#include "common/Messages.h"
#include "kit/Dialogs.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tsurveyplan_test {

namespace {

class PlannerWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }
    void TearDown() override { kit::SetFileDialogPresenter({}); }

    void ChooseSystem(int row) { ui.Click(QStringLiteral("rbnSystem%1").arg(row)); }
    QByteArray SaveReport() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("plan.txt"));
        kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
        ui.Click("Button2");
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Tsurveyplan window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(PlannerWindow, OpensWithThePlanOfItsStartValues) {
    EXPECT_EQ(window.windowTitle(), "Survey Line Planner");
    EXPECT_EQ(ui.Text("Max_linespacing"), "182 metres");
    EXPECT_EQ(ui.Text("Max_speed"), "9.5 Knots");
    EXPECT_EQ(ui.Text("Suggested_rangesetting"), " 118 metres");
    EXPECT_EQ(ui.Text("No_17"), "159 %");
    EXPECT_EQ(ui.Text("No_16"), "5.64 p/sec");
    EXPECT_EQ(ui.Text("No_5"), " 214");
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 1.0");
    EXPECT_EQ(ui.Text("lblSonar_type"), "Sonar type");
    EXPECT_EQ(ui.Text("lblOverlapPct"), "30 %");
    EXPECT_TRUE(ui.Get("pnlIntro")->isVisible());
    ui.Click("rbnMsec");
    EXPECT_EQ(ui.Text("Max_speed"), "4.9 m/s");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(PlannerWindow, ChoosingASystemFillsItsFigures) {
    ChooseSystem(4); // Sonic 2024 - 170/450 kHz
    EXPECT_EQ(ui.Text("edtAltitude"), "20");
    EXPECT_EQ(ui.Text("edtMaximum_depth"), "20");
    EXPECT_EQ(ui.Text("edtSwathwidth"), "140");
    EXPECT_EQ(ui.Text("Max_range"), "500");
    EXPECT_EQ(ui.Text("Max_pingrate"), "60");
    EXPECT_EQ(ui.Text("edtFreq"), "400");
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 1.0");
    EXPECT_EQ(ui.Text("edtAcrossbeam"), " 0.5");
    EXPECT_EQ(ui.Text("lblSonar_type"), "Sonic 2024 (170 to 450 kHz) ");
    EXPECT_FALSE(ui.Get("pnlIntro")->isVisible());
    EXPECT_FALSE(ui.Get("rg_Select_system_group")->isVisible());
    ui.SetText("edtFreq", QStringLiteral("700"));
    EXPECT_EQ(ui.Text("edtAlongbeam"), " 0.6");
    EXPECT_EQ(ui.Text("edtAcrossbeam"), " 0.3");

    ui.Click("Button1");
    EXPECT_TRUE(ui.Get("rg_Select_system_group")->isVisible());
    EXPECT_EQ(ui.Text("Max_range"), "500");
    ChooseSystem(1); // the 2020 UHR: its own widths at 700 kHz
    EXPECT_EQ(ui.Text("edtFreq"), "700");
    EXPECT_EQ(ui.Text("edtAlongbeam"), "1.0");
    EXPECT_EQ(ui.Text("Max_range"), "50");

    // A maximum depth above the minimum's is raised to it.
    ui.SetText("edtMaximum_depth", QStringLiteral("10"));
    EXPECT_EQ(ui.Text("edtMaximum_depth"), "20");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(PlannerWindow, UnreadableFieldsGetTheirFallbackAndOneMessage) {
    struct Case {
        const char* field;
        const char* typed;
        const char* after;
        const char* message;
    };
    const Case cases[] = {
        {"edtAltitude", "", "", "Invallid argument for Altitude\nUse positive Integers "},
        {"edtPercent_overlap", "", "", "Invallid argument for Line Overlap\nUse positive numbers "},
        {"edtSwathwidth", "", "", "Invallid argument for Swathe Width\nUse positive integers"},
        {"Min_alongtrack_coverage", "x", "25", "Invallid argument for Along Track Coverage\nUse positive integers"},
        {"Soundvelocity", "", "1460", "Invallid argument for Soundvelocity\nUse positive integers"},
        {"edtLinespace", "", "100", "Invallid argument for Line Space\nUse positive Integers "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const QString kept = ui.Text(c.field);
        ui.SetText(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(ui.Text(c.field), c.after);
        EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("message: ") + QString::fromLatin1(c.message)});
        ui.SetText(c.field, kept);
        MessageLog::Take();
    }
    // The fields that start no computation on their own are read at the next one.
    ui.SetText("Max_range", QStringLiteral("x"));
    ui.SetText("Max_pingrate", QStringLiteral("y"));
    ui.Click("btnCalculate");
    EXPECT_EQ(MessageLog::Take(),
              (QStringList{"message: Invallid argument for Max Range Setting\nUse positive integers",
                           "message: Invallid argument for Ping Rate\nUse positive integers"}));
    EXPECT_EQ(ui.Text("Max_range"), "450");
    EXPECT_EQ(ui.Text("Max_pingrate"), "40");
    // Frequency and speed stop the computation with the general error box.
    ui.SetText("edtSpeed_input", QString());
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: '' is not a valid floating point value."});
    ui.SetText("edtSpeed_input", QStringLiteral("6"));
    ui.SetText("edtFreq", QStringLiteral("4o0"));
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: '4o0' is not a valid integer value."});
    // A range that cannot reach the depth: the message, and the plan stays as it was.
    ui.SetText("edtFreq", QStringLiteral("400"));
    ui.SetText("edtAltitude", QStringLiteral("500"));
    EXPECT_EQ(MessageLog::Take(), (QStringList{"message: 500m  -  No coverage at this altitude!",
                                               "message: 500m  -  No coverage at this altitude!"}));
}

TEST_F(PlannerWindow, DiagramsShowOverlapOnlyWhereTheSwathsOverlap) {
    ASSERT_TRUE(window.Diagrams() && window.Diagrams()->lineOffset);
    EXPECT_TRUE(window.Diagrams()->overlap);
    ui.SetText("edtPercent_overlap", QStringLiteral("0"));
    EXPECT_EQ(*window.Diagrams()->lineOffset, 100);
    EXPECT_FALSE(window.Diagrams()->overlap);
    ui.SetText("edtSpeed_input", QStringLiteral("0"));
    EXPECT_TRUE(window.Diagrams()->footprints); // no way made: every footprint on one spot
}

TEST_F(PlannerWindow, ReportCopiesTheShownTexts) {
    QByteArray start = SaveReport();
    const QList<QByteArray> lines = start.split('\n');
    ASSERT_EQ(lines.size(), 60); // 59 lines and what follows the last line end
    EXPECT_EQ(lines[0], "    T O R M A L I N D   M U L T I B E A M   L I N E   P L A N N I N G\r");
    EXPECT_EQ(lines[3], "    Sonar Type: Sonar type\r");
    EXPECT_EQ(lines[8], "    Width of Swath:....................130\xB0 \r");
    EXPECT_EQ(lines[15], "    BEAMWIDTH:.......   Along track:  1.0\xB0    Across track:  1.0\xB0 \r");
    EXPECT_EQ(lines[19], "    Maximum LINESPACING for 30 % swath overlap = 182 metres\r");
    EXPECT_EQ(lines[20], "    Maximum SPEED for 100 % along track coverage = 9.5 Knots\r");
    EXPECT_EQ(lines[22], "    Suggested RANGE setting for selected MIN and MAX depth: R > 118 metres\r");
    EXPECT_EQ(lines[24], "    ALONGTRACK coverage calculated for NADIR for selected range setting ( 118 metres)\r");
    EXPECT_EQ(lines[25], "    and selected speed (6 Knots) = 159 %\r");
    EXPECT_EQ(lines[27], "    Max PING RATE at soundvelocity = 1500 m/s and range setting  118 metres= 5.64 p/sec\r");
    EXPECT_EQ(lines[28], "    Max SWATH COVERAGE at depth 50 metres =  214 m\r");
    EXPECT_EQ(lines[29], "    Max SWATH WIDTH at selected MAX depth and range setting =  130 \xB0\r");
    EXPECT_EQ(lines[53], "    Tormalind ApS -  Hydrographic Consultancy\r");

    ChooseSystem(4);
    ui.Click("rbnMsec");
    const QByteArray chosen = SaveReport();
    EXPECT_TRUE(chosen.contains("    Sonar Type: Sonic 2024 (170 to 450 kHz) \r\n"));
    EXPECT_TRUE(chosen.contains("    Sound velocity: 1500 m/sec    Vessel speed: 6 m/s\r\n"));
    EXPECT_TRUE(chosen.contains("    and selected speed (6 m/s) = "));
}

TEST_F(PlannerWindow, AnyTextInAnyFieldLeavesAUsableWindow) {
    const QStringList fields{"edtAltitude",   "edtMaximum_depth",        "edtPercent_overlap",
                             "edtSwathwidth", "Min_alongtrack_coverage", "Soundvelocity",
                             "edtFreq",       "edtSpeed_input",          "edtLinespace"};
    const QStringList texts{"", "-", "abc", QString(300, QLatin1Char('9')), "99999999999", "0", "1e999"};
    for (const QString& field : fields) {
        const QString kept = ui.Text(field);
        for (const QString& text : texts) {
            ui.SetText(field, text);
            EXPECT_LE(MessageLog::Take().size(), 2) << field.toStdString() << " " << text.toStdString();
        }
        ui.SetText(field, kept);
        MessageLog::Take();
    }
    ui.Click("btnCalculate");
    MessageLog::Take();
    EXPECT_EQ(ui.Text("Max_linespacing"), "182 metres");
}

// A message box takes the focus from the system list; only the surveyor
// leaving the list starts a computation, so each message shows once.
TEST_F(PlannerWindow, AMessageBoxTakingTheFocusFromTheSystemListShowsEachMessageOnce) {
    auto* system = ui.Get<QRadioButton>("rbnSystem1");
    QStringList shown;
    common::SetMessagePresenter([&](common::MessageKind, const QString& text) {
        shown << text;
        // What a modal box does to the list that had the focus.
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(system, &out);
    });
    ui.SetText("edtAltitude", QStringLiteral("500"));
    MessageLog::Install();
    EXPECT_EQ(shown, (QStringList{"500m  -  No coverage at this altitude!", "500m  -  No coverage at this altitude!"}));
    // Moving on from the list by the keyboard computes once more, as it always did.
    MessageLog::Take();
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(system, &tab);
    EXPECT_EQ(MessageLog::Take().size(), 2);
}

// A plan that stops at a range message shows no figures of an earlier plan,
// on screen or in the report, beside the new depths.
// At the start the introduction panel lies over the diagrams and hides them
// whole: no edge of their frame shows beside it.
TEST_F(PlannerWindow, TheIntroductionHidesTheDiagramsWhole) {
    const QWidget* intro = ui.Get("pnlIntro");
    ASSERT_TRUE(intro->isVisible());
    const QImage shown = window.grab().toImage();
    const QColor ground = shown.pixelColor(intro->geometry().right() + 3, intro->y() + 40);
    for (int y = intro->y(); y <= intro->geometry().bottom(); ++y) {
        ASSERT_EQ(shown.pixelColor(intro->geometry().right() + 1, y), ground) << "row " << y;
    }
}

// On a small laptop's screen the window scrolls rather than cut the plan off,
// and a click on its background or its diagrams still computes the plan again;
// a click on a control does not.
TEST_F(PlannerWindow, ScrollsWhenSmallerAndABackgroundClickComputesAgain) {
    const auto* area = window.findChild<QScrollArea*>("scrollArea");
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(window.maximumSize(), QSize(834, 673));
    EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
    window.resize(700, 500);
    QTest::qWait(0);
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);

    QTest::mouseClick(ui.Get("pnlIntro"), Qt::LeftButton); // the introduction makes way
    ui.SetText("edtAltitude", QStringLiteral("500"));
    const QStringList messages = MessageLog::Take();
    ASSERT_FALSE(messages.isEmpty());
    QTest::mouseClick(ui.Get("diagramView"), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(MessageLog::Take(), messages);
    const QPoint background(820, 200);
    ASSERT_EQ(area->widget()->childAt(background), nullptr);
    QTest::mouseClick(area->widget(), Qt::LeftButton, {}, background);
    EXPECT_EQ(MessageLog::Take(), messages);
    QTest::mouseClick(ui.Get("lblSonar_type"), Qt::LeftButton);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(PlannerWindow, ResultsOfEarlierInputsAreNotShownAfterARangeMessage) {
    const QString spacing = ui.Text("Max_linespacing");
    const QString maxDepth = ui.Text("edtMaximum_depth");
    ASSERT_NE(spacing, QString::fromUtf8("\u2014"));
    ui.SetText("edtAltitude", QStringLiteral("500"));
    EXPECT_EQ(MessageLog::Take().size(), 2);
    for (const char* result :
         {"Max_linespacing", "No_5", "Max_speed", "Suggested_rangesetting", "No_16", "Cover_mindepth"}) {
        EXPECT_EQ(ui.Text(result), QString::fromUtf8("\u2014")) << result;
    }
    const QByteArray report = SaveReport();
    EXPECT_TRUE(report.contains("500 m")) << report.constData();
    EXPECT_FALSE(report.contains(spacing.toLatin1())) << report.constData();
    EXPECT_TRUE(report.contains('\x97')) << "the figures are marked as none";
    // Depths the range reaches plan again.
    ui.SetText("edtAltitude", QStringLiteral("10"));
    ui.SetText("edtMaximum_depth", maxDepth);
    MessageLog::Take(); // the maximum depth was still out of reach on the way
    ui.Click("btnCalculate");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_NE(ui.Text("Max_linespacing"), QString::fromUtf8("\u2014"));
}

} // namespace tsurveyplan_test
