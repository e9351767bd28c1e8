// The serial terminal window on real pseudo-terminal pairs: socat joins two
// ptys, the window opens one end and the test plays the device on the other.
#include "commtools/TMaris_terminal.h"
#include "automation/Controls.h"
#include "commtools/PortSettingsDialog.h"
#include "commtools/ReceiveDisplay.h"
#include "commtools/SerialChannel.h"
#include "commtools/ZModemReceiver.h"
#include "kit/BackgroundWork.h"
#include "kit/Dialogs.h"
#include "support/Controls.h"
#include "support/MessageLog.h"
#include "support/PtyPair.h"
#include "support/UnreadFifo.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include <csignal>
#include <sys/resource.h>

namespace tmaris_terminal_test {

namespace {

// The controls of one channel; both channels run the same code behind alike controls.
struct ChannelControls {
    const char *portBox, *active, *sendEdit, *continuous, *breakButton, *interval, *stream;
};
constexpr ChannelControls kChannels[] = {
    {"portBox1", "chkActive1", "edt1Send", "ckbContinuous1", "btnBreak1", "Edit3", "lblStream1"},
    {"portBox2", "ChkActive2", "edt2Send", "ckbContinuous2", "btnBreak2", "Edit1", "lblStream2"},
};

// An NMEA 0183 sentence with its checksum and line end.
QByteArray Sentence(const QByteArray& body) {
    unsigned char sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    return '$' + body + '*' + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0') + "\r\n";
}

// The lines of a memo that contain `part`.
QStringList LinesWith(const QString& memoText, const QString& part) { return memoText.split('\n').filter(part); }

QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray Bytes(const std::string& bytes) { return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())); }

// A logger that starts sending a file by ZModem and has sent its first bytes.
QByteArray StartedTransfer(const std::string& name, std::size_t size) {
    using namespace commtools;
    const std::string info = name + std::string(1, '\0') + std::to_string(size) + std::string(1, '\0');
    return Bytes("rz\r" + BinaryHeader(ZFrame::FILE, 0, true) + DataSubpacket(info, kZCrcW, true) +
                 BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket(std::string(1000, 'd'), kZCrcG, true));
}

// A figure of this process's memory from /proc/self/status, in KiB.
qint64 ProcessKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toLongLong();
        }
    }
    return 0;
}

// Starts the peak (VmHWM) afresh from the memory in use now.
void ResetPeakKiB() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) {
        refs.write("5");
    }
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
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
        if ((ui.Text("ckbAppend1") == "checked") != on) {
            ui.Click("ckbAppend1");
        }
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
        EXPECT_TRUE(automation::WaitForText(memo, step.shown, std::chrono::seconds(3)))
            << ui.Text("Memo1").toStdString();
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

TEST_F(TMaris_terminalWindow, OpenFailureShowsTheSystemsReasonOnceInTheBoxAndTheFatalEntry) {
    struct Case {
        QString port; // typed into the list; empty: none chosen
        QString reason;
    };
    // No port chosen first: once a port is typed the channel keeps a name.
    // Channel 2 holds the pair's end, so channel 1 finds it in use.
    ASSERT_NO_FATAL_FAILURE(Open(kChannels[1], pty));
    const Case cases[] = {
        {QString(), QStringLiteral("No port chosen")},
        {QStringLiteral("/dev/does-not-exist"), QStringLiteral("No such file or directory")},
        {pty.Near(), QStringLiteral("Device or resource busy")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port.toStdString());
        if (!c.port.isEmpty()) {
            ui.SetText("portBox1", c.port);
        }
        if (ui.Text("chkActive1") == "checked") {
            ui.Click("chkActive1");
        }
        ui.Click("Button4");
        MessageLog::Take();
        ui.Click("chkActive1");
        EXPECT_EQ(MessageLog::Take(),
                  QStringList{QStringLiteral("error: Device \"%1\" Open Error !!!\r%2.").arg(c.port, c.reason)});
        const QString fatal = QStringLiteral("Fatal Error: 1, 0, ") + c.reason;
        EXPECT_TRUE(automation::WaitForLine(ui.Get("Memo2"), fatal, std::chrono::seconds(3)))
            << ui.Text("Memo2").toStdString();
        QTest::qWait(50);
        const QStringList errors = ui.Text("Memo2").split('\n').filter(QStringLiteral("Error"));
        EXPECT_EQ(errors, QStringList{fatal}) << "the failure is said once, and only by the fatal entry";
        EXPECT_EQ(ui.Text("chkActive1"), "checked");
        EXPECT_FALSE(window.serialPort1().Active());
    }
}

