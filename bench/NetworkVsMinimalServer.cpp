// The network tool's window beside the least a listening program has to do
// (bench/minimal_log_server.py: accept, read, append the same log lines), run
// one after the other against the same load client, for TCP connections and
// for datagrams per second.
//   network_vs_minimal_server [CONNECTIONS [DATAGRAMS]]   (3000 and 20,000 unless given)
//
// The load client is this program started again as a process of its own
// ("client" as first argument), so it is the same for both servers and none of
// its work falls on the server's time. What counts is when the load shows in
// the server's log file, as the surveyor would find it:
// - TCP: CONNECTIONS clients one after the other, each connects, sends one
//   short numbered line and closes; timed from the first connect until the
//   last client's line is in the log. The clients wait in the listen backlog
//   (SOMAXCONN on both, and no more clients than it holds), so the client runs
//   at kernel speed and the time is the server's; the last line may come a pass of the event loop before the
//   line of some other client, which is noise against thousands.
// - UDP: DATAGRAMS NMEA sentences in bursts of 100, each burst sent only once
//   the burst before it is in the log. UDP has no flow control: sent freely,
//   the datagrams of a slow server are dropped by the kernel and the rate
//   would be the sender's. A burst fits the default receive buffer. A burst
//   whose last sentence never shows counts as missing after a 2 s wait.
// The client looks at the log's tail every millisecond, alike for both. Both
// logs are files beside this program, on the same disk; the tool's is its own
// (kept to its 200 KB), the minimal server's starts empty and only grows.
#include "common/Messages.h"
#include "commtools/NetSocket.h"
#include "commtools/StatusLog.h"
#include "commtools/TMaris_network.h"
#include "kit/Startup.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBurst = 100;

// The load client.

// Each line and sentence carries the run, so that the end of one run in a log
// that outlives it (the tool's) is not taken for the end of the next.
int Run() {
    static const int run = static_cast<int>(::getpid() % 1000);
    return run;
}

std::string ClientLine(int n) {
    char text[40];
    std::snprintf(text, sizeof text, "client %06d of run %03d\r\n", n, Run());
    return text;
}

// A GPS fix in one datagram, about 70 bytes; the time of day counts the
// datagrams and the station number is the run's, so each is unique in the log.
std::string Sentence(int n) {
    char text[96];
    const int length = std::snprintf(
        text, sizeof text, "$GPGGA,%02d%02d%02d.%02d,5231.%04d,N,00454.%04d,E,1,12,0.8,-2.5,M,47.0,M,1.0,%04d",
        n / 360000 % 24, n / 6000 % 60, n / 100 % 60, n % 100, n % 10000, (n * 7) % 10000, Run());
    unsigned char sum = 0;
    for (int i = 1; i < length; ++i) {
        sum ^= static_cast<unsigned char>(text[i]);
    }
    std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "*%02X\r\n", sum);
    return text;
}

// The bytes as both servers log them: "[24 47 ... 0A ]".
std::string LoggedHex(const std::string& bytes) {
    std::string hex = "[";
    char pair[4];
    for (const char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", static_cast<unsigned char>(c));
        hex += pair;
    }
    return hex + "]";
}

// Whether the last 32 KiB of the log hold `text`. The file is opened afresh
// each time: the tool replaces its log whole each time it cuts it.
bool TailHolds(const char* log, const std::string& text) {
    const int fd = ::open(log, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    static char tail[32 * 1024];
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const ssize_t n = ::pread(fd, tail, sizeof tail, std::max<off_t>(0, size - off_t(sizeof tail)));
    ::close(fd);
    return n > 0 && std::string_view(tail, static_cast<size_t>(n)).find(text) != std::string_view::npos;
}

bool WaitForLog(const char* log, const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!TailHolds(log, text)) {
        if (Clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

sockaddr_in Loopback(int port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return to;
}

// Prints "SECONDS MISSING" (missing: UDP bursts whose end never showed);
// returns 1 when the load could not be delivered.
int RunClient(const std::string& mode, int port, int count, const char* log) {
    const sockaddr_in to = Loopback(port);
    const auto* address = reinterpret_cast<const sockaddr*>(&to);
    const auto start = Clock::now();
    int missing = 0;
    if (mode == "tcp") {
        for (int n = 0; n < count; ++n) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const std::string line = ClientLine(n);
            if (::connect(fd, address, sizeof to) != 0 ||
                ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size())) {
                std::perror("client");
                return 1;
            }
            ::close(fd);
        }
        if (!WaitForLog(log, LoggedHex(ClientLine(count - 1)), std::chrono::seconds(120))) {
            std::fprintf(stderr, "client: the last line never showed in %s\n", log);
            return 1;
        }
    } else {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        for (int first = 0; first < count; first += kBurst) {
            const int end = std::min(count, first + kBurst);
            for (int n = first; n < end; ++n) {
                const std::string sentence = Sentence(n);
                ::sendto(fd, sentence.data(), sentence.size(), 0, address, sizeof to);
            }
            if (!WaitForLog(log, LoggedHex(Sentence(end - 1)), std::chrono::seconds(2))) {
                ++missing;
            }
        }
        ::close(fd);
    }
    const std::chrono::duration<double> seconds = Clock::now() - start;
    std::printf("%.6f %d\n", seconds.count(), missing);
    return 0;
}

// The host: the tool's window, or the minimal server.

struct Result {
    double perSecond = 0;
    int missing = 0;
    qint64 peakKiB = 0;
    bool ok = false;
};

qint64 PeakKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLongLong();
        }
    }
    return 0;
}

