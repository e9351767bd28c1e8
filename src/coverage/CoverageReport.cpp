#include "coverage/CoverageReport.h"

#include "common/MakerContact.h"

namespace coverage {

QStringList CoverageReportLines(const std::function<QString(std::string_view name)>& textOf,
                                const ReportChoices& choices) {
    const auto t = [&](const char* name) { return textOf(name); };
    QStringList lines;
    lines << QStringLiteral("    Tormalind ApS   R2Sonic  Coverage Calculator")
          << QStringLiteral("    ") + QString(78, QLatin1Char('-')) << QString()
          << QStringLiteral("    Sonar Type: ") + t("lblSonar_type")
          << QStringLiteral("   ") + QStringLiteral("- ").repeated(29) << QString()
          << QStringLiteral("    Ocean Settings:") << QString()
          << QStringLiteral("           Sound velocity (default): 1500 m/sec") << QString() << QString()
          << QStringLiteral("    Installation Settings:") << QString()
          << QStringLiteral("           Sonar head tilt:.........") + t("edtmount_ang") +
                 QStringLiteral("\u00B0  (mounting angle) ")
          << QString() << QStringLiteral("    Sonar Settings:") << QString()
          << QStringLiteral("           Selected Freq.:..........") + t("edtFreq") + QStringLiteral("kHz ")
          << QStringLiteral("           Alongtrack beamwidh:.....") + t("edtAlongbeam") +
                 QStringLiteral(" (centre beam)")
          << QStringLiteral("           Acrosstrack beamwidth:...") + t("edtAcrossbeam") +
                 QStringLiteral(" (centre beam)")
          << QStringLiteral("           Sector Coverage :........") + t("edtSector") +
                 QStringLiteral("\u00B0 (swath width)")
          << QStringLiteral("           Sector rotate :..........") + t("edtRotate") + QStringLiteral("\u00B0 ")
          << QStringLiteral("           Mission mode :...........") + t("lblmissionmode")
          << QStringLiteral("           Selected Range :..........") + t("edtRange_select") + QStringLiteral(" m")
          << QStringLiteral("          ") + QStringLiteral("- ").repeated(28)
          << QStringLiteral("           Altitude/depth:.......") + t("edtAltitude") + QStringLiteral(" m");
    if (choices.dual) {
        lines << QStringLiteral("           Dual head separation:.") + t("edtSelect_distance") +
                     QStringLiteral(" m (horizontal distance between heads)");
    }
    lines << QString() << QStringLiteral("    Calculations:") << QString();
    if (choices.dual) {
        lines << QStringLiteral("           Dual head seabed coverage:....") + t("edtNo_1") + QStringLiteral(" m")
              << QStringLiteral("           Overlap centre area:..........") + t("edtNo_4") + QStringLiteral(" m")
              << QString();
    }
    lines << QStringLiteral("           Single head seabed coverage:.....") + t("edtNo_5") + QStringLiteral(" m")
          << QStringLiteral("           Along track footprint at nadir:..") + t("edtNo_6") + QStringLiteral(" m")
          << QStringLiteral("           Across track footprint at nadir:.") + t("edtNo_7") + QStringLiteral(" m")
          << QStringLiteral("           Worst case Across track footprint. ") + t("edtNo_14") +
                 QStringLiteral(" m at ") + t("lblW_acrossangle") + QStringLiteral("\u00B0 from nadir")
          << QStringLiteral("           Coverage ratio:....") + t("lblCoverage_2") + QStringLiteral(" x waterdepth  ") +
                 t("lbl_Dual_or_single")
          << QString()
          << QStringLiteral("    Beam footprint hits in area - ") + QStringLiteral("At survey speed ") +
                 t("edtSpeed_input") + (choices.knots ? QStringLiteral(" knots") : QStringLiteral(" m/sec:"))
          << QString();
    if (choices.equiangle) {
        lines << QStringLiteral("           Outer edge of box at ") + t("edtSelect_Beam_Angle") +
                     QStringLiteral("\u00B0 from nadir");
    }
    lines << QString()
          << QStringLiteral("           Max ping rate: ") + t("stPingrate") +
                 QStringLiteral("     Number of Soundings per ping: ") + QString::number(choices.soundings)
          << QString()
          << QStringLiteral("           1 x 1 m box: ") + t("edt_1x1total_A3") +
                 QStringLiteral(" beam centre hits     (") + t("edt_1along_A1") + QStringLiteral(" along track and ") +
                 t("edt_1across_A2") + QStringLiteral(" across track)")
          << QStringLiteral("           ") + t("edtLengthAlong") + QStringLiteral(" x ") + t("edtLengthAlong") +
                 QStringLiteral(" m box: ") + t("edt_xxxtotal_B3") + QStringLiteral(" beam centre hits    (") +
                 t("edt_xalong_B1") + QStringLiteral(" along track and ") + t("edt_xacross_B2") +
                 QStringLiteral(" across track)")
          << QStringLiteral("           ") + t("edtLengthAlong_cm") + QStringLiteral(" x ") + t("edtLengthAlong_cm") +
                 QStringLiteral(" cm box: ") + t("edt_xxxtotal_C3_cm") + QStringLiteral(" beam centre hits    (") +
                 t("edt_xalong_C1_cm") + QStringLiteral(" along track and ") + t("edt_xacross_C2_cm") +
                 QStringLiteral(" across track)");
    for (int blank = 0; blank < 13; ++blank) {
        lines << QString();
    }
    lines << QStringLiteral("    Tormalind ApS - Hydrographic Consultancy") << common::MakerContactLines(4);
    return lines;
}

} // namespace coverage
