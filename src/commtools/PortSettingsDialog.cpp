#include "commtools/PortSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace commtools {
namespace {

QComboBox* Choices(QWidget* parent, const QString& name, const QList<std::pair<QString, int>>& items, int current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const auto& [text, value] : items) {
        box->addItem(text, value);
    }
    box->setCurrentIndex(std::max(0, box->findData(current)));
    return box;
}

} // namespace

PortSettingsDialog::PortSettingsDialog(const PortSettings& settings, const QString& portName, QWidget* parent)
    : QDialog(parent), start_(settings) {
    setWindowTitle(QStringLiteral("%1 Properties").arg(portName.isEmpty() ? QStringLiteral("Port") : portName));
    baudRate_ = new QComboBox(this);
    baudRate_->setObjectName(QStringLiteral("cbxBaudRate"));
    baudRate_->setEditable(true);
    for (int rate :
         {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200, 230400, 460800, 921600}) {
        baudRate_->addItem(QString::number(rate));
    }
    baudRate_->setCurrentText(QString::number(settings.baudRate));
    dataBits_ = Choices(
        this, QStringLiteral("cbxDataBits"),
        {{"5", QSerialPort::Data5}, {"6", QSerialPort::Data6}, {"7", QSerialPort::Data7}, {"8", QSerialPort::Data8}},
        settings.dataBits);
    parity_ = Choices(this, QStringLiteral("cbxParity"),
                      {{"None", QSerialPort::NoParity},
                       {"Even", QSerialPort::EvenParity},
                       {"Odd", QSerialPort::OddParity},
                       {"Mark", QSerialPort::MarkParity},
                       {"Space", QSerialPort::SpaceParity}},
                      settings.parity);
    stopBits_ =
        Choices(this, QStringLiteral("cbxStopBits"),
                {{"1", QSerialPort::OneStop}, {"1.5", QSerialPort::OneAndHalfStop}, {"2", QSerialPort::TwoStop}},
                settings.stopBits);
    flowControl_ = Choices(this, QStringLiteral("cbxFlowControl"),
                           {{"None", QSerialPort::NoFlowControl},
                            {"Hardware", QSerialPort::HardwareControl},
                            {"Xon / Xoff", QSerialPort::SoftwareControl}},
                           settings.flowControl);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Bits per second:"), baudRate_);
    form->addRow(QStringLiteral("Data bits:"), dataBits_);
    form->addRow(QStringLiteral("Parity:"), parity_);
    form->addRow(QStringLiteral("Stop bits:"), stopBits_);
    form->addRow(QStringLiteral("Flow control:"), flowControl_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

PortSettings PortSettingsDialog::Settings() const {
    PortSettings settings = start_;
    bool ok = false;
    const int rate = baudRate_->currentText().trimmed().toInt(&ok);
    if (ok && rate > 0) {
        settings.baudRate = rate;
    }
    settings.dataBits = static_cast<QSerialPort::DataBits>(dataBits_->currentData().toInt());
    settings.parity = static_cast<QSerialPort::Parity>(parity_->currentData().toInt());
    settings.stopBits = static_cast<QSerialPort::StopBits>(stopBits_->currentData().toInt());
    settings.flowControl = static_cast<QSerialPort::FlowControl>(flowControl_->currentData().toInt());
    return settings;
}

} // namespace commtools
