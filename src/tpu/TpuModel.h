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
#include <cstddef>
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

// ---------------------------------------------------------------------------
// The terms of a budget
//
// Each error source of a budget is an enumerator; its name, and how it grows
// with depth, stand beside it in one table, and its value is given with the
// enumerator as a tag. So a name can only travel with its own value: a term
// moved in the model without its tag, or a table row out of place, does not
// compile.

// How a term grows with the depth D below the transducer: the order fit's
// curves over depth rest on it. Every term is either fixed or proportional to
// D, except the sonar's range term, √((k D)² + (L / 2)²) with the half pulse
// length L / 2.
enum class Growth { Fixed, WithDepth, Range };

template <typename Term> struct TermRow {
    Term term;
    std::string_view name;
    Growth growth;
    bool vessel = false; // draft, squat, settlement, load, tide: zero when the height is RTK's
};

template <typename Term> struct TermTable; // rows in the order the model sums the squares

enum class BeamTvu {
    Range,
    SonarZOffset,
    PatchRoll,
    MotionRoll,
    PositionVertical,
    PositionZOffset,
    Draft,
    Squat,
    Settlement,
    Load,
    Heave,
    SoundVelocityProfile,
    Tide,
};
template <> struct TermTable<BeamTvu> {
    static constexpr auto rows = std::to_array<TermRow<BeamTvu>>({
        {BeamTvu::Range, "Range", Growth::Range},
        {BeamTvu::SonarZOffset, "Sonar Z offset", Growth::Fixed},
        {BeamTvu::PatchRoll, "Patch roll", Growth::WithDepth},
        {BeamTvu::MotionRoll, "Motion roll", Growth::WithDepth},
        {BeamTvu::PositionVertical, "Position vertical", Growth::Fixed},
        {BeamTvu::PositionZOffset, "Position Z offset", Growth::Fixed},
        {BeamTvu::Draft, "Draft", Growth::Fixed, true},
        {BeamTvu::Squat, "Squat", Growth::Fixed, true},
        {BeamTvu::Settlement, "Settlement", Growth::Fixed, true},
        {BeamTvu::Load, "Load", Growth::Fixed, true},
        {BeamTvu::Heave, "Heave", Growth::Fixed},
        {BeamTvu::SoundVelocityProfile, "Sound velocity profile", Growth::WithDepth},
        {BeamTvu::Tide, "Tide", Growth::Fixed, true},
    });
};

enum class BeamThu {
    AlongTrackFootprint,
    AcrossTrackFootprint,
    SonarXOffset,
    SonarYOffset,
    PatchPitch,
    PatchYaw,
    PositionHorizontal,
    PositionXOffset,
    PositionYOffset,
    MotionPitch,
    Heading,
    SoundVelocityProfile,
    BeamAngle,
};
template <> struct TermTable<BeamThu> {
    static constexpr auto rows = std::to_array<TermRow<BeamThu>>({
        {BeamThu::AlongTrackFootprint, "Along-track footprint", Growth::WithDepth},
        {BeamThu::AcrossTrackFootprint, "Across-track footprint", Growth::WithDepth},
        {BeamThu::SonarXOffset, "Sonar X offset", Growth::Fixed},
        {BeamThu::SonarYOffset, "Sonar Y offset", Growth::Fixed},
        {BeamThu::PatchPitch, "Patch pitch", Growth::WithDepth},
        {BeamThu::PatchYaw, "Patch yaw", Growth::WithDepth},
        {BeamThu::PositionHorizontal, "Position horizontal", Growth::Fixed},
        {BeamThu::PositionXOffset, "Position X offset", Growth::Fixed},
        {BeamThu::PositionYOffset, "Position Y offset", Growth::Fixed},
        {BeamThu::MotionPitch, "Motion pitch", Growth::WithDepth},
        {BeamThu::Heading, "Heading", Growth::WithDepth},
        {BeamThu::SoundVelocityProfile, "Sound velocity profile", Growth::WithDepth},
        {BeamThu::BeamAngle, "Beam angle (surface sound velocity)", Growth::WithDepth},
    });
};

enum class NadirTvu {
    Range,
    SonarZOffset,
    PositionVertical,
    PositionZOffset,
    Draft,
    Squat,
    Settlement,
    Load,
    Heave,
    SoundVelocityProfile,
    Tide,
};
template <> struct TermTable<NadirTvu> {
    static constexpr auto rows = std::to_array<TermRow<NadirTvu>>({
        {NadirTvu::Range, "Range", Growth::Range},
        {NadirTvu::SonarZOffset, "Sonar Z offset", Growth::Fixed},
        {NadirTvu::PositionVertical, "Position vertical", Growth::Fixed},
        {NadirTvu::PositionZOffset, "Position Z offset", Growth::Fixed},
        {NadirTvu::Draft, "Draft", Growth::Fixed, true},
        {NadirTvu::Squat, "Squat", Growth::Fixed, true},
        {NadirTvu::Settlement, "Settlement", Growth::Fixed, true},
        {NadirTvu::Load, "Load", Growth::Fixed, true},
        {NadirTvu::Heave, "Heave", Growth::Fixed},
        {NadirTvu::SoundVelocityProfile, "Sound velocity profile", Growth::WithDepth},
        {NadirTvu::Tide, "Tide", Growth::Fixed, true},
    });
};

