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

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace tpu {

// The fields a settings file keeps, in the order of their first line.
enum class SettingsField {
    SwathWidth,
    SelectedSonar,
    PulseLength,
    Frequency,
    SonarXOffset,
    SonarYOffset,
    SonarZOffset,
    PatchRoll,
    PatchPitch,
    PatchYaw,
    PositionHorizontal,
    PositionVertical,
    PositionXOffset,
    PositionYOffset,
    PositionZOffset,
    SelectedMotion,
    SdRoll,
    SdPitch,
    SdHeave,
    MotionXOffset,
    MotionYOffset,
    MotionZOffset,
    SelectedHeading,
    SdHeading,
    SdDraft,
    SdSettlement,
    SdLoad,
    Depth,
    MaxHeave,
    TidalSd,
    SdSvs,
    SdSvp,
    Contractor,
    Client,
    Project,
    Operator,
    SoundVelocity,
};
// The number of fields: SoundVelocity is the last.
inline constexpr std::size_t kSettingsFieldCount = static_cast<std::size_t>(SettingsField::SoundVelocity) + 1;

// What a line must hold to be loaded: any text, a whole number or a decimal
// number as the computation reads them; or nothing, for a line that is not.
enum class LineKind { Text, Whole, Decimal, Ignored };

struct SettingsLine {
    SettingsField field;
    LineKind kind;
};

inline constexpr std::array<SettingsLine, 40> kSettingsLines{{
    {SettingsField::SwathWidth, LineKind::Whole},
    {SettingsField::SelectedSonar, LineKind::Text},
    {SettingsField::PulseLength, LineKind::Whole},
    {SettingsField::Frequency, LineKind::Whole},
    {SettingsField::SonarXOffset, LineKind::Decimal},
    {SettingsField::SonarYOffset, LineKind::Decimal},
    {SettingsField::SonarZOffset, LineKind::Decimal},
    {SettingsField::PatchRoll, LineKind::Decimal},
    {SettingsField::PatchPitch, LineKind::Decimal},
    {SettingsField::PatchYaw, LineKind::Decimal},
    {SettingsField::PulseLength, LineKind::Ignored},
    {SettingsField::PositionHorizontal, LineKind::Decimal},
    {SettingsField::PositionVertical, LineKind::Decimal},
    {SettingsField::PositionXOffset, LineKind::Decimal},
    {SettingsField::PositionYOffset, LineKind::Decimal},
    {SettingsField::PositionZOffset, LineKind::Decimal},
    {SettingsField::SelectedMotion, LineKind::Text},
    {SettingsField::PulseLength, LineKind::Whole},
    {SettingsField::SdRoll, LineKind::Decimal},
    {SettingsField::SdPitch, LineKind::Decimal},
    {SettingsField::SdHeave, LineKind::Decimal},
    {SettingsField::MotionXOffset, LineKind::Decimal},
    {SettingsField::MotionYOffset, LineKind::Decimal},
    {SettingsField::MotionZOffset, LineKind::Decimal},
    {SettingsField::SelectedHeading, LineKind::Text},
    {SettingsField::PulseLength, LineKind::Ignored},
    {SettingsField::SdHeading, LineKind::Decimal},
    {SettingsField::SdDraft, LineKind::Decimal},
    {SettingsField::SdSettlement, LineKind::Decimal},
    {SettingsField::SdLoad, LineKind::Decimal},
    {SettingsField::Depth, LineKind::Whole},
    {SettingsField::MaxHeave, LineKind::Decimal},
    {SettingsField::TidalSd, LineKind::Decimal},
    {SettingsField::SdSvs, LineKind::Decimal},
    {SettingsField::SdSvp, LineKind::Decimal},
    {SettingsField::Contractor, LineKind::Text},
    {SettingsField::Client, LineKind::Text},
    {SettingsField::Project, LineKind::Text},
    {SettingsField::Operator, LineKind::Text},
    {SettingsField::SoundVelocity, LineKind::Whole},
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
inline constexpr qint64 kSettingsSizeLimit = 64 * 1024;

// A field's text longer than this is no setting (a paste gone wrong): saving
// refuses it, which keeps every file within the size a load reads.
inline constexpr qsizetype kSettingsTextLimit = 1000;

// The file's lines from the fields' texts and the choices. A line break or
// other control character in a text becomes a blank: a line of the file is one
// field, always.
QStringList SettingsFileLines(const std::function<QString(SettingsField field)>& textOf,
                              const SettingsChoices& choices);

// A file read and checked whole before anything is changed.
struct LoadedSettings {
    QString error;                          // why the file cannot be loaded; empty when it can
    std::array<QString, 40> texts;          // the text of each of the forty lines
    std::optional<SettingsChoices> choices; // absent in a file of forty lines
};

// Checks every line a load would use: the forty (each number readable as the
// computation reads it) and, when the file has them, the six choices. The
// error names the file and the first line at fault, with its text as it is
// (control characters shown as \XXh).
// A file whose last line has no line end was cut short (every line of a
// settings file ends with CR LF): `endsWithLineEnd` says whether it has one.
LoadedSettings ReadSettingsLines(const QString& fileName, const QStringList& lines, bool endsWithLineEnd);

} // namespace tpu
