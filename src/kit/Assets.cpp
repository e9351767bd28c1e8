#include "kit/Assets.h"

#include "common/ProgramFolders.h"

#include <QPixmapCache>

namespace kit {

QString AssetPath(const QString& name) { return common::DataFolder() + QLatin1Char('/') + name; }

QPixmap AssetPixmap(const QString& name) {
    QPixmap pixmap;
    if (!QPixmapCache::find(name, &pixmap)) {
        pixmap.load(AssetPath(name));
        QPixmapCache::insert(name, pixmap);
    }
    return pixmap;
}

} // namespace kit
