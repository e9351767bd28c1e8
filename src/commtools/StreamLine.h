// The stream line under a receive memo: what the raw bytes of a port or socket
// say, from a StreamMonitor, shown once a second by the window's clock. It
// runs while the port is open and is blank while it is closed.
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
    // What arrived, raw; cheap enough for every read of a flooded line.
    void Feed(const QByteArray& bytes);
    // Shows the summary; a line too long for the label keeps its start and its
    // end (the fix), and the whole text is its tool tip.
    void Refresh();

private:
    QLabel* label_;
    StreamMonitor monitor_;
    bool running_ = false;
};

} // namespace commtools
