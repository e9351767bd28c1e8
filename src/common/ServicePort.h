// The port a listening instrument socket is asked for, as the surveyor types
// it: a number or a service name, how many connections it lets wait, and why
// the system refuses it. The platform's name resolution, socket limits and
// error texts live behind this file.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace common {

// The port text as the system resolves it for a passive IPv4 socket: a number
// or a service name. Returns 0 and the resolver's code when it cannot.
quint16 ResolveServicePort(const QString& text, bool udp, int& code);

// How many connections a listening socket lets wait: room for a burst of
// connecting instruments (with the classic 5 the system drops the handshakes of
// a burst and clients wait seconds to be accepted), as much as it allows.
extern const int kListenBacklog;

// Why the system would not give a socket its port, as far as the socket layer
// tells it: another program already holds it (a second copy of the suite left
// online), the port is one only the administrator may open (below 1024),
// or the address is not one of this computer's.
enum class PortRefusal { InUse, Privileged, NotLocal };

// The system's own words for a refusal, as the surveyor reads them elsewhere
// ("Address already in use", "Permission denied").
QString PortRefusalReason(PortRefusal refusal);
// The system's error number for it, as the log gives a device's (98, 13, 99).
int PortRefusalCode(PortRefusal refusal);

// What an accepted TCP connection holds by the time it is taken up: the
// bytes waiting in its receive buffer, read through `buffer` in pieces of at
// most its size and `limit` in all, and whether the peer had closed its side
// after them. A
// one-line client (connect, send, close) is over before the tool comes to it;
// read to its end here it needs no socket object of its own.
struct WaitingInput {
    QList<QByteArray> pieces;
    bool ended = false; // the peer closed (or reset) after the pieces
};
WaitingInput ReadWaitingInput(qintptr descriptor, QByteArray& buffer, qint64 limit);

// Closes an accepted connection the tool read to its end.
void CloseConnection(qintptr descriptor);

} // namespace common
