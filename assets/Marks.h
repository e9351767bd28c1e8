// The suite's own marks and the small pictures the windows carry: the window icon and the
// launcher's banner, the maker's logo, the survey authorities' logos and flags, and the signs,
// arrows and figures drawn beside the calculators' controls.
#pragma once

#include <QImage>

namespace assets {

// The window icon, 'size' pixels square, with a crop of the survey picture (DrawSeabed) as its bed:
// a rounded tile on a transparent ground. From 32 px up it is one picture scaled; 16 and 24 px are
// drawn in their own pixels with fewer, bolder strokes.
QImage DrawIcon(const QImage& seabed, int size = 64);
QImage DrawBanner();
QImage DrawMakerLogo();
QImage DrawIhoMark();
QImage DrawNordicFlags();
QImage DrawLinzBadge();
QImage DrawDutchFlag();
QImage DrawWindfarmWordMark();
QImage DrawFormulaRoot();
QImage DrawScrollArrow();
QImage DrawRoadworksSign();
QImage DrawVehicleFront();

} // namespace assets
