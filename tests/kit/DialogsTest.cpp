// The file dialogs a surveyor meets: a name proposed from what was typed, and
// the folder last used for each kind of file offered again.
#include "kit/Dialogs.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dialogs_test {

namespace {

using kit::FileDialogRequest;

TEST(Dialogs, ANameFromATypedTextHoldsNoPathOrWildcard) {
    const struct {
        QString typed, name;
    } cases[] = {
        {QStringLiteral("  North Sea 2026 "), QStringLiteral("North Sea 2026")},
        {QStringLiteral("../../etc/passwd"), QStringLiteral("_.._etc_passwd")},
        {QStringLiteral("Cable *A*: \"east\"|west\\x"), QStringLiteral("Cable _A__ _east__west_x")},
        {QStringLiteral("Line\none\t2"), QStringLiteral("Line_one_2")},
        {QStringLiteral(".hidden"), QStringLiteral("hidden")},
        {QStringLiteral("Skibsv\u00E6rft \u0141"), QStringLiteral("Skibsv\u00E6rft \u0141")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kit::FileNameFrom(c.typed), c.name) << c.typed.toStdString();
    }
}

TEST(Dialogs, EachKindOfFileOpensInTheFolderLastUsedForIt) {
    QTemporaryDir base;
    ASSERT_TRUE(QDir(base.path()).mkpath(QStringLiteral("settings")));
    ASSERT_TRUE(QDir(base.path()).mkpath(QStringLiteral("stick")));
    QStringList offered;
    QString answer;
    kit::SetFileDialogPresenter([&](const FileDialogRequest& request) {
        offered << request.folder;
        return answer;
    });
    const auto ask = [&](const char* kind, const QString& chosen) {
        FileDialogRequest request;
        request.folderKind = QString::fromLatin1(kind);
        answer = chosen;
        kit::AskFileName(nullptr, request);
    };
    const QString settings = base.filePath(QStringLiteral("settings"));
    const QString stick = base.filePath(QStringLiteral("stick"));
    ask("test-settings", settings + QStringLiteral("/a.tpu"));
    ask("test-settings", QString()); // a cancel forgets nothing
    ask("test-settings", stick + QStringLiteral("/b.tpu"));
    ask("test-pictures", QString());
    ask("test-settings", QString());
    QDir(stick).removeRecursively(); // the stick taken out
    ask("test-settings", QString());
    EXPECT_EQ(offered, (QStringList{QString(), settings, settings, QString(), stick, QString()}));
    kit::SetFileDialogPresenter({});
}

} // namespace

} // namespace dialogs_test
