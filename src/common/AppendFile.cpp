#include "common/AppendFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

namespace {

ssize_t WriteOnce(int fd, const char* bytes, std::size_t size) {
    ssize_t n;
    do {
        n = ::write(fd, bytes, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

} // namespace

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Fail(int error) {
    Close();
    error_ = error;
    errno = error;
    return false;
}

bool AppendFile::Open(const std::filesystem::path& path) {
    Close();
    error_ = 0;
    notRegular_ = false;
    // O_NONBLOCK: a FIFO without a reader fails at once (ENXIO) instead of
    // waiting for one; O_NOCTTY: a terminal device never becomes the
    // program's own.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int error = errno;
        // Only the wording depends on this look at the name: nothing was opened.
        struct stat what {};
        notRegular_ = ::stat(path.c_str(), &what) == 0 && !S_ISREG(what.st_mode);
        return Fail(error);
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        const int error = errno;
        ::close(fd);
        return Fail(error);
    }
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        notRegular_ = true;
        return Fail(S_ISDIR(opened.st_mode) ? EISDIR : ENXIO);
    }
    fd_ = fd;
    return true;
}

bool AppendFile::Write(std::string_view bytes) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    const ssize_t n = WriteOnce(fd_, bytes.data(), bytes.size());
    if (n < 0) {
        return Fail(errno);
    }
    if (static_cast<std::size_t>(n) == bytes.size()) {
        return true;
    }
    // A file that took part has stopped taking data: asking once more for the
    // rest gives the system's reason (a full disk, a size limit), and a file
    // that takes part again would only have the caller wait in small steps.
    const std::size_t rest = bytes.size() - static_cast<std::size_t>(n);
    const ssize_t more = WriteOnce(fd_, bytes.data() + n, rest);
    if (more < 0) {
        return Fail(errno);
    }
    if (static_cast<std::size_t>(more) == rest) {
        return true;
    }
    return Fail(EAGAIN);
}

void AppendFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string AppendFile::Reason() const {
    if (notRegular_) {
        return "not a regular file";
    }
    if (error_ == EAGAIN) {
        return "it takes no more data";
    }
    return std::strerror(error_);
}

} // namespace common
