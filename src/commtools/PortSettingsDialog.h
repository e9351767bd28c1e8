// The settings of a serial port as the surveyor sets them for a device: baud
// rate, data bits, parity, stop bits and flow control.
#pragma once

#include "commtools/SerialChannel.h"

#include <QDialog>
#include <memory>

namespace Ui {
class PortSettingsDialog;
}

namespace commtools {

class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    PortSettingsDialog(const PortSettings& settings, const QString& portName, QWidget* parent = nullptr);
    ~PortSettingsDialog() override;

    // The settings as the fields show them; a baud rate that is no whole
    // positive number keeps the one the dialog started with.
    PortSettings Settings() const;

private:
    std::unique_ptr<Ui::PortSettingsDialog> ui;
    PortSettings start_;
};

} // namespace commtools
