#include "coverage/CoverageModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace coverage {

namespace {

using Real = long double;

constexpr Real kPi = 3.141592653589793238462643383279502884L;
constexpr Real kDegree = kPi / 180.0L;
constexpr Real kKnot = 0.51444L; // m/s
constexpr Real kMaxEdge = 89.0L * kDegree;
// The ping cycle: two-way travel at 1.0962 times the range's time, plus the
// sonar's own 4.4 ms.
constexpr Real kTravelFactor = 1.0962L;
constexpr Real kPingOverhead = 0.0044L;
// A range typed far beyond any sonar's is drawn at this many depths.
constexpr int kMaxGraphPoints = 5000;

// Whole numbers of hits, cut toward zero or rounded halves to even. A count
// without a finite value (a speed of 0 makes every box hit without end) is
// shown as 0, and a huge one is held in range.
long long Saturate(Real value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    constexpr Real limit = 9.0e18L;
    return static_cast<long long>(std::clamp(value, -limit, limit));
}
long long SaturatedTrunc(Real value) { return Saturate(std::trunc(value)); }
long long RoundEven(Real value) { return Saturate(std::nearbyint(value)); }

// One edge of the swath: the slant range to the seabed (cut by the range
// setting), and the angle from the vertical at which it meets the seabed.
double EdgeAngle(Real edge, Real altitude, Real range) {
    Real slant = altitude / std::cos(edge);
    if (slant < 0) {
        slant = -slant; // an edge beyond the horizontal
    }
    if (slant > range) {
        slant = range;
    }
    const Real angle = std::acos(altitude / slant);
    return static_cast<double>(angle > kMaxEdge ? kMaxEdge : angle);
}

void Correct(Preparation& preparation, Field field, std::string text) {
    preparation.adjustments.push_back({false, field, std::move(text)});
}

void Say(Preparation& preparation, const char* message) {
    preparation.adjustments.push_back({true, Field::Frequency, message});
}

} // namespace

BeamWidths BeamWidthsAt(const survey::SonarModel& model, int frequency) {
    if (model.fixedFrequency) {
        return {model.alongBeamWidth, model.acrossBeamWidth};
    }
    // Times 400 first, then divided by the frequency, in double precision.
    return {model.alongBeamWidth * 400.0 / frequency, model.acrossBeamWidth * 400.0 / frequency};
}

double PingRateAt(int rangeMetres) {
    const Real ping = 1 / (2 * Real(rangeMetres) * kTravelFactor / Real(kSoundVelocity) + kPingOverhead);
    return static_cast<double>(std::min(ping, Real(kMaxPingRate)));
}

Preparation PrepareCoverage(CoverageInput& input, const survey::SonarModel& model, std::string_view frequencyText) {
    Preparation preparation;
    preparation.sectorMaximum = model.maxSector;
    preparation.frequencyMinimum = model.freqMin;
    preparation.frequencyMaximum = model.freqMax;
    if (!model.fixedFrequency) {
        // Leaving a fixed-frequency sonar brings the frequency back to 400 kHz.
        if (frequencyText == "700" || frequencyText == "100") {
            input.frequency = 400;
            Correct(preparation, Field::Frequency, "400");
        }
    } else {
        input.frequency = model.freqMin;
        Correct(preparation, Field::Frequency, std::to_string(model.freqMin));
    }
    if (model.rotationLocked) {
        if (input.sector > model.maxSector) {
            input.sector = model.maxSector;
            Correct(preparation, Field::Sector, std::to_string(model.maxSector));
        }
        input.rotation = 0;
        Correct(preparation, Field::Rotation, "0");
    }
    preparation.altitudeMaximum = model.maxAltitude;
    if (input.altitude > model.maxAltitude) {
        Say(preparation, kNoCoverageMessage);
        input.altitude = model.maxAltitude;
        Correct(preparation, Field::Altitude, std::to_string(model.maxAltitude));
    }
    preparation.beamWidths = BeamWidthsAt(model, input.frequency);
    if (input.altitude < 1) {
        Say(preparation, kInvalidAltitudeMessage);
        input.altitude = 1;
        Correct(preparation, Field::Altitude, "1");
    }
    if (input.range < input.altitude) {
        input.range = input.altitude;
        Correct(preparation, Field::Range, std::to_string(input.altitude));
    }
    return preparation;
}

