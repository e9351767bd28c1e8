#include "lineplan/TSurveyLines.h"

#include "kit/Dialogs.h"
#include "lineplan/Tsurveyplan.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <tuple>

namespace tsurvey_lines_test {

namespace {

// A bay 200 m wide cut 600 m into a square kilometre: sixteen lines east and
// west, 8.8 km (worked out in the core's tests).
const QString kBay = QStringLiteral("500000\t6206000\n501000\t6206000\n501000\t6207000\n500600\t6207000\n"
                                    "500600\t6206400\n500400\t6206400\n500400\t6207000\n500000\t6207000");

class LinesWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }
    void TearDown() override { kit::SetFileDialogPresenter({}); }

    void Bay() {
        ui.SetText("grdCorners", kBay);
        ui.SetText("edtHeading", "90");
        ui.SetText("edtSpacing", "100");
    }
    // The totals as shown: lines, km, turns, hours, days.
    QStringList Totals() const {
        return {ui.Text("lblLineCount"), ui.Text("lblLineKm"), ui.Text("lblTurns"), ui.Text("lblSurveyHours"),
                ui.Text("lblSurveyDays")};
    }
    // Answers the next file dialogs with `path` and counts them.
    void Answer(const QString& path) {
        kit::SetFileDialogPresenter([this, path](const kit::FileDialogRequest&) {
            ++dialogs;
            return path;
        });
    }

    TSurveyLines window;
    support::Controls ui{&window};
    QTemporaryDir folder;
    int dialogs = 0;
};

const QStringList kNoTotals{"\u2014", "\u2014", "\u2014", "\u2014", "\u2014"};

} // namespace

TEST(SurveyLinesFromThePlanner, TheButtonOpensAWindowWithThePlannersSpacingAndSpeedInKnots) {
    Tsurveyplan planner;
    planner.show();
    const support::Controls plan(&planner);
    for (const auto& [unit, speed, knots] : {std::tuple{"rbnKnots", "6", "6"}, std::tuple{"rbnMsec", "3", "5.83"}}) {
        plan.Click(unit);
        plan.SetText("edtSpeed_input", speed);
        const QWidgetList before = QApplication::topLevelWidgets();
        plan.Click("btnSurveyLines");
        TSurveyLines* opened = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!before.contains(window) && window->isVisible()) {
                opened = qobject_cast<TSurveyLines*>(window);
            }
        }
        ASSERT_NE(opened, nullptr) << unit;
        const support::Controls lines(opened);
        EXPECT_EQ(lines.Text("edtSpacing"), plan.Text("Max_linespacing").section(' ', 0, 0));
        EXPECT_EQ(lines.Text("edtSpeed"), knots);
        EXPECT_TRUE(opened->testAttribute(Qt::WA_DeleteOnClose));
        opened->close();
    }
}

TEST_F(LinesWindow, OpensWithItsStartValuesAndAsksForTheArea) {
    EXPECT_EQ(window.windowTitle(), "Survey Lines");
    for (const auto& [field, text] :
         {std::pair{"edtEpsg", "32632"}, std::pair{"edtHeading", "0"}, std::pair{"edtRunIn", "0"},
          std::pair{"edtTurnMinutes", "5"}, std::pair{"edtHoursPerDay", "12"}, std::pair{"ckbAlternate", "checked"}}) {
        EXPECT_EQ(ui.Text(field), text) << field;
    }
    EXPECT_EQ(ui.Text("lblGridName"), "WGS 84 / UTM zone 32N");
    EXPECT_EQ(ui.Text("lblMessage"), "Type or paste the area's corners, or load an area");
    EXPECT_EQ(Totals(), kNoTotals);
}

