#include "commtools/SerialChannel.h"

#include "common/DeviceFolder.h"
#include "common/LineOutput.h"
#include "common/Messages.h"

#include <QCollator>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <mutex>

namespace commtools {
namespace {

constexpr auto kPortPrefix = "Serial";
constexpr auto kZModemPrefix = "ZModem";
constexpr int kWriteTimeoutMs = 100;

// A port name as the list shows it (ttyUSB0) or a typed device path.
QString DevicePath(const QString& name) {
    return name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

// Why a port did not open, in the system's words. QSerialPort reports a port
// that another program (or the other channel) holds as a failed lock of its
// own; the device itself is then there and usable, only busy.
QString OpenFailureReason(const QSerialPort& port, const QString& name) {
    if (port.error() != QSerialPort::PermissionError) {
        return port.errorString();
    }
    return QString::fromLocal8Bit(common::DeviceRefusal(QFile::encodeName(DevicePath(name)).toStdString()));
}

// Why an open port stopped working. The port's own text names whatever the
// system said last, which after a failed read of a vanished device is often
// an unrelated call's; a device node that is gone says it plainly.
QString LostReason(const QSerialPort& port, const QString& name) {
    if (!QFile::exists(DevicePath(name))) {
        return QString::fromLocal8Bit(common::DeviceGone());
    }
    return port.errorString();
}

PortEnumerator& Enumerator() {
    static PortEnumerator enumerator = SystemSerialPorts;
    return enumerator;
}

} // namespace

namespace {

QStringList ListSystemSerialPorts() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        names << info.portName();
    }
    names.removeDuplicates();
    QCollator natural;
    natural.setNumericMode(true);
    std::sort(names.begin(), names.end(), natural);
    return names;
}

} // namespace

QStringList SystemSerialPorts() {
    // A device node that comes or goes changes the device folder's time.
    const std::optional<std::int64_t> changed = common::DeviceFolderChangeTime();
    static std::mutex mutex;
    static QStringList cached;
    static std::optional<std::int64_t> cachedTime;
    std::lock_guard lock(mutex);
    if (!changed || changed != cachedTime) {
        cached = ListSystemSerialPorts();
        cachedTime = changed;
    }
    return cached;
}

PortEnumerator SetPortEnumerator(PortEnumerator enumerator) {
    return std::exchange(Enumerator(), std::move(enumerator));
}

QString DownloadFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty()) {
        folder = QDir::home().filePath(QStringLiteral("Downloads"));
    }
    return folder;
}

SerialChannel::SerialChannel(const QString& logPath, QObject* parent)
    : QObject(parent), log_(logPath.isEmpty() ? ProgramLogPath() : logPath, StatusLog::kSerialTerminalLimit),
      zmodem_({DownloadFolder().toStdString()}) {
    log_.SetLevel(LogLevel::Detail);
    zmodem_.SetSender([this](std::string_view bytes) { port_.write(bytes.data(), static_cast<qint64>(bytes.size())); });
    zmodem_.SetLog([this](const std::string& line) {
        log_.Add(LogLevel::Detail, QString::fromLatin1(kZModemPrefix), QString::fromStdString(line));
    });
    connect(&port_, &QSerialPort::readyRead, this, &SerialChannel::ReadPort);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialChannel::PortError);
    // The ZModem time-outs count while the line is silent, so they need a clock
    // of their own.
    connect(&zmodemClock_, &QTimer::timeout, this, [this] {
        zmodem_.Tick(ZModemReceiver::Clock::now());
        if (!zmodem_.InSession()) {
            zmodemClock_.stop();
        }
    });
    // A '*' or an "rz" CR that no header followed is the device's own data:
    // once the line is quiet it shows, so the screen never lags what came.
    heldClock_.setSingleShot(true);
    heldClock_.setInterval(ZModemReceiver::kHoldQuiet);
    connect(&heldClock_, &QTimer::timeout, this, &SerialChannel::ShowHeld);
}

void SerialChannel::ShowHeld() {
    heldClock_.stop();
    const std::string held = zmodem_.TakeHeld();
    if (!held.empty()) {
        emit Received(QByteArray(held.data(), static_cast<qsizetype>(held.size())));
    }
}

SerialChannel::~SerialChannel() {
    disconnect(&port_, nullptr, this, nullptr);
    port_.close();
    log_.Flush();
}

void SerialChannel::Entry(const QString& text) { log_.Add(LogLevel::Simple, QString::fromLatin1(kPortPrefix), text); }

QStringList SerialChannel::Ports() {
    if (!portsRead_) {
        ports_ = Enumerator()();
        portsRead_ = true;
    }
    return ports_;
}

void SerialChannel::Update() {
    const QStringList ports = Enumerator()();
    if (portsRead_ && ports == ports_) {
        return;
    }
    ports_ = ports;
    portsRead_ = true;
    emit PortsChanged();
}

void SerialChannel::SetPortName(const QString& name) {
    if (name == portName_) {
        return;
    }
    const bool wasOpen = Active();
    if (wasOpen) {
        SetActive(false);
    }
    portName_ = name;
    emit PortsChanged();
    if (wasOpen) {
        SetActive(true);
    }
}

