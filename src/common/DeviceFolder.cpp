#include "common/DeviceFolder.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace common {

std::optional<std::int64_t> DeviceFolderChangeTime() {
    struct stat dev {};
    if (::stat("/dev", &dev) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(dev.st_mtim.tv_sec) * 1'000'000'000 + dev.st_mtim.tv_nsec;
}

std::string DeviceRefusal(const std::string& path) {
    const int reason = ::access(path.c_str(), R_OK | W_OK) == 0 ? EBUSY : errno;
    return std::strerror(reason);
}

std::string DeviceGone() { return std::strerror(ENOENT); }

} // namespace common
