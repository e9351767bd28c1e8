// Shared main of the window test programs: the suite's application on the
// offscreen platform (so test discovery at build time works without a display),
// and message boxes recorded instead of waiting for a click.
#include "kit/Startup.h"
#include "support/MessageLog.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    kit::Application app(argc, argv, kit::Screen::Offscreen);
    testing::InitGoogleTest(&argc, argv);
    MessageLog::Install();
    return RUN_ALL_TESTS();
}
