// Naming a complete file without replacing one, where the folder refuses hard
// links and never-replace renames and only a copy is left: a copy the disk
// cuts short never stands under the final name.
#include "common/NewFileName.h"
#include "support/WriteUnder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace new_file_name_test {

namespace {

// What an exFAT or FAT folder answers.
int RefusedLink(const char*, const char*) {
    errno = EPERM;
    return -1;
}
int RefusedRename(const char*, const char*) {
    errno = EINVAL;
    return -1;
}

} // namespace

// The copy fails and says why in the system's words; the working file stays whole for the
// caller, an earlier file of the name stays as it was, and no file is left
// under the name or a numbered one.
TEST(NameWithoutReplacing, ACopyCutShortByTheDiskLeavesNoFileUnderAnyName) {
    const QString working = QStringLiteral(".tide.txt.partial-ab12CD");
    const QString name = QStringLiteral("tide.txt");
    const QByteArray bytes(20000, 'w');
    struct Case {
        support::DiskCondition condition;
        bool nameTaken; // an earlier tide.txt: the copy goes to tide.txt.1
        std::string reason;
    } cases[] = {
        {support::DiskCondition::FileSizeLimit, false, std::strerror(EFBIG)},
        {support::DiskCondition::FileSizeLimit, true, std::strerror(EFBIG)},
        {support::DiskCondition::FullDisk, false, std::strerror(ENOSPC)},
        {support::DiskCondition::FullDisk, true, std::strerror(ENOSPC)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(support::ConditionName(c.condition)) + (c.nameTaken ? ", name taken" : ""));
        const QStringList files = c.nameTaken ? QStringList{working, name} : QStringList{working};
        const support::WriteOutcome outcome =
            support::WriteUnder(c.condition, files, bytes, [&](const QString& folder) {
                const std::filesystem::path from = QDir(folder).filePath(working).toStdString();
                std::filesystem::path named;
                const common::FileResult result = common::NameWithoutReplacing(
                    from, folder.toStdString(), name.toStdString(), {&RefusedLink, &RefusedRename}, named);
                QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
                entries.removeOne(QStringLiteral(".filler")); // what fills the small disk
                return (result ? QStringLiteral("named ") + QString::fromStdString(named.filename().string())
                               : result.Error()) +
                       QLatin1Char('|') + entries.join(QLatin1Char(' '));
            });
        if (!outcome.skipped.isEmpty()) {
            GTEST_SKIP() << outcome.skipped.toStdString();
        }
        EXPECT_EQ(outcome.error.toStdString(), c.reason + "|" + files.join(QLatin1Char(' ')).toStdString());
        ASSERT_EQ(outcome.files.size(), static_cast<std::size_t>(files.size()));
        for (const QByteArray& file : outcome.files) {
            EXPECT_TRUE(file == bytes) << file.size() << " bytes";
        }
    }
}

} // namespace new_file_name_test
