#include "kit/Assets.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPixmapCache>

namespace kit {

QString AssetPath(const QString& name) {
    const QString besideExecutable = QCoreApplication::applicationDirPath() + QStringLiteral("/assets/") + name;
    if (QFileInfo::exists(besideExecutable)) {
        return besideExecutable;
    }
    return QStringLiteral(TORMALIND_ASSET_DIR "/") + name;
}

QPixmap AssetPixmap(const QString& name) {
    QPixmap pixmap;
    if (!QPixmapCache::find(name, &pixmap)) {
        pixmap.load(AssetPath(name));
        QPixmapCache::insert(name, pixmap);
    }
    return pixmap;
}

} // namespace kit
