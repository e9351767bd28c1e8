// The survey area as a surveyor brings it: corners typed or pasted from a
// spreadsheet into the corner table, a CSV file of corners, or a polygon drawn
// in a GIS and saved as GeoJSON. Every reader says what was wrong in the
// surveyor's words (common::UserError), naming the row or the file.
#pragma once

#include "lineplan/GridProjection.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace surveylines {

// The cells of one row of text, UTF-8.
using Cells = std::vector<std::string>;

// The rows and cells of text pasted from a spreadsheet or typed: one row a
// line; cells split at tabs, else at commas, else at semicolons, else at
// blanks. Blank lines are kept as empty rows, so row numbers stay those of
// the text.
std::vector<Cells> SplitRows(std::string_view text);

// The two numbers of each row ("." as the decimal point), first and second
// cell as x and y. Empty rows are passed over; a first row that holds no
// number is a heading ("Easting,Northing") and passed over too, where a
// heading may stand. Throws common::UserError naming the row (counted from
// 1) that cannot be read.
enum class HeadingRow { Allowed, None };
std::vector<Point> ReadCorners(const std::vector<Cells>& rows, HeadingRow heading = HeadingRow::Allowed);

// A file's area: grid corners from a CSV file, or WGS 84 longitude and
// latitude from a GeoJSON file.
struct AreaFile {
    bool geographic = false;
    std::vector<Point> corners;
};

// The corners of a GeoJSON text (RFC 7946): a Polygon, or a MultiPolygon of one
// polygon, bare, as a Feature's geometry or as the one polygon of a
// FeatureCollection; its outer ring, without the closing corner.
// Throws common::UserError saying what the text holds instead.
std::vector<Point> ReadGeoJsonPolygon(std::string_view bytes);

// Reads a CSV of corners or a GeoJSON polygon (told apart by the text: GeoJSON
// starts with "{"). Throws common::UserError naming the file and what was
// wrong with it.
AreaFile ReadAreaFile(const std::string& path);

// A file larger than any survey area's polygon: read no further.
inline constexpr std::int64_t kAreaFileLimit = 32 * 1024 * 1024;

} // namespace surveylines
