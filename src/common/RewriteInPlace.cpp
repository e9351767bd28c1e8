#include "common/RewriteInPlace.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

// Writes `size` bytes at `offset`; `done` counts those that reached the file,
// even when the rest did not. A write cut short (a file-size limit) is tried
// again for the rest, so that the system gives its reason.
bool WriteAt(int fd, const char* bytes, std::size_t size, off_t offset, std::size_t& done) {
    done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadWhole(int fd, std::string& bytes, off_t sizeHint) {
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(std::max<off_t>(sizeHint, 0)));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

// Makes sure the disk has room for the new bytes before any byte of the file
// changes. A file system without fallocate (some network shares and FUSE
// mounts) is given the room by writing the new bytes beyond the old end, where
// they change nothing of the old file; the cut to the old length takes them
// away again on failure.
bool Reserve(int fd, std::string_view bytes, std::size_t oldSize) {
    if (bytes.size() <= oldSize) {
        return true; // the old file's blocks take the new bytes
    }
    const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
    if (reserved == 0) {
        return true;
    }
    if (reserved != EOPNOTSUPP && reserved != EINVAL) {
        errno = reserved;
        return false;
    }
    std::size_t done = 0;
    return WriteAt(fd, bytes.data() + oldSize, bytes.size() - oldSize, static_cast<off_t>(oldSize), done);
}

// Writes back the first `changed` bytes of the old file and cuts it to its old
// length. Only what was overwritten is written again: under a file-size limit
// the old bytes beyond the limit could not be, and were never touched.
void PutBack(int fd, const std::string& old, std::size_t changed, bool waitForDisk) {
    std::size_t done = 0;
    WriteAt(fd, old.data(), std::min(changed, old.size()), 0, done);
    ::ftruncate(fd, static_cast<off_t>(old.size()));
    if (waitForDisk) {
        ::fsync(fd);
    }
}

} // namespace

bool RewriteInPlace(const std::filesystem::path& path, std::string_view bytes, bool waitForDisk) {
    // Not blocking: a pipe that took the file's name would wait for a reader.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    std::string old;
    bool kept = ::fstat(fd, &status) == 0;
    if (kept && !S_ISREG(status.st_mode)) {
        errno = ESPIPE; // what writing at an offset of a pipe or device would say
        kept = false;
    }
    kept = kept && ReadWhole(fd, old, status.st_size);
    if (!kept) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }

    std::size_t changed = 0;
    bool written = Reserve(fd, bytes, old.size()) && WriteAt(fd, bytes.data(), bytes.size(), 0, changed);
    if (written) {
        // The file is now the new bytes followed by the rest of the old ones.
        changed = old.size();
        written = ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && (!waitForDisk || ::fsync(fd) == 0);
    }
    int error = errno;
    if (!written) {
        PutBack(fd, old, changed, waitForDisk);
    }
    if (::close(fd) != 0 && written) {
        // A network share may report a lost write only now.
        error = errno;
        written = false;
        if (const int again = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK); again >= 0) {
            PutBack(again, old, old.size(), waitForDisk);
            ::close(again);
        }
    }
    errno = error;
    return written;
}

} // namespace common
