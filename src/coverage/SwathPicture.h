// The swath picture of the coverage calculator as shapes in its own pixels: the
// water and the seabed, the sonar head bars turned by the mounting angle, and
// the fan of beams under each head down to the seabed. It shows how the heads
// are tilted, not the true swath: the fan always runs from the head line to the
// seabed line, whatever the water depth and range. The picture is 501 × 200
// pixels; its view only paints these shapes.
#pragma once

#include <array>
#include <vector>

namespace coverage {

// The picture's pixels from its top-left corner: x to the right, y downward.
struct PicturePoint {
    int x;
    int y;

    friend bool operator==(const PicturePoint&, const PicturePoint&) = default;
};

// Drawn as a rectangle from topLeft to bottomRight, with the right and bottom
// edges just outside: the outline's last pixel column is bottomRight.x − 1 and
// its last row bottomRight.y − 1, so the water's outline ends on the right wall
// (500) and the seabed's starts on the seabed line (185).
struct PictureRect {
    PicturePoint topLeft;
    PicturePoint bottomRight;

    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

enum class FanHatch {
    RedRising,    // 45° lines rising to the right, red (255, 0, 0): the single head and head 1
    GreenFalling, // 45° lines falling to the right, green (0, 128, 0): head 2
};

// One head's beams: head centre, left wall point (or the left bottom corner
// again), left bottom corner, right bottom corner, right wall point (or the
// right bottom corner again). Every point lies in the water between the head
// line and the seabed.
struct SwathFan {
    FanHatch hatch;
    std::array<PicturePoint, 5> points;
};

struct SwathPicture {
    PictureRect water;
    PictureRect seabed;
    // Solid black bars: one for a single head; head 1 (left) then head 2 for two.
    std::vector<std::array<PicturePoint, 4>> heads;
    // In painting order, one per head, the single head's or head 1's first.
    std::vector<SwathFan> fans;
};

// halfSector: h, half the sector coverage; tilt: τ, the total tilt of the
// sector (mounting angle plus rotation; the mounting angle alone for two
// heads); mountingAbs: μ, the absolute mounting angle; all in radians.
// mountingNegative: the mounting angle is below zero, which mirrors the bars.
// Any input gives shapes inside the picture, (0, 0) to (501, 200):
// a drawing angle that is not a number is drawn straight down, and a
// mounting angle that is not finite as a level head.
SwathPicture ComputeSwathPicture(double halfSector, double tilt, double mountingAbs, bool dual, bool mountingNegative);

} // namespace coverage
