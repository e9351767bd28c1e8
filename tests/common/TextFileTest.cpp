#include "common/TextFile.h"
#include "support/WriteUnder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace text_file_test {

using namespace common;

TEST(TextFile, WritesWindows1252WithCrLfAndNoByteOrderMark) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    ASSERT_TRUE(WriteTextFile(path, {QStringLiteral("Sector 120°"), QString(), QStringLiteral("€ – ≈")}));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // "°" is the single byte 0xB0, "€" 0x80, the en dash 0x96; "≈" has no byte and becomes "?".
    EXPECT_EQ(file.readAll(), QByteArray("Sector 120\xB0\r\n\r\n\x80 \x96 ?\r\n"));
}

TEST(TextFile, ReadsBackWhatItWrote) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.tpu"));
    const QStringList lines = {QStringLiteral("0.15"), QStringLiteral("Roll ±0.02°"), QString()};
    ASSERT_TRUE(WriteTextFile(path, lines));
    QStringList read;
    ASSERT_TRUE(ReadTextFile(path, read));
    EXPECT_EQ(read, lines);
}

// The corners of Windows-1252: the top of the code page, the five bytes it
// leaves unassigned, and files from old Macintosh tools that end lines with CR.
TEST(TextFile, KeepsTheCornersOfTheCodePage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("corners.txt"));
    ASSERT_TRUE(WriteTextFile(path, {QStringLiteral("\u00FF\u00A0")}));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xFF\xA0\r\n"));
    written.close();

    struct Case {
        QByteArray bytes;
        QStringList lines;
        const char* reason;
    };
    const Case cases[] = {
        {"a\x81"
         "b\r\n",
         {QStringLiteral("a\u0081b")},
         "an unassigned byte keeps its value, it is no NUL"},
        {"0.15\r30\rx\r", {"0.15", "30", "x"}, "CR alone ends a line"},
        {"0.15\r\n\r\nx\n", {"0.15", "", "x"}, "CR LF and LF end a line each"},
    };
    for (const Case& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        QStringList lines;
        ASSERT_TRUE(ReadTextFile(path, lines)) << c.reason;
        EXPECT_EQ(lines, c.lines) << c.reason;
    }
}

TEST(TextFile, ReportsAFileThatCannotBeWritten) {
    const FileResult written = WriteTextFile(QStringLiteral("/nonexistent-folder/report.txt"), {QStringLiteral("x")});
    EXPECT_FALSE(written);
    EXPECT_TRUE(written.Error().startsWith(QStringLiteral("Cannot create file \"/nonexistent-folder/report.txt\". ")))
        << written.Error().toStdString();
}

// Both ways of saving a file whole replace it only once every byte is written:
// a file-size limit that stops the write leaves the old file and no stray one.
TEST(TextFile, SaveWholeReplacesTheFileOrLeavesIt) {
    for (const WaitForDisk wait : {WaitForDisk::Yes, WaitForDisk::No}) {
        const char* mode = wait == WaitForDisk::Yes ? "waiting for the disk" : "without waiting";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("status.log"));
        ASSERT_TRUE(SaveWhole(path, QByteArray(3000, 'a'), wait)) << mode;
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadGroup | QFileDevice::ReadOther));
        ASSERT_TRUE(SaveWhole(path, QByteArray("new\r\n"), wait)) << mode;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("new\r\n")) << mode;
        EXPECT_TRUE(file.permissions() & QFileDevice::ReadOther) << mode << ": the old file's permissions kept";
        file.close();

        // A child process with a 1,000-byte file-size limit tries to write 5,000.
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit limit{1000, 1000};
            ::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const FileResult saved = SaveWhole(path, QByteArray(5000, 'b'), wait);
            std::_Exit(!saved && !saved.Error().isEmpty() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << mode << ": the failure is reported";
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("new\r\n")) << mode << ": the old file stays";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("status.log")}) << mode;
    }
}

// What the file cannot hold is named before it is written, each character
// once, and becomes one "?" (an emoji is one character, not two).
TEST(TextFile, CharactersOutsideTheCodePageAreNamedAndBecomeOneQuestionMark) {
    const QStringList texts{QStringLiteral("\u0141ukasz \U0001F600 Skibsv\u00E6rft \u20AC"),
                            QStringLiteral("\u0141\u4E2D")};
    EXPECT_EQ(OutsideWindows1252(texts),
              (QStringList{QStringLiteral("\u0141"), QStringLiteral("\U0001F600"), QStringLiteral("\u4E2D")}));
    EXPECT_EQ(EncodeWindows1252(texts[0]), QByteArray("?ukasz ? Skibsv\xE6rft \x80"));
    EXPECT_TRUE(OutsideWindows1252({QStringLiteral("0.02\u00B0 \u00B1 \u00B5s")}).isEmpty());
}

