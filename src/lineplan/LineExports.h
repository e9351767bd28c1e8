// The survey lines as files for the navigation and acquisition software: CSV
// in the area's grid, GeoJSON (WGS 84 longitude and latitude, each line a
// LineString with its number), KML (a placemark per line) and GPX (a route
// per line). Each file is written whole or not at all.
#pragma once

#include "common/TextFile.h"
#include "lineplan/SurveyLines.h"

#include <string>
#include <string_view>
#include <vector>

namespace surveylines {

enum class LineFormat { Csv, GeoJson, Kml, Gpx };

// The format a file name asks for by its extension (".geojson" or ".json",
// ".kml", ".gpx"); CSV for any other.
LineFormat FormatOfFile(std::string_view path);

// The bytes of each format. The geographic ones convert every end through
// `projection`, which throws common::UserError for an end it cannot convert.
std::string LinesCsv(const std::vector<SurveyLine>& lines);
std::string LinesGeoJson(const std::vector<SurveyLine>& lines, const GridProjection& projection);
std::string LinesKml(const std::vector<SurveyLine>& lines, const GridProjection& projection);
std::string LinesGpx(const std::vector<SurveyLine>& lines, const GridProjection& projection);

// Writes the lines to `path` in the format its name asks for, whole or not at
// all. The error names the file and the reason.
common::FileResult ExportLines(const std::string& path, const std::vector<SurveyLine>& lines,
                               const GridProjection& projection);

} // namespace surveylines