CoverageResult ComputeCoverage(const CoverageInput& input, const BeamWidths& beamWidths) {
    CoverageResult result;
    result.beamWidths = beamWidths;
    const Real altitude = input.altitude;
    const Real range = input.range;
    const int rotation = input.dual ? 0 : input.rotation;

    // The half sector, the sector's tilt (mounting and rotation together) and
    // the head's own tilt.
    const double half = static_cast<double>(input.sector * kPi / 360.0L);
    const double tilt = static_cast<double>((input.mounting + rotation) * kPi / 180.0L);
    const double mount = static_cast<double>(std::abs(input.mounting) * kPi / 180.0L);
    const double tiltSize = std::abs(tilt);

    result.edge1 = EdgeAngle(static_cast<Real>(half) + tilt, altitude, range);
    result.edge2 = EdgeAngle(static_cast<Real>(half) - tilt, altitude, range);
    const Real b1 = result.edge1;
    const Real b2 = result.edge2;

    // The effective sector: both edges on one side of nadir leave the angle
    // between them, not their sum.
    Real sector = b1 + b2;
    if (b2 < tiltSize) {
        sector = b1 - b2;
    }
    if (b1 < tiltSize) {
        sector = b2 - b1;
    }
    result.sector = static_cast<double>(sector);

    Real single = altitude * std::tan(b1) + altitude * std::tan(b2);
    if (static_cast<Real>(half) - tilt < 0) {
        single = altitude * std::tan(b1) - altitude * std::tan(b2);
    }
    if (static_cast<Real>(half) + tilt < 0) {
        single = altitude * std::tan(b2) - altitude * std::tan(b1);
    }
    result.single = static_cast<double>(single);

    if (input.dual) {
        // Two heads mirrored about the centre line, the separation apart; a
        // positive mounting turns each sector toward the other head.
        const Real separation = input.separation;
        const bool underOwnHead = static_cast<Real>(half) >= mount;
        Real dual = 0;
        Real overlap = -1;
        if (input.mounting < 0) {
            dual = underOwnHead ? 2 * altitude * std::tan(b2) + separation : 2 * single;
            overlap = underOwnHead ? 2 * altitude * std::tan(b1) - separation : -1;
        } else if (input.mounting > 0) {
            dual = underOwnHead ? 2 * altitude * std::tan(b1) - separation : 2 * single;
            overlap = underOwnHead ? 2 * altitude * std::tan(b2) + separation : -1;
        } else {
            dual = 2 * altitude * std::tan(b1) + separation;
            overlap = 2 * altitude * std::tan(b1) - separation;
        }
        if (altitude >= range) {
            dual = 0;
            overlap = -1;
        }
        result.dual = static_cast<double>(dual);
        result.overlap = static_cast<double>(overlap);
        result.ratio = static_cast<double>(dual / altitude);
    } else {
        result.ratio = static_cast<double>(single / altitude);
    }

    // Nadir is covered while the tilt leaves it inside the sector; on the
    // sector's very edge it still is.
    result.nadirCovered = !(static_cast<Real>(half) < tiltSize);
    if (result.nadirCovered) {
        result.footprintAlong = static_cast<double>(2 * altitude * std::tan(beamWidths.along * kDegree / 2));
        // Only the head's own tilt widens the nadir beam across track.
        result.footprintAcross =
            static_cast<double>(2 * altitude * std::tan(beamWidths.across * kDegree / std::cos(Real(mount)) / 2));
    }

    result.worstEdge = result.edge1 >= result.edge2 ? result.edge1 : result.edge2;
    const Real worst = result.worstEdge;
    // Whole degrees, cut toward zero; a hair of rounding below a whole degree
    // (70° coming back as 69.999999999999) is that degree.
    result.worstEdgeDegrees = static_cast<int>(std::trunc(worst / kDegree + 1e-9L));
    const Real widened = beamWidths.across * kDegree / std::cos(worst - mount);
    result.footprintWorst =
        static_cast<double>(altitude * std::tan(worst + widened / 2) - altitude * std::tan(worst - widened / 2));

    result.pingRate = PingRateAt(input.range);
    const Real pingRate = result.pingRate;
    const Real speed = input.speedUnit == SpeedUnit::Knots ? input.speed * kKnot : Real(input.speed);
    const Real speedMs = static_cast<double>(speed);
    const Real box = input.box;
    const Real smallBox = input.smallBox;
    const Real soundings = input.soundings;
    Hits& hits = result.hits;
    if (result.single > 0) {
        if (input.sampling == Sampling::Equidistant) {
            hits.one[0] = SaturatedTrunc((1 / speedMs) * pingRate);
            hits.one[1] = SaturatedTrunc(soundings / single);
            hits.box[0] = SaturatedTrunc(box / speedMs * pingRate);
            hits.box[1] = SaturatedTrunc(soundings * box / single);
            hits.smallBox[0] = RoundEven(hits.one[0] / 100.0L * smallBox);
            hits.smallBox[1] = std::max(1LL, RoundEven(hits.one[1] / 100.0L * smallBox));
        } else {
            // The angle between neighbouring soundings against the angle a box
            // subtends at its distance from nadir.
            const Real spacing = static_cast<double>(sector / soundings);
            const Real outer = input.boxAngle * kDegree;
            const Real distance = static_cast<double>(altitude * std::tan(outer));
            const Real oneMetre = static_cast<double>(outer - std::atan((distance - 1) / altitude));
            const Real boxAngle = static_cast<double>(outer - std::atan((distance - box) / altitude));
            hits.one[0] = SaturatedTrunc((1 / speedMs) * pingRate);
            hits.one[1] = SaturatedTrunc(oneMetre / spacing);
            hits.box[0] = SaturatedTrunc(box / speedMs * pingRate);
            hits.box[1] = SaturatedTrunc(boxAngle / spacing);
            hits.smallBox[0] = std::max(1LL, RoundEven(hits.one[0] / 100.0L * smallBox));
            hits.smallBox[1] = std::max(1LL, RoundEven(hits.one[1] / 100.0L * smallBox));
        }
    }
    for (std::array<long long, 3>* row : {&hits.one, &hits.box, &hits.smallBox}) {
        (*row)[2] = Saturate(static_cast<Real>((*row)[0]) * static_cast<Real>((*row)[1]));
    }
    return result;
}

