// A capture file: every byte a port or socket receives, appended raw and
// unchanged as it arrives, so that a feed seen in the field can be replayed to
// the acquisition software or handed to the processor as it came.
//
// The file is opened for appending and never truncated: an existing capture
// grows. Each read goes to the system at once, with no buffer of its own, so
// nothing piles up in memory under a flood and what was written before a full
// disk stays in the file. It is written on the window's thread, so only a
// regular file is taken: a FIFO or a device could hold the window in open()
// or write() for as long as its reader pleases.
#pragma once

#include "common/AppendFile.h"
#include "common/FileResult.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace commtools {

class CaptureFile {
public:
    // Opens or creates `path` for appending; fails at once for anything but
    // a regular file. The error names the file and the reason.
    common::FileResult Open(const QString& path);
    // Appends all of `bytes`. Fails when the file did not take them all: it is
    // then closed with what reached it, and the error names the file and the
    // reason.
    common::FileResult Write(const QByteArray& bytes);
    void Close();

    bool IsOpen() const { return file_.IsOpen(); }

private:
    common::AppendFile file_;
    QString path_;
};

// The reads of several TCP connections on their way into one capture. Two
// clients' pieces arrive interleaved, so while one connection's line is
// unfinished in the file, the others' bytes wait until it ends (or that
// connection closes): the file then holds whole lines from each, as each
// sent them. A lone connection's bytes go out at once, as a serial port's
// do. Bytes that wait for a line that never ends go out at kLongestHeld.
class WholeLines {
public:
    static constexpr qsizetype kLongestHeld = 4096;

    // What of `bytes` (with what waited before them) may go to the file now.
    QByteArray Take(quint64 connection, const QByteArray& bytes);
    // What the connection left unfinished: it closed, or the capture ends.
    QByteArray Rest(quint64 connection);
    // Every connection's unfinished bytes, in the order the connections came.
    QByteArray RestOfAll();

private:
    void Release(QByteArray& out);

    // What each connection holds back, and which one's line is unfinished
    // in the file.
    std::map<quint64, QByteArray> held_;
    std::optional<quint64> open_;
};

} // namespace commtools
