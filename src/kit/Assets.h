// Pictures and documents made at build time (assets/), found in the program's
// data folder: its build tree or its installed tree (common/ProgramFolders.h).
#pragma once

#include <QPixmap>
#include <QString>

namespace kit {

QString AssetPath(const QString& name);

// The picture of that name, cached for the run; a null pixmap when missing.
QPixmap AssetPixmap(const QString& name);

} // namespace kit
