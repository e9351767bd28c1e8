#include "commtools/CaptureFile.h"

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
    // A write the disk takes only in part says nothing; writing the rest again
    // gives the system's reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file_.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            error_ =
                QStringLiteral("Cannot write the capture file \"%1\": %2").arg(file_.fileName(), file_.errorString());
            Close();
            return false;
        }
        done += n;
    }
    return true;
}

void CaptureFile::Close() {
    if (file_.isOpen()) {
        file_.close();
    }
}

} // namespace commtools
