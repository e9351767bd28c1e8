// The serial terminal window on real pseudo-terminal pairs: socat joins two
// ptys, the window opens one end and the test plays the device on the other.
#include "commtools/TMaris_terminal.h"
#include "commtools/PortSettingsDialog.h"
#include "commtools/SerialChannel.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "support/PtyPair.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The controls of one channel; both channels run the same code behind alike controls.
struct ChannelControls {
    const char *portBox, *active, *sendEdit, *continuous, *breakButton, *interval;
};
constexpr ChannelControls kChannels[] = {
    {"portBox1", "chkActive1", "edt1Send", "ckbContinuous1", "btnBreak1", "Edit3"},
    {"portBox2", "ChkActive2", "edt2Send", "ckbContinuous2", "btnBreak2", "Edit1"},
};

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// A shown window with no system ports listed and channel 1's pair ready.
class TMaris_terminalWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(pty.Start(), QString());
        window.show();
        MessageLog::Take();
    }
    void Open(const ChannelControls& channel, const PtyPair& pair) {
        ui.SetText(channel.portBox, pair.Near());
        ui.Click(channel.active);
        ASSERT_EQ(ui.Text(channel.active), "checked");
        ASSERT_TRUE(MessageLog::Take().isEmpty());
    }
    void OpenChannel1(const PtyPair& pair) { Open(kChannels[0], pair); }
    void SetAppend(bool on) {
        if ((ui.Text("ckbAppend1") == "checked") != on)
            ui.Click("ckbAppend1");
    }
    // How many "p\r\n" lines the repeat sends within `ms`.
    static int SendsWithin(PtyPair& pair, int ms) { return int(pair.ReadFor(ms).count("p\r\n")); }
    int SendsWithin(int ms) { return SendsWithin(pty, ms); }

    FixedPorts ports;
    PtyPair pty;
    TMaris_terminal window;
    support::Controls ui{&window};
};

} // namespace

TEST_F(TMaris_terminalWindow, SendWritesTheTextAsWindows1252WithTheOptionalLineEnd) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    pty.ReadFor(100);
    struct Case {
        QString text;
        bool append;
        QByteArray sent;
    };
    const Case cases[] = {
        {QString(), true, QByteArray("\r\n")},
        {QString(), false, QByteArray()},
        {QStringLiteral("\u00B0C"), true,
         QByteArray("\xB0"
                    "C\r\n")},
        {QStringLiteral("$GPZDA"), false, QByteArray("$GPZDA")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + (c.append ? " with CR LF" : ""));
        SetAppend(c.append);
        ui.SetText("edt1Send", c.text);
        ui.Click("btn1Send");
        EXPECT_EQ(c.sent.isEmpty() ? pty.ReadFor(300) : pty.Read(c.sent.size()), c.sent);
    }
    // What is sent is not echoed on the screen.
    EXPECT_EQ(ui.Text("Memo1"), QString());
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TMaris_terminalWindow, ReceivedBytesAreTypedAtTheCaret) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    auto* memo = ui.Get<QPlainTextEdit>("Memo1");
    memo->setPlainText(QStringLiteral("<>"));
    QTextCursor caret = memo->textCursor();
    caret.setPosition(1);
    memo->setTextCursor(caret);
    struct Step {
        QByteArray bytes;
        QString shown;
    };
    const Step steps[] = {
        {QByteArray("abc"), QStringLiteral("<abc>")},        {QByteArray("\b"), QStringLiteral("<ab>")},
        {QByteArray("x\0y\0", 4), QStringLiteral("<abxy>")}, {QByteArray("1\r\n2"), QStringLiteral("<abxy1\n2>")},
        {QByteArray("\r"), QStringLiteral("<abxy1\n2\n>")},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.shown.toStdString());
        ASSERT_NO_FATAL_FAILURE(pty.Write(step.bytes));
        EXPECT_TRUE(support::WaitForText(memo, step.shown, std::chrono::seconds(3))) << ui.Text("Memo1").toStdString();
    }
}

