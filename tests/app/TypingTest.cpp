// Typing as a surveyor types: select the field, then the keys one by one. The
// field shows what was typed after every key, no box interrupts the number,
// and the results follow the value the window's rules make of it; finishing
// the field writes the corrected text and says once what still holds.
#include "app/ToolWindows.h"
#include "calculators/TGyrospeederror.h"
#include "calculators/TPressureConvert.h"
#include "coverage/TR2SonicCoverage.h"
#include "kit/ChartView.h"
#include "lineplan/Tsurveyplan.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "tpu/TTPU_Calculator.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace typing_test {

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
        {"coverage, a sign alone", Make<TR2SonicCoverage>(), nothing, "edtmount_ang", QStringLiteral("-"), "edtNo_5",
         QStringLiteral("\u2014"), QStringLiteral("-"), 1},
        {"planner, an exponent begun", Make<Tsurveyplan>(), nothing, "Soundvelocity", QStringLiteral("1e"),
         "Max_linespacing", QStringLiteral("\u2014"), QStringLiteral("1460"), 1},
        {"TPU, a decimal comma", Make<TTPU_Calculator>(), nothing, "edt_SD_Roll", QStringLiteral("0,"), "edt_Max_TVU",
         QStringLiteral("\u2014"), QStringLiteral("0,"), 1},
        {"gyro, a decimal comma", Make<TGyrospeederror>(), nothing, "edt_Latitude", QStringLiteral("55,5"), "lbl_Error",
         QStringLiteral("\u2014"), QStringLiteral("55,5"), 1},
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

namespace {

// What a person can set: editable fields, lists, selectors, spin boxes and
// the choices of check boxes and radio groups (a group is one stop).
bool IsInput(const QWidget* widget) {
    if (const auto* field = qobject_cast<const QLineEdit*>(widget)) {
        return !field->isReadOnly();
    }
    if (qobject_cast<const QListWidget*>(widget) != nullptr) {
        // The unit conversion's result list is read, not set.
        return widget->objectName() != QLatin1String("ConvResults");
    }
    return qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QCheckBox*>(widget) != nullptr || qobject_cast<const QRadioButton*>(widget) != nullptr;
}

// A radio button stands for its group: the auto-exclusive buttons of one
// parent; the field inside an editable list or a spin box for its owner.
const QObject* Stop(const QWidget* widget) {
    if (qobject_cast<const QComboBox*>(widget->parent()) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(widget->parent()) != nullptr) {
        return widget->parent();
    }
    const auto* radio = qobject_cast<const QRadioButton*>(widget);
    return radio != nullptr && radio->autoExclusive() ? radio->parent() : widget;
}

QString Describe(const QWidget* widget) {
    return QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
}

// Each window class of the tool table once, made as its command makes it,
// shown and active, for a test of what the keyboard does in it.
void ForEachToolWindow(const std::function<void(QWidget* window)>& test) {
    std::set<QString> seen;
    for (const app::ToolEntry& tool : app::ToolTable()) {
        if (!seen.insert(QString::fromLatin1(tool.className)).second) {
            continue;
        }
        SCOPED_TRACE(tool.className);
        std::unique_ptr<QWidget> window(app::CreateToolWindow(QString::fromLatin1(tool.className)).window);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        test(window.get());
    }
}

TEST(Keyboard, TabReachesEveryInputOfEveryWindowAndTheChartsAfterThem) {
    ForEachToolWindow([](QWidget* window) {
        std::set<const QObject*> wanted;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (IsInput(widget) && widget->isVisibleTo(window) && widget->isEnabled()) {
                wanted.insert(Stop(widget));
            }
        }
        std::set<const QObject*> reached;
        std::vector<QWidget*> order;
        QWidget* first = QApplication::focusWidget();
        for (int step = 0; step < 400; ++step) {
            QWidget* focused = QApplication::focusWidget();
            if (focused == nullptr) {
                break;
            }
            if (step > 0 && focused == first) {
                break;
            }
            order.push_back(focused);
            reached.insert(Stop(focused));
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        for (const QObject* stop : wanted) {
            EXPECT_TRUE(reached.count(stop) != 0) << "not reached: " << stop->objectName().toStdString();
        }
        // The charts come after every input.
        bool chartSeen = false;
        for (QWidget* focused : order) {
            if (qobject_cast<kit::ChartView*>(focused) != nullptr) {
                chartSeen = true;
            } else if (IsInput(focused)) {
                EXPECT_FALSE(chartSeen) << "an input after a chart: " << Describe(focused).toStdString();
            }
        }
    });
}

} // namespace

namespace {

TEST(Keyboard, ArrowKeysChooseInARadioGroupAndTheMenuKeyOpensAChartsMenu) {
    ForEachToolWindow([](QWidget* window) {
        std::set<const QObject*> groups;
        for (auto* radio : window->findChildren<QRadioButton*>()) {
            if (!radio->isChecked() || !radio->isVisibleTo(window) || !groups.insert(radio->parent()).second) {
                continue;
            }
            const auto siblings = radio->parent()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
            const auto choosable = std::count_if(siblings.begin(), siblings.end(), [&](const QRadioButton* other) {
                return other->isEnabled() && other->isVisibleTo(window);
            });
            if (choosable < 2) {
                continue;
            }
            // From the chosen button one arrow or another leads to a
            // neighbour, which is then chosen: the focus and the choice move
            // together.
            bool moved = false;
            for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left}) {
                radio->click();
                radio->setFocus();
                QTest::keyClick(radio, key);
                auto* focused = qobject_cast<QRadioButton*>(QApplication::focusWidget());
                ASSERT_NE(focused, nullptr);
                EXPECT_TRUE(focused->isChecked()) << focused->objectName().toStdString();
                moved = moved || focused != radio;
            }
            EXPECT_TRUE(moved) << "no arrow leaves " << radio->objectName().toStdString();
        }
        for (auto* chart : window->findChildren<kit::ChartView*>()) {
            if (!chart->isVisibleTo(window)) {
                continue;
            }
            chart->setFocus();
            for (const auto& [key, modifiers] :
                 {std::pair{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
                QTest::keyClick(chart, key, modifiers);
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                ASSERT_NE(menu, nullptr) << chart->objectName().toStdString();
                EXPECT_EQ(menu->actions().value(0)->text(), QStringLiteral("Copy data"));
                menu->close();
            }
        }
    });
}

} // namespace

} // namespace typing_test
