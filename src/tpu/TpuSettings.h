// The TPU settings file: an installation's figures kept from one survey to the
// next as forty lines, one field's text a line, in Windows-1252 with CR LF. The
// file names no field: a line's place says whose text it is, and three places
// repeat the pulse length (read once of them, ignored twice). Six lines after
// the forty name the equipment and the modes chosen (the sonar, motion sensor
// and heading sensor as their lists show them, the GNSS mode, the GNSS aiding
// and the antenna separation), so that a file gives back the results it was
// saved with; a reader of the forty lines alone finds them where it always did.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace tpu {

// What a line must hold to be loaded: any text, a whole number or a decimal
// number as the computation reads them; or nothing, for a line that is not.
enum class LineKind { Text, Whole, Decimal, Ignored };

struct SettingsLine {
    std::string_view field; // the object name of the field
    LineKind kind;
};

inline constexpr std::array<SettingsLine, 40> kSettingsLines{{
    {"edt_Swath_width", LineKind::Whole},
    {"edt_Selected_sonar", LineKind::Text},
    {"edt_Pulse_duration", LineKind::Whole},
    {"edt_frq", LineKind::Whole},
    {"edt_sonar_x_off", LineKind::Decimal},
    {"edt_sonar_y_off", LineKind::Decimal},
    {"edt_sonar_z_off", LineKind::Decimal},
    {"edt_Patch_roll", LineKind::Decimal},
    {"edt_Patch_pitch", LineKind::Decimal},
    {"edt_Patch_yaw", LineKind::Decimal},
    {"edt_Pulse_duration", LineKind::Ignored},
    {"edt_pos_horizontal", LineKind::Decimal},
    {"edt_pos_vertical", LineKind::Decimal},
    {"edt_pos_x_off", LineKind::Decimal},
    {"edt_pos_y_off", LineKind::Decimal},
    {"edt_pos_z_off", LineKind::Decimal},
    {"edt_Selected_Motion", LineKind::Text},
    {"edt_Pulse_duration", LineKind::Whole},
    {"edt_SD_Roll", LineKind::Decimal},
    {"edt_SD_Pitch", LineKind::Decimal},
    {"edt_SD_Heave", LineKind::Decimal},
    {"edt_motion_x_off", LineKind::Decimal},
    {"edt_motion_y_off", LineKind::Decimal},
    {"edt_motion_z_off", LineKind::Decimal},
    {"edt_Selected_Heading", LineKind::Text},
    {"edt_Pulse_duration", LineKind::Ignored},
    {"edt_SD_Heading", LineKind::Decimal},
    {"edt_SD_Draft", LineKind::Decimal},
    {"edt_SD_Settlement", LineKind::Decimal},
    {"edt_SD_Load", LineKind::Decimal},
    {"edt_Depth", LineKind::Whole},
    {"edt_Max_heave", LineKind::Decimal},
    {"edt_tidal_SD", LineKind::Decimal},
    {"edt_SD_SVS", LineKind::Decimal},
    {"edt_SD_SVP", LineKind::Decimal},
    {"edt_Contractor", LineKind::Text},
    {"edt_Client", LineKind::Text},
    {"edt_Project", LineKind::Text},
    {"edt_Operator", LineKind::Text},
    {"edt_Soundvelocity", LineKind::Whole},
}};

// The choices after the forty lines, each as the file writes it: the list
// texts of the equipment, and a word for each of the three two-way groups.
struct SettingsChoices {
    std::size_t sonar = 0, motion = 0, heading = 0; // rows of the preset lists
    int gnssMode = 0;                               // 0 RTK, 1 DGNSS
    int aiding = 0;                                 // 0 RTK, 1 DGNSS
    int antenna = 0;                                // 0 two metres, 1 four metres
};
inline constexpr std::array<std::string_view, 2> kGnssModeWords{"RTK", "DGNSS"};
inline constexpr std::array<std::string_view, 2> kAidingWords{"RTK", "DGNSS"};
inline constexpr std::array<std::string_view, 2> kAntennaWords{"2 m separation", "4 m separation"};
inline constexpr std::size_t kChoiceLines = 6;

// A settings file is text from outside: a real one is a few hundred bytes, so
// a file of more than this is no settings file and is not read at all.
inline constexpr qint64 kSettingsSizeLimit = 64 * 1024;

// The file's lines from the fields' texts and the choices.
QStringList SettingsFileLines(const std::function<QString(std::string_view field)>& textOf,
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
