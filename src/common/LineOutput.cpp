#include "common/LineOutput.h"

#include <algorithm>
#include <cerrno>

#include <poll.h>
#include <unistd.h>

namespace common {

std::ptrdiff_t WriteWithoutWaiting(int descriptor, std::string_view bytes) {
    ssize_t n;
    do {
        n = ::write(descriptor, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    // The port is opened without blocking, so a full queue says so at once.
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return 0;
    }
    return n;
}

bool WaitForRoom(int descriptor, std::chrono::milliseconds timeout) {
    pollfd line{descriptor, POLLOUT, 0};
    int ready;
    do {
        ready = ::poll(&line, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, timeout.count())));
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (line.revents & POLLOUT) != 0;
}

} // namespace common
