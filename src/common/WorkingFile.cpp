#include "common/WorkingFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace common {
namespace {

// The system's reason for the call that just failed.
FileResult SystemFailure() { return FileResult::Failed(QString::fromLocal8Bit(std::strerror(errno))); }

} // namespace

WorkingFile::~WorkingFile() { Discard(); }

FileResult WorkingFile::Create(std::string pattern) {
    Discard();
    constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr std::size_t kRandom = 6;
    if (pattern.size() < kRandom || std::string_view(pattern).substr(pattern.size() - kRandom) != "XXXXXX") {
        errno = EINVAL;
        return SystemFailure();
    }
    // Created with the mode any program asks for, so the umask (or a default
    // ACL of the folder) decides who may read a received file; mkstemp would
    // make it private to its owner whatever the user set.
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        for (std::size_t n = pattern.size() - kRandom; n < pattern.size(); ++n) {
            pattern[n] = kLetters[pick(random)];
        }
        fd = ::open(pattern.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return SystemFailure();
        }
    }
    if (fd < 0) {
        return SystemFailure();
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        ::unlink(pattern.c_str());
        errno = error;
        return SystemFailure();
    }
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    file_ = file;
    path_ = pattern;
    return FileResult::Done();
}

FileResult WorkingFile::Write(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ? FileResult::Done() : SystemFailure();
}

FileResult WorkingFile::Finish() {
    bool written = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    const int error = errno;
    if (std::fclose(file_) != 0 && written) {
        written = false;
    } else {
        errno = error;
    }
    file_ = nullptr;
    return written ? FileResult::Done() : SystemFailure();
}

void WorkingFile::Discard() {
    if (file_ == nullptr) {
        return;
    }
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(path_.c_str());
}

std::size_t LongestFileName(const std::filesystem::path& folder) {
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

bool RemoveFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0; }

} // namespace common
