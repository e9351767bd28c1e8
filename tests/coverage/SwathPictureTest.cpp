#include "coverage/SwathPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace swath_picture_test {

using namespace coverage;

namespace {

using Bar = std::array<PicturePoint, 4>;
using Outline = std::array<PicturePoint, 5>;

double Rad(double degrees) { return degrees * std::numbers::pi / 180.0; }

std::ostream& operator<<(std::ostream& out, const PicturePoint& p) { return out << '(' << p.x << ',' << p.y << ')'; }

template <std::size_t N> std::string Text(const std::array<PicturePoint, N>& points) {
    std::ostringstream text;
    for (const PicturePoint& p : points) {
        text << p;
    }
    return text.str();
}

// The points compared as text, so a failure shows the whole outline.
void ExpectFan(const SwathFan& fan, FanHatch hatch, const Outline& points) {
    EXPECT_EQ(fan.hatch, hatch);
    EXPECT_EQ(Text(fan.points), Text(points));
}

} // namespace

// Start values: S = 140, m = 0, r = 0, one head at (250, 20), dl = dr = 250.
// A position falls on the pixel it lies in (⌊x⌋).
//   Bar, unmirrored, μ = 0: 22.4 cos 0.46 = 20.072 and 22.4 sin 0.46 = 9.944, so
//   (250 + 20, 20), (⌊270.07⌋, ⌊10.06⌋), (⌊229.93⌋, ⌊10.06⌋), (250 − 20, 20):
//   the left corner falls on 229, not 230.
//   Fan, a = b = 70°: 160 tan 70° = 439.60, so the left corner 250 − 439 = −189
//   is past the left wall: yl = ⌊20 + 250 tan 20°⌋ = ⌊110.99⌋ = 110;
//   the right corner ⌊689.6⌋ reaches 500: yr = 110 likewise.
TEST(SwathPicture, SingleHeadAtTheStartValues) {
    const SwathPicture picture = ComputeSwathPicture(Rad(70), 0.0, 0.0, false, false);

    EXPECT_EQ(picture.water, (PictureRect{{0, 0}, {501, 185}}));
    EXPECT_EQ(picture.seabed, (PictureRect{{0, 185}, {501, 200}}));
    ASSERT_EQ(picture.heads.size(), 1u);
    EXPECT_EQ(Text(picture.heads[0]), Text(Bar{{{270, 20}, {270, 10}, {229, 10}, {230, 20}}}));
    ASSERT_EQ(picture.fans.size(), 1u);
    ExpectFan(picture.fans[0], FanHatch::RedRising, {{{250, 20}, {0, 110}, {0, 185}, {500, 185}, {500, 110}}});
}

