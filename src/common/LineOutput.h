// Sending on a serial line whose device may not read. A port's own write
// buffer hides how much the device has taken: once the system's output queue
// is full, bytes pile up in the buffer, and flushing both makes room that
// looks like a device reading again. Written straight to the system, without
// waiting, a send shows what the line really took, and a full queue stays full
// until the device drains it. The only calls of the suite's platform that
// write to an open line live behind this file.
#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

namespace common {

// How many of `bytes` the line's output queue took at once, 0 when it is full,
// -1 with errno set when the line refused them.
std::ptrdiff_t WriteWithoutWaiting(int descriptor, std::string_view bytes);

// Waits at most `timeout` (none: only asks) until the line's output queue has
// room, which on a line whose device does not read comes only when it reads.
bool WaitForRoom(int descriptor, std::chrono::milliseconds timeout);

} // namespace common