void SerialChannel::SetActive(bool active) {
    if (active == Active()) {
        return;
    }
    if (!active) {
        port_.close();
        zmodem_.CarrierLost();
        ShowHeld();
        Entry(QStringLiteral("The port is closed succesfully"));
        emit Closed();
        return;
    }
    port_.setPortName(portName_);
    opening_ = true;
    const bool opened = !portName_.isEmpty() && port_.open(QIODevice::ReadWrite);
    opening_ = false;
    if (!opened) {
        const QString reason =
            portName_.isEmpty() ? QStringLiteral("No port chosen") : OpenFailureReason(port_, portName_);
        log_.Add(LogLevel::Simple, QString(), QStringLiteral("Fatal Error: 1, 0, %1").arg(reason));
        port_.clearError();
        throw common::UserError(QStringLiteral("Device \"%1\" Open Error !!!\r%2").arg(portName_, reason));
    }
    lost_ = false;
    sendBacklogSaid_ = false;
    ApplySettings();
    Entry(QStringLiteral("The port %1 is opened succesfully").arg(portName_));
    // Transfers cut short by a killed program left their hidden working files.
    zmodem_.RemoveStaleWorkingFiles();
    emit Opened();
}

void SerialChannel::SetSettings(const PortSettings& settings) {
    settings_ = settings;
    if (Active()) {
        ApplySettings();
    }
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
    if (settings_.flowControl != QSerialPort::HardwareControl) {
        port_.setRequestToSend(true);
    }
    port_.clearError();
}

void SerialChannel::SendString(const QByteArray& bytes) {
    if (!Active() || bytes.isEmpty()) {
        return;
    }
    const int line = static_cast<int>(port_.handle());
    // A device that took nothing of the last send has not read since while
    // its queue is still full: this send is dropped unsaid.
    if (sendBacklogSaid_ && !common::WaitForRoom(line, std::chrono::milliseconds(0))) {
        return;
    }
    const QDeadlineTimer deadline(kWriteTimeoutMs);
    const auto remaining = [&] { return std::chrono::milliseconds(std::max<qint64>(1, deadline.remainingTime())); };
    // A ZModem reply still in the port's buffer goes first; a send never
    // overtakes it.
    while (Active() && port_.bytesToWrite() > 0 && !deadline.hasExpired()) {
        port_.waitForBytesWritten(static_cast<int>(remaining().count()));
    }
    if (!Active()) {
        return;
    }
    qsizetype sent = 0;
    while (port_.bytesToWrite() == 0 && sent < bytes.size()) {
        const std::ptrdiff_t taken = common::WriteWithoutWaiting(
            line, std::string_view(bytes.constData() + sent, static_cast<std::size_t>(bytes.size() - sent)));
        if (taken < 0) {
            Entry(QStringLiteral("Communication Error 0:%1 0").arg(int(QSerialPort::WriteError)));
            return;
        }
        sent += taken;
        if (sent < bytes.size() && (deadline.hasExpired() || !common::WaitForRoom(line, remaining()))) {
            break;
        }
    }
    if (sent == bytes.size()) {
        sendBacklogSaid_ = false;
        return;
    }
    // What the device has not taken is dropped, not kept for later: a
    // repeated send must not pile up behind a device that does not read. What
    // the queue holds stays there for the device, so the queue empties, and
    // sends get through again, only when the device reads.
    if (!std::exchange(sendBacklogSaid_, true)) {
        Entry(QStringLiteral("Write time-out: the device takes no data, %1 bytes dropped").arg(bytes.size() - sent));
    }
}

void SerialChannel::ReadPort() {
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty()) {
        return;
    }
    emit Arrived(bytes);
    const std::string shown = zmodem_.Receive(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), ZModemReceiver::Clock::now());
    if (zmodem_.InSession() && !zmodemClock_.isActive()) {
        // Fine enough that a time-out is seen within a quarter of its length.
        const auto timeout = zmodem_.settings().timeout.count();
        zmodemClock_.start(static_cast<int>(std::clamp<long long>(timeout / 4, 10, 1000)));
    }
    if (!shown.empty()) {
        emit Received(QByteArray(shown.data(), static_cast<qsizetype>(shown.size())));
    }
    if (zmodem_.Holding()) {
        heldClock_.start();
    } else {
        heldClock_.stop();
    }
}

void SerialChannel::PortError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // DTR/RTS on a pseudo-terminal
    case QSerialPort::TimeoutError:              // reported by the send, not here
        return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        // A pulled adapter or a vanished pseudo-terminal is reported again and
        // again for as long as the port stays open: the device is gone.
        if (!port_.isOpen() || std::exchange(lost_, true)) {
            return;
        }
        log_.Add(
            LogLevel::Simple, QString(),
            QStringLiteral("Fatal Error: 1, 0, Device \"%1\" lost: %2").arg(portName_, LostReason(port_, portName_)));
        zmodem_.CarrierLost();
        // Closed once the port's own notification has returned.
        QMetaObject::invokeMethod(this, &SerialChannel::CloseLostPort, Qt::QueuedConnection);
        return;
    default:
        if (opening_) {
            return;
        }
        // The line states are not asked here: on a pseudo-terminal asking
        // fails, and that failure would come straight back to this handler.
        Entry(QStringLiteral("Communication Error %1:0 0").arg(int(error)));
        port_.clearError();
        return;
    }
}

void SerialChannel::CloseLostPort() {
    if (!lost_ || !port_.isOpen()) {
        return;
    }
    port_.close();
    port_.clearError();
    ShowHeld();
    emit Closed();
    emit Lost();
}

} // namespace commtools
