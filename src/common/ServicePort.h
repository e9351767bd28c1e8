// The port a listening instrument socket is asked for, as the surveyor types
// it: a number or a service name. The only name-resolution call of the suite's
// platform lives behind this file.
#pragma once

#include <QString>
#include <QtGlobal>

namespace common {

// The port text as the system resolves it for a passive IPv4 socket: a number
// or a service name. Returns 0 and the resolver's code when it cannot.
quint16 ResolveServicePort(const QString& text, bool udp, int& code);

} // namespace common
