#include "commtools/CaptureFile.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace commtools {

bool CaptureFile::Open(const QString& path) {
    Close();
    error_.clear();
    file_.setFileName(path);
    if (!file_.open(QIODevice::Append | QIODevice::Unbuffered)) {
        error_ = QStringLiteral("Cannot open the capture file \"%1\": %2").arg(path, file_.errorString());
        return false;
    }
    return true;
}

bool CaptureFile::Write(const QByteArray& bytes) {
    if (!file_.isOpen()) {
        return false;
    }
    // Straight to the descriptor: a write the disk takes only in part is
    // followed by one that gives the system's reason, which the file object
    // would not report.
    const int fd = file_.handle();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            const int reason = n < 0 ? errno : ENOSPC;
            error_ = QStringLiteral("Cannot write the capture file \"%1\": %2")
                         .arg(file_.fileName(), QString::fromLocal8Bit(std::strerror(reason)));
            Close();
            return false;
        }
    }
    return true;
}

void CaptureFile::Close() {
    if (file_.isOpen()) {
        file_.close();
    }
}

} // namespace commtools
