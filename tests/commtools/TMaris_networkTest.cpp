// The network tool with real clients on 127.0.0.1.
#include "support/NetworkWindow.h"

#include "commtools/NetSocket.h"
#include "kit/Dialogs.h"

#include <QCheckBox>
#include <QFile>
#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <cerrno>
#include <functional>
#include <ostream>
#include <tuple>

namespace tmaris_network_test {

TEST_F(NetworkWindow, ATcpClientIsAcceptedAndItsDataLoggedNotShown) {
    ui.Click("chOnline");
    ASSERT_TRUE(window.netSocket1().Active());
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(3000));
    client.write("Hello");
    ASSERT_TRUE(client.waitForBytesWritten(3000));
    const QString opened = QStringLiteral("Net: Opened: 192.168.1.100 : %1 server mode: 1").arg(port);
    const QStringList expected = {
        opened, "Net: accepted", QStringLiteral("Net: Opened:  : %1 server mode: 0").arg(port),
        "Net: Connection is  accepted  Total:1", "Net: Input data length: 5 [48 65 6C 6C 6F ]"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return LogEntries() == expected; }, 5000))
        << LogEntries().join('\n').toStdString();
    EXPECT_EQ(ui.Text("Memo2"), "Memo2");
    EXPECT_EQ(window.netSocket1().Connections(), 1);
    // A key typed in the data memo answers every connected client.
    ui.Key("Memo2", "y");
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() > 0; }, 3000));
    EXPECT_EQ(client.readAll(), QByteArray("y"));
    client.disconnectFromHost();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 0; }, 5000));
}

// The stream line counts what TCP clients send, though the memo shows only
// UDP data, and is blank while the tool is offline.
TEST_F(NetworkWindow, TheStreamLineGivesTheByteRateOfEveryConnection) {
    EXPECT_EQ(ui.Text("lblStreamNet"), QString());
    ui.Click("chOnline");
    ASSERT_TRUE(window.netSocket1().Active());
    EXPECT_EQ(ui.Text("lblStreamNet"), "no data");
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(3000));
    client.write(QByteArray(3000, '\xFF'));
    ASSERT_TRUE(client.waitForBytesWritten(3000));
    const QRegularExpression rate(QStringLiteral("^[1-3],[0-9]{3} B/s$"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rate.match(ui.Text("lblStreamNet")).hasMatch(); }, 3000))
        << ui.Text("lblStreamNet").toStdString();
    ui.Click("chOnline");
    EXPECT_EQ(ui.Text("lblStreamNet"), QString());
}

// What TCP clients send reaches the capture file byte for byte; going
// offline ends the capture.
TEST_F(NetworkWindow, CaptureWritesEveryReceivedByteUntilOffline) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("network.log"));
    const auto previous = kit::SetFileDialogPresenter([path](const kit::FileDialogRequest& request) {
        EXPECT_EQ(request.kind, kit::FileDialogKind::Save);
        return path;
    });
    ui.Click("chOnline");
    ui.Click("chkCaptureNet");
    ASSERT_EQ(ui.Text("chkCaptureNet"), "checked");
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(3000));
    QByteArray sent("$GPZDA,120000.00,13,05,2024,00,00*6A\r\n\0\r\xFF", 41);
    for (int n = 0; n < 256; ++n) {
        sent += static_cast<char>(n);
    }
    client.write(sent);
    ASSERT_TRUE(client.waitForBytesWritten(3000));
    const auto captured = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return captured().size() >= sent.size(); }, 3000));
    EXPECT_EQ(captured(), sent);
    ui.Click("chOnline");
    EXPECT_EQ(ui.Text("chkCaptureNet"), "unchecked");
    kit::SetFileDialogPresenter(previous);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// A client that connected, sent and closed before the tool came to it is read
