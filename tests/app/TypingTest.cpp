// Typing as a surveyor types: select the field, then the keys one by one. The
// field shows what was typed after every key, no box interrupts the number,
// and the results follow the value the window's rules make of it; finishing
// the field writes the corrected text and says once what still holds.
#include "calculators/TGyrospeederror.h"
#include "calculators/TPressureConvert.h"
#include "coverage/TR2SonicCoverage.h"
#include "lineplan/Tsurveyplan.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "tpu/TTPU_Calculator.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct Row {
    const char* what;
    std::function<std::unique_ptr<QWidget>()> make;
    std::function<void(const support::Controls&)> before; // set-up as finished writes
    const char* field;
    QString keys;
    const char* result;       // a control whose text shows the value computed with
    QString resultWhileTyped; // its text once every key is typed
    QString finished;         // the field's text after Enter
    int messagesWhenFinished; // boxes after Enter
};

template <typename Window> std::function<std::unique_ptr<QWidget>()> Make() {
    return [] { return std::make_unique<Window>(); };
}

TEST(Typing, NoFieldIsRewrittenUnderTheFingersAndNoBoxInterruptsANumber) {
    const auto nothing = [](const support::Controls&) {};
    const Row rows[] = {
        {"planner, maximum depth above the minimum", Make<Tsurveyplan>(),
         [](const support::Controls& ui) { ui.SetText("edtAltitude", QStringLiteral("50")); }, "edtMaximum_depth",
         QStringLiteral("120"), "lblMaxDepthM", QStringLiteral("120 m"), QStringLiteral("120"), 0},
        {"planner, maximum depth below the minimum", Make<Tsurveyplan>(),
         [](const support::Controls& ui) { ui.SetText("edtAltitude", QStringLiteral("50")); }, "edtMaximum_depth",
         QStringLiteral("7"), "lblMaxDepthM", QStringLiteral("50 m"), QStringLiteral("50"), 0},
        {"coverage, sector", Make<TR2SonicCoverage>(), nothing, "edtSector", QStringLiteral("90"), "lblSwathSector",
         QStringLiteral("90 \u00B0"), QStringLiteral("90"), 0},
        {"coverage, sector below its least", Make<TR2SonicCoverage>(), nothing, "edtSector", QStringLiteral("9"),
         "lblSwathSector", QStringLiteral("10 \u00B0"), QStringLiteral("10"), 0},
        {"coverage, sector emptied", Make<TR2SonicCoverage>(), nothing, "edtSector", QString(), "lblSwathSector",
         QStringLiteral("130 \u00B0"), QStringLiteral("130"), 0},
        {"coverage, range above the altitude", Make<TR2SonicCoverage>(),
         [](const support::Controls& ui) { ui.SetText("edtAltitude", QStringLiteral("10")); }, "edtRange_select",
         QStringLiteral("25"), "lblRangeSetting", QStringLiteral("25 m"), QStringLiteral("25"), 0},
        {"gyro, southern latitude", Make<TGyrospeederror>(), nothing, "edt_Latitude", QStringLiteral("-33"),
         "edt_Latitude", QStringLiteral("-33"), QStringLiteral("-33"), 0},
        {"gyro, a sign alone", Make<TGyrospeederror>(), nothing, "edt_Latitude", QStringLiteral("-"), "lbl_Error",
         QStringLiteral("\u2014"), QStringLiteral("-"), 1},
        {"pressure, a negative value", Make<TPressureConvert>(), nothing, "edt_Value", QStringLiteral("-1"),
         "edt_Value", QStringLiteral("-1"), QStringLiteral("-1"), 0},
        {"pressure, a sign alone", Make<TPressureConvert>(), nothing, "edt_Value", QStringLiteral("-"), "edt_Value",
         QStringLiteral("-"), QStringLiteral("1"), 1},
        {"TPU, a negative offset", Make<TTPU_Calculator>(), nothing, "edt_sonar_x_off", QStringLiteral("-0.5"),
         "edt_sonar_x_off", QStringLiteral("-0.5"), QStringLiteral("-0.5"), 0},
        {"TPU, a fraction without its zero", Make<TTPU_Calculator>(), nothing, "edt_SD_Roll", QStringLiteral(".5"),
         "edt_SD_Roll", QStringLiteral(".5"), QStringLiteral(".5"), 0},
        {"TPU, an exponent", Make<TTPU_Calculator>(), nothing, "edt_SD_Heave", QStringLiteral("1e-3"), "edt_SD_Heave",
         QStringLiteral("1e-3"), QStringLiteral("1e-3"), 0},
        {"TPU, a depth beyond the sonar's reach", Make<TTPU_Calculator>(), nothing, "edt_Depth_main",
         QStringLiteral("2147483647"), "lbl_scroll_depth", QStringLiteral("500 m"), QStringLiteral("500"), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::unique_ptr<QWidget> window = row.make();
        window->show();
        const support::Controls ui(window.get());
        row.before(ui);
        MessageLog::Take();
        auto* field = ui.Get<QLineEdit>(row.field);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QString typed;
        for (const QChar key : row.keys) {
            QTest::keyClicks(field, QString(key));
            typed += key;
            EXPECT_EQ(field->text(), typed) << "after " << typed.toStdString();
        }
        EXPECT_EQ(field->text(), row.keys);
        EXPECT_TRUE(MessageLog::Take().isEmpty()) << "a box while typing";
        EXPECT_EQ(ui.Text(row.result), row.resultWhileTyped);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(field->text(), row.finished);
        EXPECT_EQ(MessageLog::Take().size(), row.messagesWhenFinished);
    }
}

} // namespace
