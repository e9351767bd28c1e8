#include "commtools/PortSettingsDialog.h"

#include "common/NumberFormat.h"
#include "ui_PortSettingsDialog.h"

#include <algorithm>
#include <array>

namespace commtools {
namespace {

// What each list's rows stand for, in the form's order.
constexpr std::array kDataBits{QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8};
constexpr std::array kParities{QSerialPort::NoParity, QSerialPort::EvenParity, QSerialPort::OddParity,
                               QSerialPort::MarkParity, QSerialPort::SpaceParity};
constexpr std::array kStopBits{QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
constexpr std::array kFlowControls{QSerialPort::NoFlowControl, QSerialPort::HardwareControl,
                                   QSerialPort::SoftwareControl};

// The row of a value; the first row for a value the list does not have.
template <typename Value, std::size_t N> int RowOf(const std::array<Value, N>& rows, Value value) {
    const auto found = std::find(rows.begin(), rows.end(), value);
    return found == rows.end() ? 0 : static_cast<int>(found - rows.begin());
}

template <typename Value, std::size_t N> Value ValueAt(const std::array<Value, N>& rows, const QComboBox* list) {
    return rows[static_cast<std::size_t>(std::clamp(list->currentIndex(), 0, static_cast<int>(N) - 1))];
}

} // namespace

PortSettingsDialog::PortSettingsDialog(const PortSettings& settings, const QString& portName, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::PortSettingsDialog>()), start_(settings) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("%1 Properties").arg(portName.isEmpty() ? QStringLiteral("Port") : portName));
    ui->cbxBaudRate->setCurrentText(QString::number(settings.baudRate));
    ui->cbxDataBits->setCurrentIndex(RowOf(kDataBits, settings.dataBits));
    ui->cbxParity->setCurrentIndex(RowOf(kParities, settings.parity));
    ui->cbxStopBits->setCurrentIndex(RowOf(kStopBits, settings.stopBits));
    ui->cbxFlowControl->setCurrentIndex(RowOf(kFlowControls, settings.flowControl));
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PortSettingsDialog::~PortSettingsDialog() = default;

PortSettings PortSettingsDialog::Settings() const {
    PortSettings settings = start_;
    std::int32_t rate = 0;
    if (common::TryParseInt(ui->cbxBaudRate->currentText().trimmed().toStdString(), rate) && rate > 0) {
        settings.baudRate = rate;
    }
    settings.dataBits = ValueAt(kDataBits, ui->cbxDataBits);
    settings.parity = ValueAt(kParities, ui->cbxParity);
    settings.stopBits = ValueAt(kStopBits, ui->cbxStopBits);
    settings.flowControl = ValueAt(kFlowControls, ui->cbxFlowControl);
    return settings;
}

} // namespace commtools
