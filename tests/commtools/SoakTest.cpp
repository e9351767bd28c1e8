// The communication tools fed for a long watch in a few seconds: 50 MiB from
// one TCP instrument, 50,000 NMEA datagrams, 50 MiB down a serial line of which
// half never ends a line. Each load must pass with the process's memory
// bounded and the window answering throughout, as a surveyor's logging PC
// runs for days. A program of its own, run alone, because it measures time
// and memory; each test prints its figures on one line, for comparing runs.
#include "commtools/NetSocket.h"
#include "commtools/SerialChannel.h"
#include "commtools/TMaris_terminal.h"
#include "kit/Dialogs.h"
#include "support/Controls.h"
#include "support/NetworkWindow.h"
#include "support/PtyPair.h"
#include "support/Responsiveness.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace soak_test {

namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kPeakBoundKiB = 150 * 1024;
constexpr qint64 kPauseBoundMs = 250;
// Ample for a window that keeps up (each load passes in seconds on two busy
// cores), short enough that one that freezes costs the run a minute, not an hour.
constexpr qint64 kDeadlineMs = 45000;
// A window that keeps everything it is sent would take gigabytes of a machine
// others work on; the load stops well before.
constexpr qint64 kStopKiB = 1024 * 1024;

constexpr int kRecordSize = 64;

// Record n of a depth sounder's stream, 64 bytes: a depth sentence carrying
// its own number, with its checksum and CR LF; or, for a device that never
// ends a line, the same text run on with blanks. Numbered records make a lost,
// repeated or reordered piece show at the tail.
void AppendRecord(QByteArray& out, qint64 n, bool lineEnd) {
    char text[kRecordSize + 1];
    int length = std::snprintf(text, sizeof text, "$SDDPT,%07.2f,0.50,%010lld", 5.0 + double(n % 4000) / 100.0,
                               static_cast<long long>(n));
    const int body = lineEnd ? kRecordSize - 5 : kRecordSize;
    while (length < body) {
        text[length++] = ' ';
    }
    out.append(text, length);
    if (!lineEnd) {
        return;
    }
    unsigned char sum = 0;
    for (int i = 1; i < length; ++i) {
        sum ^= static_cast<unsigned char>(text[i]);
    }
    std::snprintf(text, sizeof text, "*%02X\r\n", sum);
    out.append(text, 5);
}

QByteArray Records(qint64 first, qint64 count, bool lineEnds) {
    QByteArray out;
    out.reserve(count * kRecordSize);
    for (qint64 n = first; n < first + count; ++n) {
        AppendRecord(out, n, lineEnds);
    }
    return out;
}

// A GPS fix as a receiver sends it in one datagram, about 70 bytes; the time
// of day counts the datagrams in hundredths of a second, so each is unique.
QByteArray Sentence(int n) {
    char text[96];
    const int length =
        std::snprintf(text, sizeof text, "$GPGGA,%02d%02d%02d.%02d,5231.%04d,N,00454.%04d,E,1,12,0.8,-2.5,M,47.0,M,,",
                      n / 360000 % 24, n / 6000 % 60, n / 100 % 60, n % 100, n % 10000, (n * 7) % 10000);
    unsigned char sum = 0;
    for (int i = 1; i < length; ++i) {
        sum ^= static_cast<unsigned char>(text[i]);
    }
    std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "*%02X\r\n", sum);
    return QByteArray(text);
}

sockaddr_in Loopback(quint16 port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return to;
}

// Writes all of `bytes` to a non-blocking descriptor as fast as the reader
// takes them: with the kernel's buffer full it waits, as a device on a line
// with flow control does, rather than piling data up. False when stopped or
// on an error.
bool WriteAll(int fd, const QByteArray& bytes, bool socket, const std::atomic<bool>& stop) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        if (stop) {
            return false;
        }
        pollfd ready{fd, POLLOUT, 0};
        if (::poll(&ready, 1, 100) <= 0) {
            continue;
        }
        const char* from = bytes.constData() + written;
        const auto size = static_cast<size_t>(bytes.size() - written);
        const ssize_t n = socket ? ::send(fd, from, size, MSG_NOSIGNAL) : ::write(fd, from, size);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        written += std::max<ssize_t>(n, 0);
    }
    return true;
}

// The far side of a load in a thread of its own, so that its work is not
// counted as the window's pause. The work ends by itself or when asked.
class Peer {
public:
    explicit Peer(std::function<void(const std::atomic<bool>& stop)> work)
        : thread_([this, work = std::move(work)] {
              work(stop_);
              done_ = true;
          }) {}
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;
    ~Peer() { Stop(); }

