#include "commtools/TMaris_terminal.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"
#include "commtools/CaptureBox.h"
#include "commtools/PortSettingsDialog.h"
#include "commtools/ReceiveDisplay.h"
#include "commtools/SerialChannel.h"
#include "commtools/StreamLine.h"
#include "kit/Dialogs.h"
#include "kit/Remembered.h"
#include "kit/WindowParts.h"
#include "ui_TMaris_terminal.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace {

// What each memo keeps: enough for hours of NMEA, bounded for a shift.
constexpr qsizetype kTerminalMemoLimit = 1 << 20;

} // namespace

TMaris_terminal::TMaris_terminal(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TMaris_terminal>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    // A new run never opens a device, starts a capture or sends by itself.
    kit::NotRemembered(
        {ui->chkActive1, ui->ChkActive2, ui->chkCapture1, ui->chkCapture2, ui->ckbContinuous1, ui->ckbContinuous2});
    kit::SetWindowButtons(this, true);
    ui->UpDown1->Associate(ui->Edit3);
    ui->UpDown2->Associate(ui->Edit1);

    channels_[0] = {.active = ui->chkActive1,
                    .portBox = ui->portBox1,
                    .receiveMemo = ui->Memo1,
                    .statusMemo = ui->Memo2,
                    .sendEdit = ui->edt1Send,
                    .breakButton = ui->btnBreak1,
                    .append = ui->ckbAppend1,
                    .continuous = ui->ckbContinuous1,
                    .interval = ui->Edit3,
                    .streamLabel = ui->lblStream1,
                    .progressBar = ui->pbZModem1,
                    .progressLabel = ui->lblZModem1,
                    .captureBox = ui->chkCapture1};
    channels_[1] = {.active = ui->ChkActive2,
                    .portBox = ui->portBox2,
                    .receiveMemo = ui->Memo3,
                    .statusMemo = ui->Memo4,
                    .sendEdit = ui->edt2Send,
                    .breakButton = ui->btnBreak2,
                    .append = ui->ckbAppend2,
                    .continuous = ui->ckbContinuous2,
                    .interval = ui->Edit1,
                    .streamLabel = ui->lblStream2,
                    .progressBar = ui->pbZModem2,
                    .progressLabel = ui->lblZModem2,
                    .captureBox = ui->chkCapture2};
    for (Channel& channel : channels_) {
        SetUpChannel(channel);
    }
    // Channel 1 and 2 start on the first and second port the system lists.
    for (int n = 0; n < 2; ++n) {
        const QStringList ports = channels_[n].port->Ports();
        if (n < ports.size()) {
            channels_[n].port->SetPortName(ports[n]);
        }
        FillPortList(channels_[n]);
    }

    connect(ui->chkActive1, &QCheckBox::clicked, this, &TMaris_terminal::chkActive1Click);
    connect(ui->ChkActive2, &QCheckBox::clicked, this, &TMaris_terminal::ChkActive2Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TMaris_terminal::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TMaris_terminal::Button2Click);
    connect(ui->portBox1, &QComboBox::textActivated, this, &TMaris_terminal::portBox1Change);
    connect(ui->portBox2, &QComboBox::textActivated, this, &TMaris_terminal::portBox2Change);
    connect(ui->COM1Clear, &QPushButton::clicked, this, &TMaris_terminal::COM1ClearClick);
    connect(ui->Button3, &QPushButton::clicked, this, &TMaris_terminal::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TMaris_terminal::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TMaris_terminal::Button5Click);
    connect(ui->btn1Send, &QPushButton::clicked, this, &TMaris_terminal::btn1SendClick);
    connect(ui->btn2Send, &QPushButton::clicked, this, &TMaris_terminal::btn2SendClick);
    connect(channels_[0].timer, &QTimer::timeout, this, &TMaris_terminal::Timer1Timer);
    connect(channels_[1].timer, &QTimer::timeout, this, &TMaris_terminal::Timer2Timer);
    connect(ui->ckbContinuous1, &QCheckBox::clicked, this, &TMaris_terminal::ckbContinuous1Click);
    connect(ui->ckbContinuous2, &QCheckBox::clicked, this, &TMaris_terminal::ckbContinuous2Click);
    connect(ui->btnBreak1, &QPushButton::clicked, this, &TMaris_terminal::btnBreak1Click);
    connect(ui->btnBreak2, &QPushButton::clicked, this, &TMaris_terminal::btnBreak2Click);
    connect(ui->Edit3, &QLineEdit::textChanged, this, &TMaris_terminal::Edit3Change);
    connect(ui->Edit1, &QLineEdit::textChanged, this, &TMaris_terminal::Edit1Change);

    // Adapters come and go; only channel 1's list follows them.
    deviceWatch_ = new QTimer(this);
    deviceWatch_->setInterval(1000);
    connect(deviceWatch_, &QTimer::timeout, this, [this] { channels_[0].port->Update(); });
    deviceWatch_->start();
    connect(channels_[0].port.get(), &commtools::SerialChannel::PortsChanged, this,
            [this] { FillPortList(channels_[0]); });

    streamClock_ = new QTimer(this);
    streamClock_->setInterval(1000);
    connect(streamClock_, &QTimer::timeout, this, [this] {
        for (Channel& channel : channels_) {
            channel.stream->Refresh();
        }
    });
    streamClock_->start();
}

