#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "support/MessageLog.h"

#include <gtest/gtest.h>

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
