// The TPU calculator's fields, one row each: what a field holds, where its
// value goes in the computation's inputs, and whether the settings file and
// the report keep it. The window gives each row its control
// (TTPU_Calculator.cpp), the settings file lays the rows out on its lines
// (kSettingsLines) and the report places them on its page (TpuReport.cpp).
// A new input is one row here, its control there, and its use in the model.
#pragma once

#include "common/NumberFormat.h"
#include "tpu/TpuModel.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace tpu {

// In the order the computation reads them: a field that cannot be read stops
// it there, so the first of several bad fields is the one named. The depth
// (the track bar's, the sweep's own argument) and the names of the equipment
// and the project enter no computation.
enum class Field {
    Frequency,
    SwathWidth,
    SonarXOffset,
    SonarYOffset,
    SonarZOffset,
    PulseLength,
    PatchRoll,
    PatchPitch,
    PatchYaw,
    PositionHorizontal,
    PositionVertical,
    PositionXOffset,
    PositionYOffset,
    PositionZOffset,
    SdRoll,
    SdPitch,
    SdHeave,
    MotionXOffset,
    MotionYOffset,
    MotionZOffset,
    SdDraft,
    SdSquat,
    SdSettlement,
    SdLoad,
    SoundVelocity,
    SdSvs,
    SdSvp,
    TidalSd,
    MaxHeave,
    SdHeading,
    Depth,
    SelectedSonar,
    SelectedMotion,
    SelectedHeading,
    Contractor,
    Client,
    Project,
    Operator,
};
// The number of fields: Operator is the last.
inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::Operator) + 1;

// What a field's text must be: any text, or a whole or decimal number as the
// computation reads them.
enum class Kind { Text, Whole, Decimal };

struct FieldRow {
    Field field;
    Kind kind;
    int TpuInputs::*whole = nullptr;      // where a whole number goes in the inputs; nullptr: nowhere
    double TpuInputs::*decimal = nullptr; // where a decimal number goes
    bool kept = true;                     // by the settings file
    bool printed = true;                  // on the report

    constexpr bool IsInput() const { return whole != nullptr || decimal != nullptr; }
    // A field the computation uses that the settings file's forty lines and
    // the report's page have no place for (the squat).
    constexpr FieldRow ComputedOnly() const {
        FieldRow row = *this;
        row.kept = row.printed = false;
        return row;
    }
};

constexpr FieldRow Input(Field field, int TpuInputs::*into) { return {field, Kind::Whole, into, nullptr}; }
constexpr FieldRow Input(Field field, double TpuInputs::*into) { return {field, Kind::Decimal, nullptr, into}; }
constexpr FieldRow Kept(Field field, Kind kind) { return {field, kind}; }

inline constexpr std::array<FieldRow, kFieldCount> kFields{{
    Input(Field::Frequency, &TpuInputs::frequency),
    Input(Field::SwathWidth, &TpuInputs::swathWidth),
    Input(Field::SonarXOffset, &TpuInputs::sonarXOffset),
    Input(Field::SonarYOffset, &TpuInputs::sonarYOffset),
    Input(Field::SonarZOffset, &TpuInputs::sonarZOffset),
    Input(Field::PulseLength, &TpuInputs::pulseDuration),
    Input(Field::PatchRoll, &TpuInputs::patchRoll),
    Input(Field::PatchPitch, &TpuInputs::patchPitch),
    Input(Field::PatchYaw, &TpuInputs::patchYaw),
    Input(Field::PositionHorizontal, &TpuInputs::positionHorizontal),
    Input(Field::PositionVertical, &TpuInputs::positionVertical),
    Input(Field::PositionXOffset, &TpuInputs::positionXOffset),
    Input(Field::PositionYOffset, &TpuInputs::positionYOffset),
    Input(Field::PositionZOffset, &TpuInputs::positionZOffset),
    Input(Field::SdRoll, &TpuInputs::motionRoll),
    Input(Field::SdPitch, &TpuInputs::motionPitch),
    Input(Field::SdHeave, &TpuInputs::motionHeave),
    Input(Field::MotionXOffset, &TpuInputs::motionXOffset),
    Input(Field::MotionYOffset, &TpuInputs::motionYOffset),
    Input(Field::MotionZOffset, &TpuInputs::motionZOffset),
    Input(Field::SdDraft, &TpuInputs::draft),
    Input(Field::SdSquat, &TpuInputs::squat).ComputedOnly(),
    Input(Field::SdSettlement, &TpuInputs::settlement),
    Input(Field::SdLoad, &TpuInputs::load),
    Input(Field::SoundVelocity, &TpuInputs::soundVelocity),
    Input(Field::SdSvs, &TpuInputs::svsSd),
    Input(Field::SdSvp, &TpuInputs::svpSd),
    Input(Field::TidalSd, &TpuInputs::tidalSd),
    Input(Field::MaxHeave, &TpuInputs::maxHeave),
    Input(Field::SdHeading, &TpuInputs::headingSd),
    Kept(Field::Depth, Kind::Whole),
    Kept(Field::SelectedSonar, Kind::Text),
    Kept(Field::SelectedMotion, Kind::Text),
    Kept(Field::SelectedHeading, Kind::Text),
    Kept(Field::Contractor, Kind::Text),
    Kept(Field::Client, Kind::Text),
    Kept(Field::Project, Kind::Text),
    Kept(Field::Operator, Kind::Text),
}};

constexpr bool InFieldOrder() {
    for (std::size_t index = 0; index < kFields.size(); ++index) {
        if (kFields[index].field != static_cast<Field>(index)) {
            return false;
        }
    }
    return true;
}
static_assert(InFieldOrder(), "kFields lists each field once, in the enum's order");

constexpr std::size_t IndexOf(Field field) { return static_cast<std::size_t>(field); }
constexpr const FieldRow& RowOf(Field field) { return kFields[IndexOf(field)]; }

// Reads an input field's text into the inputs as the computation reads it; a
// text that is no number throws the UserError that says so.
inline void ReadInput(TpuInputs& inputs, const FieldRow& row, std::string_view text) {
    if (row.whole != nullptr) {
        inputs.*row.whole = common::ParseInt(text);
    } else if (row.decimal != nullptr) {
        inputs.*row.decimal = common::ParseFloat(text);
    }
}

} // namespace tpu
