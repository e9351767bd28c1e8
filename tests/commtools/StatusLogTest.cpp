#include "commtools/StatusLog.h"

#include "common/TextFile.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace commtools;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of a log file; every line must end with CR LF and hold no other CR or LF.
QList<QByteArray> Lines(const QByteArray& bytes) {
    EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
        line.chop(1);
        EXPECT_FALSE(line.contains('\r')) << line.constData();
    }
    return lines;
}

QByteArray Bytes(const QString& text) { return common::EncodeWindows1252(text); }

// Collects what a log hands out; the error callback comes from the writer thread.
struct Collector {
    std::mutex mutex;
    QStringList texts;

    StatusLog::TextOut Out() {
        return [this](const QString& text) {
            std::lock_guard lock(mutex);
            texts.append(text);
        };
    }
    QStringList Texts() {
        std::lock_guard lock(mutex);
        return texts;
    }
};

} // namespace

TEST(StatusLog, ShowControlsEscapesControlCharacters) {
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("plain text"), QStringLiteral("plain text")},
        {QStringLiteral("A\rB"), QStringLiteral("A\\0DhB")},
        {QStringLiteral("\r\n"), QStringLiteral("\\0Dh\\0Ah")},
        {QString(QChar(0)) + QStringLiteral("x"), QStringLiteral("\\00hx")},
        {QStringLiteral("\x1F\x7F"), QStringLiteral("\\1Fh\\7Fh")},
        // The neighbours of the control ranges stay as they are.
        {QStringLiteral(" ~"), QStringLiteral(" ~")},
        {QStringLiteral("\\ °€Ω"), QStringLiteral("\\ °€Ω")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowControls(c.text), c.shown) << c.text.toStdString();
    }
}

TEST(StatusLog, AppendWithinLimitCutsTheOldestWholeLines) {
    const struct {
        const char* what;
        QByteArray existing;
        QByteArray appended;
        qsizetype limit;
        QByteArray expected;
    } cases[] = {
        {"below the limit", "a\r\n", "b\r\n", 100, "a\r\nb\r\n"},
        {"exactly at the limit", "aa\r\n", "bb\r\n", 8, "aa\r\nbb\r\n"},
        {"cuts one line", "aa\r\nbb\r\n", "cc\r\n", 8, "bb\r\ncc\r\n"},
        {"cuts at the next line start, not mid-line", "aaaa\r\nb\r\n", "c\r\n", 8, "b\r\nc\r\n"},
        {"line start exactly at the cut", "ab\r\n", "cd\r\n", 4, "cd\r\n"},
        {"cuts several lines", "a\r\nb\r\nc\r\n", "dddd\r\n", 7, "dddd\r\n"},
        {"long appended text keeps its tail from a line start", "old\r\n", "1111\r\n22\r\n", 6, "22\r\n"},
        {"one line longer than the limit keeps its last bytes", "old\r\n", "0123456789\r\n", 5, "789\r\n"},
        {"no line end at all", "", "abcdef", 4, "cdef"},
        {"limit 0 means no limit", "a\r\n", "b\r\n", 0, "a\r\nb\r\n"},
        {"negative limit means no limit", "a\r\n", "b\r\n", -1, "a\r\nb\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AppendWithinLimit(c.existing, c.appended, c.limit), c.expected) << c.what;
    }
}

TEST(StatusLog, LogsOnOnePathShareTheFileInOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    Collector serialShown;
    Collector networkShown;
    Collector errors;
    {
        StatusLog serial(path, StatusLog::kSerialTerminalLimit);
        StatusLog network(path, StatusLog::kNetworkToolLimit);
        serial.SetLevel(LogLevel::Detail);
        network.SetLevel(LogLevel::Detail);
        serial.SetVisualOut(serialShown.Out());
        network.SetVisualOut(networkShown.Out());
        serial.SetErrorOut(errors.Out());
        network.SetErrorOut(errors.Out());

        serial.Add(LogLevel::Detail, QStringLiteral("COM"), QStringLiteral("Port /dev/ttyUSB0 opened"));
        network.Add(LogLevel::Simple, QStringLiteral("TCP"), QStringLiteral("Received 12°\r\n"));
        serial.Add(LogLevel::Simple, QString(), QStringLiteral("Fatal error"));
        ASSERT_TRUE(serial.Flush());
    }

    EXPECT_TRUE(errors.Texts().isEmpty());
    const QString version = CommLayerVersionLine();
    EXPECT_TRUE(version.startsWith(QStringLiteral("Tormalind comm layer")));
    // Each log opens with the version and where its file is.
    const QString where = QStringLiteral("Log file: ") + path;
    EXPECT_EQ(serialShown.Texts(),
              QStringList({QStringLiteral("\r\n") + version, QStringLiteral("\r\n") + where,
                           QStringLiteral("\r\nCOM: Port /dev/ttyUSB0 opened"), QStringLiteral("\r\nFatal error")}));
    EXPECT_EQ(networkShown.Texts(), QStringList({QStringLiteral("\r\n") + version, QStringLiteral("\r\n") + where,
                                                 QStringLiteral("\r\nTCP: Received 12°\\0Dh\\0Ah")}));
    const QByteArray header = Bytes(version) + "\r\n" + Bytes(where) + "\r\n";
    EXPECT_EQ(ReadAll(path), header + "COM: Port /dev/ttyUSB0 opened\r\n" + header +
                                 "TCP: Received 12\xB0\\0Dh\\0Ah\r\nFatal error\r\n");
}

TEST(StatusLog, FileStaysWithinTheLimitAndEndsWithTheLastEntry) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    StatusLog log(path, StatusLog::kSerialTerminalLimit);
    constexpr int kEntries = 500;
    for (int i = 0; i < kEntries; ++i) {
        log.Add(LogLevel::Simple, QStringLiteral("COM"), QStringLiteral("entry %1").arg(i));
    }
    ASSERT_TRUE(log.Flush());

    const QByteArray bytes = ReadAll(path);
    EXPECT_LE(bytes.size(), StatusLog::kSerialTerminalLimit);
    EXPECT_GT(bytes.size(), StatusLog::kSerialTerminalLimit - 100);
    // Whole lines only, the newest ones, in order.
    const QList<QByteArray> lines = Lines(bytes);
    ASSERT_FALSE(lines.isEmpty());
    const int first = kEntries - static_cast<int>(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], QByteArray("COM: entry ") + QByteArray::number(first + i));
    }
}

