// The equipment figures the TPU calculator fills in for the surveyor: a row per
// sonar, motion sensor and heading sensor, and the figures that follow from the
// GNSS aiding of the motion sensor, the antenna separation of the heading
// sensor and the GNSS mode of the positioning. Each row is what the selection
// writes into the window's fields, as texts, so that a field shows exactly the
// figure of the data sheet.
#pragma once

#include <array>
#include <string_view>

namespace tpu {

// A sonar's figures. The beamwidths hold at the reference frequency and scale
// inversely with the working frequency; the "Default" row changes nothing.
struct SonarPreset {
    std::string_view item;
    bool applies;
    std::string_view swathText; // into the swath field
    int swathMinimum, swathMaximum, swathPosition;
    std::string_view frequencyText; // into the frequency field
    int frequencyMinimum, frequencyMaximum;
    int referenceFrequency; // kHz
    double alongBeamwidth;  // degrees at the reference frequency
    double acrossBeamwidth;
    int maximumDepth; // metres: the depth track bar's end
};

inline constexpr std::array<SonarPreset, 9> kSonarPresets{{
    {"Default", false, "", 0, 0, 0, "", 0, 0, 0, 0.0, 0.0, 0},
    {"Sonic 2020", true, "120", 10, 130, 120, "400", 200, 450, 400, 2.0, 2.0, 100},
    {"Sonic 2020 700 kHz", true, "60", 10, 60, 60, "700", 700, 700, 700, 1.0, 1.0, 50},
    {"Sonic 2022", true, "130", 10, 160, 130, "400", 170, 450, 400, 1.0, 1.0, 500},
    {"Sonic 2022 700 kHz", true, "70", 10, 70, 70, "700", 700, 700, 700, 0.6, 0.6, 100},
    {"Sonic 2024", true, "130", 10, 160, 130, "400", 170, 450, 400, 1.0, 0.5, 500},
    {"Sonic 2024 700 kHz", true, "70", 10, 70, 70, "700", 700, 700, 700, 0.6, 0.3, 100},
    {"Sonic 2026", true, "130", 10, 160, 130, "400", 170, 450, 400, 0.5, 0.5, 500},
    // Run at 90 kHz, specified at 100 kHz: the beamwidths scale from 100.
    {"Sonic 2026   90 kHz", true, "130", 10, 160, 130, "90", 90, 100, 100, 2.0, 2.0, 1000},
}};

// The sonar row in force when the window opens.
inline constexpr std::size_t kStartSonar = 5;

// What a selection does to a radio group: leave it, switch it off (keeping or
// resetting its choice), or switch it on with its first choice ("RTK",
// "2 m separation").
enum class GroupEffect { NoChange, Disable, DisableFirst, EnableFirst };

// A motion sensor's figures; an integrated inertial system also fixes the
// heading side (the heading list's row, its text and SD, the antenna group).
struct MotionPreset {
    std::string_view item;
    std::string_view selectedText;
    GroupEffect aiding;
    std::string_view roll, pitch, heave;
    int headingIndex; // -1: the heading side is left alone
    std::string_view headingText;
    std::string_view headingSd;
    GroupEffect antenna;
};

inline constexpr std::array<MotionPreset, 8> kMotionPresets{{
    {"1 - Motion Sensor", "Default", GroupEffect::Disable, "0.02", "0.02", "0.05", -1, "", "", GroupEffect::NoChange},
    {"2 - I2NS I (Appl. OceanMaster)", "I2NS v.I (OceanMaster)", GroupEffect::EnableFirst, "0.01", "0.01", "0.05", 1,
     "I2NS v.I (OceanMaster)", "0.02", GroupEffect::EnableFirst},
    {"3 - I2NS II (Appl. Wavemaster)", "I2NS v.II (WaveMaster)", GroupEffect::EnableFirst, "0.02", "0.02", "0.05", 2,
     "I2NS v.II (WaveMaster)", "0.03", GroupEffect::EnableFirst},
    {"4 - I2NS III (Appl. SurfMaster)", "I2NS v.III (SurfMaster)", GroupEffect::EnableFirst, "0.03", "0.03", "0.05", 3,
     "I2NS v.III (SurfMaster)", "0.08", GroupEffect::EnableFirst},
    {"5 - Octans (4th)", "Octans (4th generation))", GroupEffect::Disable, "0.01", "0.01", "0.05", 4,
     "Octans 4th generation", "0.05", GroupEffect::Disable},
    {"6 - Phins", "PHINS", GroupEffect::Disable, "0.01", "0.01", "0.05", 5, "PHINS", "0.01", GroupEffect::Disable},
    {"7 - SBG Apogee D", "SBG Apogee D", GroupEffect::EnableFirst, "0.008", "0.008", "0.05", 6, "SBG Apogee D", "0.04",
     GroupEffect::EnableFirst},
    {"8 - TSS DMS-25", "TSS DMS-25", GroupEffect::NoChange, "0.25", "0.25", "0.05", -1, "", "", GroupEffect::NoChange},
}};

// The motion and heading rows shown (but not applied) when the window opens.
inline constexpr std::size_t kStartMotion = 2;
inline constexpr std::size_t kStartHeading = 2;

struct HeadingPreset {
    std::string_view item;
    std::string_view selectedText;
    std::string_view headingSd;
    GroupEffect antenna;
};

inline constexpr std::array<HeadingPreset, 8> kHeadingPresets{{
    {"1 - Heading Gyro", "Default Heading", "0.03", GroupEffect::Disable},
    {"2 - I2NS I (Applanix OceanMaster)", "I2NS v.I (OceanMaster)", "0.02", GroupEffect::EnableFirst},
    {"3 - I2NS II (Applanix Wavemaster)", "I2NS v.II (WaveMaster)", "0.03", GroupEffect::EnableFirst},
    {"4 - I2NS III (Applanix SurfMaster)", "I2NS v.III (SurfMaster)", "0.08", GroupEffect::EnableFirst},
    {"5 - Octans (4th)", "Octans 4th generation", "0.05", GroupEffect::DisableFirst},
    {"6 - Phins ", "PHINS", "0.01", GroupEffect::DisableFirst},
    {"7 - SBG Apogee D", "SBG Apogee D", "0.04", GroupEffect::EnableFirst},
    {"8 - Gimbal Gyro type", "Standard Gyro", "0.4", GroupEffect::Disable},
}};

// Roll and pitch SDs of an aided inertial system: with RTK aiding, and with
// DGNSS aiding (the same text goes into both fields).
struct AidingFigures {
    int motionIndex;
    std::string_view rtk, dgnss;
};

inline constexpr std::array<AidingFigures, 4> kAidingFigures{{
    {1, "0.01", "0.02"},
    {2, "0.02", "0.03"},
    {3, "0.03", "0.04"},
    {6, "0.008", "0.01"},
}};

// Heading SD of a dual-antenna system by the antennas' separation: the longer
// the baseline, the better the heading.
struct AntennaFigures {
    int headingIndex;
    std::string_view twoMetres, fourMetres;
};

inline constexpr std::array<AntennaFigures, 4> kAntennaFigures{{
    {1, "0.02", "0.01"},
    {2, "0.03", "0.015"},
    {3, "0.08", "0.06"},
    {6, "0.04", "0.025"},
}};

// The positioning figures of each GNSS mode. DGNSS gives no usable height, so
// its vertical figures are zero and the vessel figures (draft, settlement,
// load) carry the vertical budget instead.
struct GnssModeFigures {
    bool heightFieldsEnabled;
    std::string_view zOffset, horizontal, vertical;
    std::string_view description; // for the report
    bool vesselDefaults;          // also write the vessel defaults
};

inline constexpr std::array<GnssModeFigures, 2> kGnssModes{{
    {true, "0.01", "0.05", "0.05", "RTK (Accurate height)", false},
    {false, "0.00", "0.5", "0.00", "Differential (Unreliable height)", true},
}};

struct VesselDefaults {
    std::string_view draft, squat, settlement, load;
};

inline constexpr VesselDefaults kVesselDefaults{"0.05", "0.0", "0.10", "0.05"};

} // namespace tpu
