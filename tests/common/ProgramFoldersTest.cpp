#include "common/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace program_folders_test {

// The log goes beside the program only in a build tree that takes files; an
// installed program, or one in a folder nobody may write to (/proc takes no
// file even for root), logs to the user's data folder, made when missing.
TEST(ProgramFolders, TheLogGoesBesideTheProgramOnlyInAWritableBuildTree) {
    QTemporaryDir home;
    const QString program = home.filePath(QStringLiteral("build"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString userData = home.filePath(QStringLiteral("share/Tormalind UTILITY"));
    const struct {
        const char* what;
        QString programFolder;
        bool installed;
        QString userData;
        QString expected;
    } cases[] = {
        {"a build tree", program, false, userData, program},
        {"an installed tree", program, true, userData, userData},
        {"a folder that takes no file", QStringLiteral("/proc"), false, userData, userData},
        {"no folder to be had", QStringLiteral("/proc"), false, QStringLiteral("/proc/no/such"), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(common::ChooseLogFolder(c.programFolder, c.installed, c.userData), c.expected) << c.what;
    }
    EXPECT_TRUE(QFileInfo(userData).isDir());
    EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList())
        << "the probe leaves nothing behind";
}

} // namespace program_folders_test