TEST(StatusLog, EntriesAboveTheLevelAreDropped) {
    const struct {
        LogLevel level;
        QStringList kept;
    } cases[] = {
        {LogLevel::Simple, {QStringLiteral("simple")}},
        {LogLevel::Detail, {QStringLiteral("detail"), QStringLiteral("simple")}},
        {LogLevel::Debug, {QStringLiteral("debug"), QStringLiteral("detail"), QStringLiteral("simple")}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        StatusLog log(dir.filePath(QStringLiteral("utility.log")), 0);
        Collector shown;
        log.SetVisualOut(shown.Out());
        log.SetLevel(c.level);
        log.Add(LogLevel::Debug, QString(), QStringLiteral("debug"));
        log.Add(LogLevel::Detail, QString(), QStringLiteral("detail"));
        log.Add(LogLevel::Simple, QString(), QStringLiteral("simple"));

        QStringList expected = {QStringLiteral("\r\n") + CommLayerVersionLine(),
                                QStringLiteral("\r\nLog file: ") + log.FilePath()};
        for (const QString& text : c.kept) {
            expected.append(QStringLiteral("\r\n") + text);
        }
        EXPECT_EQ(shown.Texts(), expected) << static_cast<int>(c.level);
    }
}

TEST(StatusLog, NoVersionLineWhileEveryEntryIsDropped) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    StatusLog log(path, 0);
    Collector shown;
    log.SetVisualOut(shown.Out());
    log.SetLevel(LogLevel::Simple);
    log.Add(LogLevel::Debug, QStringLiteral("COM"), QStringLiteral("dropped"));
    ASSERT_TRUE(log.Flush());
    EXPECT_TRUE(shown.Texts().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(StatusLog, TimeStampsUseTheSystemLocaleAndTheClock) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9));
    StatusLog log(path, 0);
    Collector shown;
    log.SetVisualOut(shown.Out());
    log.SetClock([when] { return when; });
    log.SetTimeStamps(true);
    log.Add(LogLevel::Simple, QStringLiteral("COM"), QStringLiteral("stamped"));
    log.SetTimeStamps(false);
    log.Add(LogLevel::Simple, QStringLiteral("COM"), QStringLiteral("plain"));
    ASSERT_TRUE(log.Flush());

    const QLocale locale = QLocale::system();
    const QString stamped = QStringLiteral("[") + locale.toString(when.date(), QLocale::ShortFormat) +
                            QStringLiteral(" ") + locale.toString(when.time(), QLocale::LongFormat) +
                            QStringLiteral("] COM: stamped");
    const QString where = QStringLiteral("Log file: ") + path;
    EXPECT_EQ(shown.Texts(),
              QStringList({QStringLiteral("\r\n") + CommLayerVersionLine(), QStringLiteral("\r\n") + where,
                           QStringLiteral("\r\n") + stamped, QStringLiteral("\r\nCOM: plain")}));
    EXPECT_EQ(Lines(ReadAll(path)),
              QList<QByteArray>({Bytes(CommLayerVersionLine()), Bytes(where), Bytes(stamped), "COM: plain"}));
}

