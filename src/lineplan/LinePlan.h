// The arithmetic of planning survey lines over an area between a minimum and a
// maximum depth: the swath at both depths, how far apart the lines may lie for
// the wanted overlap, how fast the vessel may go for the wanted along-track
// coverage, which range to set and what ping rate it allows, the footprints,
// and how much of the seabed a chosen line spacing covers.
#pragma once

#include "lineplan/PlannerSystems.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace lineplan {

// The texts the two beam width fields show for the selected system (or none)
// at the frequency; the computation reads them back, so it uses the shown,
// rounded widths.
struct BeamWidthTexts {
    std::string along, across;
};
BeamWidthTexts WorkingBeamWidths(std::optional<std::size_t> system, int frequency);

struct PlannerInput {
    int minDepth = 50, maxDepth = 50;         // m
    std::string minDepthText, maxDepthText;   // as the fields show them, for the messages
    double overlap = 30;                      // percent
    int swath = 130;                          // degrees, the total opening
    int maxRange = 450;                       // m
    int maxPingRate = 40;                     // per second
    int alongCoverage = 100;                  // percent
    int soundVelocity = 1500;                 // m/s
    double alongBeam = 1.0, acrossBeam = 1.0; // degrees, as shown
    double speed = 6;                         // as typed
    bool knots = true;
    int lineSpacing = 100; // m
};

struct PlannerResult {
    double minSwath = 0, maxSwath = 0;              // m, at the two depths
    double footprintAlong = 0, footprintAcross = 0; // m, at nadir at the minimum depth
    double edgeDegrees = 0;                         // the outer beam at the maximum depth
    double worstAcross = 0, worstAlong = 0;         // m, at the maximum depth
    double suggestedRange = 0;                      // m
    double pingRate = 0;                            // per second
    double pingSpacing = 0;                         // m travelled between pings
    double nadirCoverage = 0;                       // percent, whole
    double lineSpacing = 0;                         // m, whole
    double maxSpeed = 0;                            // in the speed's unit, one decimal
    double maxCover = 0, minCover = 0;              // percent at the chosen spacing
};

struct PlanRun {
    std::vector<std::string> messages; // shown in order, before the results
    // No results where the range setting cannot reach a depth: the swath's
    // edge angle there has no value.
    std::optional<PlannerResult> result;
};

PlanRun ComputeLinePlan(const PlannerInput& input);

// The result texts as the window shows them (before their units).
struct PlannerTexts {
    std::string minSwath, footprintAlong, footprintAcross, worstAcross, worstAlong, edge, swathWidth, range, pingRate,
        nadirCoverage, lineSpacing, maxSpeed, maxSwathAtSpacing, minSwathAtSpacing, maxCover, minCover;
};
PlannerTexts ResultTexts(const PlannerResult& result);

// The diagrams: four footprints along track at the ping spacing, and two
// survey lines at the line spacing with their swaths and the overlap between
// them, in the pixels of the diagrams' own frame (275 × 321, the top half
// along track, the bottom half across). The along-track line runs at y = 50
// from x = 25; a swath at the minimum depth is 100 pixels wide, the first
// line's from x = 25, its survey line at x = 75, its edges between y = 160
// and 305. A diagram whose scale cannot be formed (a footprint or swath of
// zero or no value) is left out.
struct PixelRect {
    int left, top, right, bottom;
};
struct PlannerDiagrams {
    PixelRect frame{0, 0, 274, 320};
    int divider = 115;
    std::optional<std::array<PixelRect, 4>> footprints;
    std::optional<int> lineOffset;    // p: the second line's distance from the first
    std::optional<PixelRect> overlap; // where the two swaths overlap
};
PlannerDiagrams ComputeDiagrams(const PlannerResult& result);

// The texts the window shows, as shown: the small gap labels carry the figures
// with their units. The report copies the window's fields, so its texts stay
// the window's own until the window's one table of fields hands them over.
struct LinePlanReportTexts {
    QString sonarType;
    // Settings
    QString minimumDepth, maximumDepth, overlapPercent, swathAngle, maxRange, maxPingRate, soundVelocity, vesselSpeed,
        frequency, alongBeamWidth, acrossBeamWidth;
    // Limits of the plan
    QString overlapShown, maxLineSpacing, coverageShown, maxSpeed, suggestedRange, alongRange, alongCoverage,
        pingSoundVelocity, pingRange, pingRate;
    // Swath and footprints
    QString swathCoverageDepth, swathCoverage, maxSwathWidth, acrossFootprintDepth, acrossFootprint,
        alongFootprintDepth, alongFootprint, worstAcrossDepth, worstAcrossBeam, worstAcrossFootprint, worstAlongDepth,
        worstAlongBeam, worstAlongFootprint;
    // On the chosen line spacing
    QString lineSpacing, maximumDepthShown, swathAtMaximumDepth, minimumDepthShown, swathAtMinimumDepth,
        coverAtMaximumDepth, coverAtMinimumDepth;
};

// The report's lines, from the window's texts.
QStringList LinePlanReportLines(const LinePlanReportTexts& texts);

} // namespace lineplan
