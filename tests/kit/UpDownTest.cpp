#include "kit/UpDown.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace up_down_test {

using namespace kit;

TEST(UpDown, StepsFromTheFieldWithinItsRange) {
    QWidget window;
    QLineEdit edit(&window);
    UpDown spinner(&window);
    spinner.SetRange(1, 15000);
    spinner.SetIncrement(5);
    spinner.SetPosition(10);
    edit.setGeometry(36, 117, 129, 28);
    spinner.Associate(&edit);
    // Field and spinner share the rectangle the layout gives the field.
    EXPECT_EQ(edit.geometry(), QRect(36, 117, 109, 28));
    EXPECT_EQ(spinner.geometry(), QRect(145, 117, 20, 28));

    struct Case {
        const char* before;
        int direction;
        const char* after;
    } cases[] = {
        {"10", +1, "15"},       {"102", +1, "107"}, // from the typed number, not the last position
        {"3", -1, "1"},                             // clamped at the bottom
        {"14998", +1, "15000"},                     // clamped at the top
        {"20000", +1, "15000"},                     // a typed value above the range comes back in
        {"1000", +1, "1005"},                       // plain digits, no thousands separator
        {"58.5", +1, "63"},                         // a fraction: from the nearest whole number, halves to even
        {"57.5", -1, "53"},     {"2e2", +1, "205"},
        {"abc", +1, "210"}, // unreadable: from the spinner's own position, 205
    };
    for (const auto& c : cases) {
        edit.setText(QString::fromLatin1(c.before));
        c.direction > 0 ? spinner.StepUp() : spinner.StepDown();
        EXPECT_EQ(edit.text().toStdString(), c.after) << c.before;
    }
}

TEST(UpDown, AStepThatChangesNothingDoesNotRewriteTheField) {
    QWidget window;
    QLineEdit edit(&window);
    UpDown spinner(&window);
    spinner.SetRange(1, 15000);
    spinner.Associate(&edit);
    edit.setText(QStringLiteral("15000"));
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    spinner.StepUp();
    EXPECT_EQ(changes.count(), 0);
}

} // namespace up_down_test