TEST_F(TMaris_terminalWindow, ChoosingAnotherPortMovesAnOpenChannelAndClearsBothMemos) {
    PtyPair other;
    ASSERT_EQ(other.Start(), QString());
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    pty.Write("old");
    ASSERT_TRUE(automation::WaitForText(ui.Get("Memo1"), "old", std::chrono::seconds(3)));
    ASSERT_NE(ui.Text("Memo2"), QString());

    ui.SetText("portBox1", other.Near());
    EXPECT_TRUE(window.serialPort1().Active());
    EXPECT_EQ(window.serialPort1().PortName(), other.Near());
    EXPECT_EQ(ui.Text("portBox1"), other.Near());
    EXPECT_EQ(ui.Text("Memo1"), QString());
    EXPECT_EQ(ui.Text("Memo2"), QString());

    other.Write("new");
    EXPECT_TRUE(automation::WaitForText(ui.Get("Memo1"), "new", std::chrono::seconds(3)))
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

// As the launcher makes it: closed with nothing running the window goes;
// with a port open, a repeat or a capture it only hides and they go on.
TEST(TMaris_terminalLifetime, ClosedItGoesUnlessSomethingOfItRuns) {
    struct Case {
        const char* running;
        bool openPort;
        bool repeat;
        bool kept;
    };
    const Case cases[] = {
        {"nothing", false, false, false},
        {"an open port", true, false, true},
        {"a repeated send", true, true, true},
    };
    FixedPorts ports;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.running);
        PtyPair pty;
        ASSERT_EQ(pty.Start(), QString());
        QPointer<TMaris_terminal> window = new TMaris_terminal;
        kit::HideWhileWorking(window);
        window->show();
        support::Controls ui{window};
        if (c.openPort) {
            ui.SetText("portBox1", pty.Near());
            ui.Click("chkActive1");
            ASSERT_EQ(ui.Text("chkActive1"), "checked");
        }
        if (c.repeat) {
            ui.SetText("edt1Send", QStringLiteral("p"));
            ui.SetText("Edit3", QStringLiteral("100"));
            ui.Click("ckbContinuous1");
            ui.Click("chkActive1");
            ASSERT_EQ(ui.Text("chkActive1"), "unchecked");
        }
        window->close();
        QTest::qWait(10);
        EXPECT_EQ(!window.isNull(), c.kept);
        if (c.kept && c.openPort && !c.repeat) {
            EXPECT_TRUE(window->serialPort1().Active());
        }
        delete window.data();
        MessageLog::Take();
    }
}

// The surveyor opens and closes the terminal all shift long: each open once
// kept a whole hidden window, a third of a megabyte that never came back.
TEST(TMaris_terminalLifetime, OpenedAndClosedAgainAndAgainTheMemoryStaysFlat) {
    const auto openAndClose = [] {
        QPointer<TMaris_terminal> window = new TMaris_terminal;
        kit::HideWhileWorking(window);
        window->show();
        QTest::qWait(1);
        window->close();
        QTest::qWait(1);
        return window.isNull();
    };
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(openAndClose());
    }
    const qint64 before = ProcessKiB("VmRSS:");
    ResetPeakKiB();
    for (int i = 0; i < 160; ++i) {
        ASSERT_TRUE(openAndClose());
    }
    const qint64 peak = ProcessKiB("VmHWM:");
    std::printf("160 opens: RSS before %lld KiB, peak after %lld KiB\n", static_cast<long long>(before),
                static_cast<long long>(peak));
    EXPECT_LT(peak - before, 5 * 1024);
}

