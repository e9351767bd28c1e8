#include "app/Suite.h"

#include "app/ToolWindows.h"

#include <QDir>
#include <QFileInfo>

namespace app {

Suite CreateSuite() {
    Suite suite;
    suite.launcher = std::make_unique<Tutility_main>();
    const QString tpu = QStringLiteral("TTPU_Calculator");
    suite.tpu.reset(app::CreateToolWindow(tpu).window);
    suite.launcher->KeepWholeRunWindow(tpu, suite.tpu.get());
    return suite;
}

QString MissingDataMessage(const QString& folder) {
    // The launcher's own picture stands for all of them.
    if (QFileInfo(QDir(folder).filePath(QStringLiteral("banner.png"))).isFile()) {
        return {};
    }
    return QStringLiteral("The pictures and documents of Tormalind UTILITY were not found; windows will show them "
                          "blank.\nThey were looked for in %1")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace app
