#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "support/MessageLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace messages_test {

using namespace common;

namespace {

class Messages : public testing::Test {
protected:
    void SetUp() override {
        MessageLog::Install();
        MessageLog::Take();
    }
    void TearDown() override { SetMessagePresenter({}); }
};

} // namespace

TEST_F(Messages, ErrorTextGetsAFullStopOnlyWhenMissing) {
    ShowError(QStringLiteral("'abc' is not a valid integer value"));
    ShowError(QStringLiteral("Already ends."));
    ShowMessage(QStringLiteral("Invallid input value\nUse positive numbers"));
    EXPECT_EQ(MessageLog::Take(), (QStringList{QStringLiteral("error: 'abc' is not a valid integer value."),
                                               QStringLiteral("error: Already ends."),
                                               QStringLiteral("message: Invallid input value\nUse positive numbers")}));
}

TEST_F(Messages, GuardedHandlerStopsAtAConversionErrorAndReportsIt) {
    bool reachedEnd = false;
    RunGuarded([&] {
        ParseFloat("1,5");
        reachedEnd = true;
    });
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(MessageLog::Take(), QStringList{QStringLiteral("error: '1,5' is not a valid floating point value.")});
}

// A fault of the program is not dressed up as a message about the input: the
// box says it is an internal error and asks for a report; the window goes on.
TEST_F(Messages, GuardedHandlerReportsAProgrammingFaultAsSuch) {
    struct Case {
        const char* reason;
        std::function<void()> body;
        QString shown;
    };
    const Case cases[] = {
        {"the surveyor's error is shown as it is",
         [] { throw UserError(QStringLiteral("Device \"x\" Open Error !!!")); },
         QStringLiteral("error: Device \"x\" Open Error !!!.")},
        {"a library's exception is a fault", [] { (void)std::vector<int>().at(3); }, QStringLiteral("internal error")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        RunGuarded(c.body);
        const QStringList shown = MessageLog::Take();
        ASSERT_EQ(shown.size(), 1);
        if (c.shown == QLatin1String("internal error")) {
            EXPECT_TRUE(shown[0].startsWith(QStringLiteral("error: Internal error: "))) << shown[0].toStdString();
            EXPECT_TRUE(shown[0].contains(QStringLiteral("Please report this"))) << shown[0].toStdString();
        } else {
            EXPECT_EQ(shown[0], c.shown);
        }
    }
}

} // namespace messages_test