// to its end without a socket of its own, up to what a connection may hold;
// beyond that, and for a client still open, a socket reads on. All log,
// capture and end alike.
TEST_F(NetworkWindow, ClientsThatHaveClosedBeforeTheirTurnAreReadToTheirEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("network.log"));
    const auto previous = kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
    const auto captured = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    ui.Click("chOnline");
    ui.Click("chkCaptureNet");
    const QString opened = LogEntries().constLast();
    const auto bytes = [](qsizetype size) {
        QByteArray block(size, '\0');
        for (qsizetype i = 0; i < size; ++i) {
            block[i] = static_cast<char>(i % 251);
        }
        return block;
    };
    const QByteArray line = "Hello";
    const QByteArray block = bytes(20000);
    const QByteArray big = bytes(100000); // more than the 64 KiB a connection holds
    // The socket's waits run no event loop: the tool takes the three up only
    // once they have closed.
    for (const QByteArray& sent : {line, block, big}) {
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(client.waitForConnected(3000));
        client.write(sent);
        ASSERT_TRUE(client.waitForBytesWritten(3000));
        client.disconnectFromHost();
        ASSERT_TRUE(client.state() == QAbstractSocket::UnconnectedState || client.waitForDisconnected(3000));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return captured().size() == line.size() + block.size() + big.size(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 0; }, 3000));
    QTcpSocket open;
    open.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(open.waitForConnected(3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 1; }, 3000));
    open.write("Bye");
    ASSERT_TRUE(open.waitForBytesWritten(3000));
    open.disconnectFromHost();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 0; }, 3000));

    // The entries without the hex of the bytes. The socket's reads of the big
    // client's rest (the 21 entries before them are the three clients' taking
    // up and the first 64 KiB) come in pieces as they arrived: summed up.
    QStringList entries = LogEntries();
    entries = entries.mid(entries.indexOf(opened) + 1);
    QStringList shown;
    qsizetype rest = 0;
    for (const QString& entry : entries) {
        const QString head = entry.section(QLatin1Char('['), 0, 0);
        if (shown.size() == 21 && head.startsWith(QStringLiteral("Net: Input data length: "))) {
            rest += head.section(QLatin1Char(' '), 4, 4).toLongLong();
            continue;
        }
        shown << head;
    }
    const QString accepted = QStringLiteral("Net: Opened:  : %1 server mode: 0").arg(port);
    const QStringList taken = {"Net: accepted", accepted, "Net: Connection is  accepted  Total:1"};
    const QStringList expected =
        taken + QStringList{"Net: Input data length: 5 "} + taken +
        QStringList{"Net: Input data length: 8192 ", "Net: Input data length: 8192 ", "Net: Input data length: 3616 "} +
        taken + QStringList(8, "Net: Input data length: 8192 ") + taken + QStringList{"Net: Input data length: 3 "};
    EXPECT_EQ(shown, expected) << entries.join('\n').toStdString();
    EXPECT_EQ(rest, big.size() - 8 * 8192);
    ui.Click("chOnline");
    // Compared whole: 125 kB shown byte by byte would bury the failure.
    const QByteArray all = captured();
    EXPECT_EQ(all.size(), line.size() + block.size() + big.size() + 3);
    EXPECT_TRUE(all == line + block + big + "Bye");
    kit::SetFileDialogPresenter(previous);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
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

// A port text the resolver cannot read leaves "Online" as the surveyor ticked
// it; a port the system refuses is covered by the refusal table below.
TEST_F(NetworkWindow, UnreadablePortTextsLeaveOnlineCheckedAndTheSocketClosed) {
    struct Case {
        const char* name;
        std::function<QString(quint16)> portText;
        QString error;
        QString fatalStart;
    };
    const Case cases[] = {
        // The resolver's text ends in a blank; the error box adds its full stop.
        {"no such service", [](quint16) { return QStringLiteral("no-such-service"); }, "GetAddrInfo fails .",
         "] Fatal Error: 20, "},
        // A number outside the ports is refused, not folded into one (70000
        // would be 4464) or left to the system's choice (0).
        {"port 70000", [](quint16) { return QStringLiteral("70000"); }, "GetAddrInfo fails .", "] Fatal Error: 20, "},
        {"port 0", [](quint16) { return QStringLiteral("0"); }, "GetAddrInfo fails .", "] Fatal Error: 20, "},
        {"port -1", [](quint16) { return QStringLiteral("-1"); }, "GetAddrInfo fails .", "] Fatal Error: 20, "},
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

// A port the system will not give the tool, over TCP ("Online") and UDP (the
// "UDP" button goes online at once): the error box and the fatal entry give
// the system's reason, "Online" unticks, and once the port is free again a
// tick opens it.
struct Refusal {
    const char* name;
    bool udp;
    bool privileged; // a port below 1024, else a port another socket holds
    const char* reason;
};

// The case by its name in test listings, not as raw bytes.
void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class NetworkRefusal : public NetworkWindow, public testing::WithParamInterface<Refusal> {
protected:
    // A port below 1024 that only the administrator may open; a user with the
    // right (root, a capability, or a system whose unprivileged ports start
    // lower) gets it, and then the row has nothing to show.
    static constexpr quint16 kLowPort = 1;

    static QString WhyLowPortIsNotRefused(bool udp) {
        QAbstractSocket::SocketError error = QAbstractSocket::UnknownSocketError;
        if (udp) {
            QUdpSocket probe;
            if (probe.bind(QHostAddress::AnyIPv4, kLowPort)) {
                return QStringLiteral("this user may open ports below 1024");
            }
            error = probe.error();
        } else {
            QTcpServer probe;
            if (probe.listen(QHostAddress::AnyIPv4, kLowPort)) {
                return QStringLiteral("this user may open ports below 1024");
            }
            error = probe.serverError();
        }
        return error == QAbstractSocket::SocketAccessError
                   ? QString()
                   : QStringLiteral("port %1 fails for another reason (%2)").arg(kLowPort).arg(error);
    }

    void GoOnline(bool udp) { ui.Click(udp ? "btn_UDP" : "chOnline"); }
};

TEST_P(NetworkRefusal, TheErrorGivesTheSystemsReasonAndOnlineUnticks) {
    const Refusal& c = GetParam();
    QTcpServer tcpOccupant;
    QUdpSocket udpOccupant;
    quint16 refused = port;
    if (c.privileged) {
        const QString skip = WhyLowPortIsNotRefused(c.udp);
        if (!skip.isEmpty()) {
            GTEST_SKIP() << skip.toStdString();
        }
        refused = kLowPort;
        ui.SetText("ePort", QString::number(refused));
    } else if (c.udp) {
        ASSERT_TRUE(udpOccupant.bind(QHostAddress::AnyIPv4, port)) << udpOccupant.errorString().toStdString();
    } else {
        ASSERT_TRUE(tcpOccupant.listen(QHostAddress::AnyIPv4, port)) << tcpOccupant.errorString().toStdString();
    }

    GoOnline(c.udp);
    const QString text = QStringLiteral("Socket connect or bind error: ") + c.reason;
    EXPECT_EQ(MessageLog::Take(), QStringList{"error: " + text + "."});
    EXPECT_EQ(ui.Text("chOnline"), "unchecked");
    EXPECT_FALSE(window.netSocket1().Active());
    const auto fatal = [&] { return LogEntries().filter(QStringLiteral("Fatal Error")); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fatal().isEmpty(); }, 2000)) << LogEntries().join('\n').toStdString();
    ASSERT_EQ(fatal().size(), 1) << fatal().join('\n').toStdString();
    // The system's number beside its words, as a device's refusal gives them.
    const int number = c.privileged ? EACCES : EADDRINUSE;
    EXPECT_EQ(fatal()[0], QStringLiteral("Fatal Error: 20, %1, %2").arg(number).arg(text));

    if (c.privileged) {
        return;
    }
    tcpOccupant.close();
    udpOccupant.close();
    ui.Click("chOnline");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    EXPECT_EQ(ui.Text("chOnline"), "checked");
    ASSERT_TRUE(window.netSocket1().Active());
    EXPECT_EQ(window.netSocket1().Udp(), c.udp);
}