quint16 FreePort(bool udp) {
    if (udp) {
        QUdpSocket probe;
        probe.bind(QHostAddress::AnyIPv4, 0);
        return probe.localPort();
    }
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

// The load client against the port, with this process's event loop running
// meanwhile, for the window that lives in it.
Result Load(const QString& mode, quint16 port, int count, const QString& log) {
    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QEventLoop loop;
    QObject::connect(&client, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(std::chrono::minutes(5), &loop, &QEventLoop::quit);
    client.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("client"), mode, QString::number(port), QString::number(count), log});
    if (!client.waitForStarted()) {
        return {};
    }
    loop.exec();
    Result result;
    if (client.state() != QProcess::NotRunning) {
        client.kill();
        client.waitForFinished();
        return result;
    }
    const QList<QByteArray> figures = client.readAllStandardOutput().simplified().split(' ');
    if (client.exitCode() != 0 || figures.size() != 2) {
        return result;
    }
    result.perSecond = count / figures[0].toDouble();
    result.missing = figures[1].toInt();
    result.ok = true;
    return result;
}

Result AgainstTool(const QString& mode, int count) {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) {
        refs.write("5");
    }
    refs.close();
    const bool udp = mode == QLatin1String("udp");
    const quint16 port = FreePort(udp);
    TMaris_network window;
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("ePort"))->setText(QString::number(port));
    if (udp) {
        window.findChild<QPushButton*>(QStringLiteral("btn_UDP"))->click();
    } else {
        window.findChild<QCheckBox*>(QStringLiteral("chOnline"))->click();
    }
    if (!window.netSocket1().Active()) {
        std::fprintf(stderr, "the tool does not listen on port %u\n", port);
        return {};
    }
    Result result = Load(mode, port, count, commtools::ProgramLogPath());
    result.peakKiB = PeakKiB(QCoreApplication::applicationPid());
    return result;
}

Result AgainstMinimalServer(const QString& mode, int count, const QString& script) {
    const QString log = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("minimal_log_server.log"));
    QFile::remove(log);
    const quint16 port = FreePort(mode == QLatin1String("udp"));
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QStringLiteral("python3"), {script, mode, QString::number(port), log});
    if (!server.waitForReadyRead(10000) || !server.readLine().startsWith("ready")) {
        std::fprintf(stderr, "%s does not start\n", qPrintable(script));
        return {};
    }
    Result result = Load(mode, port, count, log);
    result.peakKiB = PeakKiB(server.processId());
    server.kill();
    server.waitForFinished();
    return result;
}

// Best of three rounds each, the tool and the minimal server taking turns, so
// that a busy moment of the shared cores does not decide.
bool Compare(const char* title, const QString& mode, int count, const QString& script) {
    Result tool, minimal;
    for (int round = 0; round < 3; ++round) {
        const Result t = AgainstTool(mode, count);
        const Result m = AgainstMinimalServer(mode, count, script);
        if (!t.ok || !m.ok) {
            std::fprintf(stderr, "%s: the %s run failed\n", title, t.ok ? "minimal server's" : "tool's");
            return false;
        }
        if (t.perSecond > tool.perSecond) {
            tool = t;
        }
        if (m.perSecond > minimal.perSecond) {
            minimal = m;
        }
    }
    std::printf("%-18s tool %.0f  minimal server %.0f  ratio %.2f   (peak RSS tool %.1f MiB, minimal server %.1f MiB",
                title, tool.perSecond, minimal.perSecond, tool.perSecond / minimal.perSecond,
                double(tool.peakKiB) / 1024.0, double(minimal.peakKiB) / 1024.0);
    if (tool.missing + minimal.missing > 0) {
        std::printf("; bursts missing: tool %d, minimal server %d", tool.missing, minimal.missing);
    }
    std::printf(")\n");
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "client") == 0) {
        return RunClient(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
    }
    // More clients than the listen backlog holds would time the kernel's SYN
    // retries, not the server.
    int backlog = 128;
    if (std::FILE* limit = std::fopen("/proc/sys/net/core/somaxconn", "r")) {
        if (std::fscanf(limit, "%d", &backlog) != 1) {
            backlog = 128;
        }
        std::fclose(limit);
    }
    const int connections = argc > 1 ? std::atoi(argv[1]) : std::min(3000, backlog);
    const int datagrams = argc > 2 ? std::atoi(argv[2]) : 20000;
    if (connections < 1 || connections > backlog || datagrams < 1) {
        std::fprintf(stderr, "usage: %s [CONNECTIONS (1 to %d, the listen backlog) [DATAGRAMS]]\n", argv[0], backlog);
        return 2;
    }
    kit::Application application(argc, argv, kit::Screen::Offscreen);
    common::SetMessagePresenter(
        [](common::MessageKind, const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    const QString script = QStringLiteral(TORMALIND_MINIMAL_LOG_SERVER);
    const bool ok = Compare("TCP connections/s", QStringLiteral("tcp"), connections, script) &&
                    Compare("UDP datagrams/s", QStringLiteral("udp"), datagrams, script);
    return ok ? 0 : 1;
}
