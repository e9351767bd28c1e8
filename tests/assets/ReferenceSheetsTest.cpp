// The equipment sheets and drawings as the asset build wrote them, read back with poppler's
// pdftotext: each sheet carries the figures the calculators' tables hold for its configurations,
// row by row in the right column, and each drawing names its unit and labels the offsets of its
// table, on a page the document window can show at its natural size.

#include "assets/CentreDrawingTable.h"
#include "common/NumberFormat.h"
#include "coverage/CoverageModel.h"
#include "survey/SonarModels.h"
#include "tpu/TpuPresets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace reference_sheets_test {

namespace {

std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        output.append(buffer.data(), n);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
}

std::string AssetPath(const std::string& name) { return std::string(TORMALIND_ASSET_DIR) + "/" + name; }

// The page's text in reading order, every run of blanks and line ends as one blank: a table row
// reads "Deepest altitude 500 m 50 m", its cells in column order.
std::string PageText(const std::string& name) {
    const std::string raw = Output("pdftotext -layout '" + AssetPath(name) + "' -");
    std::string text;
    for (char c : raw) {
        const bool blank = c == ' ' || c == '\n' || c == '\f' || c == '\r';
        if (!blank) {
            text += c;
        } else if (!text.empty() && text.back() != ' ') {
            text += ' ';
        }
    }
    return " " + text;
}

std::string Text(std::string_view s) { return std::string(s); }
std::string Whole(int value) { return std::to_string(value); }

// To the hundredth, one trailing zero dropped: "1.0°", "2.35°".
std::string Degrees(double value) {
    std::string digits = common::FormatFixed(value, 0, 2);
    if (digits.back() == '0') {
        digits.pop_back();
    }
    return digits + "°";
}

std::string Beams(const survey::SonarModel& model, int frequency) {
    const coverage::BeamWidths widths = coverage::BeamWidthsAt(model, frequency);
    return Degrees(widths.along) + " × " + Degrees(widths.across) + " at " + Whole(frequency) + " kHz";
}

const survey::SonarModel& CoverageRow(std::string_view caption) {
    for (const survey::SonarModel& model : survey::kSonarModels) {
        if (model.caption == caption) {
            return model;
        }
    }
    throw std::runtime_error("no coverage row " + Text(caption));
}

const tpu::SonarPreset& TpuRow(std::string_view item) {
    for (const tpu::SonarPreset& preset : tpu::kSonarPresets) {
        if (preset.item == item) {
            return preset;
        }
    }
    throw std::runtime_error("no TPU row " + Text(item));
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct SonarSheet {
    const char* file;
    const char* family;
    const char* coverage[2]; // standard, option
    const char* tpu[2];
    std::vector<int> pingRanges; // round ranges up to the family's deepest altitude, and that altitude
};

const SonarSheet kSonarSheets[] = {
    {"spec_sonic2020.pdf",
     "Sonic 2020",
     {"Sonic 2020", "Sonic 2020 - UHR"},
     {"Sonic 2020", "Sonic 2020 700 kHz"},
     {10, 25, 50, 100, 200}},
    {"spec_sonic2022.pdf",
     "Sonic 2022",
     {"Sonic 2022", "Sonic 2022 - UHR"},
     {"Sonic 2022", "Sonic 2022 700 kHz"},
     {10, 25, 50, 100, 200, 500}},
    {"spec_sonic2024.pdf",
     "Sonic 2024",
     {"Sonic 2024", "Sonic 2024 - UHR"},
     {"Sonic 2024", "Sonic 2024 700 kHz"},
     {10, 25, 50, 100, 200, 500}},
    {"spec_sonic2026.pdf",
     "Sonic 2026",
     {"Sonic 2026", "Sonic 2026 - 90/100 kHz"},
     {"Sonic 2026", "Sonic 2026   90 kHz"},
     {10, 25, 50, 100, 200, 500, 1200}},
};

} // namespace