INSTANTIATE_TEST_SUITE_P(TcpAndUdp, NetworkRefusal,
                         testing::Values(Refusal{"TcpPortInUse", false, false, "Address already in use"},
                                         Refusal{"UdpPortInUse", true, false, "Address already in use"},
                                         Refusal{"TcpPortBelow1024", false, true, "Permission denied"},
                                         Refusal{"UdpPortBelow1024", true, true, "Permission denied"}),
                         [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// A second start of the suite while the first one's tool is online on the
// port: the second is refused whether the first listens by TCP or by UDP, so
// two copies never share an instrument's datagrams unnoticed.
TEST_F(NetworkWindow, ASecondCopyOnTheSamePortIsRefused) {
    for (const bool udp : {false, true}) {
        SCOPED_TRACE(udp ? "UDP" : "TCP");
        TMaris_network first;
        support::Controls firstUi{&first};
        firstUi.SetText("ePort", QString::number(port));
        firstUi.Click(udp ? "btn_UDP" : "chOnline");
        ASSERT_TRUE(first.netSocket1().Active());
        TMaris_network second;
        support::Controls secondUi{&second};
        secondUi.SetText("ePort", QString::number(port));
        secondUi.Click(udp ? "btn_UDP" : "chOnline");
        EXPECT_EQ(MessageLog::Take(), QStringList{"error: Socket connect or bind error: Address already in use."});
        EXPECT_EQ(secondUi.Text("chOnline"), "unchecked");
        EXPECT_FALSE(second.netSocket1().Active());
        EXPECT_TRUE(first.netSocket1().Active());
    }
}

TEST_F(NetworkWindow, FloodsAndDroppedClientsLeaveItWorkingAndBounded) {
    ui.Click("btn_UDP");
    QUdpSocket peer;
    QByteArray binary(8000, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 7919) & 0xFF);
    }
    for (int i = 0; i < 200; ++i) { // 1.6 MB of binary bytes
        peer.writeDatagram(binary, QHostAddress::LocalHost, port);
        if (i % 20 == 19) {
            QTest::qWait(5);
        }
    }
    QTest::qWait(500);
    EXPECT_LE(ui.Text("Memo2").size(), (1 << 20) + (1 << 16)) << "the data memo keeps its last megabyte";
    EXPECT_GT(ui.Text("Memo2").size(), 500000);

    ui.Click("btn_TCPIP");
    ui.Click("chOnline");
    ui.Click("chOnline");
    for (int i = 0; i < 50; ++i) { // connect and drop at once
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        client.waitForConnected(1000);
        client.abort();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 0; }, 5000));
    QTcpSocket last;
    last.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(last.waitForConnected(3000));
    last.write("still here");
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Text("Memo1").contains("[73 74 69 6C 6C 20 68 65 72 65 ]"); }, 5000));
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

