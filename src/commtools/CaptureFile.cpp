#include "commtools/CaptureFile.h"

#include <QFile>

#include <algorithm>
#include <string_view>
#include <utility>

namespace commtools {

common::FileResult CaptureFile::Open(const QString& path) {
    Close();
    path_ = path;
    if (!file_.Open(QFile::encodeName(path).toStdString())) {
        return common::FileResult::Failed(QStringLiteral("Cannot open the capture file \"%1\": %2")
                                              .arg(path, QString::fromLocal8Bit(file_.Reason())));
    }
    return common::FileResult::Done();
}

common::FileResult CaptureFile::Write(const QByteArray& bytes) {
    if (!file_.IsOpen()) {
        return common::FileResult::Failed(QStringLiteral("The capture file \"%1\" is closed.").arg(path_));
    }
    if (!file_.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        return common::FileResult::Failed(QStringLiteral("Cannot write the capture file \"%1\": %2")
                                              .arg(path_, QString::fromLocal8Bit(file_.Reason())));
    }
    return common::FileResult::Done();
}

void CaptureFile::Close() { file_.Close(); }

namespace {

// A device ends its lines with CR LF, LF or a lone CR.
qsizetype LastLineEnd(const QByteArray& bytes) { return std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')); }

} // namespace

QByteArray WholeLines::Take(quint64 connection, const QByteArray& bytes) {
    QByteArray& mine = held_[connection];
    QByteArray out;
    if (open_.has_value() && *open_ != connection) {
        // Another connection's line is unfinished in the file: wait for it.
        mine += bytes;
        if (mine.size() < kLongestHeld) {
            return out;
        }
        // It never ends: past the bound, the file takes what waits.
        out = std::exchange(mine, {});
        open_ = LastLineEnd(out) + 1 == out.size() ? open_ : connection;
        return out;
    }
    out = mine.isEmpty() ? bytes : std::exchange(mine, {}) + bytes;
    const qsizetype end = LastLineEnd(out);
    QByteArray tail = end + 1 == out.size() ? QByteArray() : out.mid(end + 1);
    out.truncate(end + 1);
    open_.reset();
    // Lines that waited on this one go first; its own unfinished line after
    // them, unless one of theirs is now the one left open.
    Release(out);
    if (!tail.isEmpty()) {
        if (open_.has_value()) {
            held_[connection] = std::move(tail);
        } else {
            out += tail;
            open_ = connection;
        }
    }
    return out;
}

void WholeLines::Release(QByteArray& out) {
    // The file's line is finished: what other connections held back goes
    // out, whole lines first, and at most one of them leaves a line open.
    for (auto& [connection, held] : held_) {
        if (open_.has_value() || held.isEmpty()) {
            const qsizetype end = held.isEmpty() ? -1 : LastLineEnd(held);
            if (end >= 0 && !(open_.has_value() && *open_ == connection)) {
                out += held.left(end + 1);
                held.remove(0, end + 1);
            }
            continue;
        }
        out += std::exchange(held, {});
        if (LastLineEnd(out) + 1 != out.size()) {
            open_ = connection;
        }
    }
}

QByteArray WholeLines::Rest(quint64 connection) {
    const auto found = held_.find(connection);
    QByteArray rest;
    if (found != held_.end()) {
        rest = std::move(found->second);
        held_.erase(found);
    }
    // Its unfinished line stays cut in the file: nothing more will come.
    if (!open_.has_value() || *open_ == connection) {
        open_.reset();
        Release(rest);
    }
    return rest;
}

QByteArray WholeLines::RestOfAll() {
    QByteArray rest;
    for (auto& [connection, bytes] : held_) {
        rest += bytes;
    }
    held_.clear();
    open_.reset();
    return rest;
}

} // namespace commtools
