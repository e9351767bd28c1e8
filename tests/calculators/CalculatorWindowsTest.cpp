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
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Typed at the end of the field, one keystroke at a time, as a user does.
void Type(QLineEdit* field, const QString& keys) {
    field->setFocus();
    field->end(false);
    QTest::keyClicks(field, keys);
}

QStringList Texts(const std::array<QLabel*, 11>& labels) {
    QStringList texts;
    for (const QLabel* label : labels) {
        texts << label->text();
    }
    return texts;
}

// ---------------------------------------------------------------------------

class GyroWindow : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        MessageLog::Take();
    }
    void Enter(const QString& latitude, const QString& speed, const QString& course) {
        window.edt_Latitude->setText(latitude);
        window.edt_Speed->setText(speed);
        window.edt_Course->setText(course);
    }
    TGyrospeederror window;
};

} // namespace

TEST_F(GyroWindow, OpensWithStartTextsAndCalculatesNothingYet) {
    for (const QLineEdit* field : {window.edt_Latitude, window.edt_Speed, window.edt_Course}) {
        EXPECT_EQ(field->text(), "0");
    }
    EXPECT_EQ(window.lbl_Error->text(), "Error");
    EXPECT_EQ(Texts(window.RangeLabels()), QStringList(11, QStringLiteral("0.0 m")));
    EXPECT_EQ(window.windowTitle(), "Gyro Speed Error");
    EXPECT_EQ(window.size(), QSize(688, 452));
    EXPECT_EQ(window.edt_Latitude->toolTip(), "Example:  58.5");
    EXPECT_EQ(window.edt_Speed->toolTip(), "Example \" 9.5 \"");
    EXPECT_EQ(window.edt_Course->toolTip(), "Example \" 91 \" or  \" 091 \"");
    struct Spinner {
        kit::UpDown* spinner;
        int minimum, maximum;
    };
    for (const Spinner& s : {Spinner{window.udb_Latitude, -89, 89}, Spinner{window.udb_Speed, 0, 50},
                             Spinner{window.udb_Course, 0, 360}}) {
        EXPECT_EQ(s.spinner->Minimum(), s.minimum) << s.spinner->objectName().toStdString();
        EXPECT_EQ(s.spinner->Maximum(), s.maximum) << s.spinner->objectName().toStdString();
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(GyroWindow, ShowsTheErrorWithItsSignAndEveryRange) {
    struct Case {
        const char *latitude, *speed, *course, *error;
        QStringList ranges;
    };
    const Case cases[] = {
        {"0",
         "10",
         "0",
         "0.64\u00BA",
         {"0.11 m", "0.22 m", "0.34 m", "0.56 m", "1.12 m", "2.23 m", "3.35 m", "5.6 m", "11.2 m", "55.8 m",
          "111.7 m"}},
        {"60",
         "10",
         "0",
         "1.27\u00BA",
         {"0.22 m", "0.44 m", "0.66 m", "1.11 m", "2.22 m", "4.43 m", "6.65 m", "11.1 m", "22.2 m", "110.8 m",
          "221.6 m"}},
        {"45",
         "12",
         "180",
         "-1.08\u00BA",
         {"-0.19 m", "-0.38 m", "-0.57 m", "-0.94 m", "-1.88 m", "-3.77 m", "-5.65 m", "-9.4 m", "-18.8 m", "-94.2 m",
          "-188.5 m"}},
        {"95",
         "20",
         "0",
         "72.95\u00BA",
         {"9.56 m", "19.12 m", "28.68 m", "47.8 m", "95.6 m", "191.21 m", "286.81 m", "478 m", "956 m", "4780.2 m",
          "9560.5 m"}},
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
        EXPECT_EQ(window.lbl_Error->text(), QString::fromUtf8(c.error));
        EXPECT_EQ(Texts(window.RangeLabels()), c.ranges);
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(GyroWindow, UnreadableFieldStopsAtTheErrorBoxAndKeepsEveryResult) {
    Enter(QStringLiteral("60"), QStringLiteral("10"), QStringLiteral("0"));
    const QString error = window.lbl_Error->text();
    const QStringList ranges = Texts(window.RangeLabels());
    struct Case {
        QLineEdit* field;
        QString text;
    };
    const Case cases[] = {
        {window.edt_Speed, QStringLiteral("1,5")},
        {window.edt_Speed, QString()},
        {window.edt_Course, QStringLiteral("-")},
        {window.edt_Latitude, QStringLiteral("N58")},
    };
    for (const Case& c : cases) {
        const QString before = c.field->text();
        c.field->setText(c.text);
        EXPECT_EQ(MessageLog::Take(),
                  QStringList{QStringLiteral("error: '%1' is not a valid floating point value.").arg(c.text)});
        EXPECT_EQ(window.lbl_Error->text(), error);
        EXPECT_EQ(Texts(window.RangeLabels()), ranges);
        // The window stays usable: the next good value calculates again.
        c.field->setText(before);
        EXPECT_TRUE(MessageLog::Take().isEmpty());
    }
    // Clearing a field to type a new value shows the error once, then calculates.
    window.edt_Speed->selectAll();
    QTest::keyClick(window.edt_Speed, Qt::Key_Delete);
    Type(window.edt_Speed, QStringLiteral("12"));
    EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("error: '' is not a valid floating point value.")});
    EXPECT_EQ(window.lbl_Error->text(), "1.53\u00BA");
    // Calculate with an unreadable field: the same box, nothing written.
    window.edt_Course->setText(QStringLiteral("x"));
    MessageLog::Take();
    window.btn_Calculate->click();
    EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("error: 'x' is not a valid floating point value.")});
    EXPECT_EQ(window.lbl_Error->text(), "1.53\u00BA");
}

