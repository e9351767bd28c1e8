// One channel of the serial terminal: a port opened by device name, its
// settings, its status log and its ZModem receiver. What the port reads goes
// to the ZModem receiver first and, unless a session takes it, to the receive
// display. On Linux a port is a device path (/dev/ttyUSB0, a socat link), so
// the list holds the system's serial ports and anything the user types.
#pragma once

#include "commtools/StatusLog.h"
#include "commtools/ZModemReceiver.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace commtools {

struct PortSettings {
    qint32 baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
};

// The system's serial ports by name, in natural order (ttyS2 before ttyS10).
// Asking the system opens hundreds of files under /sys, so the list is read
// again only when the device folder changed (an adapter came or went).
QStringList SystemSerialPorts();
// Where the port lists come from; tests put pseudo-terminals in.
using PortEnumerator = std::function<QStringList()>;
PortEnumerator SetPortEnumerator(PortEnumerator enumerator);

// The folder received files go to: the user's download folder.
QString DownloadFolder();

class SerialChannel : public QObject {
    Q_OBJECT
public:
    SerialChannel(const QString& logPath, QObject* parent = nullptr);
    ~SerialChannel() override;

    // The port list, read when first asked for: a channel that is only given
    // a device path never pays for listing the system's ports.
    QStringList Ports();
    // Reads the port list again and tells the bound lists.
    void Update();

    QString PortName() const { return portName_; }
    // Switching the port of an open channel closes the old one and opens the new.
    void SetPortName(const QString& name);

    bool Active() const { return port_.isOpen(); }
    // Opening writes its status entry; a failure writes the fatal-error entry
    // and throws the error text for the general error box, both with the
    // system's reason.
    void SetActive(bool active);

    PortSettings Settings() const { return settings_; }
    // Takes effect at once on an open port.
    void SetSettings(const PortSettings& settings);

    // Writes the bytes and waits at most 100 ms for them to leave; nothing
    // happens on a closed port or with no bytes. What the device has not taken
    // by then is dropped, so a repeat towards a device that does not read
    // cannot pile up sends; the status memo says so once, and again only
    // after the device has read and a whole send got through.
    void SendString(const QByteArray& bytes);

    StatusLog& Log() { return log_; }
    ZModemReceiver& ZModem() { return zmodem_; }

signals:
    // Every byte the port read, raw and in order, before the ZModem receiver
    // and the display take theirs: what the stream line and a capture file see.
    void Arrived(const QByteArray& bytes);
    // Received bytes for the receive display (what no ZModem session took).
    void Received(const QByteArray& bytes);
    // The port opened, or closed for whatever reason (unchecked, another port
    // chosen, the device lost).
    void Opened();
    void Closed();
    void PortsChanged();
    // The device went away (an adapter pulled, the far end of a link gone):
    // the port is closed, any ZModem session aborted; it can be opened again.
    void Lost();

private:
    void ReadPort();
    void PortError(QSerialPort::SerialPortError error);
    void CloseLostPort();
    void ApplySettings();
    void Entry(const QString& text);
    void ShowHeld();

    QSerialPort port_;
    QString portName_;
    QStringList ports_;
    bool portsRead_ = false;
    bool opening_ = false;         // errors of a failing open are said by the open itself
    bool lost_ = false;            // the device went; further errors until the close say nothing new
    bool sendBacklogSaid_ = false; // dropped sends are said once until a send gets through
    PortSettings settings_;
    StatusLog log_;
    ZModemReceiver zmodem_;
    QTimer zmodemClock_;
    QTimer heldClock_; // shows what the ZModem receiver held back once the line is quiet
};

} // namespace commtools
