// The line planner's systems: each names the sonar configuration of the
// survey floor whose beam widths, frequency range and widest sector it uses,
// and adds the planner's own figures: the default swath, the largest range
// setting and the frequency it starts at.
#pragma once

#include "survey/SonarModels.h"

#include <array>
#include <string_view>

namespace lineplan {

struct PlannerSystem {
    std::string_view item;     // in the system list
    std::string_view typeText; // the sonar type label and the report
    std::size_t model;         // row of survey::kSonarModels
    int defaultSwath;          // degrees
    int maxRange;              // m
    std::string_view frequencyText;

    const survey::SonarModel& Model() const { return survey::kSonarModels[model]; }
};

// Rows of survey::kSonarModels, by the configuration they stand for.
namespace models {
inline constexpr std::size_t kSonic2026 = 0, kSonic2026_100 = 1, kSonic2024 = 2, kSonic2024Uhr = 3, kSonic2022 = 4,
                             kSonic2022Uhr = 5, kSonic2020 = 6, kSonic2020Uhr = 7;
}

inline constexpr std::array<PlannerSystem, 8> kPlannerSystems{{
    {"Sonic 2020 - 170/450 kHz", "Sonic 2020 (200 to 450 kHz) ", models::kSonic2020, 110, 200, "400"},
    {"Sonic 2020 - 700 kHz", "Sonic 2020 UHR (700 kHz) ", models::kSonic2020Uhr, 50, 50, "700"},
    {"Sonic 2022 - 170/450 kHz ", "Sonic 2022 (170 to 450 kHz) ", models::kSonic2022, 140, 500, "400"},
    {"Sonic 2022 - 700 kHz", "Sonic 2022 UHR (700 kHz) ", models::kSonic2022Uhr, 50, 100, "700"},
    {"Sonic 2024 - 170/450 kHz", "Sonic 2024 (170 to 450 kHz) ", models::kSonic2024, 140, 500, "400"},
    {"Sonic 2024 - 700 kHz", "Sonic 2024 UHR (700 kHz) ", models::kSonic2024Uhr, 50, 100, "700"},
    {"Sonic 2026 - 170/450", "Sonic 2026 (170 to 450 kHz) ", models::kSonic2026, 130, 500, "400"},
    {"Sonic 2026 - 100 kHz", "Sonic 2026 (100 kHz) ", models::kSonic2026_100, 130, 1200, "100"},
}};

// Every system starts the planning at 20 m with 60 pings a second at most.
inline constexpr int kSystemDepth = 20;
inline constexpr int kSystemPingRate = 60;

} // namespace lineplan
