// Every file the suite saves, on the disks a survey shift meets: a full disk,
// a file-size limit, a folder where no file may be made and a read-only file.
// A save either puts the whole new file in place or says why and leaves the
// old one as it was, byte for byte.
#include "coverage/TR2SonicCoverage.h"
#include "kit/Dialogs.h"
#include "lineplan/Tsurveyplan.h"
#include "support/MessageLog.h"
#include "support/WriteUnder.h"
#include "tpu/TTPU_Calculator.h"

#include <QAction>
#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <unistd.h>

namespace saved_files_test {

namespace {

using support::DiskCondition;

// One saving command of a window, run against `folder`: what its error box
// said, empty when it said nothing.
struct Saver {
    const char* name;
    QStringList files;
    std::function<void(const QString& folder)> save;
};

QString Saved(const Saver& saver, const QString& folder) {
    MessageLog::Take();
    saver.save(folder);
    const QStringList shown = MessageLog::Take();
    return shown.join(QLatin1Char('\n'));
}

// The file dialog answers with `name` in `folder`.
std::function<void(const QString&)> Answering(const QString& name, const std::function<void()>& click) {
    return [name, click](const QString& folder) {
        kit::SetFileDialogPresenter([&](const kit::FileDialogRequest&) { return QDir(folder).filePath(name); });
        click();
        kit::SetFileDialogPresenter({});
    };
}

} // namespace

TEST(SavedFiles, AreReplacedWholeOrLeftAsTheyWereWithTheReason) {
    kit::SetDesktopOpener([](const QString&) { return true; });
    TR2SonicCoverage coverage;
    Tsurveyplan planner;
    TTPU_Calculator tpu;
    // A chart's own menu item, as the user reaches it from the chart's corner.
    QAction* savePicture = tpu.findChild<QAction*>(QStringLiteral("TVU_Calc_Chart_SavePicture"));
    ASSERT_NE(savePicture, nullptr);
    const Saver savers[] = {
        {"coverage report", {"coverage.txt"}, Answering("coverage.txt", [&] { coverage.btnSavetoTxtClick(); })},
        {"line plan report", {"plan.txt"}, Answering("plan.txt", [&] { planner.Button2Click(); })},
        {"settings file", {"survey.tpu"}, Answering("survey.tpu", [&] { tpu.Button6Click(); })},
        // The report and its picture go to the working folder.
        {"PDF report and picture",
         {"TPU_Graph.bmp", "TPU_Report.pdf"},
         [&](const QString& folder) {
             QDir::setCurrent(folder);
             tpu.btn_Print_PDFClick();
         }},
        {"TPU sweep", {"TPU_Sweep.csv"}, Answering("TPU_Sweep.csv", [&] { tpu.btnExportSweepClick(); })},
        {"chart picture", {"TVU.png"}, Answering("TVU.png", [&] { savePicture->trigger(); })},
    };
    // Where no file may be made the file is rewritten in place, and a full disk
    // can still take the new bytes where they fit in the room the old ones
    // hold: a tmpfs gives a file whole pages.
    enum class Expect { Replaced, Kept, ReplacedWhereItFits };
    struct Case {
        DiskCondition condition;
        Expect expect;
        QString reason; // the system's words in the error box
    };
    const Case cases[] = {
        {DiskCondition::FullDisk, Expect::Kept, QStringLiteral("No space left on device")},
        {DiskCondition::FileSizeLimit, Expect::Kept, QStringLiteral("File too large")},
        // Written in place, as an editor does, where no temporary file can be made.
        {DiskCondition::NoCreateRights, Expect::Replaced, QString()},
        {DiskCondition::ReadOnlyFile, Expect::Kept, QString()},
        {DiskCondition::NoCreateRightsFullDisk, Expect::ReplacedWhereItFits, QStringLiteral("No space left on device")},
        {DiskCondition::NoCreateRightsFileSizeLimit, Expect::Kept, QStringLiteral("File too large")},
    };
    const QByteArray old("the survey of yesterday\r\n");
    const qint64 page = ::sysconf(_SC_PAGESIZE);
    const qint64 oldRoom = (old.size() + page - 1) / page * page;
    const QString start = QDir::currentPath();
    for (const Saver& saver : savers) {
        // The save where nothing stands in its way, for the size of what it
        // writes; in a process of its own, as every save here, since a window
        // drawn in this one would leave the painting threads that a forked
        // child waits for in vain.
        const support::WriteOutcome unhindered = support::WriteUnder(
            DiskCondition::Unhindered, saver.files, old, [&](const QString& folder) { return Saved(saver, folder); });
        QDir::setCurrent(start);
        EXPECT_EQ(unhindered.error, QString()) << saver.name;
        qint64 largest = 0;
        for (const QByteArray& file : unhindered.files) {
            largest = std::max(largest, static_cast<qint64>(file.size()));
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(saver.name) + ", " + support::ConditionName(c.condition));
            const support::WriteOutcome outcome = support::WriteUnder(
                c.condition, saver.files, old, [&](const QString& folder) { return Saved(saver, folder); });
            QDir::setCurrent(start);
            if (!outcome.skipped.isEmpty()) {
                GTEST_SKIP() << outcome.skipped.toStdString();
            }
            ASSERT_EQ(outcome.files.size(), static_cast<size_t>(saver.files.size()));
            if (c.expect == Expect::Replaced || (c.expect == Expect::ReplacedWhereItFits && largest <= oldRoom)) {
                EXPECT_EQ(outcome.error, QString());
                for (const QByteArray& file : outcome.files) {
                    EXPECT_NE(file, old);
                    EXPECT_GT(file.size(), 64);
                }
                continue;
            }
            // One error box that names a file of the save and gives the reason.
            EXPECT_TRUE(outcome.error.startsWith(QStringLiteral("error: Cannot create file \"")))
                << outcome.error.toStdString();
            EXPECT_TRUE(std::any_of(saver.files.cbegin(), saver.files.cend(), [&](const QString& name) {
                return outcome.error.contains(name + QStringLiteral("\". "));
            })) << outcome.error.toStdString();
            EXPECT_FALSE(outcome.error.contains(QLatin1Char('\n'))) << outcome.error.toStdString();
            EXPECT_TRUE(outcome.error.contains(c.reason)) << outcome.error.toStdString();
            EXPECT_FALSE(outcome.error.contains(QStringLiteral("Unknown error"))) << outcome.error.toStdString();
            for (const QByteArray& file : outcome.files) {
                EXPECT_TRUE(file == old) << "the old file changed: " << file.size() << " bytes now";
            }
        }
    }
    kit::SetDesktopOpener({});
}

} // namespace saved_files_test
