// The sonar configurations the suite knows, in the order the coverage
// calculator lists them: the centre-beam widths and how they follow the
// frequency, the frequency range, the widest sector a head can form, the
// deepest altitude it works at and whether the sector may be rotated. The
// coverage calculator, the line planner's systems and the reference sheets
// all read their figures from these rows.
#pragma once

#include <array>
#include <string_view>

namespace survey {

struct SonarModel {
    std::string_view caption;
    std::string_view typeText; // in the text report
    int freqMin, freqMax;      // kHz; both the fixed frequency of a fixed row
    bool fixedFrequency;
    // Degrees: at 400 kHz for a tunable row, at its own frequency for a fixed one.
    double alongBeamWidth, acrossBeamWidth;
    int maxSector;   // degrees; the smallest is 10 for every row
    int maxAltitude; // metres
    bool rotationLocked;
};

inline constexpr int kMinSector = 10;

inline constexpr std::array<SonarModel, 8> kSonarModels{{
    {"Sonic 2026", "Sonic 2026 - 170/450 kHz", 170, 450, false, 0.5, 0.5, 160, 1200, false},
    {"Sonic 2026 - 90/100 kHz", "Sonic 2026 - 90/100 kHz", 100, 100, true, 2.0, 2.0, 160, 1200, false},
    {"Sonic 2024", "Sonic 2024 - 170/450 kHz", 170, 450, false, 1.0, 0.5, 160, 500, false},
    {"Sonic 2024 - UHR", "Sonic 2024 UHR - 700 kHz", 700, 700, true, 0.6, 0.3, 70, 50, true},
    {"Sonic 2022", "Sonic 2022 - 170/450 kHz", 170, 450, false, 1.0, 1.0, 160, 500, false},
    {"Sonic 2022 - UHR", "Sonic 2022 UHR - 700 kHz", 700, 700, true, 0.6, 0.6, 70, 50, true},
    {"Sonic 2020", "Sonic 2020 - 200/450 kHz", 200, 450, false, 2.0, 2.0, 130, 200, false},
    {"Sonic 2020 - UHR", "Sonic 2020 UHR - 700 kHz", 700, 700, true, 1.0, 1.0, 70, 50, true},
}};

// The row selected when the window opens.
inline constexpr std::size_t kStartModel = 2;

} // namespace survey