// Where no file may be made beside it, the file is rewritten in place: the
// new bytes go in whole, a shorter file ends where they end, and a disk that
// cannot take them leaves the old bytes, even those a cut-short write had
// already covered.
TEST(TextFile, SaveWholeInPlaceWritesEveryByteOrPutsTheOldOnesBack) {
    using support::DiskCondition;
    const QString fileTooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
    const QString diskFull = QString::fromLocal8Bit(std::strerror(ENOSPC));
    struct Case {
        const char* what;
        DiskCondition condition;
        int oldSize;
        int newSize;
        QString reason; // empty: the new file is in place
    };
    const Case cases[] = {
        {"shorter", DiskCondition::NoCreateRights, 5000, 100, QString()},
        {"longer", DiskCondition::NoCreateRights, 100, 5000, QString()},
        // The 64-byte limit stops the write part way through the old bytes.
        {"old file past the limit", DiskCondition::NoCreateRightsFileSizeLimit, 200, 100, fileTooLarge},
        {"new file past the limit", DiskCondition::NoCreateRightsFileSizeLimit, 20, 100, fileTooLarge},
        // A tmpfs gives a file whole pages: the old bytes hold two.
        {"within the old file's room", DiskCondition::NoCreateRightsFullDisk, 6000, 8000, QString()},
        {"past the old file's room", DiskCondition::NoCreateRightsFullDisk, 100, 5000, diskFull},
    };
    for (const WaitForDisk wait : {WaitForDisk::Yes, WaitForDisk::No}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + support::ConditionName(c.condition) +
                         (wait == WaitForDisk::Yes ? ", waiting for the disk" : ", without waiting"));
            const QByteArray old(c.oldSize, 'o');
            const QByteArray bytes(c.newSize, 'n');
            const support::WriteOutcome outcome =
                support::WriteUnder(c.condition, {QStringLiteral("status.log")}, old, [&](const QString& folder) {
                    return SaveWhole(QDir(folder).filePath(QStringLiteral("status.log")), bytes, wait).Error();
                });
            if (!outcome.skipped.isEmpty()) {
                GTEST_SKIP() << outcome.skipped.toStdString();
            }
            ASSERT_EQ(outcome.files.size(), 1U);
            EXPECT_EQ(outcome.error, c.reason);
            const QByteArray& expected = c.reason.isEmpty() ? bytes : old;
            EXPECT_TRUE(outcome.files[0] == expected)
                << outcome.files[0].size() << " bytes, " << outcome.files[0].count('o') << " of them old";
        }
    }
}

TEST(TextFile, AByteOrderMarkSelectsTheEncoding) {
    QTemporaryDir dir;
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Windows-1252", QByteArray("Roll \xB1"
                                    "0.02\xB0\r\nx\r\n")},
        {"UTF-8 with a mark", QByteArray("\xEF\xBB\xBFRoll \xC2\xB1"
                                         "0.02\xC2\xB0\nx\n")},
        {"UTF-8 without a mark, as an editor of today saves it", QByteArray("Roll \xC2\xB1"
                                                                            "0.02\xC2\xB0\nx\n")},
        {"UTF-16 LE with a mark", QByteArray("\xFF\xFER\0o\0l\0l\0 \0\xB1\0"
                                             "0\0.\0"
                                             "0\0"
                                             "2\0\xB0\0\r\0\n\0x\0",
                                             30)},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("file.tpu"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        QStringList lines;
        ASSERT_TRUE(ReadTextFile(path, lines)) << c.what;
        EXPECT_EQ(lines, (QStringList{QStringLiteral("Roll \u00B10.02\u00B0"), QStringLiteral("x")})) << c.what;
    }
    // A read limit takes only the start of a huge file.
    const QString path = dir.filePath(QStringLiteral("huge.tpu"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1 << 20, 'a'));
    file.close();
    QStringList lines;
    ASSERT_TRUE(ReadTextFile(path, lines, 1000));
    EXPECT_EQ(lines, QStringList{QString(1000, QLatin1Char('a'))});
}

} // namespace text_file_test
