// Where the swath of one or two multibeam heads meets the seabed, and what
// that gives: the coverage and overlap, the coverage ratio, the beam
// footprints at nadir and at the outer edge, the ping rate the range allows
// and how many beam centres fall into a target box along and across track.
// Every formula runs in extended precision; each named result is a double.
#pragma once

#include "survey/SonarModels.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace coverage {

enum class Sampling { Equidistant, Equiangle };
enum class SpeedUnit { Knots, MetresPerSecond };

struct CoverageInput {
    int altitude = 10;       // m, water depth under the heads
    int range = 100;         // m, the range setting
    int sector = 140;        // degrees, the swath's opening angle
    int mounting = 0;        // degrees, head tilt, signed
    int rotation = 0;        // degrees, sector rotate, signed (0 with two heads)
    double separation = 1.0; // m between the heads
    int frequency = 400;     // kHz
    bool dual = false;
    int soundings = 256; // per ping
    int speed = 6;       // in `speedUnit`
    SpeedUnit speedUnit = SpeedUnit::Knots;
    int box = 2;      // m, the side of the square target box
    int smallBox = 1; // cm, the side of the small target box
    int boxAngle = 0; // degrees from nadir of the box's outer edge (equiangle)
    Sampling sampling = Sampling::Equiangle;
};

struct BeamWidths {
    double along = 0.0; // degrees
    double across = 0.0;
};

// The working centre-beam widths: a tunable row's scale inversely with the
// frequency from 400 kHz; a fixed row's are its own.
BeamWidths BeamWidthsAt(const survey::SonarModel& model, int frequency);

// A field the preparation rewrites, or a message it shows, in the order they
// happen.
enum class Field { Frequency, Sector, Rotation, Altitude, Range };
struct Adjustment {
    bool message = false;
    Field field = Field::Frequency;
    std::string text; // the field's new text, or the message
};

struct Preparation {
    BeamWidths beamWidths;
    std::vector<Adjustment> adjustments;
    int sectorMaximum = 0;    // the sector spinner's range is 10 to this
    int frequencyMinimum = 0; // the frequency spinner's range
    int frequencyMaximum = 0;
    int altitudeMaximum = 0; // the altitude spinner's maximum
};

// Applies the selected sonar to the inputs, then the altitude and range checks:
// a frequency left at a fixed row's "700" or "100" goes back to 400, a fixed
// row forces its frequency, an UHR row holds the sector within 70° and the
// rotation at 0, an altitude beyond the sonar's reach is cut to it (with a
// message), an altitude below 1 m becomes 1 m (with a message), a range below
// the altitude is raised to it. `input` leaves with the values in force.
Preparation PrepareCoverage(CoverageInput& input, const survey::SonarModel& model, std::string_view frequencyText);

inline constexpr const char* kNoCoverageMessage = "Probably no coverage on this altitude!";
inline constexpr const char* kInvalidAltitudeMessage = "Invalid altitude - use positive integers!";

struct Hits {
    // 1 m box, L m box, Lc cm box: along, across, total.
    std::array<long long, 3> one{}, box{}, smallBox{};
};

struct CoverageResult {
    BeamWidths beamWidths;
    double edge1 = 0.0, edge2 = 0.0; // radians from the vertical, each at most 89°
    double sector = 0.0;             // the effective sector, radians
    double single = 0.0;             // one head's seabed coverage, m
    double dual = 0.0;               // two heads' seabed coverage, m
    double overlap = -1.0;           // the overlap centre area, m; negative: none
    double ratio = 0.0;              // coverage per metre of water depth
    bool nadirCovered = true;
    double footprintAlong = 0.0, footprintAcross = 0.0; // at nadir, m
    double worstEdge = 0.0;                             // radians, the outer edge
    int worstEdgeDegrees = 0;                           // truncated
    double footprintWorst = 0.0;                        // across track at the outer edge, m
    double pingRate = 0.0;                              // pings per second
    Hits hits;
};

// The sound velocity the ping cycle assumes, and the head's ceiling on the
// ping rate however short the range.
inline constexpr double kSoundVelocity = 1500.0; // m/s
inline constexpr double kMaxPingRate = 60.0;     // pings per second

// Pings per second at a range setting: the two-way travel to the range at
// kSoundVelocity, lengthened by the head's processing, plus its fixed cycle
// time, held at kMaxPingRate. The coverage and the reference sheets both take
// it from here.
double PingRateAt(int rangeMetres);

// The coverage of the prepared inputs with the working beam widths.
CoverageResult ComputeCoverage(const CoverageInput& input, const BeamWidths& beamWidths);

// The swath graph: the swath width over depth for two heads and for one, from
// 1 m down to the range setting, with the effective sector of the current
// altitude. (A range typed far beyond any sonar's is drawn at 5000 points
// spread over it, not one a metre.)
struct GraphPoint {
    double depth, width;
};
struct SwathGraphCurves {
    std::vector<GraphPoint> dual, single;
};
SwathGraphCurves SwathGraph(const CoverageInput& input, const CoverageResult& result);

// The sector rotation's limits in single-head mode: what the widest sector
// leaves beyond the one set, at most 70° either way.
int RotationLimit(const survey::SonarModel& model, int sector);

} // namespace coverage
