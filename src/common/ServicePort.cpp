#include "common/ServicePort.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace common {

const int kListenBacklog = SOMAXCONN;

quint16 ResolveServicePort(const QString& text, bool udp, int& code) {
    // The resolver takes any number and keeps its low 16 bits (70000 would
    // listen on 4464), and 0 would let the system pick a port no instrument
    // is set up to send to.
    const std::string typed = text.trimmed().toStdString();
    std::int32_t number = 0;
    // Digits beyond the whole-number range are a number all the same, too big.
    const std::size_t digits = typed.find_first_not_of("+-") == 1 ? 1 : 0;
    const bool isNumber = TryParseInt(typed, number) ||
                          (typed.size() > digits && typed.find_first_not_of("0123456789", digits) == std::string::npos);
    if (isNumber) {
        if (number >= 1 && number <= 65535) {
            code = 0;
            return static_cast<quint16>(number);
        }
        code = EAI_SERVICE;
        return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = udp ? SOCK_DGRAM : SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    code = ::getaddrinfo(nullptr, text.trimmed().toLocal8Bit().constData(), &hints, &found);
    if (code != 0 || found == nullptr || text.trimmed().isEmpty()) {
        if (code == 0) {
            code = EAI_NONAME;
        }
        if (found) {
            ::freeaddrinfo(found);
        }
        return 0;
    }
    const quint16 port = ntohs(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_port);
    ::freeaddrinfo(found);
    return port;
}

int PortRefusalCode(PortRefusal refusal) {
    switch (refusal) {
    case PortRefusal::InUse:
        return EADDRINUSE;
    case PortRefusal::Privileged:
        return EACCES;
    case PortRefusal::NotLocal:
        return EADDRNOTAVAIL;
    }
    return EADDRINUSE;
}

QString PortRefusalReason(PortRefusal refusal) {
    return QString::fromLocal8Bit(std::strerror(PortRefusalCode(refusal)));
}

WaitingInput ReadWaitingInput(qintptr descriptor, QByteArray& buffer, qint64 limit) {
    WaitingInput input;
    const int fd = static_cast<int>(descriptor);
    qint64 total = 0;
    while (total < limit) {
        const auto size = static_cast<size_t>(std::min<qint64>(buffer.size(), limit - total));
        const ssize_t n = ::recv(fd, buffer.data(), size, MSG_DONTWAIT);
        if (n > 0) {
            total += n;
            input.pieces.append(QByteArray(buffer.constData(), static_cast<qsizetype>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // 0 is the peer's close; a reset ends the connection as well. Nothing
        // waiting yet (EAGAIN) leaves it open for the socket to read on.
        input.ended = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    return input;
}

void CloseConnection(qintptr descriptor) { ::close(static_cast<int>(descriptor)); }

} // namespace common
