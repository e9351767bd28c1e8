// Receives one ZModem session on a terminal device through the serial
// terminal's own channel (QSerialPort, the receive path and the ZModem
// receiver), without a window, so that the side-by-side run against lrzsz's
// rz (zmodem_vs_rz.sh) measures what a surveyor's download goes through.
//   zmodem_pty_receive DEVICE FOLDER
#include "commtools/SerialChannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEVICE FOLDER\n", argv[0]);
        return 2;
    }
    commtools::SerialChannel channel(QDir::temp().filePath(QStringLiteral("zmodem_pty_receive.log")));
    channel.ZModem().SetFolder(argv[2]);
    channel.SetPortName(QString::fromLocal8Bit(argv[1]));
    try {
        channel.SetActive(true);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    bool started = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        started = started || channel.ZModem().InSession();
        if (started && !channel.ZModem().InSession()) {
            application.quit();
        }
    });
    watch.start(1);
    QTimer::singleShot(120000, &application, [&] { application.exit(1); });
    const int status = application.exec();
    return status == 0 && !channel.ZModem().ReceivedFiles().empty() ? 0 : 1;
}
