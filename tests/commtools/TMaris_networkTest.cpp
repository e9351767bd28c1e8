// The network tool with real clients on 127.0.0.1.
#include "commtools/NetSocket.h"
#include "commtools/TMaris_network.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTimer>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// A free port for this test: the system picks it, then it is released.
quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class NetworkWindow : public testing::Test {
protected:
    void SetUp() override {
        MessageLog::Take();
        ui.SetText("ePort", QString::number(port));
    }
    // The log memo's entries without their time stamps.
    QStringList LogEntries() const {
        QStringList entries;
        for (const QString& line : ui.Text("Memo1").split(QLatin1Char('\n'))) {
            const qsizetype stamp = line.indexOf(QStringLiteral("] "));
            if (line.startsWith(QLatin1Char('[')) && stamp > 0)
                entries << line.mid(stamp + 2);
        }
        return entries;
    }

    quint16 port = FreePort();
    TMaris_network window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(NetworkWindow, ATcpClientIsAcceptedAndItsDataLoggedNotShown) {
    ui.Click("chOnline");
    ASSERT_TRUE(window.netSocket1().Active());
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(3000));
    client.write("Hello");
    ASSERT_TRUE(client.waitForBytesWritten(3000));
    const QString opened = QStringLiteral("Net: Opened: 192.168.1.100 : %1 server mode: 1").arg(port);
    const QStringList expected = {opened, "Net: accepted", QStringLiteral("Net: Opened:  : %1 server mode: 0").arg(port),
                                  "Net: Connection is  accepted  Total:1", "Net: Input data length: 5 [48 65 6C 6C 6F ]"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return LogEntries() == expected; }, 5000)) << LogEntries().join('\n').toStdString();
    EXPECT_EQ(ui.Text("Memo2"), "Memo2");
    EXPECT_EQ(window.netSocket1().Connections(), 1);
    // A key typed in the data memo answers every connected client.
    ui.Key("Memo2", "y");
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() > 0; }, 3000));
    EXPECT_EQ(client.readAll(), QByteArray("y"));
    client.disconnectFromHost();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 0; }, 5000));
}

TEST_F(NetworkWindow, UdpShowsTheDatagramAndTypedKeysGoBackToItsSender) {
    ui.Click("btn_UDP");
    EXPECT_TRUE(ui.Get<QCheckBox>("chOnline")->isChecked());
    ASSERT_TRUE(window.netSocket1().Active());
    EXPECT_EQ(ui.Text("eHost"), "255.255.255.255");
    EXPECT_TRUE(ui.Get<QWidget>("ePort")->isEnabled());
    EXPECT_FALSE(ui.Get<QWidget>("eHost")->isEnabled());

    // Typing before any datagram has a reply address sends nothing.
    QUdpSocket peer;
    ASSERT_TRUE(peer.bind(QHostAddress::LocalHost, 0));
    ui.Key("Memo2", "q");
    ui.SetText("Memo2", QString());
    peer.writeDatagram("Hi", QHostAddress::LocalHost, port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.Text("Memo2") == "Hi"; }, 5000)) << ui.Text("Memo2").toStdString();
    ui.Key("Memo2", "x");
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.hasPendingDatagrams(); }, 5000));
    EXPECT_EQ(peer.receiveDatagram().data(), QByteArray("x"));
    EXPECT_FALSE(peer.hasPendingDatagrams()) << "the q typed before any sender went nowhere";
    EXPECT_EQ(ui.Text("Memo2"), "Hix");
    EXPECT_TRUE(LogEntries().contains("Net: Input data length: 2 [48 69 ]"));

    ui.Click("btn_Clear_Memo2");
    EXPECT_EQ(ui.Text("Memo2"), "");
    EXPECT_FALSE(ui.Text("Memo1").isEmpty());
}

TEST_F(NetworkWindow, OpeningFailuresLeaveOnlineCheckedAndTheSocketClosed) {
    struct Case {
        const char* name;
        std::function<QString(quint16)> portText; // may occupy the port
        QString error;
        QString fatalStart;
    };
    QTcpServer occupant;
    const Case cases[] = {
        {"port in use",
         [&](quint16 p) {
             occupant.listen(QHostAddress::AnyIPv4, p);
             return QString::number(p);
         },
         "Socket connect or bind error.", "] Fatal Error: 20, "},
        // The resolver's text ends in a blank; the error box adds its full stop.
        {"no such service", [](quint16) { return QStringLiteral("no-such-service"); }, "GetAddrInfo fails .",
         "] Fatal Error: 20, "},
    };
    for (const Case& c : cases) {
        TMaris_network fresh;
        support::Controls controls{&fresh};
        controls.SetText("ePort", c.portText(FreePort()));
        controls.Click("chOnline");
        EXPECT_EQ(MessageLog::Take(), QStringList{"error: " + c.error}) << c.name;
        EXPECT_TRUE(controls.Get<QCheckBox>("chOnline")->isChecked()) << c.name;
        EXPECT_FALSE(fresh.netSocket1().Active()) << c.name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return controls.Text("Memo1").contains(c.fatalStart); }, 2000)) << c.name;
    }
}