TEST_F(LinesWindow, CornersPastedFromASpreadsheetGiveTheLinesTableAndTotals) {
    // A spreadsheet's copy: its heading row, tabs between the cells.
    QApplication::clipboard()->setText(QStringLiteral("Easting\tNorthing\n") + kBay + QLatin1Char('\n'));
    auto* table = ui.Get<QWidget>("grdCorners");
    table->setFocus();
    QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui.Text("grdCorners"), kBay);
    ui.SetText("edtHeading", "90");
    ui.SetText("edtSpacing", "100");
    EXPECT_EQ(Totals(), (QStringList{"16", "8.8", "15", "2.0", "0.2"}));
    EXPECT_EQ(ui.Text("lblMessage"), "");
    const QStringList rows = ui.Text("grdLines").split('\n');
    ASSERT_EQ(rows.size(), 16);
    EXPECT_EQ(rows[0], "1\t500000.00\t6206950.00\t500400.00\t6206950.00\t400.0\t90.0");
    EXPECT_EQ(rows[15], "16\t501000.00\t6206050.00\t500000.00\t6206050.00\t1000.0\t270.0");

    // One way only, with a run-in and a run-out: 16 × 30 m more.
    ui.Click("ckbAlternate");
    ui.SetText("edtRunIn", "20");
    ui.SetText("edtRunOut", "10");
    EXPECT_EQ(ui.Text("lblLineKm"), "9.3");
    EXPECT_EQ(ui.Text("grdLines").split('\n')[15], "16\t499980.00\t6206050.00\t501010.00\t6206050.00\t1030.0\t90.0");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// Whatever stops the plan is said once beside it, the totals read "—", and
