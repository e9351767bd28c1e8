// Calls the system outside common/: the layout test must name each line.
#include <QFile>

#include <cstring>

int Probe(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    file.open(QIODevice::ReadOnly); // a member's open is no system call
    return ::access(path, 0) == 0 ? 0 : static_cast<int>(std::strlen(std::strerror(errno)));
}