    bool Done() const { return done_; }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// One load's figures: the time until it went through, the peak memory of the
// process from its start and the longest pause of the event loop meanwhile.
class Soak {
public:
    Soak() : peakReset_(ResetPeakResident()) {
        answer_.Start();
        clock_.start();
    }

    // Runs the window's event loop until `through` holds, the deadline passes
    // or the process outgrows kStopKiB. True when the load went through.
    bool RunUntil(const std::function<bool()>& through) {
        QEventLoop loop;
        QTimer check;
        bool held = false;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (overMemory_ || ResidentKiB() > kStopKiB) {
                stopped_ = "the memory ceiling";
                loop.quit();
            } else if (through()) {
                held = true;
                loop.quit();
            } else if (clock_.elapsed() > kDeadlineMs) {
                stopped_ = "the deadline";
                loop.quit();
            }
        });
        check.start(20);
        loop.exec();
        seconds_ = double(clock_.elapsed()) / 1000.0;
        return held;
    }

    // For the peer's thread: whether to go on sending. Not once asked to stop,
    // nor once the process is past kStopKiB, which the peer watches as well
    // because a frozen window cannot.
    bool Feeding(const std::atomic<bool>& stop) {
        if (ResidentKiB() > kStopKiB) {
            overMemory_ = true;
        }
        return !stop && !overMemory_;
    }

    // The queued updates of the memos still belong to the load.
    void Finish() {
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
        answer_.Stop();
        peakKiB_ = PeakResidentKiB();
    }

    double Seconds() const { return seconds_; }
    // Why the load stopped short: "the deadline", "the memory ceiling"; empty when it went through.
    const char* StoppedAt() const { return stopped_; }
    // "peak RSS 61.2 MiB  worst pause 40 ms", and why the load stopped short.
    QByteArray Figures() const {
        QByteArray figures = QStringLiteral("peak RSS %1 MiB%2  worst pause %3 ms")
                                 .arg(double(peakKiB_) / 1024.0, 0, 'f', 1)
                                 .arg(peakReset_ ? "" : " (since the start)")
                                 .arg(answer_.WorstMs())
                                 .toLatin1();
        if (*stopped_ != '\0') {
            figures += QByteArray("  stopped at ") + stopped_;
        }
        return figures;
    }

    void ExpectBounded() const {
        EXPECT_LT(peakKiB_, kPeakBoundKiB) << "peak resident memory in KiB";
        // Two busy cores give pauses of up to 160 ms; a freezing window gives seconds.
        EXPECT_LT(answer_.WorstMs(), kPauseBoundMs) << "the window did not answer for that long";
    }

private:
    const bool peakReset_;
    Responsiveness answer_;
    QElapsedTimer clock_;
    double seconds_ = 0;
    qint64 peakKiB_ = 0;
    const char* stopped_ = "";
    std::atomic<bool> overMemory_{false};
};

// The last bytes of the TCP input the log memo shows, from the hex of its last
// entries. An entry cut at the memo's top still gives the bytes it shows.
QByteArray LoggedInputTail(const QString& memo, qsizetype size) {
    static const QRegularExpression hexRun(QStringLiteral("((?:[0-9A-F]{2} )+)\\]$"));
    QByteArray bytes;
    const QStringList lines = memo.split(QLatin1Char('\n'));
    for (auto line = lines.crbegin(); line != lines.crend() && bytes.size() < size; ++line) {
        if (!line->endsWith(QStringLiteral(" ]"))) {
            continue;
        }
        const QRegularExpressionMatch hex = hexRun.match(*line);
        if (hex.hasMatch()) {
            bytes.prepend(QByteArray::fromHex(hex.captured(1).toLatin1()));
        }
    }
    return bytes.right(size);
}

// The network window shown, without the socket layer's line per entry on the
// console: a soak makes hundreds of thousands of them.
class NetworkSoak : public NetworkWindow {
protected:
    void SetUp() override {
        QLoggingCategory::setFilterRules(QStringLiteral("tormalind.comm.net.debug=false"));
        NetworkWindow::SetUp();
        window.show();
    }
};

} // namespace

