// Tormalind UTILITY: start-up. The command line first (it needs no display),
// then the application (arithmetic, number format, fonts), the launcher (the
// main window) and the hidden TPU calculator.
#include "app/CommandLine.h"
#include "app/Suite.h"
#include "common/Messages.h"
#include "common/ProgramFolders.h"
#include "kit/Remembered.h"
#include "kit/Startup.h"

#include <cstdio>

int main(int argc, char** argv) {
    const app::CommandLine line = app::ReadCommandLine(argc, argv);
    if (line.exitCode) {
        std::fputs(line.text.c_str(), *line.exitCode == 0 ? stdout : stderr);
        return *line.exitCode;
    }
    kit::Application application(argc, argv);
    if (!line.fresh) {
        kit::KeepBetweenRuns();
    }
    app::Suite suite = app::CreateSuite();
    suite.launcher->show();
    if (const QString missing = app::MissingDataMessage(common::DataFolder()); !missing.isEmpty()) {
        common::ShowMessage(missing);
    }
    return kit::Application::exec();
}
