// A file writer run the way a surveyor's disk can fail it: on a full disk, under
// a file-size limit, in a folder where no file may be made, or over a read-only
// file. Each run is a child process of its own (a private mount for the full
// disk, a limit, a user of no rights), so no condition reaches the test
// program; the child reports the writer's error and the bytes its files then
// hold.
#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace support {

enum class DiskCondition {
    Unhindered, // nothing in the way: what the writer writes when it can
    FullDisk,
    FileSizeLimit,
    NoCreateRights,
    ReadOnlyFile,
    // No file may be made in the folder, so a writer has only the file itself
    // to write in, on a full disk or under the limit.
    NoCreateRightsFullDisk,
    NoCreateRightsFileSizeLimit,
};

inline const char* ConditionName(DiskCondition condition) {
    switch (condition) {
    case DiskCondition::Unhindered:
        return "nothing in the way";
    case DiskCondition::FullDisk:
        return "full disk";
    case DiskCondition::FileSizeLimit:
        return "file-size limit";
    case DiskCondition::NoCreateRights:
        return "no right to create files, the file itself writable";
    case DiskCondition::ReadOnlyFile:
        return "read-only file";
    case DiskCondition::NoCreateRightsFullDisk:
        return "no right to create files, the file itself writable, on a full disk";
    case DiskCondition::NoCreateRightsFileSizeLimit:
        return "no right to create files, the file itself writable, under a file-size limit";
    }
    return "";
}

struct WriteOutcome {
    QString skipped;               // why the condition could not be made here; empty when it ran
    QString error;                 // what the writer reported; empty on success
    std::vector<QByteArray> files; // the bytes of each file afterwards
};

namespace detail {

inline bool WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n <= 0) {
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

inline bool WriteProc(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0) {
        return false;
    }
    const bool ok = WriteAll(fd, text.data(), text.size());
    ::close(fd);
    return ok;
}

// A user namespace: as its root (to mount a private file system), or as a user
// without any right over the test's files (an unmapped user).
inline std::string EnterUserNamespace(bool asRoot) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | (asRoot ? CLONE_NEWNS : 0)) != 0) {
        return std::string("user namespaces refused: ") + std::strerror(errno);
    }
    if (asRoot && !(WriteProc("/proc/self/setgroups", "deny") &&
                    WriteProc("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                    WriteProc("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))) {
        return std::string("cannot map the user: ") + std::strerror(errno);
    }
    return {};
}

inline bool PutFile(const QString& path, const QByteArray& bytes, mode_t mode) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0) {
        return false;
    }
    const bool ok = WriteAll(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    ::chmod(QFile::encodeName(path).constData(), mode);
    return ok;
}

inline bool CanCreateIn(const QString& folder) {
    const QByteArray probe = QFile::encodeName(QDir(folder).filePath(QStringLiteral(".probe")));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}

inline QByteArray Blob(const QString& skipped, const QString& error, const std::vector<QByteArray>& files) {
    QByteArray blob;
    QDataStream out(&blob, QIODevice::WriteOnly);
    out << skipped << error << static_cast<quint32>(files.size());
    for (const QByteArray& file : files) {
        out << file;
    }
    return blob;
}

} // namespace detail

// Runs `write(folder)` (the writer's error, empty on success) under
// `condition`, with each of `names` in the folder holding `old` before.
inline WriteOutcome WriteUnder(DiskCondition condition, const QStringList& names, const QByteArray& old,
                               const std::function<QString(const QString& folder)>& write) {
    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("survey"));
    QDir().mkpath(folder);
    int link[2];
    if (!work.isValid() || ::pipe(link) != 0) {
        return {QStringLiteral("no temporary folder or pipe"), {}, {}};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(link[0]);
        QString skipped;
        QString error;
        std::vector<QByteArray> files;
        const auto put = [&](mode_t mode) {
            for (const QString& name : names) {
                detail::PutFile(QDir(folder).filePath(name), old, mode);
            }
        };
        const bool fullDisk =
            condition == DiskCondition::FullDisk || condition == DiskCondition::NoCreateRightsFullDisk;
        const bool sizeLimit =
            condition == DiskCondition::FileSizeLimit || condition == DiskCondition::NoCreateRightsFileSizeLimit;
        const bool noCreate = condition == DiskCondition::NoCreateRights ||
                              condition == DiskCondition::NoCreateRightsFullDisk ||
                              condition == DiskCondition::NoCreateRightsFileSizeLimit;
        const bool readOnly = condition == DiskCondition::ReadOnlyFile;
        std::string refused;
        if (fullDisk) {
            refused = detail::EnterUserNamespace(true);
            if (refused.empty() &&
                ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0) {
                refused = std::string("cannot mount a small file system: ") + std::strerror(errno);
            }
        }
        if (refused.empty()) {
            put(readOnly ? 0444 : noCreate ? 0666 : 0644);
        }
        if (refused.empty() && fullDisk) {
            // Fill the rest of it, a page at a time.
            const int fd = ::open(QFile::encodeName(QDir(folder).filePath(QStringLiteral(".filler"))).constData(),
                                  O_WRONLY | O_CREAT, 0600);
            const QByteArray page(4096, 'f');
            while (fd >= 0 && ::write(fd, page.constData(), static_cast<size_t>(page.size())) > 0) {
            }
            if (fd >= 0) {
                ::close(fd);
            }
        }
        if (refused.empty() && (noCreate || readOnly)) {
            // The unmapped user keeps the owner's identity on the disk but
            // loses every privilege over it: the folder's mode alone decides,
            // and without its write bit not even the owner may add a file.
            ::chmod(QFile::encodeName(folder).constData(), noCreate ? 0555 : 0777);
            refused = detail::EnterUserNamespace(false);
        }
        if (refused.empty() && sizeLimit) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (!refused.empty()) {
            skipped = QString::fromStdString(refused);
        } else {
            // Without this check a writer that never met the condition would
            // pass a test of it, whatever it did.
            error = noCreate && detail::CanCreateIn(folder)
                        ? QStringLiteral("the condition does not hold: a file can be made in the folder")
                        : write(folder);
            const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &none);
            for (const QString& name : names) {
                QFile file(QDir(folder).filePath(name));
                files.push_back(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
            }
        }
        const QByteArray blob = detail::Blob(skipped, error, files);
        detail::WriteAll(link[1], blob.constData(), static_cast<size_t>(blob.size()));
        ::_exit(0);
    }
    ::close(link[1]);
    QByteArray blob;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(link[0], buffer, sizeof buffer)) > 0) {
        blob.append(buffer, n);
    }
    ::close(link[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    WriteOutcome outcome;
    QDataStream in(blob);
    quint32 count = 0;
    in >> outcome.skipped >> outcome.error >> count;
    if (in.status() != QDataStream::Ok) {
        return {QStringLiteral("the writer's process ended without a report"), {}, {}};
    }
    for (quint32 i = 0; i < count; ++i) {
        QByteArray file;
        in >> file;
        outcome.files.push_back(file);
    }
    return outcome;
}

} // namespace support