TEST_F(TMaris_terminalWindow, ALostDeviceClosesThePortOnceAndAbortsTheTransferAndCanBeOpenedAgain) {
    QTemporaryDir downloads;
    window.serialPort1().ZModem().SetFolder(downloads.path().toStdString());
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    pty.Write(StartedTransfer("sounding.raw", 100000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return FolderEntries(downloads.path()).size() == 1; }, 3000))
        << "the transfer's working file";
    ASSERT_TRUE(window.serialPort1().ZModem().InSession());

    pty.Kill();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Text("chkActive1") == "unchecked"; }, 3000));
    QTest::qWait(500);
    EXPECT_FALSE(window.serialPort1().Active());
    EXPECT_FALSE(window.serialPort1().ZModem().InSession());
    EXPECT_EQ(FolderEntries(downloads.path()), QStringList()) << "the unfinished file is removed";
    const QString status = ui.Text("Memo2");
    const QStringList fatal = LinesWith(status, QStringLiteral("Fatal Error"));
    ASSERT_EQ(fatal.size(), 1) << status.toStdString();
    EXPECT_TRUE(fatal[0].startsWith(QStringLiteral("Fatal Error: 1, 0, Device \"%1\" lost: ").arg(pty.Near())))
        << fatal[0].toStdString();
    EXPECT_EQ(LinesWith(status, QStringLiteral("Communication Error")), QStringList()) << status.toStdString();
    EXPECT_EQ(LinesWith(status, QStringLiteral("session aborted")).size(), 1) << status.toStdString();
    EXPECT_TRUE(MessageLog::Take().isEmpty());

    // The device back on the same path: one click opens it again.
    ASSERT_EQ(pty.Start(), QString());
    ui.Click("chkActive1");
    EXPECT_TRUE(window.serialPort1().Active());
    EXPECT_TRUE(MessageLog::Take().isEmpty());
    ui.SetText("Memo1", QString());
    pty.Write("back");
    EXPECT_TRUE(automation::WaitForText(ui.Get("Memo1"), "back", std::chrono::seconds(3)))
        << ui.Text("Memo1").toStdString();
}

// A 5 MB download by lrzsz's sz over the pair: the channel's bar moves, ends at
// 100 % and hides; the line beside it names the file and its figures, and the
// status entry gains the average rate.
TEST_F(TMaris_terminalWindow, ADownloadShowsItsProgressUntilItIsComplete) {
    QTemporaryDir downloads, source;
    window.serialPort1().ZModem().SetFolder(downloads.path().toStdString());
    QByteArray content(5000000, '\0');
    for (qsizetype i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>((i * 7919) >> 5);
    }
    QFile file(source.filePath(QStringLiteral("sounding.xtf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
    file.close();
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    auto* bar = ui.Get<QProgressBar>("pbZModem1");
    auto* label = ui.Get<QWidget>("lblZModem1");
    EXPECT_TRUE(bar->isHidden());
    EXPECT_TRUE(label->isHidden());
    QList<int> values;
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int value) { values << value; });

    QProcess sz;
    sz.setWorkingDirectory(source.path());
    sz.setStandardInputFile(pty.FarPath());
    sz.setStandardOutputFile(pty.FarPath());
    sz.setStandardErrorFile(QProcess::nullDevice());
    sz.start(QStringLiteral("sz"), {QStringLiteral("sounding.xtf")});
    ASSERT_TRUE(sz.waitForStarted(5000));
    QString shown; // the progress line while the bar was up
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (bar->isVisible()) {
                shown = ui.Text("lblZModem1");
            }
            return sz.state() == QProcess::NotRunning && !window.serialPort1().ZModem().InSession();
        },
        60000));
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](int v) { return v > 0 && v < 100; }))
        << "the bar never stood between its ends";
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.last(), 100);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_TRUE(label->isHidden());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("sounding.xtf: "))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral(" of 5.0 MB, "))) << shown.toStdString();

    QFile received(QDir(downloads.path()).filePath(QStringLiteral("sounding.xtf")));
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_TRUE(received.readAll() == content);
    const QRegularExpression entry(
        QStringLiteral("^ZModem: received \"sounding\\.xtf\", 5000000 bytes, [0-9.]+ [kMG]?B/s$"));
    const QStringList lines = LinesWith(ui.Text("Memo2"), QStringLiteral("received"));
    ASSERT_EQ(lines.size(), 1) << ui.Text("Memo2").toStdString();
    EXPECT_TRUE(entry.match(lines[0]).hasMatch()) << lines[0].toStdString();
}