enum class NadirThu {
    AlongTrackFootprint,
    SonarXOffset,
    AcrossTrackFootprint,
    SonarYOffset,
    PatchPitch,
    PositionHorizontal,
    PositionXOffset,
    PositionYOffset,
    MotionPitch,
};
template <> struct TermTable<NadirThu> {
    static constexpr auto rows = std::to_array<TermRow<NadirThu>>({
        {NadirThu::AlongTrackFootprint, "Along-track footprint", Growth::WithDepth},
        {NadirThu::SonarXOffset, "Sonar X offset", Growth::Fixed},
        {NadirThu::AcrossTrackFootprint, "Across-track footprint", Growth::WithDepth},
        {NadirThu::SonarYOffset, "Sonar Y offset", Growth::Fixed},
        {NadirThu::PatchPitch, "Patch pitch", Growth::WithDepth},
        {NadirThu::PositionHorizontal, "Position horizontal", Growth::Fixed},
        {NadirThu::PositionXOffset, "Position X offset", Growth::Fixed},
        {NadirThu::PositionYOffset, "Position Y offset", Growth::Fixed},
        {NadirThu::MotionPitch, "Motion pitch", Growth::WithDepth},
    });
};

template <typename Term> inline constexpr std::size_t kTermCount = TermTable<Term>::rows.size();

// Whether the table lists every term once, in the enumeration's order.
template <typename Term> constexpr bool TableInOrder() {
    for (std::size_t i = 0; i < kTermCount<Term>; ++i) {
        if (static_cast<std::size_t>(TermTable<Term>::rows[i].term) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TableInOrder<BeamTvu>() && TableInOrder<BeamThu>() && TableInOrder<NadirTvu>() &&
                  TableInOrder<NadirThu>(),
              "each term table lists its terms once, in the enumeration's order");

template <typename Term> constexpr std::string_view TermName(Term term) {
    return TermTable<Term>::rows[static_cast<std::size_t>(term)].name;
}

// A value with the term it is the value of.
template <auto Tag> struct Tagged { double value; };
template <auto Tag> constexpr Tagged<Tag> TermValue(double value) { return {value}; }

// Whether the tags are every term of the budget once, in the model's order.
template <typename Term, Term... Tags> constexpr bool EveryTermInOrder() {
    std::size_t index = 0;
    return sizeof...(Tags) == kTermCount<Term> && ((static_cast<std::size_t>(Tags) == index++) && ...);
}

// The values of one budget, in the model's order, read by term.
template <typename Term> class TermValues {
public:
    constexpr TermValues() = default;
    template <Term... Tags>
    requires(EveryTermInOrder<Term, Tags...>()) constexpr explicit TermValues(Tagged<Tags>... values)
        : values_{values.value...} {}

    constexpr double operator[](Term term) const { return values_[static_cast<std::size_t>(term)]; }
    constexpr const double* begin() const { return values_.data(); }
    constexpr const double* end() const { return values_.data() + values_.size(); }
    constexpr const double* data() const { return values_.data(); }
    static constexpr std::size_t size() { return kTermCount<Term>; }

private:
    std::array<double, kTermCount<Term>> values_{};
};

// The terms of one beam in the order their squares are summed, and the totals.
struct BeamTerms {
    TermValues<BeamTvu> tvuTerms;
    TermValues<BeamThu> thuTerms;
    double tvu = 0.0;
    double thu = 0.0;
};

// The terms of one kind combined: the root of the sum of their squares.
double RootSumSquare(std::span<const double> terms);

// The beam at `angle` degrees from nadir at `depth` metres below the transducer.
BeamTerms EvaluateBeam(const TpuInputs& inputs, int depth, double angle);

// The nadir terms in the order their squares are summed, and the totals.
struct NadirValues {
    TermValues<NadirTvu> tvuTerms;
    TermValues<NadirThu> thuTerms;
    double tvu = 0.0;
    double thu = 0.0;
};

// Straight down, with formulas of its own: the footprint uses half the across-
// track beamwidth (factor 0.9), and the heading, profile and surface sound
// velocity terms vanish. So the nadir THU is smaller than the 0° beam's.
NadirValues EvaluateNadir(const TpuInputs& inputs, int depth);

// Half the pulse length in metres: the range term's part that no depth changes.
double HalfPulseLength(const TpuInputs& inputs);

// One pass of the sweep: the values evaluated at `abscissa` - 1 degrees, drawn
// at `abscissa` on the starboard side and at -`abscissa` on the port side.
struct BeamPoint {
    int abscissa = 0;
    double tvu = 0.0;
    double thu = 0.0;
    BeamTerms terms; // of the beam at `abscissa` - 1 degrees
};

struct TpuSweep {
    int depth = 0;               // m
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
