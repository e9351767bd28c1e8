// Whether the system's serial devices may have changed: a device node that
// comes or goes (a USB adapter plugged in or pulled) changes the device
// folder's time. The platform calls behind it, and behind the reasons a
// serial device gives for not opening, live in this file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace common {

// The device folder's change time in nanoseconds; nothing when it cannot be read.
std::optional<std::int64_t> DeviceFolderChangeTime();

// Why a device that is there refused to open, in the system's words: busy
// when this user may read and write it (another program holds it), otherwise
// what keeps this user from it ("Permission denied").
std::string DeviceRefusal(const std::string& path);

// The system's words for a device node that is gone.
std::string DeviceGone();

} // namespace common