// A GNSS whose line happens to carry "rz" CR goes on with its fixes: each fix
// shows as it comes, and nothing is ever written back into the device (no
// ZRINIT, no cancel), however long the receiver's time-outs run meanwhile.
TEST_F(TMaris_terminalWindow, ADeviceThatSaysRzKeepsItsDisplayAndIsNeverWrittenTo) {
    window.serialPort1().ZModem().SetTimeout(std::chrono::milliseconds(200));
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    SetAppend(false);
    pty.ReadFor(100);
    QByteArray written;
    pty.Write("$GPTXT,01,01,02,rz\r");
    for (int n = 10; n < 30; ++n) {
        const QByteArray fix =
            Sentence("GPGGA,1234" + QByteArray::number(n) + ".00,5231.0,N,00424.2,E,4,14,0.7,1.2,M,,,1.0,0000");
        pty.Write(fix);
        EXPECT_TRUE(automation::WaitForLine(ui.Get("Memo1"), QString::fromLatin1(fix.chopped(2)),
                                            std::chrono::milliseconds(700)))
            << "fix " << n << " not shown";
        written += pty.ReadFor(20);
    }
    EXPECT_EQ(LinesWith(ui.Text("Memo1"), QStringLiteral("$GPTXT,01,01,02,rz")).size(), 1)
        << ui.Text("Memo1").toStdString();
    EXPECT_EQ(LinesWith(ui.Text("Memo1"), QStringLiteral("$GPGGA")).size(), 20);
    // "rz" CR as the last thing the device says shows once the line is quiet.
    pty.Write("$GPTXT,rz\r");
    EXPECT_TRUE(automation::WaitForLine(ui.Get("Memo1"), QStringLiteral("$GPTXT,rz"), std::chrono::seconds(2)))
        << ui.Text("Memo1").toStdString();
    written += pty.ReadFor(1500);
    EXPECT_EQ(written.toHex(' ').toStdString(), "") << "written into the device";
    EXPECT_FALSE(window.serialPort1().ZModem().InSession());
    EXPECT_TRUE(LinesWith(ui.Text("Memo2"), QStringLiteral("ZModem")).isEmpty()) << ui.Text("Memo2").toStdString();
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

TEST_F(TMaris_terminalWindow, OpeningRemovesWorkingFilesOfTransfersCutShortLongAgo) {
    QTemporaryDir downloads;
    window.serialPort1().ZModem().SetFolder(downloads.path().toStdString());
    const auto folder = std::filesystem::path(downloads.path().toStdString());
    const auto stale = folder / ".sounding.raw.partial-a1b2c3";
    const auto recent = folder / ".profile.txt.partial-d4e5f6";
    for (const auto& path : {stale, recent}) {
        std::ofstream(path) << "part";
    }
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(25));
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    EXPECT_EQ(FolderEntries(downloads.path()), QStringList{".profile.txt.partial-d4e5f6"})
        << "a transfer of today may still be running in another window";
}

