// The capture file on its own: it only ever appends, writes every byte as it
// came, never holds the caller on a file that is no regular file, and says
// which file and why when the system refuses.
#include "commtools/CaptureFile.h"
#include "support/UnreadFifo.h"
#include "support/WriteUnder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace capture_file_test {

using commtools::CaptureFile;
using namespace std::chrono_literals;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

TEST(CaptureFile, AppendsEveryByteAndNeverTruncates) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gnss.log"));
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier capture\n");
    }
    const QByteArray first("$GPGGA,1\r\n\0\xFF\r", 13);
    const QByteArray second("\n\x00\x7F\x80", 4);
    CaptureFile capture;
    const common::FileResult opened = capture.Open(path);
    ASSERT_TRUE(opened) << opened.Error().toStdString();
    EXPECT_TRUE(capture.Write(first));
    // Each write is in the file at once, not held back in a buffer.
    EXPECT_EQ(ReadAll(path), "earlier capture\n" + first);
    capture.Close();
    ASSERT_TRUE(capture.Open(path));
    EXPECT_TRUE(capture.Write(second));
    capture.Close();
    EXPECT_EQ(ReadAll(path), "earlier capture\n" + first + second);
}

TEST(CaptureFile, AFileThatCannotBeOpenedSaysWhichAndWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/gnss.log"));
    CaptureFile capture;
    const common::FileResult opened = capture.Open(path);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(capture.IsOpen());
    EXPECT_EQ(opened.Error(),
              QStringLiteral("Cannot open the capture file \"%1\": No such file or directory").arg(path));
    EXPECT_FALSE(capture.Write("x"));
}

// A FIFO, a device, a directory or a socket picked by mistake is refused at
// once, whether or not anyone reads it: a FIFO without a reader would hold
// the window in open(), one whose reader stops in write().
TEST(CaptureFile, AnythingButARegularFileIsRefusedAtOnce) {
    QTemporaryDir dir;
    support::UnreadFifo unread(dir.filePath(QStringLiteral("unread.fifo")));
    ASSERT_TRUE(unread.Made());
    const QString readFifo = dir.filePath(QStringLiteral("read.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(readFifo).constData(), 0644), 0);
    const int reader = ::open(QFile::encodeName(readFifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString socketPath = dir.filePath(QStringLiteral("gnss.sock"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);

    struct Case {
        const char* what;
        QString path;
    } cases[] = {
        {"a FIFO that nobody reads", unread.Path()},
        {"a FIFO with a reader", readFifo},
        {"a device", QStringLiteral("/dev/null")},
        {"a directory", folder},
        {"a socket", socketPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CaptureFile capture;
        common::FileResult opened = common::FileResult::Done();
        const auto took = unread.Time(2000ms, [&] { opened = capture.Open(c.path); });
        EXPECT_LT(took, 2000ms) << "open() waited for a reader";
        EXPECT_FALSE(opened);
        EXPECT_FALSE(capture.IsOpen());
        EXPECT_EQ(opened.Error().toStdString(),
                  QStringLiteral("Cannot open the capture file \"%1\": not a regular file").arg(c.path).toStdString());
        EXPECT_FALSE(capture.Write("$GPGGA\r\n"));
    }
    ::close(listener);
    ::close(reader);
}

// A disk that fills, or a size limit reached, mid-capture: the write the file
// cannot take ends the capture with the file's name and the system's reason,
// and what the file took before stays in it as it came.
TEST(CaptureFile, AFileThatStopsTakingDataEndsTheCaptureAndKeepsWhatItTook) {
    const QByteArray earlier("earlier capture\n");
    const QByteArray first(40, 'a');
    const QByteArray second(8000, 'b');
    struct Case {
        support::DiskCondition condition;
        QString reason;
    } cases[] = {
        {support::DiskCondition::FileSizeLimit, QStringLiteral("File too large")},
        {support::DiskCondition::FullDisk, QStringLiteral("No space left on device")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(support::ConditionName(c.condition));
        const support::WriteOutcome outcome =
            support::WriteUnder(c.condition, {QStringLiteral("gnss.log")}, earlier, [&](const QString& folder) {
                CaptureFile capture;
                if (const common::FileResult opened = capture.Open(QDir(folder).filePath(QStringLiteral("gnss.log")));
                    !opened) {
                    return QStringLiteral("not opened: ") + opened.Error();
                }
                if (const common::FileResult written = capture.Write(first); !written) {
                    return QStringLiteral("the first write failed: ") + written.Error();
                }
                const common::FileResult cut = capture.Write(second);
                if (cut) {
                    return QStringLiteral("the file took everything");
                }
                QString error = cut.Error();
                if (capture.IsOpen() || capture.Write("more")) {
                    return QStringLiteral("the capture went on");
                }
                return error.replace(folder, QStringLiteral("FOLDER"));
            });
        if (!outcome.skipped.isEmpty()) {
            GTEST_SKIP() << outcome.skipped.toStdString();
        }
        EXPECT_EQ(outcome.error.toStdString(),
                  (QStringLiteral("Cannot write the capture file \"FOLDER/gnss.log\": ") + c.reason).toStdString());
        ASSERT_EQ(outcome.files.size(), 1u);
        const QByteArray& file = outcome.files[0];
        EXPECT_TRUE(file.startsWith(earlier + first)) << file.size() << " bytes";
        EXPECT_LT(file.size(), earlier.size() + first.size() + second.size());
        EXPECT_TRUE((earlier + first + second).startsWith(file)) << "the bytes it took, and nothing else";
    }
}

// Two TCP clients' pieces arrive interleaved: the capture gets each one's
// lines whole, every byte exactly once; a lone connection goes out at once,
// and a line that never ends goes out in bounded pieces.
TEST(WholeLines, KeepsEachConnectionsLinesWholeInTheCapture) {
    struct Read {
        quint64 connection;
        QByteArray bytes;
    };
    struct Case {
        std::vector<Read> reads;
        std::vector<quint64> ended;
        QByteArray written;
        const char* reason;
    };
    const Case cases[] = {
        {{{1, "$GPGGA,1"}, {2, "$HEHDT,23,T\r\n$HE"}, {1, "2*00\r\n$GP"}, {2, "HDT,24,T\r\n"}, {1, "GGA,3*00\r\n"}},
         {},
         "$GPGGA,12*00\r\n$HEHDT,23,T\r\n$HEHDT,24,T\r\n$GPGGA,3*00\r\n",
         "the second waits while the first's line is open, then each line whole"},
        {{{1, "$GPGGA,1"}, {2, "$HEHDT,2"}}, {1}, "$GPGGA,1$HEHDT,2", "a connection that closes leaves its line cut"},
        {{{1, "partial"}}, {}, "partial", "alone: at once, line end or not"},
        {{{1, "$"}, {2, QByteArray(5000, 'x')}}, {}, "$" + QByteArray(5000, 'x'), "waiting is bounded"},
    };
    for (const Case& c : cases) {
        commtools::WholeLines lines;
        QByteArray written;
        for (const Read& read : c.reads) {
            written += lines.Take(read.connection, read.bytes);
        }
        for (const quint64 connection : c.ended) {
            written += lines.Rest(connection);
        }
        EXPECT_EQ(written, c.written) << c.reason;
    }
}

} // namespace capture_file_test