TEST_F(NetworkSoak, TcpStreamOf50MiBPassesInBoundedMemoryWithoutFreezing) {
    ui.Click("chOnline");
    ASSERT_TRUE(window.netSocket1().Active());
    constexpr qint64 kRecords = 50 * kMiB / kRecordSize;
    constexpr qint64 kChunkRecords = 1024;
    std::atomic<qint64> sent{0};
    Soak soak;
    Peer client([&](const std::atomic<bool>& stop) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in to = Loopback(port);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
            ::fcntl(fd, F_SETFL, O_NONBLOCK) == 0) {
            for (qint64 first = 0; first < kRecords && soak.Feeding(stop); first += kChunkRecords) {
                const QByteArray chunk = Records(first, std::min(kChunkRecords, kRecords - first), true);
                if (!WriteAll(fd, chunk, true, stop)) {
                    break;
                }
                sent += chunk.size();
            }
        }
        ::close(fd);
    });
    bool accepted = false;
    const bool through = soak.RunUntil([&] {
        accepted = accepted || window.netSocket1().Connections() > 0;
        return client.Done() && accepted && window.netSocket1().Connections() == 0;
    });
    client.Stop();
    soak.Finish();
    const double mib = double(sent) / double(kMiB);
    std::printf("soak tcp     %.1f MiB sent  %.2f s  %.2f MiB/s  %s\n", mib, soak.Seconds(), mib / soak.Seconds(),
                soak.Figures().constData());
    EXPECT_TRUE(through) << "stopped at " << soak.StoppedAt();
    soak.ExpectBounded();
    if (!through) {
        return;
    }
    EXPECT_EQ(sent, kRecords * kRecordSize);
    // TCP keeps the order, so the stream's last records in the log say that all of it was read.
    const QByteArray tail = Records(kRecords - 4, 4, true);
    EXPECT_EQ(LoggedInputTail(ui.Text("Memo1"), tail.size()).toStdString(), tail.toStdString());
}

TEST_F(NetworkSoak, UdpFloodOf50000SentencesPassesInBoundedMemoryWithoutFreezing) {
    ui.Click("btn_UDP");
    ASSERT_TRUE(window.netSocket1().Udp() && window.netSocket1().Active());
    constexpr int kDatagrams = 50000;
    // Bursts of 50 every 5 ms, 10,000 a second: a ship's sensors at full rate
    // many times over, yet within what the default socket buffer holds while
    // the window takes one pass of its event loop.
    constexpr int kBurst = 50;
    constexpr auto kGap = std::chrono::milliseconds(5);
    // The socket layer logs each datagram as it hands it on.
    int received = 0;
    qint64 receivedBytes = 0;
    QByteArray last;
    double lastAt = 0;
    QElapsedTimer clock;
    QObject::connect(&window.netSocket1(), &commtools::NetSocket::Received, &window, [&](const QByteArray& bytes) {
        ++received;
        receivedBytes += bytes.size();
        last = bytes;
        lastAt = double(clock.elapsed()) / 1000.0;
    });
    Soak soak;
    clock.start();
    Peer sender([&](const std::atomic<bool>& stop) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const sockaddr_in to = Loopback(port);
        for (int n = 0; n < kDatagrams && (n % kBurst != 0 || soak.Feeding(stop)); ++n) {
            const QByteArray sentence = Sentence(n);
            ::sendto(fd, sentence.constData(), static_cast<size_t>(sentence.size()), 0,
                     reinterpret_cast<const sockaddr*>(&to), sizeof to);
            if ((n + 1) % kBurst == 0) {
                std::this_thread::sleep_for(kGap);
            }
        }
        ::close(fd);
    });
    // Loopback may drop a few under load: through once the sender is done and
    // nothing more arrived for a second.
    int seen = -1;
    QElapsedTimer quiet;
    quiet.start();
    const bool through = soak.RunUntil([&] {
        if (received != seen) {
            seen = received;
            quiet.restart();
        }
        return sender.Done() && (received == kDatagrams || quiet.elapsed() > 1000);
    });
    sender.Stop();
    soak.Finish();
    std::printf("soak udp     %d of %d datagrams  %.1f MiB  %.2f s  %.0f datagrams/s  %s\n", received, kDatagrams,
                double(receivedBytes) / double(kMiB), lastAt, lastAt > 0 ? received / lastAt : 0.0,
                soak.Figures().constData());
    EXPECT_TRUE(through) << "stopped at " << soak.StoppedAt();
    EXPECT_GT(received, kDatagrams * 9 / 10) << "loopback lost more than a tenth";
    soak.ExpectBounded();
    if (!through) {
        return;
    }
    // The last datagram that came is on the data memo (typed in at its caret)
    // and is the log's last entry.
    ASSERT_FALSE(last.isEmpty());
    EXPECT_TRUE(ui.Text("Memo2").contains(QString::fromLatin1(last.trimmed()))) << last.toStdString();
    const QStringList entries = LogEntries();
    EXPECT_EQ(entries.isEmpty() ? std::string() : entries.last().toStdString(),
              QStringLiteral("Net: Input data length: %1 [%2 ]")
                  .arg(last.size())
                  .arg(QString::fromLatin1(last.toHex(' ').toUpper()))
                  .toStdString());
}