TEST_F(TMaris_terminalWindow, SendsADeviceDoesNotTakeAreDroppedAndSaidOnce) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    SetAppend(false);
    const QByteArray text(20000, 'x');
    ui.SetText("edt1Send", QString::fromLatin1(text));
    ui.SetText("Edit3", QStringLiteral("50"));
    // The far end reads nothing while the repeat runs for two seconds.
    ui.Click("ckbContinuous1");
    QTest::qWait(2000);
    ui.Click("btnBreak1");
    const qsizetype arrived = pty.ReadFor(1500).size();
    // What the line's buffers already held may still come; the sends behind
    // them (some 400 KB) must not.
    EXPECT_LT(arrived, 8 * text.size());
    EXPECT_EQ(LinesWith(ui.Text("Memo2"), QStringLiteral("Write time-out")).size(), 1)
        << ui.Text("Memo2").toStdString();

    // A device that reads again gets the next send whole.
    ui.SetText("edt1Send", QStringLiteral("ok"));
    ui.Click("btn1Send");
    EXPECT_EQ(pty.Read(2), QByteArray("ok"));
}

// Short sends fit into what a dropped send leaves room for, though the device
// still reads nothing: the time-out is said once for as long as the device
// does not read, and said again only for a new stall after it has read.
TEST_F(TMaris_terminalWindow, ATimeOutIsSaidOnceUntilTheDeviceReadsAgain) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    SetAppend(false);
    ui.SetText("edt1Send", QString(1000, QLatin1Char('s')));
    ui.SetText("Edit3", QStringLiteral("20"));
    const auto timeOuts = [&] { return LinesWith(ui.Text("Memo2"), QStringLiteral("Write time-out")).size(); };

    ui.Click("ckbContinuous1");
    QTest::qWait(3000);
    ui.Click("btnBreak1");
    EXPECT_EQ(timeOuts(), 1) << ui.Text("Memo2").toStdString();

    // The device reads what the line held, then takes a send whole.
    EXPECT_GT(pty.ReadFor(1000).size(), 0);
    ui.SetText("edt1Send", QStringLiteral("ok"));
    ui.Click("btn1Send");
    EXPECT_EQ(pty.Read(2), QByteArray("ok"));

    // And stops reading again: a new stall, said once more. The repeat box,
    // still ticked after "Break", starts again from unticked.
    ui.SetText("edt1Send", QString(1000, QLatin1Char('t')));
    ui.Click("ckbContinuous1");
    ui.Click("ckbContinuous1");
    QTest::qWait(2000);
    ui.Click("btnBreak1");
    EXPECT_EQ(timeOuts(), 2) << ui.Text("Memo2").toStdString();
}

TEST_F(TMaris_terminalWindow, AMemoShowsAnEndlessLineInBoundedParagraphsWithoutUndo) {
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    auto* memo = ui.Get<QPlainTextEdit>("Memo1");
    const QByteArray chunk(200, 'n');
    for (int i = 0; i < 50; ++i) { // 10,000 characters and never a line end
        pty.Write(chunk);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return memo->document()->characterCount() > 10000; }, 3000));
    EXPECT_EQ(ui.Text("Memo1").remove('\n'), QString(10000, 'n'));
    // Every paragraph but the last is full: the line is cut at exactly 1,024
    // characters, not a character early, however the reads fall.
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        if (block.next().isValid()) {
            EXPECT_EQ(block.length() - 1, commtools::kLongestShownLine);
        } else {
            EXPECT_EQ(block.length() - 1, 10000 % commtools::kLongestShownLine);
        }
    }
    EXPECT_EQ(commtools::kLongestShownLine, 1024);
    EXPECT_FALSE(memo->document()->isUndoAvailable());
    EXPECT_FALSE(ui.Get<QPlainTextEdit>("Memo2")->document()->isUndoAvailable());
}

