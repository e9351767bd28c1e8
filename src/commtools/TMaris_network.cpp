#include "commtools/TMaris_network.h"

#include "common/Messages.h"
#include "commtools/CaptureBox.h"
#include "commtools/DataView.h"
#include "commtools/LogView.h"
#include "commtools/NetSocket.h"
#include "commtools/StatusLog.h"
#include "commtools/StreamLine.h"
#include "kit/Dialogs.h"
#include "kit/Remembered.h"
#include "kit/WindowParts.h"
#include "ui_TMaris_network.h"

#include <QTimer>

namespace {

constexpr qsizetype kNetworkMemoLimit = 1 << 20;

} // namespace

TMaris_network::TMaris_network(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TMaris_network>()),
      log_(std::make_unique<commtools::StatusLog>(commtools::ProgramLogPath(),
                                                  commtools::StatusLog::kNetworkToolLimit)) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    // A new run never opens a device, starts a capture or sends by itself.
    kit::NotRemembered({ui->chOnline, ui->chkCaptureNet});
    kit::SetWindowButtons(this, true);

    log_->SetLevel(commtools::LogLevel::Debug);
    log_->SetTimeStamps(true);
    // The log memo lays out only the entries it shows: a burst of
    // connections or datagrams must not cost one layout per entry.
    ui->Memo1->SetLimit(kNetworkMemoLimit);
    commtools::LogView* logMemo = ui->Memo1;
    log_->SetVisualOut([logMemo](const QString& entry) { logMemo->Append(entry); });
    log_->SetErrorOut([this](const QString& error) { kit::ShowErrorAfterNotification(this, error); });

    socket_ = std::make_unique<commtools::NetSocket>(*log_);
    socket_->SetHost(ui->eHost->text());
    socket_->SetPort(ui->ePort->text());
    commtools::NetSocket* socket = socket_.get();
    // The data memo, too, lays out only the lines it shows: a sensor's
    // sentences every few milliseconds must not cost a layout each.
    commtools::DataView* dataMemo = ui->Memo2;
    dataMemo->SetSender([socket](const QByteArray& bytes) { socket->SendTyped(bytes); });
    connect(socket, &commtools::NetSocket::Received, dataMemo, &commtools::DataView::Show);
    // Neither memo may grow without bound under a peer that never stops.
    dataMemo->SetLimit(kNetworkMemoLimit);

    // The stream line reads what every connection and datagram brought, TCP
    // included, though only UDP data reaches the memo. Each TCP connection is
    // a stream of its own, in the line and in the capture: two clients'
    // pieces must not be read or written as one another's sentences. A
    // datagram is whole: its end ends a sentence.
    stream_ = std::make_unique<commtools::StreamLine>(ui->lblStreamNet);
    commtools::StreamLine* stream = stream_.get();
    auto* capture = new commtools::CaptureBox(ui->chkCaptureNet, QStringLiteral("network.log"));
    connect(socket, &commtools::NetSocket::Arrived, this,
            [stream, capture](const QByteArray& bytes, quint64 connection) {
                if (connection == 0) {
                    stream->FeedDatagram(bytes);
                    capture->Feed(bytes);
                } else {
                    stream->FeedFrom(connection, bytes);
                    capture->FeedFrom(connection, bytes);
                }
            });
    connect(socket, &commtools::NetSocket::Ended, this, [stream, capture](quint64 connection) {
        stream->End(connection);
        capture->End(connection);
    });
    connect(socket, &commtools::NetSocket::Opened, this, [stream] { stream->Start(); });
    connect(socket, &commtools::NetSocket::Closed, this, [stream] { stream->Stop(); });
    connect(socket, &commtools::NetSocket::Closed, capture, &commtools::CaptureBox::Stop);
    auto* streamClock = new QTimer(this);
    streamClock->setInterval(1000);
    connect(streamClock, &QTimer::timeout, this, [stream] { stream->Refresh(); });
    streamClock->start();

    // A port the system refuses (a second copy of the suite, a privileged
    // port) leaves the tool offline, and "Online" must not say otherwise.
    connect(socket, &commtools::NetSocket::Refused, ui->chOnline, [this] { ui->chOnline->setChecked(false); });
    connect(ui->chOnline, &QCheckBox::clicked, this, &TMaris_network::chOnlineClick);
    connect(ui->eHost, &QLineEdit::textChanged, this, &TMaris_network::eHostChange);
    connect(ui->ePort, &QLineEdit::textChanged, this, &TMaris_network::ePortChange);
    connect(ui->btn_TCPIP, &QPushButton::clicked, this, &TMaris_network::btn_TCPIPClick);
    connect(ui->btn_UDP, &QPushButton::clicked, this, &TMaris_network::btn_UDPClick);
    connect(ui->btn_Clear_Memo2, &QPushButton::clicked, this, &TMaris_network::btn_Clear_Memo2Click);
}

TMaris_network::~TMaris_network() {
    socket_.reset();
    log_->Flush();
}

void TMaris_network::chOnlineClick() {
    common::RunGuarded([&] { socket_->SetActive(ui->chOnline->isChecked()); });
}

void TMaris_network::eHostChange() { socket_->SetHost(ui->eHost->text()); }

void TMaris_network::ePortChange() { socket_->SetPort(ui->ePort->text()); }

void TMaris_network::btn_TCPIPClick() {
    ui->lbl_Host->setEnabled(true);
    ui->eHost->setText(QStringLiteral("0.0.0.0"));
    ui->lbl_Port->setEnabled(false);
    ui->ePort->setEnabled(false);
    ui->eHost->setEnabled(true);
    socket_->SetUdp(false);
}

void TMaris_network::btn_UDPClick() {
    ui->eHost->setText(QStringLiteral("255.255.255.255"));
    ui->lbl_Host->setEnabled(false);
    ui->lbl_Port->setEnabled(true);
    ui->ePort->setEnabled(true);
    ui->eHost->setEnabled(false);
    socket_->SetUdp(true);
    // Off and on again: a fresh UDP socket on the current port.
    ui->chOnline->setChecked(false);
    chOnlineClick();
    socket_->SetActive(ui->chOnline->isChecked());
    ui->chOnline->setChecked(true);
    chOnlineClick();
}

void TMaris_network::btn_Clear_Memo2Click() { ui->Memo2->clear(); }

bool TMaris_network::WorksInBackground() const { return socket_->Active() || ui->chkCaptureNet->isChecked(); }
