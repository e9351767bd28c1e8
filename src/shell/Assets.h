// Pictures and documents made at build time (assets/): looked up next to the
// executable first, then in the build tree they were generated into.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

namespace shell {

QString AssetPath(const QString& name);

// The picture of that name, cached for the run; a null pixmap when missing.
QPixmap AssetPixmap(const QString& name);

// A font by name, pixel height and weight, as the window layouts give them.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

} // namespace shell
