// The equipment sheets: one per sonar family, its standard and optional configuration side
// by side, and one per I2NS type. Nothing on them is typed here: each figure is formatted from
// the row the coverage or the TPU calculator uses, found by the caption it shows, so a sheet
// and a calculator cannot disagree.

#include "assets/AssetPainting.h"
#include "assets/ReferenceDocuments.h"

#include "common/NumberFormat.h"
#include "coverage/CoverageModel.h"
#include "survey/SonarModels.h"
#include "tpu/TpuModel.h"
#include "tpu/TpuPresets.h"

#include <QDir>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>
#include <string>

namespace assets {

namespace {

QString Fixed(double value, int decimals) { return QString::fromStdString(common::FormatFixed(value, 0, decimals)); }

// Beam widths to the hundredth, a trailing zero dropped but one decimal kept: a table's "1.0"
// stays "1.0", 400/170 of it reads "2.35".
QString Degrees(double value) {
    QString digits = Fixed(value, 2);
    if (digits.endsWith(QLatin1Char('0'))) {
        digits.chop(1);
    }
    return digits + QStringLiteral("°");
}

QString Kilohertz(int frequency) { return QString::number(frequency) + QStringLiteral(" kHz"); }

QString Band(int lowest, int highest) {
    return lowest == highest ? Kilohertz(lowest) : QStringLiteral("%1–%2").arg(lowest).arg(Kilohertz(highest));
}

QString BeamPair(coverage::BeamWidths widths, int frequency) {
    return QStringLiteral("%1 × %2 at %3").arg(Degrees(widths.along), Degrees(widths.across), Kilohertz(frequency));
}

// ---------------------------------------------------------------------------------------------
// Sonar families

struct SonarFamily {
    const char* asset;
    std::string_view name;
    std::string_view coverageCaptions[2]; // standard, option: as the coverage calculator lists them
    std::string_view tpuItems[2];         // the same configurations in the TPU calculator's list
};

const SonarFamily kSonarFamilies[] = {
    {"spec_sonic2020", "Sonic 2020", {"Sonic 2020", "Sonic 2020 - UHR"}, {"Sonic 2020", "Sonic 2020 700 kHz"}},
    {"spec_sonic2022", "Sonic 2022", {"Sonic 2022", "Sonic 2022 - UHR"}, {"Sonic 2022", "Sonic 2022 700 kHz"}},
    {"spec_sonic2024", "Sonic 2024", {"Sonic 2024", "Sonic 2024 - UHR"}, {"Sonic 2024", "Sonic 2024 700 kHz"}},
    {"spec_sonic2026", "Sonic 2026", {"Sonic 2026", "Sonic 2026 - 90/100 kHz"}, {"Sonic 2026", "Sonic 2026   90 kHz"}},
};

// The range settings the ping-rate rows show, up to the family's deepest altitude, which is
// always shown as well.
constexpr int kPingRanges[] = {10, 25, 50, 100, 200, 500};

const survey::SonarModel& CoverageRow(std::string_view caption) {
    for (const survey::SonarModel& model : survey::kSonarModels) {
        if (model.caption == caption) {
            return model;
        }
    }
    throw std::runtime_error("the coverage calculator has no sonar '" + std::string(caption) + "'");
}

const tpu::SonarPreset& TpuRow(std::string_view item) {
    for (const tpu::SonarPreset& preset : tpu::kSonarPresets) {
        if (preset.item == item && preset.applies) {
            return preset;
        }
    }
    throw std::runtime_error("the TPU calculator has no sonar '" + std::string(item) + "'");
}

// One configuration as both calculators hold it.
struct SonarConfiguration {
    const survey::SonarModel& coverage;
    const tpu::SonarPreset& tpu;

