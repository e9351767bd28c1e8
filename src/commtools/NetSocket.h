// The listening socket of the network test tool: TCP with the connections it
// accepts, or UDP with the latest sender as the reply address. It always
// listens on every local IPv4 address at the chosen port and never connects
// out; the host text only appears in the log. Everything runs on the event
// loop of the window's thread, and every step goes to the status log.
#pragma once

#include "commtools/StatusLog.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

namespace commtools {

class NetSocket : public QObject {
    Q_OBJECT
public:
    explicit NetSocket(StatusLog& log, QObject* parent = nullptr);
    ~NetSocket() override;

    // Stored only: an open socket keeps the values it was opened with.
    void SetHost(const QString& host) { host_ = host; }
    void SetPort(const QString& port) { port_ = port; }
    void SetUdp(bool udp) { udp_ = udp; }
    bool Udp() const { return udp_; }

    bool Active() const;
    // Opening that fails writes the fatal-error entry and throws its text.
    void SetActive(bool active);

    int Connections() const { return static_cast<int>(connections_.size()); }
    qint64 ReceiveBufferSize() const { return receiveBuffer_; }

    // A typed reply: over UDP one datagram to the latest sender, over TCP to
    // every accepted connection; with no peer nothing goes out.
    void SendTyped(const QByteArray& bytes);

signals:
    // Every byte that came in, raw, from every TCP connection and every
    // datagram: what the stream line and a capture file see. `connection`
    // numbers the accepted TCP connections from 1 on; 0 is a whole datagram.
    void Arrived(const QByteArray& bytes, quint64 connection);
    // A TCP connection closed, or the peer left.
    void Ended(quint64 connection);
    // UDP data for the receive display.
    void Received(const QByteArray& bytes);
    // The socket went online or offline through SetActive.
    void Opened();
    void Closed();
    // The system would not give the socket its port (another program holds
    // it, or it is a privileged one): the tool stays offline. Said before the
    // fatal entry and the error, so the window no longer shows it online.
    void Refused();

private:
    void Open();
    void Close();
    // An accepted connection's descriptor: read to its end when the peer has
    // already closed, else taken on by a socket.
    void Take(qintptr descriptor);
    // The accept entries; returns the connection's number.
    quint64 Accepted(qsizetype total);
    // What came in, to the stream line and capture and into the log.
    void Pass(const QByteArray& bytes, quint64 connection);
    QByteArray& ReadBuffer();
    void ReadConnection(QTcpSocket* connection, quint64 number);
    void ReadDatagrams();
    void LogInput(const QByteArray& bytes);
    void Entry(LogLevel level, const QString& text);
    [[noreturn]] void Fail(int code, const QString& text);

    StatusLog& log_;
    QString host_;
    QString port_ = QStringLiteral("4000");
    bool udp_ = false;

    QTcpServer* server_ = nullptr;
    QUdpSocket* udpSocket_ = nullptr;
    QList<QTcpSocket*> connections_;
    quint64 accepted_ = 0;
    qint64 receiveBuffer_ = 8192;
    QByteArray readBuffer_;
    QHostAddress replyAddress_;
    quint16 replyPort_ = 0;
};

} // namespace commtools