TEST_F(TMaris_terminalWindow, TypedKeysGoToAnOpenPortOnly) {
    ui.SetText("portBox1", pty.Near());
    // Closed: the memo takes the key as any edit does, and nothing is sent.
    ui.Key("Memo1", "A");
    EXPECT_EQ(ui.Text("Memo1"), "A");
    ui.Click("chkActive1");
    ASSERT_TRUE(window.serialPort1().Active());
    pty.ReadFor(100);
    ui.Key("Memo1", "B");
    EXPECT_EQ(pty.Read(1), QByteArray("B"));
    EXPECT_EQ(ui.Text("Memo1"), "AB");
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TMaris_terminalWindow, RepeatSendsEveryIntervalUntilBreakOrUnchecked) {
    for (const ChannelControls& channel : kChannels) {
        SCOPED_TRACE(channel.continuous);
        PtyPair pair;
        ASSERT_EQ(pair.Start(), QString());
        ASSERT_NO_FATAL_FAILURE(Open(channel, pair));
        ui.SetText(channel.sendEdit, QStringLiteral("p"));
        ui.SetText(channel.interval, QStringLiteral("200"));
        ui.Click(channel.continuous);
        const auto* breakButton = ui.Get<QPushButton>(channel.breakButton);
        EXPECT_TRUE(breakButton->isEnabled());
        const int sends = SendsWithin(pair, 1000);
        EXPECT_GE(sends, 3);
        EXPECT_LE(sends, 7);

        // Break stops the repeat but leaves the box checked and itself usable;
        // a new interval does not start it again.
        ui.Click(channel.breakButton);
        pair.ReadFor(50);
        ui.SetText(channel.interval, QStringLiteral("150"));
        EXPECT_EQ(SendsWithin(pair, 600), 0);
        EXPECT_EQ(ui.Text(channel.continuous), "checked");
        EXPECT_TRUE(breakButton->isEnabled());

        // Unchecking disables Break; checking again restarts.
        ui.Click(channel.continuous);
        EXPECT_FALSE(breakButton->isEnabled());
        EXPECT_EQ(SendsWithin(pair, 400), 0);
        ui.Click(channel.continuous);
        EXPECT_TRUE(breakButton->isEnabled());
        EXPECT_GE(SendsWithin(pair, 600), 2);
        // Leaves the channel quiet for the next one.
        ui.Click(channel.continuous);
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TMaris_terminalWindow, IntervalOfZeroHoldsTheRepeatUntilAValidInterval) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    ui.SetText("edt1Send", QStringLiteral("p"));
    ui.SetText("Edit3", QStringLiteral("0"));
    ui.Click("ckbContinuous1");
    EXPECT_EQ(SendsWithin(500), 0);
    // Also when the interval drops to 0 while repeating.
    ui.SetText("Edit3", QStringLiteral("200"));
    EXPECT_GE(SendsWithin(700), 2);
    ui.SetText("Edit3", QStringLiteral("0"));
    pty.ReadFor(50);
    EXPECT_EQ(SendsWithin(500), 0);
    ui.SetText("Edit3", QStringLiteral("200"));
    EXPECT_GE(SendsWithin(700), 2);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TMaris_terminalWindow, OpenFailureShowsTheErrorAndTheFatalEntry) {
    struct Case {
        QString port; // typed into the list; empty: none chosen
        QString reason;
    };
    // No port chosen first: once a port is typed the channel keeps a name.
    const Case cases[] = {
        {QString(), QStringLiteral("No port chosen")},
        {QStringLiteral("/dev/does-not-exist"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port.toStdString());
        if (!c.port.isEmpty())
            ui.SetText("portBox1", c.port);
        if (ui.Text("chkActive1") == "checked")
            ui.Click("chkActive1");
        ui.Click("Button4");
        MessageLog::Take();
        ui.Click("chkActive1");
        const QStringList shown = MessageLog::Take();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(
            shown[0].startsWith(QStringLiteral("error: Device \"%1\" Open Error !!!\r%2").arg(c.port, c.reason)))
            << shown[0].toStdString();
        const QString fatal = QStringLiteral("Fatal Error: 1, 0, ") + c.reason;
        const QStringList status = ui.Text("Memo2").split('\n');
        EXPECT_TRUE(std::any_of(status.begin(), status.end(), [&](const QString& line) {
            return line.startsWith(fatal);
        })) << ui.Text("Memo2").toStdString();
        EXPECT_EQ(ui.Text("chkActive1"), "checked");
        EXPECT_FALSE(window.serialPort1().Active());
    }
}

TEST_F(TMaris_terminalWindow, ChoosingAnotherPortMovesAnOpenChannelAndClearsBothMemos) {
    PtyPair other;
    ASSERT_EQ(other.Start(), QString());
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    pty.Write("old");
    ASSERT_TRUE(support::WaitForText(ui.Get("Memo1"), "old", std::chrono::seconds(3)));
    ASSERT_NE(ui.Text("Memo2"), QString());

    ui.SetText("portBox1", other.Near());
    EXPECT_TRUE(window.serialPort1().Active());
    EXPECT_EQ(window.serialPort1().PortName(), other.Near());
    EXPECT_EQ(ui.Text("portBox1"), other.Near());
    EXPECT_EQ(ui.Text("Memo1"), QString());
    EXPECT_EQ(ui.Text("Memo2"), QString());

    other.Write("new");
    EXPECT_TRUE(support::WaitForText(ui.Get("Memo1"), "new", std::chrono::seconds(3)))
        << ui.Text("Memo1").toStdString();
    ui.SetText("edt1Send", QStringLiteral("s"));
    ui.Click("btn1Send");
    EXPECT_EQ(other.Read(3), QByteArray("s\r\n"));
    EXPECT_EQ(pty.ReadFor(200), QByteArray());
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TMaris_terminalWindow, ClosingOnlyHidesSoThePortAndTheRepeatGoOn) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    ui.SetText("edt1Send", QStringLiteral("p"));
    ui.SetText("Edit3", QStringLiteral("200"));
    ui.Click("ckbContinuous1");
    pty.ReadFor(100);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.serialPort1().Active());
    EXPECT_GE(SendsWithin(1000), 3);
    // Shown again, the window still shows the channel open.
    window.show();
    EXPECT_EQ(ui.Text("chkActive1"), "checked");
}

