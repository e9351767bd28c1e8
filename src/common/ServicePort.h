// The port a listening instrument socket is asked for, as the surveyor types
// it: a number or a service name, and how many connections it lets wait. The
// platform's name resolution and socket limits live behind this file.
#pragma once

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

} // namespace common