TEST(StatusLog, AnUnwritableFileIsReportedAndTheEntryStillShown) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.log")));
    const struct {
        const char* what;
        QString path;
    } cases[] = {
        {"folder that does not exist", dir.filePath(QStringLiteral("missing/utility.log"))},
        {"a folder in the place of the file", dir.filePath(QStringLiteral("folder.log"))},
    };
    for (const auto& c : cases) {
        StatusLog log(c.path, StatusLog::kSerialTerminalLimit);
        Collector shown;
        Collector errors;
        log.SetVisualOut(shown.Out());
        log.SetErrorOut(errors.Out());
        log.Add(LogLevel::Simple, QStringLiteral("COM"), QStringLiteral("first"));
        log.Add(LogLevel::Simple, QStringLiteral("COM"), QStringLiteral("second"));
        ASSERT_TRUE(log.Flush()) << c.what;

        EXPECT_EQ(shown.Texts().size(), 4) << c.what; // the version, the file, two entries
        EXPECT_EQ(shown.Texts().last(), QStringLiteral("\r\nCOM: second")) << c.what;
        // One report for each entry that did not reach the file.
        const QString error = QStringLiteral("Error when save log file:") + c.path;
        EXPECT_EQ(errors.Texts(), QStringList({error, error})) << c.what;
    }
}

TEST(StatusLog, EntriesFromSeveralThreadsKeepTheirOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    StatusLog log(path, 0);
    Collector shown;
    log.SetVisualOut(shown.Out());
    constexpr int kThreads = 4;
    constexpr int kEntries = 100;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kEntries; ++i) {
                log.Add(LogLevel::Simple, QStringLiteral("T%1").arg(t), QString::number(i));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    ASSERT_TRUE(log.Flush());

    // The file holds what the memo showed, line for line, each thread's entries in its order.
    const QList<QByteArray> lines = Lines(ReadAll(path));
    const QStringList texts = shown.Texts();
    constexpr int kHeader = 2; // the version and the file's path
    ASSERT_EQ(lines.size(), kHeader + kThreads * kEntries);
    ASSERT_EQ(texts.size(), lines.size());
    std::vector<int> next(kThreads, 0);
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ("\r\n" + QString::fromLatin1(lines[i]), texts[i]);
        if (i < kHeader) {
            continue;
        }
        const int t = lines[i].mid(1, 1).toInt();
        EXPECT_EQ(lines[i], QByteArray("T") + QByteArray::number(t) + ": " + QByteArray::number(next[t]++));
    }
}

TEST(StatusLog, RandomEntriesKeepTheFileWithinTheLimitAndWellFormed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("utility.log"));
    StatusLog log(path, StatusLog::kSerialTerminalLimit);
    std::mt19937 random(20240305);
    const std::vector<char16_t> alphabet = {0x00, 0x01,  0x09, 0x0A, 0x0D,   0x1B,   0x1F,   0x7F,   u'a',  u'Z',
                                            u' ', u'\\', 0xB0, 0xE9, 0x20AC, 0x0394, 0x044F, 0x6C34, 0xD83D};
    QString text;
    for (int i = 0; i < 300; ++i) {
        // Now and then one entry longer than the whole file may be.
        const int length = std::uniform_int_distribution<int>(0, i % 50 == 49 ? 3000 : 200)(random);
        text.clear();
        for (int k = 0; k < length; ++k) {
            text += QChar(alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)]);
        }
        log.Add(LogLevel::Simple, QStringLiteral("RX"), text);
        if (i % 37 == 0) {
            ASSERT_TRUE(log.Flush());
        }
    }
    ASSERT_TRUE(log.Flush());

    const QByteArray bytes = ReadAll(path);
    EXPECT_LE(bytes.size(), StatusLog::kSerialTerminalLimit);
    Lines(bytes);
    const QByteArray last = Bytes(ShowControls(QStringLiteral("RX: ") + text)) + "\r\n";
    EXPECT_TRUE(bytes.endsWith(last.right(StatusLog::kSerialTerminalLimit)));
}
