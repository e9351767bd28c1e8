// The settings of a serial port as the surveyor sets them for a device: baud
// rate, data bits, parity, stop bits and flow control.
#pragma once

#include "commtools/SerialChannel.h"

#include <QDialog>

class QComboBox;

namespace commtools {

class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    PortSettingsDialog(const PortSettings& settings, const QString& portName, QWidget* parent = nullptr);

    // The settings as the fields show them; a baud rate that is no whole
    // positive number keeps the one the dialog started with.
    PortSettings Settings() const;

private:
    PortSettings start_;
    QComboBox* baudRate_;
    QComboBox* dataBits_;
    QComboBox* parity_;
    QComboBox* stopBits_;
    QComboBox* flowControl_;
};

} // namespace commtools
