// Serial test terminal: two alike channels side by side, each with a port, a
// receive memo that acts as the device's screen, a status memo fed by the
// channel's status log, and a transmit panel that sends a line once or every
// interval. ZModem downloads arrive through the receive path. Closing the
// window only hides it while a port is open, a capture or a repeat runs: they
// go on until the program ends. Closed with nothing running, it goes.
#pragma once

#include "kit/BackgroundWork.h"

#include <QElapsedTimer>
#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace Ui {
class TMaris_terminal;
}

namespace commtools {
class CaptureBox;
class LogDisplay;
class ReceiveDisplay;
class SerialChannel;
class StreamLine;
struct TransferProgress;
} // namespace commtools

class TMaris_terminal : public QWidget, public kit::BackgroundWork {
    Q_OBJECT
public:
    explicit TMaris_terminal(QWidget* parent = nullptr);
    ~TMaris_terminal() override;

    commtools::SerialChannel& serialPort1() { return *channels_[0].port; }
    commtools::SerialChannel& serialPort2() { return *channels_[1].port; }

    // The form's handlers, by the controls' names (scripts and tests use them);
    // each one hands its port's channel to what it does.
    void FormShow();
    void chkActive1Click();
    void ChkActive2Click();
    void Button1Click();
    void Button2Click();
    void portBox1Change();
    void portBox2Change();
    void COM1ClearClick();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void btn1SendClick();
    void btn2SendClick();
    void Timer1Timer();
    void Timer2Timer();
    void ckbContinuous1Click();
    void ckbContinuous2Click();
    void btnBreak1Click();
    void btnBreak2Click();
    void Edit3Change();
    void Edit1Change();

    bool WorksInBackground() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls and objects of one channel, so both run the same code.
    struct Channel {
        std::unique_ptr<commtools::SerialChannel> port{};
        commtools::ReceiveDisplay* display = nullptr;
        commtools::LogDisplay* status = nullptr;
        QTimer* timer = nullptr;
        bool repeating = false; // the timer is on; an interval of 0 keeps it from firing
        QCheckBox* active = nullptr;
        QComboBox* portBox = nullptr;
        QPlainTextEdit* receiveMemo = nullptr;
        QPlainTextEdit* statusMemo = nullptr;
        QLineEdit* sendEdit = nullptr;
        QPushButton* breakButton = nullptr;
        QCheckBox* append = nullptr;
        QCheckBox* continuous = nullptr;
        QLineEdit* interval = nullptr;
        QLabel* streamLabel = nullptr;
        QProgressBar* progressBar = nullptr;
        QLabel* progressLabel = nullptr;
        QCheckBox* captureBox = nullptr;
        commtools::CaptureBox* capture = nullptr;
        std::unique_ptr<commtools::StreamLine> stream{};
        QElapsedTimer progressShown{}; // when the progress text was last set
        int shownPercent = -2;         // the percent the text shows
    };

    void SetUpChannel(Channel& channel);
    void ActiveClick(Channel& channel);
    void ConfigurePort(Channel& channel);
    void PortChange(Channel& channel);
    void Send(Channel& channel);
    void ContinuousClick(Channel& channel);
    void BreakClick(Channel& channel);
    void SetSendInterval(Channel& channel);
    void ClearReceived(Channel& channel);
    void ClearStatus(Channel& channel);
    void RunTimer(Channel& channel);
    void FillPortList(Channel& channel);
    void ShowProgress(Channel& channel, const commtools::TransferProgress& progress);

    std::unique_ptr<Ui::TMaris_terminal> ui;
    std::array<Channel, 2> channels_;
    QTimer* deviceWatch_ = nullptr;
    // Refreshes both channels' stream lines once a second.
    QTimer* streamClock_ = nullptr;
};