// Each row of a sonar sheet holds the standard configuration's figure, then the option's, as
// the coverage and TPU tables give them; the sector a head forms and the swath the TPU
// calculator allows stay apart where they differ (the 700 kHz Sonic 2020: 70° and 60°).
TEST(ReferenceSheets, SonarSheetsCarryTheCalculatorsFigures) {
    for (const SonarSheet& sheet : kSonarSheets) {
        SCOPED_TRACE(sheet.file);
        const std::string text = PageText(sheet.file);
        const survey::SonarModel* models[] = {&CoverageRow(sheet.coverage[0]), &CoverageRow(sheet.coverage[1])};
        const tpu::SonarPreset* presets[] = {&TpuRow(sheet.tpu[0]), &TpuRow(sheet.tpu[1])};
        const auto row = [&](const std::string& figure, const auto& cell) {
            return " " + figure + " " + cell(0) + " " + cell(1) + " ";
        };
        const survey::SonarModel& standard = *models[0];

        std::vector<std::string> expected = {
            " " + std::string(sheet.family) + " — specification ",
            row("At the reference frequency", [&](int i) { return Beams(*models[i], presets[i]->referenceFrequency); }),
            " At the lowest frequency " + Beams(standard, standard.freqMin),
            " At the highest frequency " + Beams(standard, standard.freqMax),
            row("Sector", [&](int i) { return "10° to " + Whole(models[i]->maxSector) + "°"; }),
            row("Sector rotation, one head",
                [&](int i) {
                    return models[i]->rotationLocked
                               ? std::string("locked at 0°")
                               : "up to ±" + Whole(coverage::RotationLimit(*models[i], survey::kMinSector)) + "°";
                }),
            row("Deepest altitude", [&](int i) { return Whole(models[i]->maxAltitude) + " m"; }),
            row("Swath",
                [&](int i) {
                    return Text(presets[i]->swathText) + "°, from " + Whole(presets[i]->swathMinimum) + "° to " +
                           Whole(presets[i]->swathMaximum) + "°";
                }),
            row("Depth scale", [&](int i) { return "to " + Whole(presets[i]->maximumDepth) + " m"; }),
            " Highest ping rate 60 Hz, held at ranges of 8 m and less ",
        };
        for (int range : sheet.pingRanges) {
            expected.push_back(" " + Whole(range) + " m " + common::FormatFixed(coverage::PingRateAt(range), 0, 1) +
                               " Hz ");
        }
        EXPECT_EQ(Count(text, " Hz "), sheet.pingRanges.size()) << "a ping-rate row for each range, no more";
        for (const std::string& line : expected) {
            EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << "\nin: " << text;
        }
    }
}

