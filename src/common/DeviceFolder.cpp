#include "common/DeviceFolder.h"

#include <sys/stat.h>

namespace common {

std::optional<std::int64_t> DeviceFolderChangeTime() {
    struct stat dev {};
    if (::stat("/dev", &dev) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(dev.st_mtim.tv_sec) * 1'000'000'000 + dev.st_mtim.tv_nsec;
}

} // namespace common
