// Pictures and documents made at build time (assets/): looked up next to the
// executable first, then in the build tree they were generated into.
#pragma once

#include <QPixmap>
#include <QString>

namespace kit {

QString AssetPath(const QString& name);

// The picture of that name, cached for the run; a null pixmap when missing.
QPixmap AssetPixmap(const QString& name);

} // namespace kit
