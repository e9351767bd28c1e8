// Receives one ZModem session on a terminal device with the project's receiver
// and nothing else around it, so that the side-by-side run against lrzsz's rz
// (zmodem_vs_rz.sh) measures the protocol engine and the line, not a window.
//   zmodem_pty_receive DEVICE FOLDER
#include "commtools/ZModemReceiver.h"

#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEVICE FOLDER\n", argv[0]);
        return 2;
    }
    const int fd = ::open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0) {
        std::perror(argv[1]);
        return 1;
    }
    termios mode{};
    ::tcgetattr(fd, &mode);
    ::cfmakeraw(&mode);
    ::tcsetattr(fd, TCSANOW, &mode);

    commtools::ZModemReceiver receiver({argv[2]});
    receiver.sendToPeer = [fd](std::string_view bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    };
    receiver.log = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };

    bool started = false;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, 200);
        const auto now = commtools::ZModemReceiver::Clock::now();
        receiver.Tick(now);
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(fd, buffer.data(), buffer.size());
            if (n <= 0)
                break;
            receiver.Receive(std::string_view(buffer.data(), static_cast<std::size_t>(n)), now);
        }
        started = started || receiver.InSession();
        if (started && !receiver.InSession())
            break;
    }
    return receiver.ReceivedFiles().empty() ? 1 : 0;
}