SwathGraphCurves SwathGraph(const CoverageInput& input, const CoverageResult& result) {
    SwathGraphCurves curves;
    // In 64 bits: a range near the largest whole number a field takes would
    // overflow the step and the last depth, and the loop would never end.
    const long long range = input.range;
    if (range < 1) {
        return curves;
    }
    const long long step = range > kMaxGraphPoints ? (range + kMaxGraphPoints - 1) / kMaxGraphPoints : 1;
    const Real r = static_cast<Real>(range);
    const Real dualAngle = result.sector / 2.0L + std::abs(input.mounting) * kDegree;
    const Real singleAngle = result.sector / 2.0L;
    curves.dual.reserve(static_cast<std::size_t>(range / step + 1));
    curves.single.reserve(static_cast<std::size_t>(range / step + 1));
    for (long long depth = 1; depth <= range; depth = depth + step > range && depth < range ? range : depth + step) {
        const Real d = static_cast<Real>(depth);
        const Real dualSlant = d / std::cos(dualAngle);
        const Real dualWidth =
            dualSlant <= r ? 2 * std::sqrt(dualSlant * dualSlant - d * d) : 2 * std::sqrt(r * r - d * d);
        const Real singleSlant = d / std::cos(singleAngle);
        // One head's half-width is cut to whole metres where the range ends it.
        const Real singleWidth = singleSlant <= r ? 2 * std::sqrt(singleSlant * singleSlant - d * d)
                                                  : 2 * std::trunc(std::sqrt(r * r - d * d));
        curves.dual.push_back({static_cast<double>(depth), static_cast<double>(dualWidth)});
        curves.single.push_back({static_cast<double>(depth), static_cast<double>(singleWidth)});
    }
    return curves;
}

int RotationLimit(const survey::SonarModel& model, int sector) {
    const int limit = model.maxSector / 2 - sector / 2;
    return std::min(limit, 70);
}

} // namespace coverage