// The tools' frequency figures: the coverage calculator's band or fixed frequency, the TPU
// calculator's band and the frequency it sets.
TEST(ReferenceSheets, SonarSheetsGiveEachCalculatorsFrequency) {
    struct Case {
        const char* file;
        const char* coverage;
        const char* tpu;
    } cases[] = {
        {"spec_sonic2020.pdf", " Frequency 200–450 kHz, tunable 700 kHz, fixed ",
         " Frequency 200–450 kHz, set to 400 kHz 700 kHz "},
        {"spec_sonic2024.pdf", " Frequency 170–450 kHz, tunable 700 kHz, fixed ",
         " Frequency 170–450 kHz, set to 400 kHz 700 kHz "},
        // The low-frequency row works at 100 kHz in the coverage calculator; the TPU calculator
        // starts it at 90 kHz and scales its beams from 100.
        {"spec_sonic2026.pdf", " Frequency 170–450 kHz, tunable 100 kHz, fixed ",
         " Frequency 170–450 kHz, set to 400 kHz 90–100 kHz, set to 90 kHz "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = PageText(c.file);
        EXPECT_NE(text.find(c.coverage), std::string::npos) << text;
        EXPECT_NE(text.find(c.tpu), std::string::npos) << text;
    }
    EXPECT_NE(PageText("spec_sonic2026.pdf")
                  .find(" At the lowest frequency 1.18° × 1.18° at 170 kHz 2.22° × 2.22° at 90 kHz "),
              std::string::npos);
}

// The I2NS sheets take rows 1 to 3 of the motion and heading lists and the aiding and antenna
// figures of those rows, and name each type by its number, without the product in brackets.
TEST(ReferenceSheets, InertialSheetsCarryTheirTypesFigures) {
    struct Case {
        const char* file;
        std::size_t row;
        const char* type;
    } cases[] = {{"spec_i2ns_1.pdf", 1, "I2NS Type I"},
                 {"spec_i2ns_2.pdf", 2, "I2NS Type II"},
                 {"spec_i2ns_3.pdf", 3, "I2NS Type III"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = PageText(c.file);
        const tpu::MotionPreset& motion = tpu::kMotionPresets[c.row];
        const tpu::HeadingPreset& heading = tpu::kHeadingPresets[c.row];
        const auto aiding = std::find_if(tpu::kAidingFigures.begin(), tpu::kAidingFigures.end(),
                                         [&](const auto& f) { return f.motionIndex == int(c.row); });
        const auto antenna = std::find_if(tpu::kAntennaFigures.begin(), tpu::kAntennaFigures.end(),
                                          [&](const auto& f) { return f.headingIndex == int(c.row); });
        ASSERT_NE(aiding, tpu::kAidingFigures.end());
        ASSERT_NE(antenna, tpu::kAntennaFigures.end());
        const std::string expected[] = {
            " " + std::string(c.type) + " — specification ",
            " Roll " + Text(motion.roll) + "° ",
            " Pitch " + Text(motion.pitch) + "° ",
            " Heave " + Text(motion.heave) + " m ",
            " Heading " + Text(heading.headingSd) + "° ",
            " With RTK aiding " + Text(aiding->rtk) + "° ",
            " With DGNSS aiding " + Text(aiding->dgnss) + "° ",
            " Antennas 2 m apart " + Text(antenna->twoMetres) + "° ",
            " Antennas 4 m apart " + Text(antenna->fourMetres) + "° ",
        };
        for (const std::string& line : expected) {
            EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << "\nin: " << text;
        }
        EXPECT_EQ(text.find('('), std::string::npos) << text;
    }
}

// Every drawing names its unit and what is marked, and labels each offset of its table twice:
// on its dimension line and in the title block.
TEST(ReferenceSheets, DrawingsLabelTheOffsetsOfTheirTable) {
    const auto offset = [](char axis, int millimetres) {
        const std::string sign = millimetres > 0 ? "+" : millimetres < 0 ? "−" : "";
        return std::string(" ") + axis + " " + sign + std::to_string(std::abs(millimetres)) + " ";
    };
    for (const assets::CentreDrawing& drawing : assets::kCentreDrawings) {
        const std::string file = Text(drawing.asset) + ".pdf";
        SCOPED_TRACE(file);
        const std::string text = PageText(file);
        const std::string title =
            " " + Text(drawing.unit) + (drawing.sonar ? " — acoustic centre " : " — centre of measurement ");
        EXPECT_NE(text.find(title), std::string::npos) << text;
        EXPECT_NE(text.find(" Dimensions in millimetres · scale 1:"), std::string::npos) << text;
        EXPECT_NE(text.find(" CAUTION "), std::string::npos) << text;
        EXPECT_NE(text.find(" Illustrative drawing. "), std::string::npos) << text;
        for (const std::string& label :
             {offset('X', drawing.centre.x), offset('Y', drawing.centre.y), offset('Z', drawing.centre.z)}) {
            EXPECT_EQ(Count(text, label), 2u) << label << "\nin: " << text;
        }
    }
}

// The window shows a sheet at 459 × 552 pt and a drawing at 450 × 360 pt, unscaled at 96 dpi:
// the page must be that size, and no word smaller than 6.5 pt type. pdftotext's word box is
// the face's ascent plus descent, 1.117 em in Liberation Sans.
TEST(ReferenceSheets, PagesShowAtTheirNaturalSizeWithReadableType) {
    std::vector<std::pair<std::string, std::string>> pages;
    for (const char* name : {"spec_sonic2020", "spec_sonic2022", "spec_sonic2024", "spec_sonic2026", "spec_i2ns_1",
                             "spec_i2ns_2", "spec_i2ns_3"}) {
        pages.emplace_back(std::string(name) + ".pdf", "459 x 552 pts");
    }
    for (const assets::CentreDrawing& drawing : assets::kCentreDrawings) {
        pages.emplace_back(Text(drawing.asset) + ".pdf", "450 x 360 pts");
    }

    const std::regex word(R"re(<word xMin="[^"]*" yMin="([^"]*)" xMax="[^"]*" yMax="([^"]*)">)re");
    for (const auto& [file, size] : pages) {
        SCOPED_TRACE(file);
        const std::string info = Output("pdfinfo '" + AssetPath(file) + "'");
        EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Page size:       " + size), std::string::npos) << info;
        const std::string boxes = Output("pdftotext -bbox '" + AssetPath(file) + "' -");
        double smallest = 1e9;
        int words = 0;
        for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word); it != std::sregex_iterator(); ++it) {
            smallest = std::min(smallest, std::stod((*it)[2]) - std::stod((*it)[1]));
            ++words;
        }
        EXPECT_GT(words, 30);
        EXPECT_GE(smallest / 1.117, 6.5 - 0.01);
    }
}

// A surveyor compares orders row by row: every order sheet carries the rows every order has.
TEST(ReferenceSheets, EveryOrderSheetHasTheRowsOfEveryOrder) {
    for (const char* sheet : {"order_iho_special.pdf", "order_iho_1a.pdf", "order_iho_1b.pdf", "order_iho_2.pdf",
                              "order_fsis44.pdf", "order_nl_a.pdf", "order_nl_b.pdf"}) {
        const std::string text = PageText(sheet);
        for (const char* row : {"Description of areas", "Maximum allowable THU", "Maximum allowable TVU",
                                "Full sea floor search", "Feature detection"}) {
            EXPECT_NE(text.find(row), std::string::npos) << sheet << ": " << row;
        }
    }
}

} // namespace reference_sheets_test
