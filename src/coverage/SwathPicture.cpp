#include "coverage/SwathPicture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace coverage {

namespace {

constexpr int kLeftWall = 0;
constexpr int kRightWall = 500; // the outlines end at 501, the last pixel column inside is 500
constexpr int kWaterTop = 0;
constexpr int kHeadLine = 20; // the head centres hang here
constexpr int kSeabedY = 185;
constexpr int kSeabedBottom = 200;
// The fan's corners lie 160 tangents out from the head, although the seabed
// line is 165 pixels under the head line: the drawn edges are a little steeper
// than the angles they stand for, which the picture, not to scale, accepts.
constexpr int kFanSpread = 160;

constexpr int kSingleHead = 250;
constexpr int kHead1 = 200;
constexpr int kHead2 = 300;

constexpr double kHalfPi = std::numbers::pi / 2.0;
// An edge at or past the horizontal would never meet the seabed line; just
// short of it, it meets a wall a couple of pixels under the head line.
constexpr double kSteepestEdge = kHalfPi - 0.01;

// Every value rounded here is bounded (the steepest edge keeps tangents near
// 100), so the conversions cannot overflow. A length, such as a corner's
// distance from its head, is cut toward zero; a position falls on the pixel it
// lies in, the one to its left or above it, on either side of the origin.
int Pixels(double length) { return static_cast<int>(length); }
int Pixel(double position) { return static_cast<int>(std::floor(position)); }

// The drawing angle of a fan edge, measured from straight down toward its own
// side. An edge beyond the horizontal is drawn at the steepest edge; so is one
// turned past the horizontal on the other side (a tilt far beyond the half
// sector), where the tangent would otherwise wrap round and throw the edge back
// to its own side. A sector or tilt that is not a number gives no direction at
// all: that edge is drawn straight down.
double DrawingAngle(double angle) {
    if (std::isnan(angle)) {
        return 0.0;
    }
    return std::clamp(angle, -kSteepestEdge, kSteepestEdge);
}

// A 40 × 10 pixel bar turned by the mounting angle. Unmirrored, a positive
// angle lifts the right end, so the face looks down and to the right. A bar
// turned steeper than about 37° would poke up to three pixels above the
// water's top line; its corners are held on that line (the spinner stops at
// 30°, so only a typed angle gets there).
std::array<PicturePoint, 4> HeadBar(int cx, double mu, bool mirrored) {
    const double side = mirrored ? -1.0 : 1.0;
    const double offsets[4][2] = {
        {20.0 * std::cos(mu), -20.0 * std::sin(mu)},
        {22.4 * std::cos(mu + 0.46), -22.4 * std::sin(mu + 0.46)},
        {-22.4 * std::cos(mu - 0.46), 22.4 * std::sin(mu - 0.46)},
        {-20.0 * std::cos(mu), 20.0 * std::sin(mu)},
    };
    std::array<PicturePoint, 4> corners{};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        // The whole coordinate is rounded, not the offset: a left-hand
        // corner at 229.9 lands on 229.
        corners[i] = {Pixel(cx + side * offsets[i][0]), std::max(kWaterTop, Pixel(kHeadLine + offsets[i][1]))};
    }
    return corners;
}

// Where one fan edge leaves the water. For an edge on the seabed line both
// points are that corner; for an edge on its own wall, the wall point and the
// foot of the wall (the picture's bottom corner); for an edge on the opposite
// wall, its point there twice.
struct EdgeEnd {
    PicturePoint wall;
    PicturePoint corner;
    bool oppositeWall;
};

// A strong rotation can turn an edge across under its head so far that its
// seabed corner lies beyond the opposite wall (a left edge's corner right of
// 500, a right edge's left of 0). The drawn edge is the line from the head
// centre to that corner, so it is cut where that line crosses the wall it
// actually reaches: the edge keeps its slope, and its end climbs the wall from
// the seabed corner as the rotation grows. The corner being past the wall, the
// point lies between the head line and the seabed line.
PicturePoint OnOppositeWall(int cx, int wall, int cornerX) {
    const double run = std::abs(cornerX - cx);
    return {wall, Pixel(kHeadLine + (kSeabedY - kHeadLine) * std::abs(wall - cx) / run)};
}

// a: the opening to the left of the vertical (negative: the edge points right).
EdgeEnd LeftEdge(int cx, double a) {
    const int x = cx - Pixels(kFanSpread * std::tan(a));
    if (x <= kLeftWall) {
        const int y = std::max(kHeadLine, Pixel(kHeadLine + (cx - kLeftWall) * std::tan(kHalfPi - a)));
        return {{kLeftWall, y}, {kLeftWall, kSeabedY}, false};
    }
    if (x > kRightWall) {
        const PicturePoint end = OnOppositeWall(cx, kRightWall, x);
        return {end, end, true};
    }
    return {{x, kSeabedY}, {x, kSeabedY}, false};
}

// b: the opening to the right of the vertical (negative: the edge points left).
EdgeEnd RightEdge(int cx, double b) {
    const int x = Pixel(cx + kFanSpread * std::tan(b));
    if (x >= kRightWall) {
        const int y = std::max(kHeadLine, Pixel(kHeadLine + (kRightWall - cx) * std::tan(kHalfPi - b)));
        return {{kRightWall, y}, {kRightWall, kSeabedY}, false};
    }
    if (x < kLeftWall) {
        const PicturePoint end = OnOppositeWall(cx, kLeftWall, x);
        return {end, end, true};
    }
    return {{x, kSeabedY}, {x, kSeabedY}, false};
}

SwathFan Fan(int cx, double a, double b, FanHatch hatch) {
    EdgeEnd left = LeftEdge(cx, a);
    EdgeEnd right = RightEdge(cx, b);
    // When one edge ends on the opposite wall, both edges end on that wall
    // and the fan is the wedge between the two wall points: the seabed
    // corner under that wall lies outside it, so its place in the outline
    // takes the other edge's wall point again.
    if (left.oppositeWall) {
        right.corner = right.wall;
    }
    if (right.oppositeWall) {
        left.corner = left.wall;
    }
    return {hatch, {PicturePoint{cx, kHeadLine}, left.wall, left.corner, right.corner, right.wall}};
}

} // namespace

SwathPicture ComputeSwathPicture(double halfSector, double tilt, double mountingAbs, bool dual, bool mountingNegative) {
    const double left = DrawingAngle(halfSector - tilt);
    const double right = DrawingAngle(halfSector + tilt);
    const double mu = std::isfinite(mountingAbs) ? mountingAbs : 0.0;

    SwathPicture picture;
    picture.water = {{kLeftWall, kWaterTop}, {kRightWall + 1, kSeabedY}};
    picture.seabed = {{kLeftWall, kSeabedY}, {kRightWall + 1, kSeabedBottom}};
    if (!dual) {
        picture.heads.push_back(HeadBar(kSingleHead, mu, mountingNegative));
        picture.fans.push_back(Fan(kSingleHead, left, right, FanHatch::RedRising));
        return picture;
    }
    // The heads hang mirrored about the vehicle's centre line: a mounting
    // angle turns both toward each other or both away, so head 2 opens to
    // the left by what head 1 opens to the right, and its bar is mirrored
    // against head 1's.
    picture.heads.push_back(HeadBar(kHead1, mu, mountingNegative));
    picture.heads.push_back(HeadBar(kHead2, mu, !mountingNegative));
    picture.fans.push_back(Fan(kHead1, left, right, FanHatch::RedRising));
    picture.fans.push_back(Fan(kHead2, right, left, FanHatch::GreenFalling));
    return picture;
}

} // namespace coverage
