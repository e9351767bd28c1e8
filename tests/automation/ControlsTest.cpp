// The shared actions where the suite's windows cannot show them: a name that
// two controls carry, keys given by name, and waiting for a text to appear.
#include "automation/Controls.h"
#include "common/Messages.h"

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace controls_test {

namespace {

using namespace std::chrono_literals;

TEST(FindControl, FindsOneControlAndRefusesANameTwoControlsCarry) {
    QWidget window;
    window.setObjectName(QStringLiteral("frm_Test"));
    auto* single = new QLineEdit(&window);
    single->setObjectName(QStringLiteral("edt_Single"));
    // An object that is neither widget nor action is no control, so it does
    // not make the name ambiguous.
    (new QObject(&window))->setObjectName(QStringLiteral("edt_Single"));
    auto* group = new QGroupBox(&window);
    (new QLineEdit(&window))->setObjectName(QStringLiteral("edt_Twin"));
    (new QLineEdit(group))->setObjectName(QStringLiteral("edt_Twin"));
    auto* action = new QAction(&window);
    action->setObjectName(QStringLiteral("mnuOnly"));
    (new QPushButton(&window))->setObjectName(QStringLiteral("btn_Shared"));
    (new QAction(&window))->setObjectName(QStringLiteral("btn_Shared"));
    // A dialog over the window is a window of its own: its controls are not
    // the window's, however they are named.
    auto* dialog = new QDialog(&window);
    (new QLineEdit(dialog))->setObjectName(QStringLiteral("edt_Single"));
    (new QPushButton(dialog))->setObjectName(QStringLiteral("btn_OnlyInDialog"));

    struct Case {
        const char* name;
        QObject* control;
        const char* error;
    };
    const Case cases[] = {
        {"frm_Test", &window, ""},
        {"edt_Single", single, ""},
        {"mnuOnly", action, ""},
        {"edt_Twin", nullptr, "2 controls are named edt_Twin"},
        {"btn_Shared", nullptr, "2 controls are named btn_Shared"},
        {"edt_None", nullptr, "no control edt_None"},
        {"btn_OnlyInDialog", nullptr, "no control btn_OnlyInDialog"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_EQ(automation::FindControl(&window, QString::fromLatin1(c.name), &error), c.control) << c.name;
        EXPECT_EQ(error.toStdString(), c.error) << c.name;
    }
    QString error;
    EXPECT_EQ(automation::FindControl(nullptr, QStringLiteral("edt_Single"), &error), nullptr);
    EXPECT_EQ(error.toStdString(), "no current window");
}

TEST(Key, SendsNamedKeysAndTypesOneCharacterAsGiven) {
    struct Case {
        QStringList keys;
        const char* text; // of a field that held "12" with the cursor at its end
    };
    const Case cases[] = {
        {{QStringLiteral("x")}, "12x"},
        {{QStringLiteral("X")}, "12X"},
        {{QStringLiteral("+")}, "12+"},
        {{QStringLiteral(",")}, "12,"},
        {{QStringLiteral("Backspace")}, "1"},
        {{QStringLiteral("Home"), QStringLiteral("-")}, "-12"},
        {{QStringLiteral("Ctrl+A"), QStringLiteral("9")}, "9"},
    };
    for (const Case& c : cases) {
        QLineEdit edit(QStringLiteral("12"));
        for (const QString& key : c.keys) {
            EXPECT_NO_THROW(automation::Key(&edit, key)) << key.toStdString();
        }
        EXPECT_EQ(edit.text().toStdString(), c.text) << c.keys.join(QLatin1Char(' ')).toStdString();
    }

    const auto refusal = [](QObject* control, const QString& key) -> std::string {
        try {
            automation::Key(control, key);
        } catch (const common::UserError& refused) {
            return refused.what();
        }
        return "taken";
    };
    QLineEdit edit;
    EXPECT_EQ(refusal(&edit, QStringLiteral("Foo")), "no key Foo");
    QAction action;
    action.setObjectName(QStringLiteral("mnuOnly"));
    EXPECT_EQ(refusal(&action, QStringLiteral("Return")), "not a control that takes keys: mnuOnly");
}

TEST(WaitForText, RunsTheEventLoopUntilTheTextShows) {
    QLineEdit edit(QStringLiteral("1"));
    QTimer::singleShot(50ms, &edit, [&edit] { edit.setText(QStringLiteral("2")); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(automation::WaitForText(&edit, QStringLiteral("2"), 5s));
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(WaitForText, GivesUpAfterTheTimeOutOrWhenTheControlGoesAway) {
    QLineEdit edit(QStringLiteral("1"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(automation::WaitForText(&edit, QStringLiteral("2"), 100ms));
    EXPECT_GE(clock.elapsed(), 100);

    auto* doomed = new QLineEdit(QStringLiteral("1"));
    QTimer::singleShot(20ms, doomed, [doomed] { delete doomed; });
    EXPECT_FALSE(automation::WaitForText(doomed, QStringLiteral("1 "), 200ms));
}

} // namespace

} // namespace controls_test