// The window shows the ports in the order the system lists them; only channel
// 1's list follows adapters that come and go.
TEST(TMaris_terminalPortList, OnlyChannel1FollowsTheSystemList) {
    FixedPorts ports({"ttyS10", "ttyS2", "ttyUSB0"});
    TMaris_terminal window;
    window.show();
    support::Controls ui(&window);
    const auto* box1 = ui.Get<QComboBox>("portBox1");
    const auto* box2 = ui.Get<QComboBox>("portBox2");
    const QStringList start{"ttyS10", "ttyS2", "ttyUSB0"};
    EXPECT_EQ(Items(box1), start);
    EXPECT_EQ(Items(box2), start);
    EXPECT_EQ(box1->currentText(), "ttyS10");
    EXPECT_EQ(box2->currentText(), "ttyS2");

    // The channel's own port stays listed after it is gone.
    ports.Set({"ttyS2", "ttyACM0"});
    const QStringList changed{"ttyS2", "ttyACM0", "ttyS10"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return Items(box1) == changed; }, 1500)) << Items(box1).join(' ').toStdString();
    EXPECT_EQ(box1->currentText(), "ttyS10");
    QTest::qWait(300);
    EXPECT_EQ(Items(box2), start);
    EXPECT_EQ(box2->currentText(), "ttyS2");
}

// The "Cfg" dialog starts from the port's settings and hands back what its fields
// show; a baud rate that is no whole positive number keeps the port's own.
TEST(PortSettingsDialog, GivesBackTheChosenSettingsAndKeepsTheRateForBadText) {
    commtools::PortSettings start;
    start.baudRate = 19200;
    start.dataBits = QSerialPort::Data7;
    start.parity = QSerialPort::EvenParity;
    start.stopBits = QSerialPort::TwoStop;
    start.flowControl = QSerialPort::HardwareControl;
    commtools::PortSettingsDialog dialog(start, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(dialog.windowTitle(), "/dev/ttyUSB0 Properties");
    const commtools::PortSettings unchanged = dialog.Settings();
    EXPECT_EQ(unchanged.baudRate, 19200);
    EXPECT_EQ(unchanged.dataBits, QSerialPort::Data7);
    EXPECT_EQ(unchanged.parity, QSerialPort::EvenParity);
    EXPECT_EQ(unchanged.stopBits, QSerialPort::TwoStop);
    EXPECT_EQ(unchanged.flowControl, QSerialPort::HardwareControl);

    support::Controls ui{&dialog};
    ui.Choose("cbxParity", "Odd");
    ui.Choose("cbxStopBits", "1.5");
    ui.Choose("cbxFlowControl", "Xon / Xoff");
    const struct {
        const char* typed;
        int rate;
    } rates[] = {{"57600", 57600}, {" 4800 ", 4800}, {"abc", 19200}, {"0", 19200}, {"-9600", 19200}, {"", 19200}};
    for (const auto& r : rates) {
        dialog.findChild<QComboBox*>("cbxBaudRate")->setCurrentText(QString::fromLatin1(r.typed));
        const commtools::PortSettings chosen = dialog.Settings();
        EXPECT_EQ(chosen.baudRate, r.rate) << r.typed;
        EXPECT_EQ(chosen.parity, QSerialPort::OddParity);
        EXPECT_EQ(chosen.stopBits, QSerialPort::OneAndHalfStop);
        EXPECT_EQ(chosen.flowControl, QSerialPort::SoftwareControl);
    }
}
