// Tormalind UTILITY: start-up. The application (arithmetic, number format,
// fonts), then the launcher (the main window) and the hidden TPU calculator.
#include "app/Suite.h"
#include "kit/Startup.h"

int main(int argc, char** argv) {
    kit::Application application(argc, argv);
    app::Suite suite = app::CreateSuite();
    suite.launcher->show();
    return kit::Application::exec();
}