TMaris_terminal::~TMaris_terminal() = default;

void TMaris_terminal::SetUpChannel(Channel& channel) {
    channel.port = std::make_unique<commtools::SerialChannel>(QString());
    commtools::SerialChannel* port = channel.port.get();
    channel.display = new commtools::ReceiveDisplay(channel.receiveMemo,
                                                    [port](const QByteArray& bytes) { port->SendString(bytes); });
    connect(port, &commtools::SerialChannel::Received, channel.display, &commtools::ReceiveDisplay::Show);
    // The stream line reads the raw bytes, ZModem frames included: during a
    // download it gives the line's byte rate.
    channel.stream = std::make_unique<commtools::StreamLine>(channel.streamLabel);
    commtools::StreamLine* stream = channel.stream.get();
    connect(port, &commtools::SerialChannel::Arrived, this, [stream](const QByteArray& bytes) { stream->Feed(bytes); });
    connect(port, &commtools::SerialChannel::Opened, this, [stream] { stream->Start(); });
    connect(port, &commtools::SerialChannel::Closed, this, [stream] { stream->Stop(); });
    const int number = static_cast<int>(&channel - channels_.data()) + 1;
    channel.capture = new commtools::CaptureBox(channel.captureBox, QStringLiteral("channel%1.log").arg(number));
    connect(port, &commtools::SerialChannel::Arrived, channel.capture, &commtools::CaptureBox::Feed);
    connect(port, &commtools::SerialChannel::Closed, channel.capture, &commtools::CaptureBox::Stop);
    // A device that streams for days must not eat the memory.
    channel.display->SetLimit(kTerminalMemoLimit);
    auto* status = channel.status = new commtools::LogDisplay(channel.statusMemo, kTerminalMemoLimit);
    port->Log().SetVisualOut([status](const QString& entry) { status->Append(entry); });
    // A lost device closed the port: the box shows it, and a click opens it again.
    QCheckBox* active = channel.active;
    connect(port, &commtools::SerialChannel::Lost, active, [active] { active->setChecked(false); });
    port->Log().SetErrorOut([this](const QString& error) { kit::ShowErrorAfterNotification(this, error); });
    channel.statusMemo->setPlainText(QString());
    // A download shows its progress in the free corner of the transmit panel
    // while it runs; the engine calls on this thread, from the port's reads.
    channel.progressBar->hide();
    channel.progressLabel->hide();
    port->ZModem().SetProgress(
        [this, &channel](const commtools::TransferProgress& progress) { ShowProgress(channel, progress); });
    channel.timer = new QTimer(this);
    channel.timer->setInterval(500);
}

void TMaris_terminal::FillPortList(Channel& channel) {
    QSignalBlocker blocker(channel.portBox);
    QStringList names = channel.port->Ports();
    const QString current = channel.port->PortName();
    // A typed device path stays in the list while it is the channel's port.
    if (!current.isEmpty() && !names.contains(current)) {
        names << current;
    }
    channel.portBox->clear();
    channel.portBox->addItems(names);
    channel.portBox->setCurrentIndex(names.indexOf(current));
}

void TMaris_terminal::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TMaris_terminal::FormShow() {
    QSignalBlocker blocker(ui->chkActive1);
    ui->chkActive1->setChecked(channels_[0].port->Active());
}

void TMaris_terminal::ActiveClick(Channel& channel) {
    common::RunGuarded([&] { channel.port->SetActive(channel.active->isChecked()); });
}

void TMaris_terminal::ConfigurePort(Channel& channel) {
    commtools::PortSettingsDialog dialog(channel.port->Settings(), channel.port->PortName(), this);
    if (dialog.exec() == QDialog::Accepted) {
        channel.port->SetSettings(dialog.Settings());
    }
}

