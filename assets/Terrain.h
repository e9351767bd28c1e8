// The synthetic multibeam survey behind the launcher and the window icon: a depth grid with the
// features a surveyor expects on a shallow shelf, and its shaded-relief picture. The depth
// colour ramp is shared with the sounding fans of the icon and the banner.
#pragma once

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace assets {

// Synthetic multibeam survey: a depth grid (metres, positive down, one cell a metre) with the
// features a surveyor expects to see on a shallow shelf, then the traces the survey itself
// leaves: swath edges where lines overlap and a slight roll residual in the outer beams.

struct DepthGrid {
    int w = 0, h = 0;
    std::vector<float> depth;
    std::vector<float> swathEdge; // 1 on the outer-beam edge of an overlying line, fading to 0
    float At(int x, int y) const {
        return depth[size_t(std::clamp(y, 0, h - 1)) * size_t(w) + size_t(std::clamp(x, 0, w - 1))];
    }
};

// The colour ramp of depth-coded bathymetry: red on the shoals, through yellow, green, cyan
// and blue, to purple in the deepest water. t = 0 is shallowest.
QColor DepthColour(double t);

DepthGrid SurveyDepths(int w, int h);

// The survey in shaded relief, with the lower third washed towards white for the launcher's labels.
QImage DrawSeabed(const DepthGrid& survey);

} // namespace assets