// nothing is kept to export: the dialog does not even open.
TEST_F(LinesWindow, BadInputSaysWhatIsWrongComputesNothingAndExportsNothing) {
    struct Case {
        const char* control;
        const char* text;
        const char* message;
    };
    const std::vector<Case> cases{
        {"grdCorners", "0\t0\n100\t0\n0\t0", "An area needs at least three corners; the table has 2"},
        {"grdCorners", "0\t0\n100\t100\n100\t0\n0\t100",
         "The area's edges cross near 50.00 E, 50.00 N: the corners must go round the area in order"},
        {"grdCorners", "0\t0\n100\tx\n", "Row 2: 'x' is not a number"},
        {"edtSpacing", "0", "A line spacing of at least 0.01 m is needed"},
        {"edtSpacing", "0.009", "A line spacing of at least 0.01 m is needed"},
        {"edtSpacing", "abc", "Line spacing: 'abc' is not a number"},
        {"edtEpsg", "99999", "EPSG:99999 is not a coordinate system PROJ knows"},
        {"edtEpsg", "4326", "EPSG:4326 is not a projected grid in metres"},
        {"edtHoursPerDay", "30", "Survey hours per day lie above 0 and at most 24"},
    };
    const QString path = folder.filePath(QStringLiteral("lines.csv"));
    Answer(path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Bay();
        ASSERT_EQ(ui.Text("lblLineCount"), "16");
        ui.SetText(c.control, c.text);
        EXPECT_EQ(ui.Text("lblMessage"), c.message);
        EXPECT_EQ(Totals(), kNoTotals);
        EXPECT_TRUE(window.Lines().empty());
        ui.Click("btnExportLines");
        EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("error: ") + c.message + QLatin1Char('.')});
        if (std::string_view(c.control) != "grdCorners") {
            ui.SetText(c.control, std::string_view(c.control) == "edtEpsg" ? "32632" : "12");
            ui.SetText("edtSpacing", "100");
        }
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(LinesWindow, ASpacingBeingTypedIsNeverRewrittenAndWaitsWithoutAWord) {
    Bay();
    auto* spacing = ui.Get<QWidget>("edtSpacing");
    spacing->setFocus();
    ui.Backspace("edtSpacing", 3);
    EXPECT_EQ(ui.Text("edtSpacing"), "");
    EXPECT_EQ(Totals(), kNoTotals);
    EXPECT_EQ(ui.Text("lblMessage"), "");
    ui.Type("edtSpacing", "2");
    // 2 m: 300 tracks across the bay's mouth, two lines each, and 200 below it.
    EXPECT_EQ(ui.Text("lblLineCount"), "800");
    ui.Type("edtSpacing", "00");
    EXPECT_EQ(ui.Text("edtSpacing"), "200");
    EXPECT_EQ(ui.Text("lblLineCount"), "8");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(LinesWindow, AValueRefusedOnItsWayToANumberWaitsUntilTheFieldIsFinished) {
    Bay();
    // "0" on the way to "0.5" and "3" on the way to "32632" are refused as
    // they stand: the totals wait, and nothing is said until the field is done.
    for (const auto& [field, typed, finished] :
         {std::tuple{"edtSpacing", "0", "A line spacing of at least 0.01 m is needed"},
          std::tuple{"edtEpsg", "3", "EPSG:3 is not a coordinate system PROJ knows"}}) {
        const QString before = ui.Text(field);
        auto* edit = ui.Get<QLineEdit>(field);
        edit->setFocus();
        ui.Backspace(field, int(before.size()));
        ui.Type(field, typed);
        EXPECT_EQ(ui.Text(field), typed);
        EXPECT_EQ(Totals(), kNoTotals) << field;
        EXPECT_EQ(ui.Text("lblMessage"), "") << field;
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(ui.Text("lblMessage"), finished) << field;
        ui.SetText(field, before);
        EXPECT_EQ(ui.Text("lblMessage"), "") << field;
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(LinesWindow, CornersInLatitudeAndLongitudeAreConvertedToTheGrid) {
    ui.Click("rbnGeoCorners");
    // 56° N 9° E is 500000 E, 6206079.5873 N in UTM zone 32 (PROJ's cs2cs).
    ui.SetText("grdCorners", "56\t9\n56\t9.01\n56.01\t9.01\n56.01\t9");
    ui.SetText("edtSpacing", "100");
    EXPECT_EQ(ui.Text("lblMessage"), "");
    const QStringList first = ui.Text("grdLines").split('\n')[0].split('\t');
    EXPECT_EQ(first[1].left(6), "500050"); // half a spacing east of 9° E
    EXPECT_EQ(first[2], "6206079.59");
}

TEST_F(LinesWindow, LoadAreaReadsAGeoJsonPolygonIntoGridCornersAndNamesABadFile) {
    const QString area = folder.filePath(QStringLiteral("area.geojson"));
    QFile file(area);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        R"({"type":"Feature","geometry":{"type":"Polygon","coordinates":[[[9,56],[9.01,56],[9.01,56.01],[9,56]]]}})");
    file.close();
    ui.Click("rbnGeoCorners");
    Answer(area);
    ui.Click("btnLoadArea");
    EXPECT_EQ(ui.Text("rbnGridCorners"), "checked");
    EXPECT_TRUE(ui.Text("grdCorners").startsWith("500000.00\t6206079.59\n")) << ui.Text("grdCorners").toStdString();
    EXPECT_EQ(ui.Text("grdCorners").split('\n').size(), 3);
    EXPECT_EQ(ui.Text("lblMessage"), "");

    const QString line = folder.filePath(QStringLiteral("line.geojson"));
    QFile lineFile(line);
    ASSERT_TRUE(lineFile.open(QIODevice::WriteOnly));
    lineFile.write(R"({"type":"LineString","coordinates":[[9,56],[9,57]]})");
    lineFile.close();
    Answer(line);
    const QString before = ui.Text("grdCorners");
    ui.Click("btnLoadArea");
    EXPECT_EQ(
        MessageLog::Take(),
        QStringList{QStringLiteral("error: No area read from %1: it holds a LineString, not a Polygon.").arg(line)});
    EXPECT_EQ(ui.Text("grdCorners"), before);
}

TEST_F(LinesWindow, ExportWritesTheFormatTheFileNameAsksForOrNamesTheFileItCouldNotWrite) {
    Bay();
    for (const auto& [name, starts] : {std::pair{"lines.csv", "Line,Start Easting"}, std::pair{"lines.gpx", "<?xml"},
                                       std::pair{"lines.kml", "<?xml"}, std::pair{"lines.geojson", "{\"type\""}}) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        Answer(path);
        ui.Click("btnExportLines");
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(written.readAll().startsWith(starts)) << name;
    }
    const QString nowhere = folder.filePath(QStringLiteral("missing/lines.csv"));
    Answer(nowhere);
    ui.Click("btnExportLines");
    const QStringList shown = MessageLog::Take();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: Cannot create file \"%1\"").arg(nowhere)))
        << shown[0].toStdString();
}

} // namespace tsurvey_lines_test
