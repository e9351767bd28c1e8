// Whether the system's serial devices may have changed: a device node that
// comes or goes (a USB adapter plugged in or pulled) changes the device
// folder's time. The platform call behind it lives in this file.
#pragma once

#include <cstdint>
#include <optional>

namespace common {

// The device folder's change time in nanoseconds; nothing when it cannot be read.
std::optional<std::int64_t> DeviceFolderChangeTime();

} // namespace common
