#include "common/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(TextFile, ReportsAFileThatCannotBeWritten) {
    QString error;
    EXPECT_FALSE(WriteTextFile(QStringLiteral("/nonexistent-folder/report.txt"), {QStringLiteral("x")}, &error));
    EXPECT_FALSE(error.isEmpty());
}
