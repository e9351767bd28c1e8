#include "commtools/CaptureFile.h"

#include <QFile>

#include <algorithm>
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

QByteArray WholeLines::Take(quint64 connection, const QByteArray& bytes) {
    // A device ends its lines with CR LF, LF or a lone CR.
    const qsizetype end = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
    const auto found = held_.find(connection);
    if (end < 0) {
        QByteArray& held = found == held_.end() ? held_[connection] : found->second;
        held += bytes;
        if (held.size() < kLongestHeld) {
            return {};
        }
        QByteArray out = std::move(held);
        held_.erase(connection);
        return out;
    }
    QByteArray out;
    if (found == held_.end()) {
        out = end + 1 == bytes.size() ? bytes : bytes.left(end + 1);
    } else {
        out = std::move(found->second) + bytes.left(end + 1);
        held_.erase(found);
    }
    if (end + 1 < bytes.size()) {
        held_[connection] = bytes.mid(end + 1);
    }
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