// Two heads, 100 pixels apart; a negative angle mirrors head 1, a positive one
// head 2, and head 2 opens by γR to the left and γL to the right.
TEST(SwathPicture, DualHeadsMirrorEachOther) {
    struct Case {
        const char* name;
        double mounting; // degrees; S = 140 in both
        Bar head1, head2;
        Outline fan1, fan2;
    };
    const Case cases[] = {
        // τ = −10°: γL = 80°, γR = 60°. 160 tan 80° = 907.4, 160 tan 60° = 277.1,
        // 200 tan 10° = 35.3 (the wall points at 55).
        {"m = -10",
         -10,
         {{{180, 16}, {181, 6}, {221, 13}, {219, 23}}},
         {{{319, 16}, {318, 6}, {278, 13}, {280, 23}}},
         {{{200, 20}, {0, 55}, {0, 185}, {477, 185}, {477, 185}}},
         {{{300, 20}, {23, 185}, {23, 185}, {500, 185}, {500, 55}}}},
        // τ = 20°: γL = 50°, γR = 90° lowered to π/2 − 0.01. 160 tan 50° = 190.7;
        // 300 tan 0.01 = 3.0 (the wall points at 23).
        {"m = +20",
         20,
         {{{218, 13}, {215, 3}, {177, 17}, {181, 26}}},
         {{{281, 13}, {284, 3}, {322, 17}, {318, 26}}},
         {{{200, 20}, {10, 185}, {10, 185}, {500, 185}, {500, 23}}},
         {{{300, 20}, {0, 23}, {0, 185}, {490, 185}, {490, 185}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SwathPicture picture =
            ComputeSwathPicture(Rad(70), Rad(c.mounting), Rad(std::abs(c.mounting)), true, c.mounting < 0);
        ASSERT_EQ(picture.heads.size(), 2u);
        EXPECT_EQ(Text(picture.heads[0]), Text(c.head1));
        EXPECT_EQ(Text(picture.heads[1]), Text(c.head2));
        ASSERT_EQ(picture.fans.size(), 2u);
        ExpectFan(picture.fans[0], FanHatch::RedRising, c.fan1);
        ExpectFan(picture.fans[1], FanHatch::GreenFalling, c.fan2);
    }
}

// A rotation beyond the half sector turns both edges to one side of the head.
TEST(SwathPicture, StrongRotationStaysBetweenTheWalls) {
    struct Case {
        const char* name;
        double sector, mounting, rotation; // degrees, one head
        Outline fan;
    };
    const Case cases[] = {
        // γL = −50°: the "left" corner lies right of the head, 250 + trunc 190.7;
        // γR = 90° is lowered and meets the right wall at ⌊20 + 250 tan 0.01⌋.
        {"S = 40, r = 70", 40, 0, 70, {{{250, 20}, {440, 185}, {440, 185}, {500, 185}, {500, 22}}}},
        // γL = −65°: the corner 250 + trunc 343.1 = 593 lies past the right wall, so
        // the line from the head to it ends on the wall at ⌊20 + 165 · 250 / 343⌋
        // = ⌊140.3⌋; γR = 75° meets the wall at ⌊20 + 250 tan 15°⌋ = 86, and
        // the seabed corner under that wall is outside the wedge.
        {"S = 10, r = 70", 10, 0, 70, {{{250, 20}, {500, 140}, {500, 140}, {500, 86}, {500, 86}}}},
        // Mirrored, the right corner falls on the pixel left of it, ⌊250 − 343.1⌋ = −94:
        // 20 + 165 · 250 / 344 = 139.9.
        {"S = 10, r = -70", 10, 0, -70, {{{250, 20}, {0, 86}, {0, 86}, {0, 139}, {0, 139}}}},
        // τ = 100°: γL = −95° is past the horizontal on the far side and is held at
        // −(π/2 − 0.01), not thrown back to the left by the tangent: the wedge
        // closes to a sliver at ⌊20 + 165 · 250 / 15999⌋ = 22 on the right wall.
        {"S = 10, m = 30, r = 70", 10, 30, 70, {{{250, 20}, {500, 22}, {500, 22}, {500, 22}, {500, 22}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SwathPicture picture = ComputeSwathPicture(Rad(c.sector / 2), Rad(c.mounting + c.rotation),
                                                         Rad(std::abs(c.mounting)), false, c.mounting < 0);
        ASSERT_EQ(picture.fans.size(), 1u);
        ExpectFan(picture.fans[0], FanHatch::RedRising, c.fan);
    }
}

// A typed mounting angle of 60° would lift a corner to ⌊20 − 22.4 sin(60° + 0.46 rad)⌋ = −3.
TEST(SwathPicture, SteepBarIsHeldAtTheWaterTop) {
    const SwathPicture picture = ComputeSwathPicture(Rad(70), Rad(60), Rad(60), false, false);
    EXPECT_EQ(Text(picture.heads[0]), Text(Bar{{{260, 2}, {251, 0}, {231, 32}, {240, 37}}}));
}

// A sector or tilt that is not a number gives no direction: the fan is a line
// straight down. An infinite sector opens to the steepest edge on both sides;
// a mounting angle that is not finite leaves the bar level.
TEST(SwathPicture, NonFiniteAnglesHaveAMeaning) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();

    const SwathPicture noDirection = ComputeSwathPicture(nan, 0.0, nan, false, false);
    ExpectFan(noDirection.fans[0], FanHatch::RedRising, {{{250, 20}, {250, 185}, {250, 185}, {250, 185}, {250, 185}}});
    EXPECT_EQ(Text(noDirection.heads[0]), Text(Bar{{{270, 20}, {270, 10}, {229, 10}, {230, 20}}}));

    const SwathPicture open = ComputeSwathPicture(inf, 0.0, 0.0, false, false);
    ExpectFan(open.fans[0], FanHatch::RedRising, {{{250, 20}, {0, 22}, {0, 185}, {500, 185}, {500, 22}}});
}

// Whatever the angles, the shapes stay in the picture and every fan point in
// the water between the head line and the seabed line.
TEST(SwathPicture, EveryPointStaysInsideThePicture) {
    std::vector<double> angles;
    for (int degrees = -180; degrees <= 180; degrees += 10) {
        angles.push_back(Rad(degrees));
    }
    for (double degrees : {-89.5, 89.5, 89.99, 90.01, 270.0, -400.0, 1e6}) {
        angles.push_back(Rad(degrees));
    }
    angles.push_back(std::numeric_limits<double>::quiet_NaN());
    angles.push_back(std::numeric_limits<double>::infinity());
    angles.push_back(-std::numeric_limits<double>::infinity());

    std::ostringstream failures;
    int failed = 0;
    auto check = [&](const PicturePoint& p, int left, int top, int right, int bottom, auto input, const char* shape) {
        if (p.x < left || p.x > right || p.y < top || p.y > bottom) {
            if (++failed <= 10) {
                failures << input() << " " << shape << " " << p << "\n";
            }
        }
    };
    for (double h : angles) {
        for (double tau : angles) {
            for (double mu : angles) {
                for (bool dual : {false, true}) {
                    for (bool negative : {false, true}) {
                        const SwathPicture picture = ComputeSwathPicture(h, tau, mu, dual, negative);
                        auto input = [&] {
                            std::ostringstream text;
                            text << "h=" << h << " tau=" << tau << " mu=" << mu << " dual=" << dual
                                 << " negative=" << negative;
                            return text.str();
                        };
                        if (picture.heads.size() != (dual ? 2u : 1u) || picture.fans.size() != picture.heads.size()) {
                            ++failed;
                            failures << input() << ": wrong number of heads or fans\n";
                            continue;
                        }
                        for (const auto& bar : picture.heads) {
                            for (const PicturePoint& p : bar) {
                                check(p, 0, 0, 501, 200, input, "head");
                            }
                        }
                        for (const SwathFan& fan : picture.fans) {
                            for (const PicturePoint& p : fan.points) {
                                check(p, 0, 20, 500, 185, input, "fan");
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(failed, 0) << failures.str();
}

} // namespace swath_picture_test
