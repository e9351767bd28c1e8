// tormalind-drive [SCRIPT]: runs a driver script (or standard input) against
// the suite's windows; exits 1 when a line could not be carried out.
#include "drive/Driver.h"
#include "kit/Startup.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    kit::Application application(argc, argv, kit::Screen::DisplayOrOffscreen);

    QFile script;
    if (argc > 1) {
        script.setFileName(QString::fromLocal8Bit(argv[1]));
        if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "tormalind-drive: cannot read %s\n", argv[1]);
            return 2;
        }
    } else if (!script.open(stdin, QIODevice::ReadOnly | QIODevice::Text)) {
        return 2;
    }

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    Driver driver(out);
    QTextStream in(&script);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        driver.Run(in.readLine());
    }
    out.flush();
    return driver.Failed() ? 1 : 0;
}