TEST_F(NetworkWindow, APortChangeWaitsForTheNextOnlineButUdpReopensAtOnce) {
    ui.Click("chOnline");
    const quint16 other = FreePort();
    ui.SetText("ePort", QString::number(other));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(client.waitForConnected(3000)) << "still listening on the port it was opened with";
    client.abort();

    ui.Click("btn_UDP");
    QUdpSocket peer;
    peer.writeDatagram("abc", QHostAddress::LocalHost, other);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Text("Memo2").startsWith("abc"); }, 5000));

    // "TCP/IP" only takes effect at the next "Online".
    ui.Click("btn_TCPIP");
    EXPECT_EQ(ui.Text("eHost"), "0.0.0.0");
    EXPECT_TRUE(window.netSocket1().Udp() == false);
    ui.Click("chOnline");
    ui.Click("chOnline");
    QTcpSocket second;
    second.connectToHost(QHostAddress::LocalHost, other);
    EXPECT_TRUE(second.waitForConnected(3000));
}

namespace {

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

qint64 ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

} // namespace

TEST_F(NetworkWindow, StaysCorrectAndResponsiveUnderLoad) {
    const qint64 startKiB = ResidentKiB();
    ui.Click("chOnline");
    Responsiveness answer;
    const auto count = [&](const QString& start) {
        const QStringList entries = LogEntries();
        return std::count_if(entries.begin(), entries.end(), [&](const QString& e) { return e.startsWith(start); });
    };

    // Every client connects and sends its line at once, as instruments do.
    constexpr int kClients = 500;
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost(QHostAddress::LocalHost, port);
        clients.back()->write(QByteArray("line ") + QByteArray::number(i) + "\r\n");
    }
    answer.Start();
    const bool all = QTest::qWaitFor([&] { return window.netSocket1().Connections() == kClients; }, 30000);
    QTest::qWait(300);
    answer.Stop();
    ASSERT_TRUE(all) << window.netSocket1().Connections() << " accepted";
    EXPECT_EQ(count("Net: Input data length: "), kClients);
    QStringList totals;
    for (const QString& entry : LogEntries())
        if (entry.startsWith("Net: Connection is  accepted  Total:"))
            totals << entry.mid(36);
    QStringList expected;
    for (int i = 1; i <= kClients; ++i)
        expected << QString::number(i);
    EXPECT_EQ(totals, expected) << "the count after every accept";
    clients.clear();
    answer.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 0; }, 30000));
    QTest::qWait(300);
    answer.Stop();
    const qint64 closedKiB = ResidentKiB();

    // 10,000 datagrams in bursts of 100; each carries its number once.
    ui.SetText("Memo1", QString());
    ui.Click("btn_UDP");
    QUdpSocket peer;
    constexpr int kDatagrams = 10000;
    answer.Start();
    for (int burst = 0; burst < kDatagrams / 100; ++burst) {
        for (int i = 0; i < 100; ++i)
            peer.writeDatagram(QByteArray::number(burst * 100 + i).rightJustified(5, '0'), QHostAddress::LocalHost, port);
        QTest::qWait(2);
    }
    QTest::qWait(500);
    answer.Stop();
    QSet<QString> seen;
    int logged = 0;
    for (const QString& entry : LogEntries()) {
        if (entry.startsWith("Net: Input data length: 5 [")) {
            ++logged;
            seen.insert(entry);
        }
    }
    EXPECT_EQ(seen.size(), logged) << "a datagram logged twice";
    EXPECT_GT(logged, kDatagrams * 9 / 10) << "loopback lost more than a tenth";
    EXPECT_LT(answer.WorstMs(), 100);
    std::printf("load: %d TCP clients, %d of %d datagrams logged, worst pause %lld ms, memory at start %lld KiB, "
                "after the connections closed %lld KiB, after the datagrams %lld KiB\n",
                kClients, logged, kDatagrams, static_cast<long long>(answer.WorstMs()),
                static_cast<long long>(startKiB), static_cast<long long>(closedKiB),
                static_cast<long long>(ResidentKiB()));
    EXPECT_LT(closedKiB - startKiB, 16 * 1024) << "the closed connections kept their memory";
}
