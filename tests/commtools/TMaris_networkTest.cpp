// The network tool with real clients on 127.0.0.1.
#include "commtools/NetSocket.h"
#include "commtools/TMaris_network.h"
#include "support/Controls.h"
#include "support/MessageLog.h"

#include <QCheckBox>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <gtest/gtest.h>

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
        EXPECT_TRUE(controls.Text("Memo1").contains(c.fatalStart)) << c.name;
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
