// The uncertainty model of a multibeam installation. Every error source (the
// sonar's range and mounting, the patch test, positioning, motion, heading, the
// vessel's draft and load, heave, tide and sound velocity) becomes a vertical or
// a horizontal distance at the sounding; the distances of one kind combine as
// the root of the sum of their squares, unweighted and uncorrelated. The sweep
// evaluates every whole-degree beam across the swath at one depth and compares
// with the survey orders' limits at that depth.
#pragma once

#include "survey/SurveyOrders.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tpu {

// One computation's inputs, named after the fields they are read from. The
// fields that are carried but enter no result (SD heave, the motion sensor's
// offsets) are read all the same, so that a bad text in them is reported.
struct TpuInputs {
    int swathWidth = 0;                                                // degrees, the full swath angle
    int pulseDuration = 0;                                             // µs
    int frequency = 0;                                                 // kHz, the working frequency
    int referenceFrequency = 0;                                        // kHz, where the beamwidths below hold
    double alongBeamwidth = 0.0;                                       // degrees at the reference frequency
    double acrossBeamwidth = 0.0;                                      // degrees at the reference frequency
    double sonarXOffset = 0.0, sonarYOffset = 0.0, sonarZOffset = 0.0; // m, SD
    double patchRoll = 0.0, patchPitch = 0.0, patchYaw = 0.0;          // degrees
    double positionHorizontal = 0.0, positionVertical = 0.0;           // m
    double positionXOffset = 0.0, positionYOffset = 0.0, positionZOffset = 0.0;
    double motionRoll = 0.0, motionPitch = 0.0;                           // degrees, SD
    double motionHeave = 0.0;                                             // m, carried only
    double motionXOffset = 0.0, motionYOffset = 0.0, motionZOffset = 0.0; // carried only
    double headingSd = 0.0;                                               // degrees
    double draft = 0.0, squat = 0.0, settlement = 0.0, load = 0.0;        // m, SD
    double maxHeave = 0.0;                                                // m
    double tidalSd = 0.0;                                                 // m
    int soundVelocity = 0;                                                // m/s
    double svsSd = 0.0;                                                   // m/s, at the transducer face
    double svpSd = 0.0;                                                   // m/s, the profile
};

// The terms of one beam in the order their squares are summed, and the totals.
struct BeamTerms {
    std::array<double, 13> tvuTerms{};
    std::array<double, 13> thuTerms{};
    double tvu = 0.0;
    double thu = 0.0;
};

// The terms of one kind combined: the root of the sum of their squares.
double RootSumSquare(std::span<const double> terms);

// The beam at `angle` degrees from nadir at `depth` metres below the transducer.
BeamTerms EvaluateBeam(const TpuInputs& inputs, int depth, double angle);

// The nadir terms in the order their squares are summed, and the totals.
struct NadirValues {
    std::array<double, 11> tvuTerms{};
    std::array<double, 9> thuTerms{};
    double tvu = 0.0;
    double thu = 0.0;
};

// Straight down, with formulas of its own: the footprint uses half the across-
// track beamwidth (factor 0.9), and the heading, profile and surface sound
// velocity terms vanish. So the nadir THU is smaller than the 0° beam's.
NadirValues EvaluateNadir(const TpuInputs& inputs, int depth);

// One pass of the sweep: the values evaluated at `abscissa` - 1 degrees, drawn
// at `abscissa` on the starboard side and at -`abscissa` on the port side.
struct BeamPoint {
    int abscissa = 0;
    double tvu = 0.0;
    double thu = 0.0;
};

struct TpuSweep {
    double alongBeamwidth = 0.0; // degrees at the working frequency
    double acrossBeamwidth = 0.0;
    std::string alongText, acrossText; // " 1.0 °"
    std::vector<BeamPoint> points;     // in pass order; empty for a swath below -3
    NadirValues nadir;
};

// No multibeam swath is wider than a full turn: the sweep never runs over
// more beams than one, whatever a field holds.
inline constexpr int kWidestSwath = 360;

// The sweep across the swath: the counter starts at -1 and each pass evaluates
// the beam at the counter's angle, then advances it and draws at the new value,
// for the angles -1, 0, 1, ..., W/2 (truncated). The outer beam is the last pass.
TpuSweep RunTpuSweep(const TpuInputs& inputs, int depth);

// The beamwidths at the working frequency (degrees) and their text (" 1.0 °").
double AlongBeamwidthAt(const TpuInputs& inputs);
double AcrossBeamwidthAt(const TpuInputs& inputs);
std::string BeamwidthText(double degrees);

// A result field's text: "± " and the value with three decimals.
std::string ResultText(double value);

// The survey orders the window compares with, in its order, each the row of the
// survey order table whose rules it uses (IHO Order 1a and 1b share theirs).
struct OrderLimit {
    std::string_view caption; // in the limit lists
    std::size_t surveyOrder;  // row of survey::SurveyOrderTable
};

inline constexpr std::array<OrderLimit, 7> kOrderLimits{{
    {"IHO Special Order", 0},
    {"IHO Order 1", 1},
    {"IHO Order 2", 3},
    {"FSIS-44 Excl.", 4},
    {"NL Order A", 6},
    {"NL Order B", 7},
    {"Orsted", 8},
}};

// The order's limits at the depth, and their text in the limit lists
// ("±  0.26 m").
double TvuLimit(const OrderLimit& order, int depth);
double ThuLimit(const OrderLimit& order, int depth);
std::string LimitText(double limit);

} // namespace tpu
