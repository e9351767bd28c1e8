// The capture file on its own: it only ever appends, writes every byte as it
// came, and says which file and why when the system refuses.
#include "commtools/CaptureFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using commtools::CaptureFile;

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
    ASSERT_TRUE(capture.Open(path)) << capture.Error().toStdString();
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
    EXPECT_FALSE(capture.Open(path));
    EXPECT_FALSE(capture.IsOpen());
    EXPECT_EQ(capture.Error(),
              QStringLiteral("Cannot open the capture file \"%1\": No such file or directory").arg(path));
    EXPECT_FALSE(capture.Write("x"));
}
