// Tormalind UTILITY: start-up. Arithmetic and number format first, then the
// application, the launcher (the main window) and the hidden TPU calculator.
#include "Startup.h"
#include "Suite.h"

#include <QApplication>

int main(int argc, char** argv) {
    shell::PrepareProcess();
    QApplication app(argc, argv);
    shell::PrepareApplication();
    shell::Suite suite = shell::CreateSuite();
    suite.launcher->show();
    return QApplication::exec();
}
