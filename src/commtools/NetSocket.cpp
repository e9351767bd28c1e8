#include "commtools/NetSocket.h"

#include "common/Messages.h"
#include "common/ServicePort.h"

#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <algorithm>
#include <functional>
#include <optional>

// The socket layer's entries on the console, for a developer chasing a link:
// off unless asked for (QT_LOGGING_RULES="tormalind.comm.net.debug=true").
// A busy peer makes an entry per read, and a console that copied them all
// would cost the tool more than its own log and fill a journal without end.
Q_LOGGING_CATEGORY(lcNetSocket, "tormalind.comm.net", QtInfoMsg)

namespace commtools {
namespace {

constexpr auto kPrefix = "Net";

// What a connection holds of a stream before the window has logged it: a peer
// that sends faster than the log is written waits in TCP's own flow control
// instead of in this program's memory.
constexpr qint64 kConnectionBuffer = 64 * 1024;

// The most of one entry the console gets: the start of a read's hex bytes
// tells a developer what the peer sends; the rest is in the log file.
constexpr qsizetype kConsoleEntryLength = 200;

// The most datagrams read in one pass of the event loop: about what a receive
// buffer holds of short sentences, so the window still answers under a flood.
constexpr int kDatagramsPerPass = 512;

QString ConsoleEntry(const QString& text) {
    if (text.size() <= kConsoleEntryLength) {
        return text;
    }
    return text.left(kConsoleEntryLength) + QStringLiteral(" ... (%1 characters)").arg(text.size());
}

// Why the socket could not have its port, in the system's words: the socket
// layer's own texts ("The bound address is already in use") read unlike what
// the surveyor meets in every other program and in the system's manuals.
std::optional<common::PortRefusal> Refusal(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return common::PortRefusal::InUse;
    case QAbstractSocket::SocketAccessError:
        return common::PortRefusal::Privileged;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return common::PortRefusal::NotLocal;
    default:
        return std::nullopt;
    }
}

QString BindFailureText(QAbstractSocket::SocketError error, const QString& layerText) {
    const std::optional<common::PortRefusal> refusal = Refusal(error);
    return QStringLiteral("Socket connect or bind error: %1")
        .arg(refusal ? common::PortRefusalReason(*refusal) : layerText);
}

// The number the fatal entry gives: the system's own where the refusal is one
// of its errors, the socket layer's otherwise.
int BindFailureCode(QAbstractSocket::SocketError error) {
    const std::optional<common::PortRefusal> refusal = Refusal(error);
    return refusal ? common::PortRefusalCode(*refusal) : static_cast<int>(error);
}

// A listening socket that hands each accepted connection's descriptor to the
// tool, which reads what is already there before it sets up a socket object.
class ConnectionServer : public QTcpServer {
public:
    ConnectionServer(std::function<void(qintptr)> take, QObject* parent) : QTcpServer(parent), take_(std::move(take)) {}

protected:
    void incomingConnection(qintptr descriptor) override { take_(descriptor); }

private:
    std::function<void(qintptr)> take_;
};

} // namespace

NetSocket::NetSocket(StatusLog& log, QObject* parent) : QObject(parent), log_(log) {}

NetSocket::~NetSocket() { Close(); }

void NetSocket::Entry(LogLevel level, const QString& text) {
    qCDebug(lcNetSocket).noquote() << ConsoleEntry(text);
    log_.Add(level, QString::fromLatin1(kPrefix), text);
}

void NetSocket::Fail(int code, const QString& text) {
    log_.Add(LogLevel::Simple, QString(),
             QStringLiteral("Fatal Error: 20, %1, %2").arg(static_cast<unsigned>(code)).arg(text));
    throw common::UserError(text);
}

bool NetSocket::Active() const { return server_ != nullptr || udpSocket_ != nullptr; }

void NetSocket::SetActive(bool active) {
    if (active == Active()) {
        return;
    }
    if (active) {
        Open();
        emit Opened();
    } else {
        Close();
        emit Closed();
    }
}

void NetSocket::Open() {
    int code = 0;
    const quint16 port = common::ResolveServicePort(port_, udp_, code);
    if (port == 0 && code != 0) {
        Fail(-code, QStringLiteral("GetAddrInfo fails "));
    }
    if (udp_) {
        auto* socket = new QUdpSocket(this);
        if (!socket->bind(QHostAddress::AnyIPv4, port)) {
            const QAbstractSocket::SocketError error = socket->error();
            const QString text = BindFailureText(error, socket->errorString());
            delete socket;
            emit Refused();
            Fail(BindFailureCode(error), text);
        }
        udpSocket_ = socket;
        const QVariant size = socket->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption);
        if (size.toLongLong() > 0) {
            receiveBuffer_ = size.toLongLong();
        }
        connect(socket, &QUdpSocket::readyRead, this, &NetSocket::ReadDatagrams);
    } else {
        auto* server = new ConnectionServer([this](qintptr descriptor) { Take(descriptor); }, this);
        server->setListenBacklogSize(common::kListenBacklog);
        if (!server->listen(QHostAddress::AnyIPv4, port)) {
            const QAbstractSocket::SocketError error = server->serverError();
            const QString text = BindFailureText(error, server->errorString());
            delete server;
            emit Refused();
            Fail(BindFailureCode(error), text);
        }
        server_ = server;
    }
    replyAddress_.clear();
    replyPort_ = 0;
    Entry(LogLevel::Simple, QStringLiteral("Opened: %1 : %2 server mode: 1").arg(host_, port_));
}

