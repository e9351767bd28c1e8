#include "coverage/SwathPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

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

// Start values: S = 140, m = 0, r = 0, one head at (635, 480), dl = dr = 250.
//   Bar, unmirrored, μ = 0: 22.4 cos 0.46 = 20.072 and 22.4 sin 0.46 = 9.944, so
//   (635 + 20, 480), (trunc 655.07, trunc 470.06), (trunc 614.93, trunc 470.06),
//   (635 − 20, 480): the left corner truncates to 614, not 615.
//   Fan, a = b = 70°: 160 tan 70° = 439.60, so the left corner 635 − 439 = 196
//   is past the left wall: yl = trunc(480 + 250 tan 20°) = trunc(570.99) = 570;
//   the right corner trunc(1074.6) reaches 885: yr = 570 likewise.
TEST(SwathPicture, SingleHeadAtTheStartValues) {
    const SwathPicture picture = ComputeSwathPicture(Rad(70), 0.0, 0.0, false, false);

    EXPECT_EQ(picture.water, (PictureRect{{385, 460}, {886, 645}}));
    EXPECT_EQ(picture.seabed, (PictureRect{{385, 645}, {886, 660}}));
    ASSERT_EQ(picture.heads.size(), 1u);
    EXPECT_EQ(Text(picture.heads[0]), Text(Bar{{{655, 480}, {655, 470}, {614, 470}, {615, 480}}}));
    ASSERT_EQ(picture.fans.size(), 1u);
    ExpectFan(picture.fans[0], FanHatch::RedRising, {{{635, 480}, {385, 570}, {385, 645}, {885, 645}, {885, 570}}});
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
        // 200 tan 10° = 35.3 (the wall points at 515).
        {"m = -10",
         -10,
         {{{565, 476}, {566, 466}, {606, 473}, {604, 483}}},
         {{{704, 476}, {703, 466}, {663, 473}, {665, 483}}},
         {{{585, 480}, {385, 515}, {385, 645}, {862, 645}, {862, 645}}},
         {{{685, 480}, {408, 645}, {408, 645}, {885, 645}, {885, 515}}}},
        // τ = 20°: γL = 50°, γR = 90° lowered to π/2 − 0.01. 160 tan 50° = 190.7;
        // 300 tan 0.01 = 3.0 (the wall points at 483).
        {"m = +20",
         20,
         {{{603, 473}, {600, 463}, {562, 477}, {566, 486}}},
         {{{666, 473}, {669, 463}, {707, 477}, {703, 486}}},
         {{{585, 480}, {395, 645}, {395, 645}, {885, 645}, {885, 483}}},
         {{{685, 480}, {385, 483}, {385, 645}, {875, 645}, {875, 645}}}},
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
        // γL = −50°: the "left" corner lies right of the head, 635 + trunc 190.7;
        // γR = 90° is lowered and meets the right wall at trunc(480 + 250 tan 0.01).
        {"S = 40, r = 70", 40, 0, 70, {{{635, 480}, {825, 645}, {825, 645}, {885, 645}, {885, 482}}}},
        // γL = −65°: the corner 635 + trunc 343.1 = 978 lies past the right wall, so
        // the line from the head to it ends on the wall at trunc(480 + 165 · 250 / 343)
        // = trunc(600.3); γR = 75° meets the wall at trunc(480 + 250 tan 15°) = 546, and
        // the seabed corner under that wall is outside the wedge.
        {"S = 10, r = 70", 10, 0, 70, {{{635, 480}, {885, 600}, {885, 600}, {885, 546}, {885, 546}}}},
        // Mirrored, the right corner truncates the other way, trunc(635 − 343.1) = 291:
        // 480 + 165 · 250 / 344 = 599.9.
        {"S = 10, r = -70", 10, 0, -70, {{{635, 480}, {385, 546}, {385, 546}, {385, 599}, {385, 599}}}},
        // τ = 100°: γL = −95° is past the horizontal on the far side and is held at
        // −(π/2 − 0.01), not thrown back to the left by the tangent: the wedge
        // closes to a sliver at trunc(480 + 165 · 250 / 15999) = 482 on the right wall.
        {"S = 10, m = 30, r = 70", 10, 30, 70, {{{635, 480}, {885, 482}, {885, 482}, {885, 482}, {885, 482}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SwathPicture picture = ComputeSwathPicture(Rad(c.sector / 2), Rad(c.mounting + c.rotation),
                                                         Rad(std::abs(c.mounting)), false, c.mounting < 0);
        ASSERT_EQ(picture.fans.size(), 1u);
        ExpectFan(picture.fans[0], FanHatch::RedRising, c.fan);
    }
}

// A typed mounting angle of 60° would lift a corner to trunc(480 − 22.4 sin(60° + 0.46 rad)) = 457.
TEST(SwathPicture, SteepBarIsHeldAtTheWaterTop) {
    const SwathPicture picture = ComputeSwathPicture(Rad(70), Rad(60), Rad(60), false, false);
    EXPECT_EQ(Text(picture.heads[0]), Text(Bar{{{645, 462}, {636, 460}, {616, 492}, {625, 497}}}));
}

// A sector or tilt that is not a number gives no direction: the fan is a line
// straight down. An infinite sector opens to the steepest edge on both sides;
// a mounting angle that is not finite leaves the bar level.
TEST(SwathPicture, NonFiniteAnglesHaveAMeaning) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();

    const SwathPicture noDirection = ComputeSwathPicture(nan, 0.0, nan, false, false);
    ExpectFan(noDirection.fans[0], FanHatch::RedRising, {{{635, 480}, {635, 645}, {635, 645}, {635, 645}, {635, 645}}});
    EXPECT_EQ(Text(noDirection.heads[0]), Text(Bar{{{655, 480}, {655, 470}, {614, 470}, {615, 480}}}));

    const SwathPicture open = ComputeSwathPicture(inf, 0.0, 0.0, false, false);
    ExpectFan(open.fans[0], FanHatch::RedRising, {{{635, 480}, {385, 482}, {385, 645}, {885, 645}, {885, 482}}});
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
                                check(p, 385, 460, 886, 660, input, "head");
                            }
                        }
                        for (const SwathFan& fan : picture.fans) {
                            for (const PicturePoint& p : fan.points) {
                                check(p, 385, 480, 885, 645, input, "fan");
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(failed, 0) << failures.str();
}