// Each channel's stream line reads its own port, raw (the sentences arrive in
// pieces, with a damaged one between), runs while the port is open and goes
// blank when it closes.
TEST_F(TMaris_terminalWindow, EachStreamLineSaysWhatItsOwnPortReceives) {
    const QRegularExpression expected(
        QStringLiteral("^fix RTK fixed 14 sats HDOP 0\\.9 age 1\\.0 s station 0101 12:35:19\\.0; "
                       "GNGGA \\d+\\.\\d Hz \\(1 bad\\), GNRMC \\d+\\.\\d Hz$"));
    const QByteArray stream = Sentence("GNGGA,123519.00,5407.038,N,01131.000,E,4,14,0.9,5.4,M,46.9,M,1.0,0101") +
                              Sentence("GNRMC,123519.00,A,5407.038,N,01131.000,E,0.1,231.4,130524,,,R") +
                              "$GNGGA,123520.00,5407.038,N,01131.000,E,4,14,0.9,5.4,M,46.9,M,,*00\r\n";
    for (std::size_t n = 0; n < 2; ++n) {
        const ChannelControls& channel = kChannels[n];
        const ChannelControls& other = kChannels[1 - n];
        SCOPED_TRACE(channel.stream);
        PtyPair pair;
        ASSERT_EQ(pair.Start(), QString());
        EXPECT_EQ(ui.Text(channel.stream), QString()) << "a closed port has no stream line";
        ASSERT_NO_FATAL_FAILURE(Open(channel, pair));
        EXPECT_EQ(ui.Text(channel.stream), "no data");
        for (qsizetype at = 0; at < stream.size(); at += 40) {
            pair.Write(stream.mid(at, 40));
            QTest::qWait(20);
        }
        // The line is narrower than the whole: the fix and GGA stay, the
        // tool tip has every address.
        auto* label = ui.Get<QLabel>(channel.stream);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return expected.match(label->toolTip().section('\n', 0, 0)).hasMatch(); }, 3000))
            << label->toolTip().toStdString();
        EXPECT_EQ(label->toolTip().section('\n', 1), "since the port opened: 1 bad checksum (GNGGA 1)");
        EXPECT_TRUE(ui.Text(channel.stream).startsWith(QStringLiteral("fix RTK fixed 14 sats HDOP 0.9 age 1.0 s")))
            << ui.Text(channel.stream).toStdString();
        EXPECT_EQ(ui.Text(other.stream), QString());
        ui.Click(channel.active);
        EXPECT_EQ(ui.Text(channel.stream), QString());
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// A capture file named by the test as the user would pick it in the dialog.
class CaptureTo {
public:
    explicit CaptureTo(const QString& path) {
        previous_ = kit::SetFileDialogPresenter([path](const kit::FileDialogRequest&) { return path; });
    }
    ~CaptureTo() { kit::SetFileDialogPresenter(std::move(previous_)); }

private:
    kit::FileDialogPresenter previous_;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each channel's box captures its own port's bytes as they came, ZModem's
// "rz" start included; unchecking stops it, checking again appends, and the
// port closing ends it. A cancelled dialog leaves the box unchecked.
TEST_F(TMaris_terminalWindow, CaptureWritesEveryReceivedByteUntilUncheckedOrClosed) {
    const char* boxes[] = {"chkCapture1", "chkCapture2"};
    for (std::size_t n = 0; n < 2; ++n) {
        SCOPED_TRACE(boxes[n]);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gnss.log"));
        PtyPair pair;
        ASSERT_EQ(pair.Start(), QString());
        ASSERT_NO_FATAL_FAILURE(Open(kChannels[n], pair));
        {
            CaptureTo cancel{QString()};
            ui.Click(boxes[n]);
            EXPECT_EQ(ui.Text(boxes[n]), "unchecked");
        }
        CaptureTo capture(path);
        ui.Click(boxes[n]);
        ASSERT_EQ(ui.Text(boxes[n]), "checked");
        EXPECT_EQ(ui.Text(boxes[1 - n]), "unchecked");
        const QByteArray first("$GPHDT,231.4,T*3A\r\n\0\xFF\r\x08", 23);
        pair.Write(first);
        EXPECT_TRUE(QTest::qWaitFor([&] { return FileBytes(path).size() >= first.size(); }, 3000));
        EXPECT_EQ(FileBytes(path), first);

        ui.Click(boxes[n]);
        pair.Write("not captured");
        QTest::qWait(200);
        EXPECT_EQ(FileBytes(path), first);

        ui.Click(boxes[n]);
        const QByteArray second("\xFF\xFE\0rz\r", 6);
        pair.Write(second);
        EXPECT_TRUE(QTest::qWaitFor([&] { return FileBytes(path).size() >= first.size() + second.size(); }, 3000));
        EXPECT_EQ(FileBytes(path), first + second) << "appended to the file, whatever the line carried";

        ui.Click(kChannels[n].active);
        EXPECT_EQ(ui.Text(boxes[n]), "unchecked") << "the port closed";
    }
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// A disk that fills mid-capture: the box unchecks, one error names the file
// and the system's reason, and what reached the disk stays.
TEST_F(TMaris_terminalWindow, AFullDiskEndsTheCaptureWithOneErrorAndKeepsWhatWasWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gnss.log"));
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    CaptureTo capture(path);
    ui.Click("chkCapture1");
    const QByteArray before(100, 'a');
    pty.Write(before);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileBytes(path).size() == before.size(); }, 3000));

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit full = saved;
    full.rlim_cur = static_cast<rlim_t>(before.size()) + 10;
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    const QByteArray after(100, 'b');
    pty.Write(after);
    const bool unchecked = QTest::qWaitFor([&] { return ui.Text("chkCapture1") == "unchecked"; }, 3000);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_TRUE(unchecked);
    QTest::qWait(100);
    const QStringList errors = MessageLog::Take();
    EXPECT_EQ(errors.join('|').toStdString(),
              QStringLiteral("error: Cannot write the capture file \"%1\": File too large.").arg(path).toStdString());
    EXPECT_EQ(FileBytes(path), before + after.left(10));
    pty.Write("more");
    QTest::qWait(200);
    EXPECT_EQ(FileBytes(path), before + after.left(10));
    EXPECT_TRUE(MessageLog::Take().isEmpty());
}

