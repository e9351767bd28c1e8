#include "commtools/CaptureFile.h"

#include <QFile>

#include <algorithm>
#include <string_view>
#include <utility>

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

QByteArray WholeLines::Take(quint64 connection, const QByteArray& bytes) {
    QByteArray& held = held_[connection];
    if (held_.size() == 1) {
        return held.isEmpty() ? bytes : std::exchange(held, {}) + bytes;
    }
    // A device ends its lines with CR LF, LF or a lone CR.
    const qsizetype end = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
    if (end < 0) {
        held += bytes;
        return held.size() < kLongestHeld ? QByteArray() : std::exchange(held, {});
    }
    QByteArray out = std::exchange(held, {}) + bytes.left(end + 1);
    held = bytes.mid(end + 1);
    return out;
}

QByteArray WholeLines::Rest(quint64 connection) {
    const auto found = held_.find(connection);
    if (found == held_.end()) {
        return {};
    }
    QByteArray rest = std::move(found->second);
    held_.erase(found);
    return rest;
}

QByteArray WholeLines::RestOfAll() {
    QByteArray rest;
    for (auto& [connection, bytes] : held_) {
        rest += bytes;
    }
    held_.clear();
    return rest;
}

} // namespace commtools
