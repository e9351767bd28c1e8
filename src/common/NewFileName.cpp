#include "common/NewFileName.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#if !defined(RENAME_NOREPLACE)
#include <sys/syscall.h>
#endif

namespace common {

namespace {

int RenameWithoutReplacing(const char* from, const char* to) {
#if defined(RENAME_NOREPLACE)
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    // A C library older than the call still runs on a kernel that has it.
    constexpr unsigned kNoReplace = 1;
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, kNoReplace));
#endif
}

// The ways of giving a complete file its name, best first. None replaces an
// existing file; where a file system refuses one, the next is tried.
enum class Naming { Link, Rename, Copy };
enum class Named { Done, Taken, Refused, Failed };

// What a file system without the call, or without its never-replace flag, answers.
bool RenameRefused(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EPERM;
}

bool WriteAllToFile(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool CopyBytes(int from, int to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (!WriteAllToFile(to, buffer.data(), static_cast<std::size_t>(n))) {
            return false;
        }
    }
}

// The last resort: a file created here and nowhere else (O_EXCL refuses a name
// that exists) and filled from the working file. A copy cut short is removed,
// so a name never holds half a file. errno tells why on failure.
Named CopyToNewFile(const char* from, const char* to) {
    // The mode any program asks for, as the working file: the umask decides.
    const int out = ::open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        return errno == EEXIST ? Named::Taken : Named::Failed;
    }
    const int in = ::open(from, O_RDONLY | O_CLOEXEC);
    bool copied = in >= 0 && CopyBytes(in, out) && ::fsync(out) == 0;
    int error = errno;
    if (in >= 0) {
        ::close(in);
    }
    if (::close(out) != 0 && copied) {
        copied = false;
        error = errno;
    }
    if (copied) {
        return Named::Done;
    }
    ::unlink(to);
    errno = error;
    return Named::Failed;
}

Named NameFile(const FileNamingCalls& calls, Naming way, const char* from, const char* to) {
    switch (way) {
    case Naming::Link:
        if (calls.link(from, to) == 0) {
            return Named::Done;
        }
        return errno == EEXIST ? Named::Taken : Named::Refused;
    case Naming::Rename:
        if (calls.renameNoReplace(from, to) == 0) {
            return Named::Done;
        }
        if (errno == EEXIST) {
            return Named::Taken;
        }
        return RenameRefused(errno) ? Named::Refused : Named::Failed;
    case Naming::Copy:
        return CopyToNewFile(from, to);
    }
    return Named::Failed;
}

} // namespace

FileNamingCalls SystemFileNaming() { return {&::link, &RenameWithoutReplacing}; }

FileResult NameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& folder,
                                const std::string& name, const FileNamingCalls& calls, std::filesystem::path& named) {
    // A name taken meanwhile is skipped and the next numbered one tried; a way
    // of naming that the folder has refused is not tried again for those.
    Naming way = Naming::Link;
    for (int n = 0; n < 10000; ++n) {
        const auto target = folder / (n == 0 ? name : name + "." + std::to_string(n));
        Named outcome = NameFile(calls, way, from.c_str(), target.c_str());
        while (outcome == Named::Refused) {
            way = way == Naming::Link ? Naming::Rename : Naming::Copy;
            outcome = NameFile(calls, way, from.c_str(), target.c_str());
        }
        if (outcome == Named::Done) {
            if (way != Naming::Rename) {
                ::unlink(from.c_str());
            }
            named = target;
            return FileResult::Done();
        }
        if (outcome == Named::Failed) {
            break;
        }
    }
    return FileResult::Failed(QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace common