void NetSocket::Close() {
    for (QTcpSocket* connection : std::exchange(connections_, {})) {
        connection->disconnect(this);
        connection->abort();
        connection->deleteLater();
    }
    delete std::exchange(server_, nullptr);
    delete std::exchange(udpSocket_, nullptr);
}

void NetSocket::Take(qintptr descriptor) {
    // A client that connected, said its piece and closed (a script's one
    // line, a burst of them) has finished by the time its turn comes: read to
    // its end at once, it costs no socket object, notifiers and buffers to set
    // up and tear down again. A connection still open gets its socket.
    const common::WaitingInput waiting = common::ReadWaitingInput(descriptor, ReadBuffer(), kConnectionBuffer);
    if (waiting.ended) {
        const quint64 number = Accepted(connections_.size() + 1);
        for (const QByteArray& bytes : waiting.pieces) {
            Pass(bytes, number);
        }
        common::CloseConnection(descriptor);
        emit Ended(number);
        return;
    }
    auto* connection = new QTcpSocket(server_);
    if (!connection->setSocketDescriptor(descriptor)) {
        common::CloseConnection(descriptor);
        delete connection;
        return;
    }
    connections_.append(connection);
    connection->setReadBufferSize(kConnectionBuffer);
    const quint64 number = Accepted(connections_.size());
    connect(connection, &QTcpSocket::readyRead, this,
            [this, connection, number] { ReadConnection(connection, number); });
    connect(connection, &QTcpSocket::disconnected, this, [this, connection, number] {
        ReadConnection(connection, number); // what came with the close
        connections_.removeOne(connection);
        connection->deleteLater();
        emit Ended(number);
    });
    for (const QByteArray& bytes : waiting.pieces) {
        Pass(bytes, number);
    }
}

quint64 NetSocket::Accepted(qsizetype total) {
    Entry(LogLevel::Simple, QStringLiteral("accepted"));
    Entry(LogLevel::Simple, QStringLiteral("Opened:  : %1 server mode: 0").arg(port_));
    Entry(LogLevel::Simple, QStringLiteral("Connection is  accepted  Total:%1").arg(total));
    return ++accepted_;
}

void NetSocket::Pass(const QByteArray& bytes, quint64 connection) {
    emit Arrived(bytes, connection);
    LogInput(bytes);
}

QByteArray& NetSocket::ReadBuffer() {
    // One buffer of the receive size for every read: sized afresh for each
    // 70-byte sentence it would cost a mapping of memory, or a third system
    // call to ask the size first.
    if (readBuffer_.size() != receiveBuffer_) {
        readBuffer_.resize(receiveBuffer_);
    }
    return readBuffer_;
}

void NetSocket::ReadConnection(QTcpSocket* connection, quint64 number) {
    // One entry per receive-buffer's worth, as the socket hands the data over.
    while (connection->bytesAvailable() > 0) {
        const QByteArray bytes = connection->read(receiveBuffer_);
        if (bytes.isEmpty()) {
            break;
        }
        Pass(bytes, number);
    }
}

void NetSocket::ReadDatagrams() {
    QByteArray& buffer = ReadBuffer();
    // Read until the socket has nothing more: asking first whether a datagram
    // waits is a system call of its own for every datagram, as dear as the
    // read. A sender that never pauses still lets the event loop round after
    // a receive buffer's worth; the socket reports again at once.
    QHostAddress sender;
    quint16 senderPort = 0;
    for (int read = 0; read < kDatagramsPerPass && udpSocket_ != nullptr; ++read) {
        const qint64 size = udpSocket_->readDatagram(buffer.data(), buffer.size(), &sender, &senderPort);
        if (size < 0) {
            break;
        }
        replyAddress_ = sender;
        replyPort_ = senderPort;
        const QByteArray data(buffer.constData(), size);
        Pass(data, 0);
        emit Received(data);
    }
}

void NetSocket::LogInput(const QByteArray& bytes) {
    // Each byte as two hex digits followed by a blank, written in one go: the
    // entry is made for every read and datagram of a busy peer.
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const QString head = QStringLiteral("Input data length: ") + QString::number(bytes.size()) + QStringLiteral(" [");
    QString text(head.size() + 3 * bytes.size() + 1, Qt::Uninitialized);
    QChar* out = std::copy(head.cbegin(), head.cend(), text.begin());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QLatin1Char(kDigits[byte >> 4]);
        *out++ = QLatin1Char(kDigits[byte & 0x0F]);
        *out++ = QLatin1Char(' ');
    }
    *out = QLatin1Char(']');
    Entry(LogLevel::Debug, text);
}

void NetSocket::SendTyped(const QByteArray& bytes) {
    // Over TCP the answer goes to every client connected, so the operator can
    // answer a TCP peer as a UDP one; send errors are no concern of the typist.
    for (QTcpSocket* connection : connections_) {
        connection->write(bytes);
    }
    if (udpSocket_ != nullptr && replyPort_ != 0) {
        udpSocket_->writeDatagram(bytes, replyAddress_, replyPort_);
    }
}

} // namespace commtools
