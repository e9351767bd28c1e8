// Shared main of the test programs: a QApplication on the offscreen platform (so
// test discovery at build time works without a display), the suite's process
// set-up, and message boxes recorded instead of waiting for a click.
#include "MessageLog.h"

#include <QApplication>
#include <gtest/gtest.h>

#ifdef TORMALIND_WITH_SHELL
#include "Startup.h"
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifdef TORMALIND_WITH_SHELL
    shell::PrepareProcess();
#endif
    QApplication app(argc, argv);
#ifdef TORMALIND_WITH_SHELL
    shell::PrepareApplication();
#endif
    testing::InitGoogleTest(&argc, argv);
    MessageLog::Install();
    return RUN_ALL_TESTS();
}