// A FIFO picked by mistake, with nobody reading it, would hold the whole
// window in open() until a reader came: it is refused at once with one error
// that names it, and the box stays unchecked while the data goes on arriving.
TEST_F(TMaris_terminalWindow, AFifoIsRefusedAtOnceWithOneError) {
    QTemporaryDir dir;
    support::UnreadFifo fifo(dir.filePath(QStringLiteral("gnss.fifo")));
    ASSERT_TRUE(fifo.Made());
    ASSERT_NO_FATAL_FAILURE(OpenChannel1(pty));
    CaptureTo capture(fifo.Path());
    const auto took = fifo.Time(std::chrono::milliseconds(2000), [&] { ui.Click("chkCapture1"); });
    EXPECT_LT(took, std::chrono::milliseconds(2000)) << "the window waited for a reader";
    EXPECT_EQ(ui.Text("chkCapture1"), "unchecked");
    EXPECT_EQ(MessageLog::Take().join('|').toStdString(),
              QStringLiteral("error: Cannot open the capture file \"%1\": not a regular file.")
                  .arg(fifo.Path())
                  .toStdString());
    pty.Write("$GPGGA,1\r\n");
    QTest::qWait(200);
    EXPECT_TRUE(MessageLog::Take().isEmpty());
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

} // namespace tmaris_terminal_test
