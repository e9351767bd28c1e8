// The gyro speed error window's two pictures.
#pragma once

#include <QImage>

namespace assets {

// The speed error in a picture: gyro north off true north by e, with the vessel's speed, its
// course and its north component, and the formula beside it.
QImage DrawGyroDiagram();

// A gyroscope standing on the turning earth.
QImage DrawGyroEarth();

} // namespace assets
