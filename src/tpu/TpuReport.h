// The TPU report: one A4 page that the surveyor hands to the client with the
// survey documents: the equipment, the four results, a picture of the two
// charts as drawn, every model input by subsystem and the project information.
// It prints the texts the window shows, unchanged; it computes nothing.
#pragma once

#include "common/TextFile.h"

#include <QImage>
#include <QString>
#include <functional>
#include <string_view>

namespace tpu {

struct ReportTexts {
    // The text a field or label of the window shows, by its object name.
    std::function<QString(std::string_view name)> textOf;
    QString positioning; // how the positioning gets its height
    bool dgnss = false;  // the vessel figures and the tide are printed only then
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
