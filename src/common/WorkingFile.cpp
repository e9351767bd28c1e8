#include "common/WorkingFile.h"

#include <cerrno>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

WorkingFile::~WorkingFile() { Discard(); }

bool WorkingFile::Create(std::string pattern) {
    Discard();
    const int fd = ::mkstemp(pattern.data());
    // mkstemp makes the file private to its owner; a received log is ordinary data.
    if (fd >= 0) {
        ::fchmod(fd, 0644);
    }
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        if (fd >= 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(pattern.c_str());
            errno = error;
        }
        return false;
    }
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    file_ = file;
    path_ = pattern;
    return true;
}

bool WorkingFile::Write(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool WorkingFile::Finish() {
    bool written = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    const int error = errno;
    if (std::fclose(file_) != 0 && written) {
        written = false;
    } else {
        errno = error;
    }
    file_ = nullptr;
    return written;
}

void WorkingFile::Discard() {
    if (file_ == nullptr) {
        return;
    }
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(path_.c_str());
}

bool RemoveFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0; }

} // namespace common
