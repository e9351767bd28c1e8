// Network test tool: listens on one local port by TCP or UDP, shows what
// arrives over UDP in the data memo (where typed keys go back to the latest
// sender) and the socket layer's log below it. "Online" opens and closes the
// socket; "UDP" always leaves the tool online with a fresh UDP socket, and
// "TCP/IP" takes effect at the next "Online". Closing the window only hides it
// while it is online or captures; closed offline, it goes.
#pragma once

#include "kit/BackgroundWork.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TMaris_network;
}

namespace commtools {
class NetSocket;
class StatusLog;
class StreamLine;
} // namespace commtools

class TMaris_network : public QWidget, public kit::BackgroundWork {
    Q_OBJECT
public:
    explicit TMaris_network(QWidget* parent = nullptr);
    ~TMaris_network() override;

    commtools::NetSocket& netSocket1() { return *socket_; }

    void chOnlineClick();
    void eHostChange();
    void ePortChange();
    void btn_TCPIPClick();
    void btn_UDPClick();
    void btn_Clear_Memo2Click();

    bool WorksInBackground() const override;

private:
    std::unique_ptr<Ui::TMaris_network> ui;
    std::unique_ptr<commtools::StatusLog> log_;
    std::unique_ptr<commtools::NetSocket> socket_;
    std::unique_ptr<commtools::StreamLine> stream_;
};
