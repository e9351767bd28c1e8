// The TPU settings file: an installation's figures kept from one survey to the
// next as forty lines, one field's text a line, in Windows-1252 with CR LF. The
// file names no field: a line's place says whose text it is, and three places
// repeat the pulse length (read once of them, ignored twice).
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <string_view>

namespace tpu {

struct SettingsLine {
    std::string_view field; // the object name of the field
    bool loaded;            // written back into the field on loading
};

inline constexpr std::array<SettingsLine, 40> kSettingsLines{{
    {"edt_Swath_width", true},
    {"edt_Selected_sonar", true},
    {"edt_Pulse_duration", true},
    {"edt_frq", true},
    {"edt_sonar_x_off", true},
    {"edt_sonar_y_off", true},
    {"edt_sonar_z_off", true},
    {"edt_Patch_roll", true},
    {"edt_Patch_pitch", true},
    {"edt_Patch_yaw", true},
    {"edt_Pulse_duration", false},
    {"edt_pos_horizontal", true},
    {"edt_pos_vertical", true},
    {"edt_pos_x_off", true},
    {"edt_pos_y_off", true},
    {"edt_pos_z_off", true},
    {"edt_Selected_Motion", true},
    {"edt_Pulse_duration", true},
    {"edt_SD_Roll", true},
    {"edt_SD_Pitch", true},
    {"edt_SD_Heave", true},
    {"edt_motion_x_off", true},
    {"edt_motion_y_off", true},
    {"edt_motion_z_off", true},
    {"edt_Selected_Heading", true},
    {"edt_Pulse_duration", false},
    {"edt_SD_Heading", true},
    {"edt_SD_Draft", true},
    {"edt_SD_Settlement", true},
    {"edt_SD_Load", true},
    {"edt_Depth", true},
    {"edt_Max_heave", true},
    {"edt_tidal_SD", true},
    {"edt_SD_SVS", true},
    {"edt_SD_SVP", true},
    {"edt_Contractor", true},
    {"edt_Client", true},
    {"edt_Project", true},
    {"edt_Operator", true},
    {"edt_Soundvelocity", true},
}};

// A settings file is text from outside: no more of it is read than forty
// sensible lines could fill, and no line longer than a field holds is used.
inline constexpr qint64 kSettingsReadLimit = 1 << 20;
inline constexpr qsizetype kSettingsLineLimit = 32767;

// The file's forty lines from the fields' texts.
QStringList SettingsFileLines(const std::function<QString(std::string_view field)>& textOf);

// Writes the lines into their fields in line order, as far as the file goes.
// Returns the message for a file that ends early ("List index out of bounds
// (30)" for a file of 30 lines), empty when all forty were there.
QString LoadSettingsLines(const QStringList& lines,
                          const std::function<void(std::string_view field, const QString& text)>& write);

} // namespace tpu
