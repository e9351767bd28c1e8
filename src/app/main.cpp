// Tormalind UTILITY: start-up. The application (arithmetic, number format,
// fonts), then the launcher (the main window) and the hidden TPU calculator.
#include "app/Suite.h"
#include "common/Messages.h"
#include "common/ProgramFolders.h"
#include "kit/Remembered.h"
#include "kit/Startup.h"

int main(int argc, char** argv) {
    kit::Application application(argc, argv);
    kit::KeepBetweenRuns();
    app::Suite suite = app::CreateSuite();
    suite.launcher->show();
    if (const QString missing = app::MissingDataMessage(common::DataFolder()); !missing.isEmpty()) {
        common::ShowMessage(missing);
    }
    return kit::Application::exec();
}
