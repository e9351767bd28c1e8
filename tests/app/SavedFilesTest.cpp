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

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

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
    };
    struct Case {
        DiskCondition condition;
        bool replaced;  // the new file is in place
        QString reason; // the system's words in the error box
    };
    const Case cases[] = {
        {DiskCondition::FullDisk, false, QStringLiteral("No space left on device")},
        {DiskCondition::FileSizeLimit, false, QStringLiteral("File too large")},
        // Written in place, as an editor does, where no temporary file can be made.
        {DiskCondition::NoCreateRights, true, QString()},
        {DiskCondition::ReadOnlyFile, false, QString()},
    };
    const QByteArray old("the survey of yesterday\r\n");
    const QString start = QDir::currentPath();
    for (const Saver& saver : savers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(saver.name) + ", " + support::ConditionName(c.condition));
            const support::WriteOutcome outcome = support::WriteUnder(
                c.condition, saver.files, old, [&](const QString& folder) { return Saved(saver, folder); });
            QDir::setCurrent(start);
            if (!outcome.skipped.isEmpty()) {
                GTEST_SKIP() << outcome.skipped.toStdString();
            }
            ASSERT_EQ(outcome.files.size(), static_cast<size_t>(saver.files.size()));
            if (c.replaced) {
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
            EXPECT_FALSE(outcome.error.contains(QLatin1Char('\n'))) << outcome.error.toStdString();
            EXPECT_TRUE(outcome.error.contains(c.reason)) << outcome.error.toStdString();
            EXPECT_FALSE(outcome.error.contains(QStringLiteral("Unknown error"))) << outcome.error.toStdString();
            for (const QByteArray& file : outcome.files) {
                EXPECT_EQ(file, old) << "the old file changed";
            }
        }
    }
    kit::SetDesktopOpener({});
}
