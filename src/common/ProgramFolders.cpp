#include "common/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace common {

namespace {

constexpr auto kInstalledData = "/../share/tormalind-utility";

struct Data {
    QString folder;
    bool installed = false;
};

const Data& FindData() {
    static const Data data = [] {
        const QString program = QCoreApplication::applicationDirPath();
        const QString candidates[] = {program + QStringLiteral("/assets"), program + QStringLiteral("/../assets"),
                                      program + QLatin1String(kInstalledData)};
        for (const QString& candidate : candidates) {
            if (QFileInfo(candidate).isDir()) {
                return Data{QDir::cleanPath(candidate), candidate == candidates[2]};
            }
        }
        return Data{QDir::cleanPath(candidates[0]), false};
    }();
    return data;
}

// Whether a file can be made there. Asked by making one, since the permission
// bits do not tell for root or for a read-only file system.
bool TakesFiles(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.log-probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString DataFolder() { return FindData().folder; }

bool RunsInstalled() { return FindData().installed; }

QString ChooseLogFolder(const QString& programFolder, bool installed, const QString& userDataFolder) {
    if (!installed && TakesFiles(programFolder)) {
        return programFolder;
    }
    return QDir().mkpath(userDataFolder) ? userDataFolder : QString();
}

QString LogFolder() {
    return ChooseLogFolder(QCoreApplication::applicationDirPath(), RunsInstalled(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace common
