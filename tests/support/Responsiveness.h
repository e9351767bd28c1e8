// What a loaded window costs the user: the longest time its event loop did not
// answer, and the memory of the process as the kernel counts it.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>

// The longest time the event loop went without running a 10 ms timer while
// measuring: how long the window would not have answered the user. The test's
// own work (making clients, reading the memo) is left out.
class Responsiveness {
public:
    Responsiveness() {
        QObject::connect(&tick_, &QTimer::timeout, [this] { worst_ = std::max(worst_, clock_.restart()); });
    }
    void Start() {
        clock_.start();
        tick_.start(10);
    }
    void Stop() { tick_.stop(); }
    qint64 WorstMs() const { return worst_; }

private:
    QElapsedTimer clock_;
    QTimer tick_;
    qint64 worst_ = 0;
};

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when absent.
inline qint64 ProcessStatusKiB(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray key = field + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
        }
    }
    return 0;
}

inline qint64 ResidentKiB() { return ProcessStatusKiB("VmRSS"); }

// The highest resident memory of the process since it started or since the
// last ResetPeakResident.
inline qint64 PeakResidentKiB() { return ProcessStatusKiB("VmHWM"); }

// Starts the peak afresh from the memory resident now (Linux: "5" written to
// clear_refs), so one program can measure several loads one after the other.
// False where the kernel refuses; the peak then still counts from the start.
inline bool ResetPeakResident() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1 && refs.flush();
}
