// Serial channels on real pseudo-terminal pairs: socat joins two ptys, the
// window opens one end and the test plays the device on the other; and the
// port lists the window sees, fixed by the test.
#pragma once

#include "commtools/SerialChannel.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

// A socat pty pair: the window opens Near(), the test reads and writes the far end.
class PtyPair {
public:
    PtyPair() = default;
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    ~PtyPair() { Kill(); }

    // The device gone: the relay killed, both ends of the pair vanish.
    void Kill() {
        if (far_ >= 0) {
            ::close(std::exchange(far_, -1));
        }
        if (socat_.state() != QProcess::NotRunning) {
            socat_.kill();
            socat_.waitForFinished(2000);
        }
        // A killed socat leaves its links behind, pointing at pseudo-terminal
        // numbers that another test's pair may take next: they must go.
        QFile::remove(dir_.filePath(QStringLiteral("a")));
        QFile::remove(Near());
    }

    // Starts socat and opens the far end raw; why it failed, or empty.
    QString Start() {
        if (!dir_.isValid()) {
            return QStringLiteral("no temporary folder");
        }
        const QString far = dir_.filePath(QStringLiteral("a"));
        socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        socat_.start(QStringLiteral("socat"),
                     {QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,raw,echo=0,link=") + far,
                      QStringLiteral("pty,raw,echo=0,link=") + Near()});
        if (!socat_.waitForStarted(5000)) {
            return QStringLiteral("socat does not start: ") + socat_.errorString();
        }
        if (!QTest::qWaitFor([&] { return QFile::exists(far) && QFile::exists(Near()); }, 5000)) {
            return QStringLiteral("socat made no pty links");
        }
        far_ = ::open(QFile::encodeName(far).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (far_ < 0) {
            return QStringLiteral("cannot open ") + far;
        }
        termios raw{};
        if (::tcgetattr(far_, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(far_, TCSANOW, &raw);
        }
        return {};
    }

    QString Near() const { return dir_.filePath(QStringLiteral("b")); }
    // The far end's path, for a device program of its own (lrzsz's sz).
    QString FarPath() const { return dir_.filePath(QStringLiteral("a")); }
    // The far end, open and non-blocking, for a writer of its own (a thread
    // that streams without waiting for the window).
    int Far() const { return far_; }

    void Write(const QByteArray& bytes) {
        ASSERT_EQ(::write(far_, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    }

    // Everything the window sends within `ms`, with the window's events running.
    QByteArray ReadFor(int ms) {
        QByteArray got;
        (void)QTest::qWaitFor(
            [&] {
                ReadInto(got);
                return false;
            },
            ms);
        ReadInto(got);
        return got;
    }

    // At least `size` bytes within 3 s, and whatever follows them within 150 ms.
    QByteArray Read(qsizetype size) {
        QByteArray got;
        (void)QTest::qWaitFor(
            [&] {
                ReadInto(got);
                return got.size() >= size;
            },
            3000);
        return got + ReadFor(150);
    }

private:
    void ReadInto(QByteArray& got) {
        char buffer[256];
        ssize_t n;
        while (far_ >= 0 && (n = ::read(far_, buffer, sizeof buffer)) > 0) {
            got.append(buffer, n);
        }
    }

    QTemporaryDir dir_;
    QProcess socat_;
    int far_ = -1;
};

// The port lists the window sees, for as long as the guard lives.
class FixedPorts {
public:
    explicit FixedPorts(QStringList ports = {}) : ports_(std::move(ports)) {
        previous_ = commtools::SetPortEnumerator([this] { return ports_; });
    }
    ~FixedPorts() { commtools::SetPortEnumerator(std::move(previous_)); }
    void Set(const QStringList& ports) { ports_ = ports; }

private:
    QStringList ports_;
    commtools::PortEnumerator previous_;
};
