#include "calculators/ConversionRegistry.h"
#include "calculators/GyroSpeedError.h"
#include "calculators/TConversion_tester.h"
#include "calculators/TGyrospeederror.h"
#include "calculators/TPressureConvert.h"
#include "kit/UpDown.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace calculator_windows_test {

namespace {

class GyroWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }
    void Enter(const QString& latitude, const QString& speed, const QString& course) {
        ui.SetText("edt_Latitude", latitude);
        ui.SetText("edt_Speed", speed);
        ui.SetText("edt_Course", course);
    }
    QString Error() const { return ui.Text("lbl_Error"); }
    // The horizontal errors shown at the example ranges, nearest first.
    QStringList Ranges() const {
        QStringList texts;
        for (const int range : calculators::kGyroRanges) {
            texts << ui.Text(QStringLiteral("lbl_Range%1").arg(range));
        }
        return texts;
    }
    TGyrospeederror window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(GyroWindow, OpensWithStartTextsAndCalculatesNothingYet) {
    for (const char* field : {"edt_Latitude", "edt_Speed", "edt_Course"}) {
        EXPECT_EQ(ui.Text(field), "0");
    }
    EXPECT_EQ(Error(), "Error");
    EXPECT_EQ(Ranges(), QStringList(11, QStringLiteral("0.0 m")));
    EXPECT_EQ(window.windowTitle(), "Gyro Speed Error");
    EXPECT_EQ(window.size(), QSize(688, 452));
    EXPECT_EQ(ui.Get("edt_Latitude")->toolTip(), "Example:  58.5");
    EXPECT_EQ(ui.Get("edt_Speed")->toolTip(), "Example \" 9.5 \"");
    EXPECT_EQ(ui.Get("edt_Course")->toolTip(), "Example \" 91 \" or  \" 091 \"");
    struct Spinner {
        const char* name;
        int minimum, maximum;
    };
    for (const Spinner& s :
         {Spinner{"udb_Latitude", -89, 89}, Spinner{"udb_Speed", 0, 50}, Spinner{"udb_Course", 0, 360}}) {
        const auto* spinner = ui.Get<kit::UpDown>(s.name);
        EXPECT_EQ(spinner->Minimum(), s.minimum) << s.name;
        EXPECT_EQ(spinner->Maximum(), s.maximum) << s.name;
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// The figures themselves are the core's; here, that the window reads its three
// fields as the surveyor typed them and shows every result with its sign and unit.
TEST_F(GyroWindow, ShowsTheErrorWithItsSignAndEveryRange) {
    struct Case {
        const char *latitude, *speed, *course, *error;
        QStringList ranges;
    };
    const Case cases[] = {
        {"45",
         "12",
         "180",
         "-1.08\u00BA",
         {"-0.19 m", "-0.38 m", "-0.57 m", "-0.94 m", "-1.88 m", "-3.77 m", "-5.65 m", "-9.4 m", "-18.8 m", "-94.2 m",
          "-188.5 m"}},
        {"0", "0", "0", "0\u00BA", QStringList(11, QStringLiteral("0 m"))},
        // Leading zeros and blanks around the number are read as the number.
        {"058.5",
         "10",
         "0",
         "1.22\u00BA",
         {"0.21 m", "0.43 m", "0.64 m", "1.06 m", "2.13 m", "4.26 m", "6.39 m", "10.6 m", "21.3 m", "106.5 m",
          "212.9 m"}},
        {" 58.5 ",
         "10",
         "0",
         "1.22\u00BA",
         {"0.21 m", "0.43 m", "0.64 m", "1.06 m", "2.13 m", "4.26 m", "6.39 m", "10.6 m", "21.3 m", "106.5 m",
          "212.9 m"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.latitude) + " " + c.speed + " " + c.course);
        Enter(QString::fromUtf8(c.latitude), QString::fromUtf8(c.speed), QString::fromUtf8(c.course));
        EXPECT_EQ(Error(), QString::fromUtf8(c.error));
        EXPECT_EQ(Ranges(), c.ranges);
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(GyroWindow, UnreadableFieldStopsAtTheErrorBoxAndKeepsEveryResult) {
    Enter(QStringLiteral("60"), QStringLiteral("10"), QStringLiteral("0"));
    const QString error = Error();
    const QStringList ranges = Ranges();
    struct Case {
        const char* field;
        QString text;
    };
    const Case cases[] = {
        {"edt_Speed", QStringLiteral("1,5")},
        {"edt_Speed", QString()},
        {"edt_Course", QStringLiteral("-")},
        {"edt_Latitude", QStringLiteral("N58")},
    };
    for (const Case& c : cases) {
        const QString before = ui.Text(c.field);
        ui.SetText(c.field, c.text);
        EXPECT_EQ(MessageLog::Take(),
                  QStringList{QStringLiteral("error: '%1' is not a valid floating point value.").arg(c.text)});
        EXPECT_EQ(Error(), error);
        EXPECT_EQ(Ranges(), ranges);
        // The window stays usable: the next good value calculates again.
        ui.SetText(c.field, before);
        EXPECT_TRUE(MessageLog::Take().isEmpty());
    }
    // Clearing a field to type a new value says nothing while typing: the
    // results read "—" until the text is a number, then it calculates.
    auto* speed = ui.Get<QLineEdit>("edt_Speed");
    speed->selectAll();
    QTest::keyClick(speed, Qt::Key_Delete);
    EXPECT_EQ(Error(), "\u2014");
    ui.Type("edt_Speed", QStringLiteral("12"));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(Error(), "1.53\u00BA");
    // Calculate with an unreadable field: the same box, nothing written.
    ui.SetText("edt_Course", QStringLiteral("x"));
    MessageLog::Take();
    ui.Click("btn_Calculate");
    EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("error: 'x' is not a valid floating point value.")});
    EXPECT_EQ(Error(), "1.53\u00BA");
}

TEST_F(GyroWindow, SpinnersWriteWholeStepsWithinTheirRangeAndRecalculate) {
    ui.SpinUp("udb_Speed");
    EXPECT_EQ(ui.Text("edt_Speed"), "1");
    EXPECT_EQ(Error(), "0.06\u00BA");
    ui.SpinUp("udb_Latitude");
    EXPECT_EQ(ui.Text("edt_Latitude"), "5");
    ui.SetText("edt_Latitude", QStringLiteral("87"));
    ui.SpinUp("udb_Latitude");
    EXPECT_EQ(ui.Text("edt_Latitude"), "89");
    ui.SetText("edt_Course", QStringLiteral("358"));
    ui.SpinUp("udb_Course");
    EXPECT_EQ(ui.Text("edt_Course"), "360");
    ui.SpinDown("udb_Speed");
    ui.SpinDown("udb_Speed");
    EXPECT_EQ(ui.Text("edt_Speed"), "0");
    EXPECT_EQ(Error(), "0\u00BA");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(GyroWindow, CalculateRecomputesAndExitCloses) {
    Enter(QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("0"));
    ui.Get<QLabel>("lbl_Error")->setText(QStringLiteral("stale"));
    ui.Click("btn_Calculate");
    EXPECT_EQ(Error(), "0.64\u00BA");
    ui.Click("btn_Exit");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(GyroWindow, ReferenceScrollsToItsLastLine) {
    auto* memo = ui.Get<QPlainTextEdit>("mem_Reference");
    QScrollBar* bar = memo->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
    ASSERT_GT(bar->maximum(), 0) << "the reference fits without scrolling: nothing checked";
    const QRect shown = memo->viewport()->rect();
    const auto lineEnds = [memo](const QTextBlock& block) {
        QTextCursor cursor(block);
        const QRect start = memo->cursorRect(cursor);
        cursor.movePosition(QTextCursor::EndOfBlock);
        return std::pair{start, memo->cursorRect(cursor)};
    };
    bar->setValue(bar->maximum());
    const QTextBlock last = memo->document()->findBlockByNumber(7);
    ASSERT_EQ(last.text(), "of the speed in knots  Unquote");
    const auto [start, end] = lineEnds(last);
    EXPECT_TRUE(shown.contains(start) && shown.contains(end))
        << "last line at " << start.top() << " of " << shown.height();
}

// ---------------------------------------------------------------------------

namespace {

const QString kBadValue =
    QStringLiteral("message: Invallid input value\nUse positive numbers\nUse points as decimal separator");

class PressureWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }
    QString Result() const { return ui.Text(QStringLiteral("edt_Result")); }
    TPressureConvert window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(PressureWindow, OpensOnPsiWithValueOneAndNoResult) {
    EXPECT_EQ(window.windowTitle(), "PressureConvert");
    EXPECT_EQ(window.size(), QSize(315, 116));
    EXPECT_EQ(ui.Text("edt_Value"), "1");
    EXPECT_EQ(Result(), "");
    EXPECT_TRUE(ui.Get<QLineEdit>("edt_Result")->isReadOnly());
    const QStringList units{"psi",   "kPa",    "hPa",     "Pa",    "bar",   "millibar", "mmHg",
                            "atmos", "mWater", "cmWater", "g/cm2", "Kg/m2", "dyne/cm2"};
    for (const char* name : {"cbo_From", "cbo_To"}) {
        const auto* selector = ui.Get<QComboBox>(name);
        QStringList listed;
        for (int i = 0; i < selector->count(); ++i) {
            listed << selector->itemText(i);
        }
        EXPECT_EQ(listed, units);
        EXPECT_EQ(selector->currentText(), "psi");
    }
}

TEST_F(PressureWindow, EveryChangeConvertsAtOnce) {
    struct Case {
        const char *from, *value, *to, *expected;
    };
    // The factors are the core's; here, that a value, a source and a target unit
    // changed in any order give the conversion at once, exponents read too.
    const Case cases[] = {
        {"bar", "1", "psi", " 14.503774"},
        {"atmos", "1", "mmHg", "760.000006"},
        {"psi", "-2", "psi", " -2.000000"},
        {"psi", "1e3", "kPa", "6894.757000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " " + c.from + " to " + c.to);
        ui.Choose("cbo_From", QString::fromLatin1(c.from));
        ui.SetText("edt_Value", QString::fromLatin1(c.value));
        ui.Choose("cbo_To", QString::fromLatin1(c.to));
        EXPECT_EQ(Result(), c.expected);
        // A selector change alone converts too.
        ui.Choose("cbo_To", QStringLiteral("psi"));
        ui.Choose("cbo_To", QString::fromLatin1(c.to));
        EXPECT_EQ(Result(), c.expected);
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(PressureWindow, UnreadableValueIsResetToOneWithOneMessage) {
    ui.Choose("cbo_From", QStringLiteral("bar"));
    ui.Choose("cbo_To", QStringLiteral("psi"));
    // Typed, the text stays as it is and the message waits until the field is
    // finished; meanwhile a text that is no number converts as 1, and one on
    // its way to a number has no result yet.
    const std::pair<QString, QString> typings[] = {
        {QStringLiteral("x"), QStringLiteral(" 14.503774")},
        {QStringLiteral(","), QStringLiteral("\u2014")},
        {QStringLiteral("e"), QStringLiteral("\u2014")},
    };
    for (const auto& [keys, whileTyped] : typings) {
        ui.SetText("edt_Value", QStringLiteral("1"));
        MessageLog::Take();
        ui.Type("edt_Value", keys);
        EXPECT_EQ(ui.Text("edt_Value"), "1" + keys) << keys.toStdString();
        EXPECT_TRUE(MessageLog::Take().isEmpty()) << keys.toStdString();
        EXPECT_EQ(Result(), whileTyped);
        ui.Key("edt_Value", QStringLiteral("Return"));
        EXPECT_EQ(ui.Text("edt_Value"), "1") << keys.toStdString();
        EXPECT_EQ(MessageLog::Take(), QStringList{kBadValue}) << keys.toStdString();
        EXPECT_EQ(Result(), " 14.503774");
    }
    // Emptying the field, or leaving a lone minus, is unreadable too.
    for (const QString& text : {QString(), QStringLiteral("-")}) {
        ui.SetText("edt_Value", text);
        EXPECT_EQ(ui.Text("edt_Value"), "1");
        EXPECT_EQ(MessageLog::Take(), QStringList{kBadValue});
        EXPECT_EQ(Result(), " 14.503774");
    }
}

TEST_F(PressureWindow, TheValueAndBothUnitListsAreOnTheTabChainAndTheResultIsNot) {
    for (const char* input : {"edt_Value", "cbo_From", "cbo_To"}) {
        EXPECT_EQ(ui.Get(input)->focusPolicy() & Qt::TabFocus, Qt::TabFocus) << input;
    }
    EXPECT_EQ(ui.Get("edt_Result")->focusPolicy() & Qt::TabFocus, 0);
}

// ---------------------------------------------------------------------------

namespace {

class ConversionWindow : public testing::Test {
protected:
    void SetUp() override { window.show(); }

    void ChooseUnit(const QString& unit) {
        ASSERT_EQ(Units()->findItems(unit, Qt::MatchExactly).size(), 1) << unit.toStdString();
        ui.Choose("ConvTypes", unit);
    }
    QListWidget* Units() const { return ui.Get<QListWidget>("ConvTypes"); }
    QString ChosenUnit() const { return Units()->currentItem()->text(); }
    QStringList Items(const char* list) const {
        const auto* widget = ui.Get<QListWidget>(list);
        QStringList lines;
        for (int i = 0; i < widget->count(); ++i) {
            lines << widget->item(i)->text();
        }
        return lines;
    }
    QStringList Results() const { return Items("ConvResults"); }

    TConversion_tester window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(ConversionWindow, FirstShowListsFamiliesAsTabsAndConvertsOneAcre) {
    const auto* families = ui.Get<QTabWidget>("ConvFamilies");
    QStringList tabs;
    for (int i = 0; i < families->count(); ++i) {
        tabs << families->tabText(i);
    }
    EXPECT_EQ(tabs, (QStringList{"Area", "Distance", "Mass", "Sorry Not Valid1", "Temperature", "Time", "Volume"}));
    EXPECT_EQ(families->currentIndex(), 0);
    EXPECT_EQ(ChosenUnit(), "Acres");
    EXPECT_EQ(ui.Text("ConvValue"), "1");
    const QStringList results = Results();
    ASSERT_EQ(results.size(), 16);
    EXPECT_EQ(results.mid(0, 2), (QStringList{"1.00 Acres", "40.47 Ares"}));
    EXPECT_EQ(window.windowTitle(), "CONVERSIONS  ");
}

TEST_F(ConversionWindow, UnitListsAreSortedWithoutRegardToCase) {
    ui.Choose("ConvFamilies", QStringLiteral("Time"));
    EXPECT_EQ(Items("ConvTypes"),
              (QStringList{"Centuries", "DateTime", "Days", "Decades", "Fortnights", "Hours", "JulianDate", "Millennia",
                           "MilliSeconds", "Minutes", "ModifiedJulianDate", "Months", "Seconds", "Weeks", "Years"}));
    EXPECT_EQ(ChosenUnit(), "Centuries");
    ui.Choose("ConvFamilies", QStringLiteral("Temperature"));
    EXPECT_EQ(Items("ConvTypes"), (QStringList{"Celsius", "Fahrenheit", "Kelvin", "Rankine", "Reaumur"}));
}

TEST_F(ConversionWindow, ResultLinesForEachWorkedCase) {
    struct Case {
        const char *family, *unit, *value;
        QStringList expected; // lines that must be in the list, in this order
        int count;            // lines in the whole list
    };
    const Case cases[] = {
        {"Distance",
         "Meters",
         "1",
         {"6.68E-12 AstronomicalUnits", "0.55 Fathoms", "3.28 Feet", "39.37 Inches", "0.001 Kilometers", "1.00 Meters",
          "1,000,000,000,000.00 Micromicrons", "0.00054 NauticalMiles"},
         31},
        {"Temperature",
         "Celsius",
         "1",
         {"1.00 Celsius", "33.80 Fahrenheit", "274.15 Kelvin", "493.47 Rankine", "0.80 Reaumur"},
         5},
        // Text that is not a number converts as 0.
        {"Temperature",
         "Celsius",
         "abc",
         {"0.00 Celsius", "32.00 Fahrenheit", "273.15 Kelvin", "491.67 Rankine", "0.00 Reaumur"},
         5},
        {"Time",
         "Centuries",
         "1",
         {"1.00 Centuries", "36,525.00 Days", "2,608.93 Fortnights", "2,451,543.50 JulianDate",
          "51,543.00 ModifiedJulianDate", "1,200.00 Months", "100.00 Years"},
         15},
        {"Time", "JulianDate", "1", {"Cannot parse value"}, 1},
        // Lines before the failing unit stay.
        {"Time", "Centuries", "32000", {"32,000.00 Centuries", "1,168,800,000.00 Days", "Cannot parse value"}, 7},
        {"Distance", "Meters", "-1234.5678", {"-1.23 Kilometers", "-1,234.57 Meters"}, 31},
        {"Distance",
         "Meters",
         "1e308",
         {"INF Angstroms", "9.9999999999999994E304 Kilometers", "1E308 Meters", "INF Micromicrons"},
         31},
        {"Area", "Hectares", "2.5e1", {"61.78 Acres", "250,000.00 SquareMeters"}, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + c.unit + " " + c.value);
        ui.Choose("ConvFamilies", QString::fromLatin1(c.family));
        ChooseUnit(QString::fromLatin1(c.unit));
        ui.SetText("ConvValue", QString::fromLatin1(c.value));
        const QStringList results = Results();
        EXPECT_EQ(results.size(), c.count) << results.join(QLatin1Char('|')).toStdString();
        qsizetype from = 0;
        for (const QString& line : c.expected) {
            const qsizetype at = results.indexOf(line, from);
            EXPECT_GE(at, 0) << line.toStdString() << " in " << results.join(QLatin1Char('|')).toStdString();
            from = at < 0 ? from : at + 1;
        }
    }
}

// A comma-decimal habit converts as 0, as every text that is no number does,
// and the field says so instead of leaving a silent 0.00.
TEST_F(ConversionWindow, ATextThatIsNoNumberSaysBesideTheFieldThatItConvertsAsZero) {
    auto* field = ui.Get<QLineEdit>("ConvValue");
    const QColor ground = field->palette().color(QPalette::Base);
    MessageLog::Take();
    for (const char* step : {"2", "2,", "2,5"}) {
        ui.SetText("ConvValue", QString::fromLatin1(step));
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(field->toolTip(), QStringLiteral("'2,5' is no number: converted as 0 (\".\" is the decimal separator)"));
    EXPECT_NE(field->palette().color(QPalette::Base), ground);
    ui.SetText("ConvValue", QStringLiteral("2.5"));
    EXPECT_TRUE(field->toolTip().isEmpty());
    EXPECT_EQ(field->palette().color(QPalette::Base), ground);
}

TEST_F(ConversionWindow, FamilyWithoutUnitsHasNoBaseType) {
    ui.Choose("ConvFamilies", QStringLiteral("Sorry Not Valid1"));
    EXPECT_EQ(Units()->count(), 0);
    EXPECT_EQ(Results(), QStringList{"No base type"});
    ui.SetText("ConvValue", QStringLiteral("5"));
    EXPECT_EQ(Results(), QStringList{"No base type"});
    // Back on a family with units, its alphabetically first unit is the source
    // and the value text is kept.
    ui.Choose("ConvFamilies", QStringLiteral("Mass"));
    EXPECT_EQ(ChosenUnit(), "Centigrams");
    EXPECT_EQ(ui.Text("ConvValue"), "5");
    EXPECT_EQ(Results().first(), "5.00 Centigrams");
}

TEST_F(ConversionWindow, ClicksThatWouldChooseNoUnitKeepTheChosenOne) {
    QListWidget* units = Units();
    const auto blankBelowUnits = [units] {
        const QPoint point(units->viewport()->width() / 2, units->viewport()->height() - 4);
        EXPECT_EQ(units->itemAt(point), nullptr) << "the list is full: no blank part to click";
        return point;
    };
    struct Case {
        const char* click;
        Qt::KeyboardModifiers modifiers;
        std::function<QPoint()> where;
        const char* typed;
        const char* expected; // a line of the results once the value is typed
    };
    const Case cases[] = {
        {"on the blank part of the list", Qt::NoModifier, blankBelowUnits, "0", "-273.15 Celsius"},
        {"with Ctrl on the chosen unit", Qt::ControlModifier,
         [units] { return units->visualItemRect(units->currentItem()).center(); }, "100", "-173.15 Celsius"},
    };
    ui.Choose("ConvFamilies", QStringLiteral("Temperature"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.click);
        ChooseUnit(QStringLiteral("Kelvin"));
        QTest::mouseClick(units->viewport(), Qt::LeftButton, c.modifiers, c.where());
        EXPECT_EQ(ChosenUnit(), "Kelvin");
        EXPECT_EQ(units->selectedItems().size(), 1);
        EXPECT_TRUE(Results().contains(QStringLiteral("1.00 Kelvin"))) << Results().join('|').toStdString();
        ui.SetText("ConvValue", QString());
        ui.Type("ConvValue", QString::fromLatin1(c.typed));
        EXPECT_TRUE(Results().contains(QString::fromLatin1(c.expected))) << Results().join('|').toStdString();
        ui.SetText("ConvValue", QStringLiteral("1"));
    }
    // A family without units has nothing to keep chosen.
    ui.Choose("ConvFamilies", QStringLiteral("Sorry Not Valid1"));
    QTest::mouseClick(units->viewport(), Qt::LeftButton, Qt::NoModifier, blankBelowUnits());
    EXPECT_EQ(Results(), QStringList{"No base type"});
}

TEST_F(ConversionWindow, ListsAndValueFieldFollowTheWindowsSize) {
    EXPECT_EQ(window.minimumSize(), QSize(695, 428));
    // How each control's left, top, right and bottom edge moves with the window.
    struct Case {
        const char* name;
        int left, top, right, bottom; // 1: follows the window's growth, 0: stays
    };
    const Case cases[] = {
        {"ConvFamilies", 0, 0, 1, 1},    {"ConvTypes", 0, 0, 0, 1},   {"ConvValue", 0, 0, 1, 0},
        {"ConvValueIncDec", 1, 0, 1, 0}, {"ConvResults", 0, 0, 1, 1}, {"StatusBar1", 0, 1, 1, 1},
        {"Label1", 0, 0, 0, 0},
    };
    std::vector<QRect> designed;
    for (const Case& c : cases) {
        designed.push_back(ui.Get(c.name)->geometry());
    }
    // The spinner sits at the right end of the value field.
    EXPECT_EQ(ui.Get("ConvValueIncDec")->geometry().left(), ui.Get("ConvValue")->geometry().right() + 1);
    const int grow = 120, drop = 70;
    window.resize(window.width() + grow, window.height() + drop);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(ui.Get(c.name)->geometry(),
                  designed[i].adjusted(c.left * grow, c.top * drop, c.right * grow, c.bottom * drop))
            << c.name;
    }
    EXPECT_EQ(ui.Get("StatusBar1")->geometry().bottom(), window.height() - 1);
}

TEST_F(ConversionWindow, ArrowsStepWholeNumbersWithinTheirRange) {
    ui.Choose("ConvFamilies", QStringLiteral("Distance"));
    ChooseUnit(QStringLiteral("Kilometers"));
    ui.SpinUp("ConvValueIncDec");
    EXPECT_EQ(ui.Text("ConvValue"), "2");
    EXPECT_TRUE(Results().contains(QStringLiteral("2,000.00 Meters")));
    ui.SetText("ConvValue", QStringLiteral("31999"));
    ui.SpinUp("ConvValueIncDec");
    ui.SpinUp("ConvValueIncDec");
    EXPECT_EQ(ui.Text("ConvValue"), "32000");
    EXPECT_TRUE(Results().contains(QStringLiteral("32,000,000.00 Meters"))) << Results().join('|').toStdString();
    ui.SetText("ConvValue", QStringLiteral("-31999"));
    ui.SpinDown("ConvValueIncDec");
    ui.SpinDown("ConvValueIncDec");
    EXPECT_EQ(ui.Text("ConvValue"), "-32000");
    EXPECT_TRUE(Results().contains(QStringLiteral("-32,000,000.00 Meters")));
}

} // namespace calculator_windows_test