namespace {

// Channel 1 fed half its 50 MiB in lines and half as one endless line; with
// `capture`, its capture box checked throughout, and the file must then hold
// every byte in order.
void SoakChannel1(bool capture) {
    FixedPorts ports;
    PtyPair pty;
    ASSERT_EQ(pty.Start(), QString());
    TMaris_terminal window;
    window.show();
    support::Controls ui{&window};
    ui.SetText("portBox1", pty.Near());
    ui.Click("chkActive1");
    ASSERT_TRUE(window.serialPort1().Active());
    QTemporaryDir captureDir;
    const QString capturePath = captureDir.filePath(QStringLiteral("channel1.log"));
    kit::FileDialogPresenter previous;
    if (capture) {
        previous = kit::SetFileDialogPresenter([&](const kit::FileDialogRequest&) { return capturePath; });
        ui.Click("chkCapture1");
        ASSERT_EQ(ui.Text("chkCapture1"), "checked");
    }
    // Half the stream in lines with CR LF, then a device that never ends a line.
    constexpr qint64 kRecords = 50 * kMiB / kRecordSize;
    constexpr qint64 kLineRecords = kRecords / 2;
    constexpr qint64 kChunkRecords = 256;
    std::atomic<qint64> sent{0};
    qint64 received = 0;
    QObject::connect(&window.serialPort1(), &commtools::SerialChannel::Received, &window,
                     [&](const QByteArray& bytes) { received += bytes.size(); });
    Soak soak;
    Peer device([&](const std::atomic<bool>& stop) {
        for (qint64 first = 0; first < kRecords && soak.Feeding(stop); first += kChunkRecords) {
            const bool lines = first < kLineRecords;
            const qint64 count = std::min(kChunkRecords, (lines ? kLineRecords : kRecords) - first);
            const QByteArray chunk = Records(first, count, lines);
            if (!WriteAll(pty.Far(), chunk, false, stop)) {
                break;
            }
            sent += chunk.size();
        }
    });
    const bool through = soak.RunUntil([&] { return device.Done() && received == kRecords * kRecordSize; });
    device.Stop();
    soak.Finish();
    const double mib = double(received) / double(kMiB);
    std::printf("soak serial%s  %.1f MiB (%.1f sent)  %.2f s  %.2f MiB/s  %s\n", capture ? " capture" : "", mib,
                double(sent) / double(kMiB), soak.Seconds(), mib / soak.Seconds(), soak.Figures().constData());
    if (capture) {
        kit::SetFileDialogPresenter(std::move(previous));
        EXPECT_EQ(ui.Text("chkCapture1"), "checked") << "no write failed";
        QFile file(capturePath);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.size(), kRecords * kRecordSize);
        for (qint64 first = 0; first < kRecords; first += kChunkRecords) {
            const bool lines = first < kLineRecords;
            const qint64 count = std::min(kChunkRecords, (lines ? kLineRecords : kRecords) - first);
            const QByteArray expected = Records(first, count, lines);
            if (file.read(expected.size()) != expected) {
                ADD_FAILURE() << "the capture differs from record " << first;
                break;
            }
        }
    }
    EXPECT_TRUE(through) << "stopped at " << soak.StoppedAt();
    soak.ExpectBounded();
    if (!through) {
        return;
    }
    // The end of the endless line is on screen; the memo may break a long line where it likes.
    const QByteArray tail = Records(kRecords - 4, 4, false);
    QString end = ui.Text("Memo1").right(2 * tail.size());
    end.remove(QLatin1Char('\n'));
    EXPECT_TRUE(end.endsWith(QString::fromLatin1(tail))) << end.toStdString();
}

} // namespace

TEST(SerialSoak, Channel1Takes50MiBOfLinesAndOfOneEndlessLineInBoundedMemoryWithoutFreezing) { SoakChannel1(false); }

// The capture file written on the window's thread as the bytes arrive: the
// same load, the same bounds.
TEST(SerialSoak, Channel1Captures50MiBToAFileInBoundedMemoryWithoutFreezing) { SoakChannel1(true); }

} // namespace soak_test