// The socket layer's copy of its entries on the console: nothing unless a
// logging rule asks for it, and then one short line per entry however much a
// read brought (a 50 MB stream once wrote three times its size there).
TEST_F(NetworkWindow, TheConsoleCopyIsOffUnlessAskedForAndShortWhenOn) {
    static QStringList console;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QLatin1String(context.category) == QLatin1String("tormalind.comm.net")) {
                console << text;
            }
        });
    struct Case {
        const char* rules;
        bool copied;
    };
    const Case cases[] = {{"", false}, {"tormalind.comm.net.debug=true", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        QLoggingCategory::setFilterRules(QString::fromLatin1(c.rules));
        console.clear();
        const qsizetype readsBefore = ui.Text("Memo1").count(QStringLiteral("4E ]"));
        ui.Click("chOnline");
        ASSERT_TRUE(window.netSocket1().Active());
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(client.waitForConnected(3000));
        client.write(QByteArray(6000, 'N'));
        ASSERT_TRUE(client.waitForBytesWritten(3000));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return ui.Text("Memo1").count(QStringLiteral("4E ]")) > readsBefore; }, 5000));
        client.abort();
        ui.Click("chOnline");
        ASSERT_FALSE(window.netSocket1().Active());
        EXPECT_EQ(!console.isEmpty(), c.copied) << console.join('\n').toStdString();
        for (const QString& line : console) {
            EXPECT_LE(line.size(), 300) << line.left(80).toStdString();
        }
        if (c.copied) {
            EXPECT_TRUE(console.filter(QStringLiteral("Input data length: ")).size() >= 1);
        }
    }
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
}

// Two TCP clients each send clean NMEA in pieces that interleave on the way
// in: neither's sentences are read as broken, the line speaks of the later
// client, and the capture holds each one's lines whole.
TEST_F(NetworkWindow, TwoClientsSendingInPiecesKeepTheirSentencesApart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("network.log"));
    const auto previous = kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
    ui.Click("chOnline");
    ui.Click("chkCaptureNet");
    QTcpSocket gnss;
    QTcpSocket gyro;
    gnss.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(gnss.waitForConnected(3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 1; }, 3000));
    gyro.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(gyro.waitForConnected(3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.netSocket1().Connections() == 2; }, 3000));
    const QByteArray gga = "$GPGGA,123519.00,5407.038,N,01131.000,E,1,08,0.9,5.4,M,46.9,M,,*65\r\n";
    const QByteArray hdt = "$HEHDT,123.45,T*1E\r\n";
    QByteArray ggaSent;
    QByteArray hdtSent;
    for (int i = 0; i < 10; ++i) {
        for (const auto& [client, line, sent] : {std::tuple{&gnss, gga, &ggaSent}, std::tuple{&gyro, hdt, &hdtSent}}) {
            client->write(line.left(12));
            ASSERT_TRUE(client->waitForBytesWritten(3000));
            QTest::qWait(15);
        }
        for (const auto& [client, line, sent] : {std::tuple{&gnss, gga, &ggaSent}, std::tuple{&gyro, hdt, &hdtSent}}) {
            client->write(line.mid(12));
            ASSERT_TRUE(client->waitForBytesWritten(3000));
            *sent += line;
            QTest::qWait(15);
        }
    }
    const QRegularExpression line(QStringLiteral("^2 connections, latest: NMEA HEHDT \\d+\\.\\d Hz$"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return line.match(ui.Text("lblStreamNet")).hasMatch(); }, 3000))
        << ui.Text("lblStreamNet").toStdString();
    const QString tip = ui.Get<QWidget>("lblStreamNet")->toolTip();
    EXPECT_FALSE(tip.contains(QStringLiteral("bad")) || tip.contains(QStringLiteral("broken"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("GPGGA"))) << tip.toStdString();
    ui.Click("chOnline");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QByteArray ggaCaptured;
    QByteArray hdtCaptured;
    for (const QByteArray& captured : lines) {
        if (!captured.isEmpty()) {
            (captured.startsWith("$GPGGA") ? ggaCaptured : hdtCaptured) += captured + '\n';
        }
    }
    EXPECT_EQ(ggaCaptured, ggaSent);
    EXPECT_EQ(hdtCaptured, hdtSent);
    kit::SetFileDialogPresenter(previous);
}

} // namespace tmaris_network_test
