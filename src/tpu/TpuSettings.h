// The TPU settings file: an installation's figures kept from one survey to the
// next as forty lines, one field's text a line, in Windows-1252 with CR LF. The
// file names no field: a line's place says whose text it is, and three places
// repeat the pulse length (read once of them, ignored twice). Six lines after
// the forty name the equipment and the modes chosen (the sonar, motion sensor
// and heading sensor as their lists show them, the GNSS mode, the GNSS aiding
// and the antenna separation), and a seventh the sonar whose beamwidths and
// depth range the results were computed with (the list's "Default" keeps those
// of the sonar chosen before it), so that a file gives back the results it was
// saved with; a reader of the forty lines alone finds them where it always did.
#pragma once

#include "common/TextFile.h"
#include "tpu/TpuFields.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tpu {

// A line of the file: the field whose text it holds, and whether a load reads
// it (the pulse length's two repeats are written, never read).
struct SettingsLine {
    Field field;
    bool read = true;
};

inline constexpr std::array<SettingsLine, 40> kSettingsLines{{
    {Field::SwathWidth},
    {Field::SelectedSonar},
    {Field::PulseLength},
    {Field::Frequency},
    {Field::SonarXOffset},
    {Field::SonarYOffset},
    {Field::SonarZOffset},
    {Field::PatchRoll},
    {Field::PatchPitch},
    {Field::PatchYaw},
    {Field::PulseLength, false},
    {Field::PositionHorizontal},
    {Field::PositionVertical},
    {Field::PositionXOffset},
    {Field::PositionYOffset},
    {Field::PositionZOffset},
    {Field::SelectedMotion},
    {Field::PulseLength},
    {Field::SdRoll},
    {Field::SdPitch},
    {Field::SdHeave},
    {Field::MotionXOffset},
    {Field::MotionYOffset},
    {Field::MotionZOffset},
    {Field::SelectedHeading},
    {Field::PulseLength, false},
    {Field::SdHeading},
    {Field::SdDraft},
    {Field::SdSettlement},
    {Field::SdLoad},
    {Field::Depth},
    {Field::MaxHeave},
    {Field::TidalSd},
    {Field::SdSvs},
    {Field::SdSvp},
    {Field::Contractor},
    {Field::Client},
    {Field::Project},
    {Field::Operator},
    {Field::SoundVelocity},
}};

// The choices after the forty lines, each as the file writes it: the list
// texts of the equipment, and a word for each of the three two-way groups.
struct SettingsChoices {
    std::size_t sonar = 0, motion = 0, heading = 0; // rows of the preset lists
    int gnssMode = 0;                               // 0 RTK, 1 DGNSS
    int aiding = 0;                                 // 0 RTK, 1 DGNSS
    int antenna = 0;                                // 0 two metres, 1 four metres
    // The row of the sonar whose reference figures are in use; absent in a
    // file of six choices, whose sonar row then gives them as its list does.
    std::optional<std::size_t> referenceSonar;
};
inline constexpr std::array<std::string_view, 2> kGnssModeWords{"RTK", "DGNSS"};
inline constexpr std::array<std::string_view, 2> kAidingWords{"RTK", "DGNSS"};
inline constexpr std::array<std::string_view, 2> kAntennaWords{"2 m separation", "4 m separation"};
inline constexpr std::size_t kChoiceLines = 6;
// The reference sonar's line, after the six: a file of the form before it
// has forty-six lines.
inline constexpr std::size_t kReferenceSonarLine = 47;

// A settings file is text from outside: a real one is a few hundred bytes, so
// a file of more than this is no settings file and is not read at all.
inline constexpr std::int64_t kSettingsSizeLimit = 64 * 1024;

// A field's text longer than this (in characters) is no setting (a paste gone
// wrong): saving refuses it, which keeps every file within the size a load
// reads.
inline constexpr int kSettingsTextLimit = 1000;

// The file's lines (UTF-8) from the fields' texts and the choices. A line
// break or other control character in a text becomes a blank: a line of the
// file is one field, always.
std::vector<std::string> SettingsFileLines(const std::function<std::string(Field field)>& textOf,
                                           const SettingsChoices& choices);

// A file read and checked whole before anything is changed.
struct LoadedSettings {
    std::array<std::string, 40> texts;      // the text of each of the forty lines
    std::optional<SettingsChoices> choices; // absent in a file of forty lines
};

// Checks every line a load would use: the forty (each number readable as the
// computation reads it) and, when the file has them, the six choices, and
// fills `loaded` from them. On failure the error names the file and the first
// line at fault, with its text as it is (control characters shown as \XXh).
// A file whose last line has no line end was cut short (every line of a
// settings file ends with CR LF): `endsWithLineEnd` says whether it has one.
common::FileResult ReadSettingsLines(const std::string& fileName, const std::vector<std::string>& lines,
                                     bool endsWithLineEnd, LoadedSettings& loaded);

} // namespace tpu
