#include "lineplan/LinePlan.h"

#include "common/Angles.h"
#include "common/MakerContact.h"
#include "common/NumberFormat.h"
#include "survey/SurveyGeometry.h"

#include <algorithm>
#include <cmath>

namespace lineplan {

namespace {

// The ping cycle: two-way travel at 1.0962 times the range's time, plus the
// sonar's own 4.4 ms.
constexpr double kTravelFactor = 1.0962;
constexpr double kPingOverhead = 0.0044;

// Halves to the even neighbour, decided on the value as computed: in extended
// precision the product with a power of ten is exact.
double RoundHalfEven(double value, int decimals) {
    const long double scale = std::pow(10.0L, decimals);
    return static_cast<double>(std::nearbyint(static_cast<long double>(value) * scale) / scale);
}

std::string PaddedFixed(double value, int width, int decimals) {
    // A number text keeps at most its first eight characters.
    return common::FormatFixed(value, width, decimals).substr(0, 8);
}

// A diagram's scale as the window reads it back from a whole-number text; none
// when the text is no number.
std::optional<int> Scale(double value) {
    std::int32_t scale = 0;
    if (!common::TryParseInt(common::FormatFixed(value, 4, 0), scale)) {
        return std::nullopt;
    }
    return scale;
}

} // namespace

BeamWidthTexts WorkingBeamWidths(std::optional<std::size_t> system, int frequency) {
    const double baseAlong = system ? kPlannerSystems.at(*system).Model().alongBeamWidth : 0.0;
    const double baseAcross = system ? kPlannerSystems.at(*system).Model().acrossBeamWidth : 0.0;
    double along = baseAlong * 400 / frequency;
    double across = baseAcross * 400 / frequency;
    // No system chosen: a beam of a degree, a planning figure that suits most.
    if (along == 0) {
        along = 1.0;
    }
    if (across == 0) {
        across = 1.0;
    }
    BeamWidthTexts texts{PaddedFixed(along, 4, 1), PaddedFixed(across, 4, 1)};
    if (frequency == 700 && system && kPlannerSystems[*system].Model().freqMin == 700) {
        // A UHR head works at 700 kHz with its own widths.
        const survey::SonarModel& model = kPlannerSystems[*system].Model();
        texts = {common::FormatFixed(model.alongBeamWidth, 0, 1), common::FormatFixed(model.acrossBeamWidth, 0, 1)};
    }
    if (frequency == 100) {
        texts = {"2", "2"};
    }
    return texts;
}

PlanRun ComputeLinePlan(const PlannerInput& in) {
    PlanRun run;
    const std::string beyond = "m  -  No coverage at this altitude!";
    if (in.minDepth >= in.maxRange) {
        run.messages.push_back(in.minDepthText + beyond);
    }
    if (in.maxRange < in.maxDepth) {
        run.messages.push_back(in.maxDepthText + beyond);
    }
    if (!run.messages.empty()) {
        return run; // the range setting does not reach a depth: no swath edge there
    }

    PlannerResult r;
    const double halfSwath = in.swath / 2.0 * common::kRadiansPerDegree;
    const double dmin = in.minDepth;
    const double dmax = in.maxDepth;
    const double range = in.maxRange;

    double slantMin = dmin / std::cos(halfSwath);
    if (slantMin > range) {
        slantMin = range;
    }
    const double edgeMin = std::acos(dmin / slantMin);
    r.minSwath = 2 * slantMin * std::sin(edgeMin);

    r.footprintAlong = 2 * dmin * std::tan(in.alongBeam * common::kRadiansPerDegree / 2);
    r.footprintAcross = 2 * dmin * std::tan(in.acrossBeam * common::kRadiansPerDegree / 2);

    double slantMax = dmax / std::cos(halfSwath);
    if (slantMax > range) {
        slantMax = range;
    }
    const double edgeMax = std::acos(dmax / slantMax);
    r.edgeDegrees = edgeMax / common::kRadiansPerDegree;
    // The outer beam widens by the secant of its angle across track, and its
    // slant range stretches it along track.
    const double widened = in.acrossBeam * common::kRadiansPerDegree / std::cos(edgeMax);
    r.worstAcross = dmax * std::tan(edgeMax + widened / 2) - dmax * std::tan(edgeMax - widened / 2);
    r.worstAlong = 2 * (dmax / std::cos(edgeMax)) * std::tan(in.alongBeam * common::kRadiansPerDegree / 2);

    r.suggestedRange = std::min(dmax / std::cos(halfSwath), range);
    r.pingRate = 1 / (r.suggestedRange * 2 * kTravelFactor / in.soundVelocity + kPingOverhead);
    if (r.pingRate > in.maxPingRate) {
        r.pingRate = in.maxPingRate;
    }
    const double speed = in.knots ? in.speed * survey::kKnot : in.speed;
    r.pingSpacing = speed * (1 / r.pingRate);
    r.nadirCoverage = std::nearbyint(r.footprintAlong / (r.pingSpacing / 100));
    r.lineSpacing = std::nearbyint(survey::LineSpacing(r.minSwath, in.overlap));
    const double maxSpeed = RoundHalfEven(r.pingRate * (r.footprintAlong * 100 / in.alongCoverage), 1);
    r.maxSpeed = in.knots ? RoundHalfEven(maxSpeed / survey::kKnot, 1) : maxSpeed;
    r.maxSwath = 2 * slantMax * std::sin(edgeMax);
    r.maxCover = r.maxSwath / in.lineSpacing * 100;
    r.minCover = r.minSwath / in.lineSpacing * 100;
    run.result = r;
    return run;
}

PlannerTexts ResultTexts(const PlannerResult& r) {
    PlannerTexts t;
    t.minSwath = PaddedFixed(r.minSwath, 4, 0);
    t.footprintAlong = PaddedFixed(r.footprintAlong, 4, 2);
    t.footprintAcross = PaddedFixed(r.footprintAcross, 4, 2);
    t.worstAcross = PaddedFixed(r.worstAcross, 4, 2);
    t.worstAlong = PaddedFixed(r.worstAlong, 4, 2);
    t.edge = PaddedFixed(r.edgeDegrees, 4, 0);
    t.swathWidth = PaddedFixed(2 * r.edgeDegrees, 4, 0);
    t.range = PaddedFixed(r.suggestedRange, 4, 0);
    t.pingRate = PaddedFixed(r.pingRate, 4, 2);
    t.nadirCoverage = common::FormatGeneral(r.nadirCoverage);
    t.lineSpacing = common::FormatGeneral(r.lineSpacing);
    t.maxSpeed = common::FormatGeneral(r.maxSpeed);
    t.maxSwathAtSpacing = PaddedFixed(r.maxSwath, 5, 0);
    t.minSwathAtSpacing = PaddedFixed(r.minSwath, 4, 0);
    t.maxCover = PaddedFixed(r.maxCover, 3, 0);
    t.minCover = PaddedFixed(r.minCover, 3, 0);
    return t;
}

PlannerDiagrams ComputeDiagrams(const PlannerResult& r) {
    PlannerDiagrams d;
    // Along track the across-track footprint is 50 pixels high.
    const std::optional<int> length = Scale(50 * r.footprintAlong / r.footprintAcross);
    const std::optional<int> spacing = Scale(50 * r.pingSpacing / r.footprintAcross);
    if (length && spacing && r.footprintAcross > 0) {
        std::array<PixelRect, 4> footprints{};
        for (int k = 0; k < 4; ++k) {
            const long long left = 25LL + static_cast<long long>(k) * *spacing;
            footprints[static_cast<std::size_t>(k)] = {
                static_cast<int>(std::clamp(left, -100000LL, 100000LL)), 25,
                static_cast<int>(std::clamp(left + *length, -100000LL, 100000LL)), 75};
        }
        d.footprints = footprints;
    }
    // Across track a swath at the minimum depth is 100 pixels wide.
    const std::optional<int> offset = Scale(r.lineSpacing * 100 / r.minSwath);
    if (offset && r.minSwath > 0) {
        const int p = std::clamp(*offset, -100000, 100000);
        d.lineOffset = p;
        if (25 + p < 125) {
            d.overlap = PixelRect{26 + p, 160, 125, 305};
        }
    }
    return d;
}

QStringList LinePlanReportLines(const LinePlanReportTexts& t) {
    QStringList lines;
    lines << QStringLiteral("    T O R M A L I N D   M U L T I B E A M   L I N E   P L A N N I N G")
          << QStringLiteral("    ") + QString(67, QLatin1Char('-')) << QString()
          << QStringLiteral("    Sonar Type: ") + t.sonarType << QString()
          << QStringLiteral("    Selected MINIMIM depth:............") + t.minimumDepth + QStringLiteral(" m")
          << QStringLiteral("    Selected MAXIMUM depth:............") + t.maximumDepth + QStringLiteral(" m")
          << QStringLiteral("    Selected Overlap:..................") + t.overlapPercent + QStringLiteral(" %")
          << QStringLiteral("    Width of Swath:....................") + t.swathAngle + QStringLiteral("\u00B0 ")
          << QString()
          << QStringLiteral("    Max range setting: ") + t.maxRange +
                 QStringLiteral(" metres   Max ping rate setting: ") + t.maxPingRate + QStringLiteral(" p/sec")
          << QString()
          << QStringLiteral("    Sound velocity: ") + t.soundVelocity + QStringLiteral(" m/sec    Vessel speed: ") +
                 t.vesselSpeed
          << QString()
          << QStringLiteral("    Selected sonar frequency:............") + t.frequency + QStringLiteral(" kHz")
          << QStringLiteral("    BEAMWIDTH:.......   Along track: ") + t.alongBeamWidth +
                 QStringLiteral("\u00B0    Across track: ") + t.acrossBeamWidth + QStringLiteral("\u00B0 ")
          << QString() << QString() << QString()
          << QStringLiteral("    Maximum LINESPACING for ") + t.overlapShown + QStringLiteral(" swath overlap = ") +
                 t.maxLineSpacing
          << QStringLiteral("    Maximum SPEED for ") + t.coverageShown + QStringLiteral(" along track coverage = ") +
                 t.maxSpeed
          << QString()
          << QStringLiteral("    Suggested RANGE setting for selected MIN and MAX depth: R >") + t.suggestedRange
          << QString()
          << QStringLiteral("    ALONGTRACK coverage calculated for NADIR for selected range setting (") +
                 t.alongRange + QStringLiteral(")")
          << QStringLiteral("    and selected speed (") + t.vesselSpeed + QStringLiteral(") = ") + t.alongCoverage
          << QString()
          << QStringLiteral("    Max PING RATE at soundvelocity = ") + t.pingSoundVelocity +
                 QStringLiteral(" and range setting ") + t.pingRange + QStringLiteral("= ") + t.pingRate
          << QStringLiteral("    Max SWATH COVERAGE at depth ") + t.swathCoverageDepth + QStringLiteral(" = ") +
                 t.swathCoverage + QStringLiteral(" m")
          << QStringLiteral("    Max SWATH WIDTH at selected MAX depth and range setting = ") + t.maxSwathWidth
          << QString()
          << QStringLiteral("    Across track footprint at nadir at depth ") + t.acrossFootprintDepth +
                 QStringLiteral(" = ") + t.acrossFootprint + QStringLiteral(" m")
          << QStringLiteral("    Along track footprint at nadir at depth ") + t.alongFootprintDepth +
                 QStringLiteral(" = ") + t.alongFootprint + QStringLiteral(" m")
          << QString()
          << QStringLiteral("    Worst case across track footprint at depth ") + t.worstAcrossDepth +
                 QStringLiteral(" at beam ") + t.worstAcrossBeam + QStringLiteral(" = ") + t.worstAcrossFootprint +
                 QStringLiteral(" m ")
          << QStringLiteral("    Worst case along track footprint at depth ") + t.worstAlongDepth +
                 QStringLiteral(" at beam ") + t.worstAlongBeam + QStringLiteral(" = ") + t.worstAlongFootprint +
                 QStringLiteral(" m")
          << QString() << QString() << QString()
          << QStringLiteral("    CALCULATION OF COVERAGE ETC ON SELECTED LINESPACING  ") + t.lineSpacing +
                 QStringLiteral(" METRES")
          << QString()
          << QStringLiteral("    Swath width for MAXIMUM depth ") + t.maximumDepthShown + QStringLiteral(" = ") +
                 t.swathAtMaximumDepth
          << QStringLiteral("    Swath width for MINIMUM depth ") + t.minimumDepthShown + QStringLiteral(" = ") +
                 t.swathAtMinimumDepth
          << QString()
          << QStringLiteral("    Percent coverage for MAXIMUM depth ") + t.maximumDepthShown + QStringLiteral(" = ") +
                 t.coverAtMaximumDepth
          << QStringLiteral("    Percent coverage for MINIMUM depth ") + t.minimumDepthShown + QStringLiteral(" = ") +
                 t.coverAtMinimumDepth;
    for (int blank = 0; blank < 7; ++blank) {
        lines << QString();
    }
    lines << QStringLiteral("    Tormalind ApS -  Hydrographic Consultancy") << common::MakerContactLines(4);
    return lines;
}

} // namespace lineplan
