#include "commtools/SerialChannel.h"

#include <QCollator>
#include <QDir>
#include <QSerialPortInfo>
#include <QStandardPaths>

namespace commtools {
namespace {

constexpr auto kPortPrefix = "Serial";
constexpr auto kZModemPrefix = "ZModem";
constexpr int kWriteTimeoutMs = 100;

PortEnumerator& Enumerator() {
    static PortEnumerator enumerator = SystemSerialPorts;
    return enumerator;
}

} // namespace

QStringList SystemSerialPorts() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    names.removeDuplicates();
    QCollator natural;
    natural.setNumericMode(true);
    std::sort(names.begin(), names.end(), natural);
    return names;
}

PortEnumerator SetPortEnumerator(PortEnumerator enumerator) {
    return std::exchange(Enumerator(), std::move(enumerator));
}

QString DownloadFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::home().filePath(QStringLiteral("Downloads"));
    return folder;
}

SerialChannel::SerialChannel(const QString& logPath, QObject* parent)
    : QObject(parent), log_(logPath.isEmpty() ? ProgramLogPath() : logPath, StatusLog::kSerialTerminalLimit),
      zmodem_({DownloadFolder().toStdString()}) {
    log_.SetLevel(LogLevel::Detail);
    zmodem_.sendToPeer = [this](std::string_view bytes) {
        port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    };
    zmodem_.log = [this](const std::string& line) {
        log_.Add(LogLevel::Detail, QString::fromLatin1(kZModemPrefix), QString::fromStdString(line));
    };
    connect(&port_, &QSerialPort::readyRead, this, &SerialChannel::ReadPort);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialChannel::PortError);
    // The ZModem time-outs count while the line is silent, so they need a clock
    // of their own.
    zmodemClock_.setInterval(1000);
    connect(&zmodemClock_, &QTimer::timeout, this, [this] {
        zmodem_.Tick(ZModemReceiver::Clock::now());
        if (!zmodem_.InSession())
            zmodemClock_.stop();
    });
    ports_ = Enumerator()();
}

SerialChannel::~SerialChannel() {
    disconnect(&port_, nullptr, this, nullptr);
    port_.close();
    log_.Flush();
}

void SerialChannel::Entry(const QString& text) {
    log_.Add(LogLevel::Simple, QString::fromLatin1(kPortPrefix), text);
}

void SerialChannel::Update() {
    const QStringList ports = Enumerator()();
    if (ports == ports_)
        return;
    ports_ = ports;
    emit PortsChanged();
}

void SerialChannel::SetPortName(const QString& name) {
    if (name == portName_)
        return;
    const bool wasOpen = Active();
    if (wasOpen)
        SetActive(false);
    portName_ = name;
    emit PortsChanged();
    if (wasOpen)
        SetActive(true);
}

void SerialChannel::SetActive(bool active) {
    if (active == Active())
        return;
    if (!active) {
        port_.close();
        zmodem_.CarrierLost();
        Entry(QStringLiteral("The port is closed succesfully"));
        return;
    }
    port_.setPortName(portName_);
    if (portName_.isEmpty() || !port_.open(QIODevice::ReadWrite)) {
        const QString reason = portName_.isEmpty() ? QStringLiteral("No port chosen") : port_.errorString();
        log_.Add(LogLevel::Simple, QString(), QStringLiteral("Fatal Error: 1, 0, %1").arg(reason));
        port_.clearError();
        throw std::runtime_error(
            QStringLiteral("Device \"%1\" Open Error !!!\r%2").arg(portName_, reason).toStdString());
    }
    ApplySettings();
    Entry(QStringLiteral("The port %1 is opened succesfully").arg(portName_));
}

void SerialChannel::SetSettings(const PortSettings& settings) {
    settings_ = settings;
    if (Active())
        ApplySettings();
}

void SerialChannel::ApplySettings() {
    port_.setBaudRate(settings_.baudRate);
    port_.setDataBits(settings_.dataBits);
    port_.setParity(settings_.parity);
    port_.setStopBits(settings_.stopBits);
    port_.setFlowControl(settings_.flowControl);
    // DTR and RTS held on, as a data logger expects; a pseudo-terminal has
    // neither line, which is no fault of the channel.
    port_.setDataTerminalReady(true);
    if (settings_.flowControl != QSerialPort::HardwareControl)
        port_.setRequestToSend(true);
    port_.clearError();
}

void SerialChannel::SendString(const QByteArray& bytes) {
    if (!Active() || bytes.isEmpty())
        return;
    if (port_.write(bytes) != bytes.size() || !port_.waitForBytesWritten(kWriteTimeoutMs)) {
        // Bytes already handed to the system (a pty without a reader) are not lost.
        if (port_.bytesToWrite() == 0)
            return;
        Entry(QStringLiteral("Communication Error 0:%1 0").arg(int(port_.error())));
        port_.clearError();
    }
}

void SerialChannel::ReadPort() {
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty())
        return;
    const std::string shown = zmodem_.Receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                              ZModemReceiver::Clock::now());
    if (zmodem_.InSession() && !zmodemClock_.isActive())
        zmodemClock_.start();
    if (!shown.empty())
        emit Received(QByteArray(shown.data(), static_cast<qsizetype>(shown.size())));
}

void SerialChannel::PortError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // DTR/RTS on a pseudo-terminal
    case QSerialPort::TimeoutError:              // reported by the send, not here
        return;
    case QSerialPort::ResourceError:
        // The device went away (a USB adapter pulled): the carrier is lost.
        Entry(QStringLiteral("Communication Error %1:0 0").arg(int(error)));
        zmodem_.CarrierLost();
        port_.close();
        return;
    default:
        // The line states are not asked here: on a pseudo-terminal asking
        // fails, and that failure would come straight back to this handler.
        Entry(QStringLiteral("Communication Error %1:0 0").arg(int(error)));
        port_.clearError();
        return;
    }
}

} // namespace commtools
