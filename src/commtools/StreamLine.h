// The stream line under a receive memo: what the raw bytes of a port or socket
// say, from a StreamMonitor per stream, shown once a second by the window's
// clock. It runs while the port is open and is blank while it is closed.
#pragma once

#include "commtools/StreamMonitor.h"

#include <QByteArray>

class QLabel;

namespace commtools {

class StreamLine {
public:
    explicit StreamLine(QLabel* label) : label_(label) {}

    // The port opened: nothing seen yet, and the line says so at once.
    void Start();
    // The port closed: the line goes blank.
    void Stop();
    // What arrived, raw; cheap enough for every read of a flooded line. A
    // serial port is one stream.
    void Feed(const QByteArray& bytes) { FeedFrom(0, bytes); }
    // What one TCP connection sent: each connection's sentences are put
    // together on their own.
    void FeedFrom(quint64 connection, const QByteArray& bytes);
    // A datagram: it ends whatever sentence it leaves open.
    void FeedDatagram(const QByteArray& bytes);
    // The connection closed.
    void End(quint64 connection);
    // Shows the summary; a line too long for the label leaves out the slowest
    // addresses (never the fix or GGA), and the whole text, with the damaged
    // sentences since the port opened, is its tool tip.
    void Refresh();

private:
    QLabel* label_;
    PeerStreams streams_;
    bool running_ = false;
};

} // namespace commtools