    coverage::BeamWidths TpuWidthsAt(int frequency) const {
        tpu::TpuInputs inputs;
        inputs.frequency = frequency;
        inputs.referenceFrequency = tpu.referenceFrequency;
        inputs.alongBeamwidth = tpu.alongBeamwidth;
        inputs.acrossBeamwidth = tpu.acrossBeamwidth;
        return {tpu::AlongBeamwidthAt(inputs), tpu::AcrossBeamwidthAt(inputs)};
    }
    // The band either calculator lets the surveyor work in.
    int Lowest() const { return std::min(coverage.freqMin, tpu.frequencyMinimum); }
    int Highest() const { return std::max(coverage.freqMax, tpu.frequencyMaximum); }
    // Where the coverage calculator works, its beam widths; beyond, the TPU calculator's.
    coverage::BeamWidths WidthsAt(int frequency) const {
        return frequency >= coverage.freqMin && frequency <= coverage.freqMax
                   ? coverage::BeamWidthsAt(coverage, frequency)
                   : TpuWidthsAt(frequency);
    }
    int ReferenceFrequency() const { return tpu.referenceFrequency; }
};

// The figures both tables hold for one configuration must be the same figures: the frequency
// band of a tunable head (a fixed one works at the TPU table's reference frequency) and the
// beam widths wherever both calculators can work. Rounding aside, the two scale alike.
void CheckAgreement(const SonarConfiguration& c) {
    const auto fail = [&](const QString& what) {
        throw std::runtime_error(QStringLiteral("'%1' in the coverage calculator and '%2' in the TPU calculator %3")
                                     .arg(TextOf(c.coverage.caption), TextOf(c.tpu.item), what)
                                     .toStdString());
    };
    if (c.coverage.fixedFrequency) {
        if (c.coverage.freqMin != c.tpu.referenceFrequency) {
            fail(QStringLiteral("give the beam widths at %1 and at %2")
                     .arg(Kilohertz(c.coverage.freqMin), Kilohertz(c.tpu.referenceFrequency)));
        }
    } else if (c.coverage.freqMin != c.tpu.frequencyMinimum || c.coverage.freqMax != c.tpu.frequencyMaximum) {
        fail(QStringLiteral("work in different bands, %1 and %2")
                 .arg(Band(c.coverage.freqMin, c.coverage.freqMax),
                      Band(c.tpu.frequencyMinimum, c.tpu.frequencyMaximum)));
    }
    const auto same = [](double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(a)); };
    for (int frequency : {c.coverage.freqMin, c.tpu.referenceFrequency, c.coverage.freqMax}) {
        if (frequency < c.tpu.frequencyMinimum || frequency > c.tpu.frequencyMaximum) {
            continue;
        }
        const coverage::BeamWidths a = coverage::BeamWidthsAt(c.coverage, frequency);
        const coverage::BeamWidths b = c.TpuWidthsAt(frequency);
        if (!same(a.along, b.along) || !same(a.across, b.across)) {
            fail(QStringLiteral("give different beam widths, %1 and %2")
                     .arg(BeamPair(a, frequency), BeamPair(b, frequency)));
        }
    }
}

// The family's name is the standard configuration's, so the option's heading is what the
// coverage calculator's report calls it ("Sonic 2024 UHR - 700 kHz" reads "Sonic 2024 UHR,
// 700 kHz").
QString ConfigurationHeading(const survey::SonarModel& model) {
    return TextOf(model.typeText).replace(QStringLiteral(" - "), QStringLiteral(", "));
}

Sheet SonarSheet(const SonarFamily& family) {
    const SonarConfiguration configurations[2] = {
        {CoverageRow(family.coverageCaptions[0]), TpuRow(family.tpuItems[0])},
        {CoverageRow(family.coverageCaptions[1]), TpuRow(family.tpuItems[1])},
    };
    for (const SonarConfiguration& c : configurations) {
        CheckAgreement(c);
    }
    const QString name = TextOf(family.name);
    const auto row = [&](const QString& figure, const auto& cell) {
        return QStringList{figure, cell(configurations[0]), cell(configurations[1])};
    };

    Sheet sheet;
    sheet.title = name + QStringLiteral(" — specification");
    sheet.intro << QStringLiteral("The %1 multibeam head in its two configurations, with the figures the coverage "
                                  "calculator, the line planner and the TPU calculator work with.")
                       .arg(name);
    sheet.columns = {QStringLiteral("Figure"), ConfigurationHeading(configurations[0].coverage),
                     ConfigurationHeading(configurations[1].coverage)};
    sheet.shares = {0.36, 0.32, 0.32};

    sheet.rows << QStringList{QStringLiteral("Centre beam widths, along × across track")};
    sheet.rows << row(QStringLiteral("At the reference frequency"), [](const SonarConfiguration& c) {
        return BeamPair(c.WidthsAt(c.ReferenceFrequency()), c.ReferenceFrequency());
    });
    sheet.rows << row(QStringLiteral("At the lowest frequency"), [](const SonarConfiguration& c) {
        return c.Lowest() == c.Highest() ? QStringLiteral("fixed frequency")
                                         : BeamPair(c.WidthsAt(c.Lowest()), c.Lowest());
    });
    sheet.rows << row(QStringLiteral("At the highest frequency"), [](const SonarConfiguration& c) {
        return c.Lowest() == c.Highest() ? QStringLiteral("fixed frequency")
                                         : BeamPair(c.WidthsAt(c.Highest()), c.Highest());
    });

    sheet.rows << QStringList{QStringLiteral("Coverage calculator")};
    sheet.rows << row(QStringLiteral("Frequency"), [](const SonarConfiguration& c) {
        return Band(c.coverage.freqMin, c.coverage.freqMax) +
               (c.coverage.fixedFrequency ? QStringLiteral(", fixed") : QStringLiteral(", tunable"));
    });
    sheet.rows << row(QStringLiteral("Sector"), [](const SonarConfiguration& c) {
        return QStringLiteral("%1° to %2°").arg(survey::kMinSector).arg(c.coverage.maxSector);
    });
    sheet.rows << row(QStringLiteral("Sector rotation, one head"), [](const SonarConfiguration& c) {
        return c.coverage.rotationLocked
                   ? QStringLiteral("locked at 0°")
                   : QStringLiteral("up to ±%1°").arg(coverage::RotationLimit(c.coverage, survey::kMinSector));
    });
    sheet.rows << row(QStringLiteral("Deepest altitude"),
                      [](const SonarConfiguration& c) { return QStringLiteral("%1 m").arg(c.coverage.maxAltitude); });

    sheet.rows << QStringList{QStringLiteral("TPU calculator")};
    sheet.rows << row(QStringLiteral("Frequency"), [](const SonarConfiguration& c) {
        const QString range = Band(c.tpu.frequencyMinimum, c.tpu.frequencyMaximum);
        return c.tpu.frequencyMinimum == c.tpu.frequencyMaximum
                   ? range
                   : range + QStringLiteral(", set to %1").arg(Kilohertz(TextOf(c.tpu.frequencyText).toInt()));
    });
    sheet.rows << row(QStringLiteral("Swath"), [](const SonarConfiguration& c) {
        return QStringLiteral("%1°, from %2° to %3°")
            .arg(TextOf(c.tpu.swathText))
            .arg(c.tpu.swathMinimum)
            .arg(c.tpu.swathMaximum);
    });
    sheet.rows << row(QStringLiteral("Depth scale"),
                      [](const SonarConfiguration& c) { return QStringLiteral("to %1 m").arg(c.tpu.maximumDepth); });

    // The ping rate hangs on the range setting alone, so one cell spans both configurations.
    sheet.rows << QStringList{
        QStringLiteral("Ping rate by range setting, sound at %1 m/s").arg(Fixed(coverage::kSoundVelocity, 0))};
    const int deepest = std::max(configurations[0].coverage.maxAltitude, configurations[1].coverage.maxAltitude);
    QList<int> ranges;
    for (int range : kPingRanges) {
        if (range < deepest) {
            ranges << range;
        }
    }
    ranges << deepest;
    for (int range : ranges) {
        sheet.rows << QStringList{QStringLiteral("%1 m").arg(range),
                                  Fixed(coverage::PingRateAt(range), 1) + QStringLiteral(" Hz")};
    }
    int ceilingRange = 0;
    while (coverage::PingRateAt(ceilingRange + 1) >= coverage::kMaxPingRate) {
        ++ceilingRange;
    }
    QString ceiling = Fixed(coverage::kMaxPingRate, 0) + QStringLiteral(" Hz");
    if (ceilingRange > 0) {
        ceiling += QStringLiteral(", held at ranges of %1 m and less").arg(ceilingRange);
    }
    sheet.rows << QStringList{QStringLiteral("Highest ping rate"), ceiling};

    sheet.notes << QStringLiteral("A tunable head's beam widths scale inversely with the frequency from the "
                                  "reference frequency.")
                << QStringLiteral("The ping rate follows from the two-way travel to the range setting and the "
                                  "head's own cycle time, and is the same in both configurations.");
    return sheet;
}

// ---------------------------------------------------------------------------------------------
// I2NS types

struct InertialType {
    const char* asset;
    std::size_t row; // of the motion and of the heading sensor list
    QString numeral;
};

const InertialType kInertialTypes[] = {
    {"spec_i2ns_1", 1, QStringLiteral("I")},
    {"spec_i2ns_2", 2, QStringLiteral("II")},
    {"spec_i2ns_3", 3, QStringLiteral("III")},
};

// A row is looked up by its place in the list; its text must name the type, so a row moved in
// the list cannot put one type's figures on another's sheet. "I2NS I" must not match "I2NS II".
void CheckNamesType(std::string_view item, const InertialType& type) {
    const QRegularExpression names(QStringLiteral("\\bI2NS %1(?![IV])").arg(type.numeral));
    if (!names.match(TextOf(item)).hasMatch()) {
        throw std::runtime_error(QStringLiteral("row %1 of the TPU calculator's sensor lists, '%2', is not I2NS %3")
                                     .arg(type.row)
                                     .arg(TextOf(item), type.numeral)
                                     .toStdString());
    }
}

Sheet InertialSheet(const InertialType& type) {
    const tpu::MotionPreset& motion = tpu::kMotionPresets.at(type.row);
    const tpu::HeadingPreset& heading = tpu::kHeadingPresets.at(type.row);
    CheckNamesType(motion.item, type);
    CheckNamesType(heading.item, type);
    const int index = int(type.row);
    const QString name = QStringLiteral("I2NS Type ") + type.numeral;
    if (motion.headingIndex != index || motion.headingSd != heading.headingSd) {
        throw std::runtime_error(name.toStdString() + ": the motion and the heading sensor lists give its heading "
                                                      "differently");
    }
    const tpu::AidingFigures* aiding = nullptr;
    for (const tpu::AidingFigures& figures : tpu::kAidingFigures) {
        if (figures.motionIndex == index) {
            aiding = &figures;
        }
    }
    const tpu::AntennaFigures* antenna = nullptr;
    for (const tpu::AntennaFigures& figures : tpu::kAntennaFigures) {
        if (figures.headingIndex == index) {
            antenna = &figures;
        }
    }
    if (!aiding || !antenna) {
        throw std::runtime_error(name.toStdString() + ": no aiding or antenna figures");
    }

    const auto deg = [](std::string_view figure) { return TextOf(figure) + QStringLiteral("°"); };
    Sheet sheet;
    sheet.title = name + QStringLiteral(" — specification");
    sheet.intro << QStringLiteral("Attitude, heave and heading of the %1 inertial navigation system, as the TPU "
                                  "calculator fills them in when the system is chosen as motion and heading sensor.")
                       .arg(name);
    sheet.columns = {QStringLiteral("Figure"), QStringLiteral("One sigma")};
    sheet.shares = {0.6, 0.4};
    sheet.rows << QStringList{QStringLiteral("Attitude, heave and heading")}
               << QStringList{QStringLiteral("Roll"), deg(motion.roll)}
               << QStringList{QStringLiteral("Pitch"), deg(motion.pitch)}
               << QStringList{QStringLiteral("Heave"), TextOf(motion.heave) + QStringLiteral(" m")}
               << QStringList{QStringLiteral("Heading"), deg(heading.headingSd)};
    sheet.rows << QStringList{QStringLiteral("Roll and pitch by GNSS aiding")}
               << QStringList{QStringLiteral("With RTK aiding"), deg(aiding->rtk)}
               << QStringList{QStringLiteral("With DGNSS aiding"), deg(aiding->dgnss)};
    sheet.rows << QStringList{QStringLiteral("Heading by GNSS antenna separation")}
               << QStringList{QStringLiteral("Antennas 2 m apart"), deg(antenna->twoMetres)}
               << QStringList{QStringLiteral("Antennas 4 m apart"), deg(antenna->fourMetres)};
    sheet.notes << QStringLiteral("One standard deviation throughout: roll, pitch and heading in degrees, heave in "
                                  "metres.")
                << QStringLiteral("Heading improves with a longer baseline between the two GNSS antennas, roll and "
                                  "pitch with a better position aiding.");
    return sheet;
}

// Portrait, 459 × 552 pt: the document window shows it at its natural size, 612 × 736 pixels
// at 96 dpi, which with the view's frame just fits the window's 800 × 750 beside the heading;
// so the body stays between 8 and 9 pt and nothing is scaled below what reads.
SheetPage EquipmentSheetPage() {
    constexpr double width = 459, height = 552, margin = 24, foot = 34;
    return {QPageSize(QSizeF(width, height), QPageSize::Point, QStringLiteral("Equipment sheet")),
            QRectF(0, 0, width * kSheetUnit, height * kSheetUnit),
            margin * kSheetUnit,
            foot * kSheetUnit,
            7,
            QStringLiteral("Tormalind UTILITY · figures as the calculators use them")};
}

} // namespace

void WriteEquipmentSheets(const QDir& out) {
    std::vector<std::pair<Sheet, QString>> sheets;
    for (const SonarFamily& family : kSonarFamilies) {
        sheets.emplace_back(SonarSheet(family),
                            out.filePath(QString::fromLatin1(family.asset) + QStringLiteral(".pdf")));
    }
    for (const InertialType& type : kInertialTypes) {
        sheets.emplace_back(InertialSheet(type),
                            out.filePath(QString::fromLatin1(type.asset) + QStringLiteral(".pdf")));
    }
    WriteSheetPdfs(sheets, EquipmentSheetPage(), 9, 8);
}

} // namespace assets
