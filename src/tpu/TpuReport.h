// The TPU report: one A4 page that the surveyor hands to the client with the
// survey documents: the equipment, the four results, a picture of the two
// charts as drawn, every model input by subsystem and the project information.
// It prints the texts the window shows, unchanged; it computes nothing.
#pragma once

#include "common/TextFile.h"
#include "tpu/TpuFields.h"

#include <QImage>
#include <QString>
#include <array>

namespace tpu {

// The texts the window shows, as shown.
struct ReportTexts {
    std::array<QString, kFieldCount> fields; // every field's text, by tpu::Field
    QString positioning;                     // how the positioning gets its height
    // Results, metres, and the beamwidths at the working frequency
    QString maxTvu, minTvu, maxThu, minThu, acrossBeamWidth, alongBeamWidth;
    QString date;
    bool dgnss = false; // the vessel figures and the tide are printed only then
};

// The files, in `folder` (the working directory when empty).
inline constexpr const char* kReportPicture = "TPU_Graph.bmp";
inline constexpr const char* kReportFile = "TPU_Report.pdf";

// Writes the chart picture, then the report. Each file is written whole under
// a temporary name and then put in place of the old one, so a failure leaves
// the old file as it was and never a cut-short one; a failed picture writes no
// report. On failure the error is "Cannot create file "NAME". REASON".
common::FileResult WriteTpuReport(const QImage& charts, const ReportTexts& texts, const QString& folder = QString());

} // namespace tpu