void TMaris_terminal::PortChange(Channel& channel) {
    const QString name = channel.portBox->currentText().trimmed();
    common::RunGuarded([&] { channel.port->SetPortName(name); });
    FillPortList(channel);
    // The entries of the switch would only clutter a fresh start on the new port.
    channel.receiveMemo->clear();
    channel.status->Clear();
}

void TMaris_terminal::Send(Channel& channel) {
    QString text = channel.sendEdit->text();
    if (channel.append->isChecked()) {
        text += QStringLiteral("\r\n");
    }
    channel.port->SendString(common::EncodeWindows1252(text));
}

void TMaris_terminal::ShowProgress(Channel& channel, const commtools::TransferProgress& progress) {
    // The text is set when the percent moves and otherwise a few times a
    // second: a fast line brings a subpacket every fraction of a millisecond.
    constexpr qint64 kTextEveryMs = 250;
    if (!progress.arriving) {
        channel.progressBar->hide();
        channel.progressLabel->hide();
        channel.progressLabel->clear();
        channel.shownPercent = -2;
        return;
    }
    const int percent = commtools::ProgressPercent(progress);
    if (percent < 0) {
        channel.progressBar->setRange(0, 0); // no size announced, or more came than it said: a busy bar
    } else {
        channel.progressBar->setRange(0, 100);
        channel.progressBar->setValue(percent);
    }
    if (percent != channel.shownPercent || !channel.progressShown.isValid() ||
        channel.progressShown.elapsed() >= kTextEveryMs) {
        channel.progressLabel->setText(QString::fromStdString(commtools::ProgressText(progress)));
        channel.shownPercent = percent;
        channel.progressShown.start();
    }
    channel.progressBar->show();
    channel.progressLabel->show();
}

void TMaris_terminal::RunTimer(Channel& channel) {
    if (channel.repeating && channel.timer->interval() > 0) {
        channel.timer->start();
    } else {
        channel.timer->stop();
    }
}

void TMaris_terminal::ContinuousClick(Channel& channel) {
    if (channel.continuous->isChecked()) {
        channel.repeating = true;
        channel.breakButton->setEnabled(true);
    } else {
        BreakClick(channel);
        channel.breakButton->setEnabled(false);
    }
    RunTimer(channel);
}

void TMaris_terminal::BreakClick(Channel& channel) {
    channel.repeating = false;
    RunTimer(channel);
}

void TMaris_terminal::SetSendInterval(Channel& channel) {
    common::RunGuarded([&] {
        const int interval = common::ParseInt(channel.interval->text().toStdString());
        channel.timer->setInterval(std::max(0, interval));
        RunTimer(channel);
    });
}

void TMaris_terminal::ClearReceived(Channel& channel) { channel.receiveMemo->clear(); }

void TMaris_terminal::ClearStatus(Channel& channel) { channel.status->Clear(); }

void TMaris_terminal::chkActive1Click() { ActiveClick(channels_[0]); }
void TMaris_terminal::ChkActive2Click() { ActiveClick(channels_[1]); }
void TMaris_terminal::Button1Click() { ConfigurePort(channels_[0]); }
void TMaris_terminal::Button2Click() { ConfigurePort(channels_[1]); }
void TMaris_terminal::portBox1Change() { PortChange(channels_[0]); }
void TMaris_terminal::portBox2Change() { PortChange(channels_[1]); }
void TMaris_terminal::COM1ClearClick() { ClearReceived(channels_[0]); }
void TMaris_terminal::Button3Click() { ClearReceived(channels_[1]); }
void TMaris_terminal::Button4Click() { ClearStatus(channels_[0]); }
void TMaris_terminal::Button5Click() { ClearStatus(channels_[1]); }
void TMaris_terminal::btn1SendClick() { Send(channels_[0]); }
void TMaris_terminal::btn2SendClick() { Send(channels_[1]); }
bool TMaris_terminal::WorksInBackground() const {
    return std::any_of(channels_.begin(), channels_.end(), [](const Channel& channel) {
        return channel.port->Active() || channel.repeating || channel.captureBox->isChecked();
    });
}

void TMaris_terminal::Timer1Timer() { Send(channels_[0]); }
void TMaris_terminal::Timer2Timer() { Send(channels_[1]); }
void TMaris_terminal::ckbContinuous1Click() { ContinuousClick(channels_[0]); }
void TMaris_terminal::ckbContinuous2Click() { ContinuousClick(channels_[1]); }
void TMaris_terminal::btnBreak1Click() { BreakClick(channels_[0]); }
void TMaris_terminal::btnBreak2Click() { BreakClick(channels_[1]); }
void TMaris_terminal::Edit3Change() { SetSendInterval(channels_[0]); }
void TMaris_terminal::Edit1Change() { SetSendInterval(channels_[1]); }