TEST_F(GyroWindow, SpinnersWriteWholeStepsWithinTheirRangeAndRecalculate) {
    window.udb_Speed->UpButton()->click();
    EXPECT_EQ(window.edt_Speed->text(), "1");
    EXPECT_EQ(window.lbl_Error->text(), "0.06\u00BA");
    window.udb_Latitude->UpButton()->click();
    EXPECT_EQ(window.edt_Latitude->text(), "5");
    window.edt_Latitude->setText(QStringLiteral("87"));
    window.udb_Latitude->UpButton()->click();
    EXPECT_EQ(window.edt_Latitude->text(), "89");
    window.edt_Course->setText(QStringLiteral("358"));
    window.udb_Course->UpButton()->click();
    EXPECT_EQ(window.edt_Course->text(), "360");
    window.udb_Speed->DownButton()->click();
    window.udb_Speed->DownButton()->click();
    EXPECT_EQ(window.edt_Speed->text(), "0");
    EXPECT_EQ(window.lbl_Error->text(), "0\u00BA");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(GyroWindow, CalculateRecomputesAndExitCloses) {
    Enter(QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("0"));
    window.lbl_Error->setText(QStringLiteral("stale"));
    window.btn_Calculate->click();
    EXPECT_EQ(window.lbl_Error->text(), "0.64\u00BA");
    window.btn_Exit->click();
    EXPECT_FALSE(window.isVisible());
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
    const Case cases[] = {
        {"psi", "1", "psi", "  1.000000"},     {"psi", "1", "kPa", "  6.894757"},
        {"bar", "1", "psi", " 14.503774"},     {"atmos", "1", "psi", " 14.695950"},
        {"atmos", "1", "mmHg", "760.000006"},  {"kPa", "1", "psi", "  0.145038"},
        {"mWater", "10", "bar", "  0.980665"}, {"psi", "100", "Pa", "689475.700000"},
        {"psi", "-2", "psi", " -2.000000"},    {"psi", "0", "bar", "  0.000000"},
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
    for (const QString& keys : {QStringLiteral("x"), QStringLiteral(","), QStringLiteral("e")}) {
        ui.SetText("edt_Value", QStringLiteral("1"));
        MessageLog::Take();
        ui.Type("edt_Value", keys);
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

TEST_F(PressureWindow, OnlyTheValueFieldIsOnTheTabChain) {
    EXPECT_EQ(ui.Get("edt_Value")->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    for (const char* skipped : {"cbo_From", "cbo_To", "edt_Result"}) {
        EXPECT_EQ(ui.Get(skipped)->focusPolicy() & Qt::TabFocus, 0) << skipped;
    }
}

// ---------------------------------------------------------------------------

namespace {

class ConversionWindow : public testing::Test {
protected:
    void SetUp() override { window.show(); }

    void ChooseTab(const QString& family) {
        for (int i = 0; i < window.ConvFamilies->count(); ++i) {
            if (window.ConvFamilies->tabText(i) == family) {
                window.ConvFamilies->setCurrentIndex(i);
                return;
            }
        }
        FAIL() << "no tab " << family.toStdString();
    }
    void ChooseUnit(const QString& unit) {
        const auto found = window.ConvTypes->findItems(unit, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << unit.toStdString();
        window.ConvTypes->setCurrentItem(found.first());
    }
    QStringList Items(const QListWidget* list) const {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        return lines;
    }
    QStringList Results() const { return Items(window.ConvResults); }

    TConversion_tester window;
};

} // namespace

TEST_F(ConversionWindow, FirstShowListsFamiliesAsTabsAndConvertsOneAcre) {
    QStringList tabs;
    for (int i = 0; i < window.ConvFamilies->count(); ++i) {
        tabs << window.ConvFamilies->tabText(i);
    }
    EXPECT_EQ(tabs, (QStringList{"Area", "Distance", "Mass", "Sorry Not Valid1", "Temperature", "Time", "Volume"}));
    EXPECT_EQ(window.ConvFamilies->currentIndex(), 0);
    EXPECT_EQ(window.ConvTypes->currentItem()->text(), "Acres");
    EXPECT_EQ(window.ConvValue->text(), "1");
    const QStringList results = Results();
    ASSERT_EQ(results.size(), 16);
    EXPECT_EQ(results.mid(0, 2), (QStringList{"1.00 Acres", "40.47 Ares"}));
    EXPECT_EQ(window.windowTitle(), "CONVERSIONS  ");
}

TEST_F(ConversionWindow, UnitListsAreSortedWithoutRegardToCase) {
    ChooseTab(QStringLiteral("Time"));
    EXPECT_EQ(Items(window.ConvTypes),
              (QStringList{"Centuries", "DateTime", "Days", "Decades", "Fortnights", "Hours", "JulianDate", "Millennia",
                           "MilliSeconds", "Minutes", "ModifiedJulianDate", "Months", "Seconds", "Weeks", "Years"}));
    EXPECT_EQ(window.ConvTypes->currentItem()->text(), "Centuries");
    ChooseTab(QStringLiteral("Temperature"));
    EXPECT_EQ(Items(window.ConvTypes), (QStringList{"Celsius", "Fahrenheit", "Kelvin", "Rankine", "Reaumur"}));
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
         {"0.00 AstronomicalUnits", "0.55 Fathoms", "3.28 Feet", "39.37 Inches", "0.00 Kilometers", "1.00 Meters",
          "1,000,000,000,000.00 Micromicrons", "0.00 NauticalMiles"},
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
        ChooseTab(QString::fromLatin1(c.family));
        ChooseUnit(QString::fromLatin1(c.unit));
        window.ConvValue->setText(QString::fromLatin1(c.value));
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

TEST_F(ConversionWindow, FamilyWithoutUnitsHasNoBaseType) {
    ChooseTab(QStringLiteral("Sorry Not Valid1"));
    EXPECT_EQ(window.ConvTypes->count(), 0);
    EXPECT_EQ(Results(), QStringList{"No base type"});
    window.ConvValue->setText(QStringLiteral("5"));
    EXPECT_EQ(Results(), QStringList{"No base type"});
    // Back on a family with units, its alphabetically first unit is the source
    // and the value text is kept.
    ChooseTab(QStringLiteral("Mass"));
    EXPECT_EQ(window.ConvTypes->currentItem()->text(), "Centigrams");
    EXPECT_EQ(window.ConvValue->text(), "5");
    EXPECT_EQ(Results().first(), "5.00 Centigrams");
}

TEST_F(ConversionWindow, ArrowsStepWholeNumbersWithinTheirRange) {
    ChooseTab(QStringLiteral("Distance"));
    ChooseUnit(QStringLiteral("Kilometers"));
    window.ConvValueIncDec->UpButton()->click();
    EXPECT_EQ(window.ConvValue->text(), "2");
    EXPECT_TRUE(Results().contains(QStringLiteral("2,000.00 Meters")));
    window.ConvValue->setText(QStringLiteral("31999"));
    window.ConvValueIncDec->UpButton()->click();
    window.ConvValueIncDec->UpButton()->click();
    EXPECT_EQ(window.ConvValue->text(), "32000");
    EXPECT_TRUE(Results().contains(QStringLiteral("32,000,000.00 Meters"))) << Results().join('|').toStdString();
    window.ConvValue->setText(QStringLiteral("-31999"));
    window.ConvValueIncDec->DownButton()->click();
    window.ConvValueIncDec->DownButton()->click();
    EXPECT_EQ(window.ConvValue->text(), "-32000");
    EXPECT_TRUE(Results().contains(QStringLiteral("-32,000,000.00 Meters")));
}
