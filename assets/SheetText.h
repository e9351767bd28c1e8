// The requirement sheets: a small text markup, one file per sheet, read into a titled table,
// and the page the survey order sheets share.
#pragma once

#include "assets/AssetPainting.h"

#include <QImage>
#include <QString>

namespace assets {

// Lines of 'key: value': title, intro, columns (criterion | requirement), row (the same) and
// note; '#' starts a comment and '\n' in a cell breaks its line. A malformed line stops the build.
Sheet ReadSheet(const QString& path);

// The page every survey order sheet is laid out on.
SheetPage OrderPage();

// The sheet as a w x h picture, for a window that shows a table rather than a document.
QImage DrawSheetPicture(const Sheet& sheet, int w, int h);

} // namespace assets
