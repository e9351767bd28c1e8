#include "commtools/CaptureFile.h"

#include <QFile>

#include <string_view>

namespace commtools {

bool CaptureFile::Open(const QString& path) {
    Close();
    error_.clear();
    path_ = path;
    if (!file_.Open(QFile::encodeName(path).toStdString())) {
        error_ =
            QStringLiteral("Cannot open the capture file \"%1\": %2").arg(path, QString::fromLocal8Bit(file_.Reason()));
        return false;
    }
    return true;
}

bool CaptureFile::Write(const QByteArray& bytes) {
    if (!file_.IsOpen()) {
        return false;
    }
    if (!file_.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        error_ = QStringLiteral("Cannot write the capture file \"%1\": %2")
                     .arg(path_, QString::fromLocal8Bit(file_.Reason()));
        return false;
    }
    return true;
}

void CaptureFile::Close() { file_.Close(); }

} // namespace commtools
