#include "coverage/CoverageReport.h"

#include "common/MakerContact.h"

namespace coverage {

QStringList CoverageReportLines(const CoverageReportTexts& texts, const ReportChoices& choices) {
    const CoverageReportTexts& t = texts;
    QStringList lines;
    lines << QStringLiteral("    Tormalind ApS   R2Sonic  Coverage Calculator")
          << QStringLiteral("    ") + QString(78, QLatin1Char('-')) << QString()
          << QStringLiteral("    Sonar Type: ") + t.sonarType
          << QStringLiteral("   ") + QStringLiteral("- ").repeated(29) << QString()
          << QStringLiteral("    Ocean Settings:") << QString()
          << QStringLiteral("           Sound velocity (default): 1500 m/sec") << QString() << QString()
          << QStringLiteral("    Installation Settings:") << QString()
          << QStringLiteral("           Sonar head tilt:.........") + t.mountingAngle +
                 QStringLiteral("\u00B0  (mounting angle) ")
          << QString() << QStringLiteral("    Sonar Settings:") << QString()
          << QStringLiteral("           Selected Freq.:..........") + t.frequency + QStringLiteral("kHz ")
          << QStringLiteral("           Alongtrack beamwidh:.....") + t.alongBeamWidth +
                 QStringLiteral(" (centre beam)")
          << QStringLiteral("           Acrosstrack beamwidth:...") + t.acrossBeamWidth +
                 QStringLiteral(" (centre beam)")
          << QStringLiteral("           Sector Coverage :........") + t.sector + QStringLiteral("\u00B0 (swath width)")
          << QStringLiteral("           Sector rotate :..........") + t.rotation + QStringLiteral("\u00B0 ")
          << QStringLiteral("           Mission mode :...........") + t.missionMode
          << QStringLiteral("           Selected Range :..........") + t.range + QStringLiteral(" m")
          << QStringLiteral("          ") + QStringLiteral("- ").repeated(28)
          << QStringLiteral("           Altitude/depth:.......") + t.altitude + QStringLiteral(" m");
    if (choices.dual) {
        lines << QStringLiteral("           Dual head separation:.") + t.headSeparation +
                     QStringLiteral(" m (horizontal distance between heads)");
    }
    lines << QString() << QStringLiteral("    Calculations:") << QString();
    if (choices.dual) {
        lines << QStringLiteral("           Dual head seabed coverage:....") + t.dualCoverage + QStringLiteral(" m")
              << QStringLiteral("           Overlap centre area:..........") + t.overlap + QStringLiteral(" m")
              << QString();
    }
    lines << QStringLiteral("           Single head seabed coverage:.....") + t.singleCoverage + QStringLiteral(" m")
          << QStringLiteral("           Along track footprint at nadir:..") + t.alongFootprint + QStringLiteral(" m")
          << QStringLiteral("           Across track footprint at nadir:.") + t.acrossFootprint + QStringLiteral(" m")
          << QStringLiteral("           Worst case Across track footprint. ") + t.worstAcrossFootprint +
                 QStringLiteral(" m at ") + t.worstAcrossAngle + QStringLiteral("\u00B0 from nadir")
          << QStringLiteral("           Coverage ratio:....") + t.coverageRatio + QStringLiteral(" x waterdepth  ") +
                 t.headMode
          << QString()
          << QStringLiteral("    Beam footprint hits in area - ") + QStringLiteral("At survey speed ") + t.speed +
                 (choices.knots ? QStringLiteral(" knots") : QStringLiteral(" m/sec:"))
          << QString();
    if (choices.equiangle) {
        lines << QStringLiteral("           Outer edge of box at ") + t.boxAngle + QStringLiteral("\u00B0 from nadir");
    }
    lines << QString()
          << QStringLiteral("           Max ping rate: ") + t.pingRate +
                 QStringLiteral("     Number of Soundings per ping: ") + QString::number(choices.soundings)
          << QString()
          << QStringLiteral("           1 x 1 m box: ") + t.metreBox.total + QStringLiteral(" beam centre hits     (") +
                 t.metreBox.along + QStringLiteral(" along track and ") + t.metreBox.across +
                 QStringLiteral(" across track)")
          << QStringLiteral("           ") + t.boxSide + QStringLiteral(" x ") + t.boxSide +
                 QStringLiteral(" m box: ") + t.box.total + QStringLiteral(" beam centre hits    (") + t.box.along +
                 QStringLiteral(" along track and ") + t.box.across + QStringLiteral(" across track)")
          << QStringLiteral("           ") + t.centimetreBoxSide + QStringLiteral(" x ") + t.centimetreBoxSide +
                 QStringLiteral(" cm box: ") + t.centimetreBox.total + QStringLiteral(" beam centre hits    (") +
                 t.centimetreBox.along + QStringLiteral(" along track and ") + t.centimetreBox.across +
                 QStringLiteral(" across track)");
    for (int blank = 0; blank < 13; ++blank) {
        lines << QString();
    }
    lines << QStringLiteral("    Tormalind ApS - Hydrographic Consultancy") << common::MakerContactLines(4);
    return lines;
}

} // namespace coverage
