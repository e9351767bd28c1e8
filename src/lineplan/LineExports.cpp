#include "lineplan/LineExports.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace surveylines {

namespace {

std::string ExportNumber(double value, int decimals) { return common::FormatFixed(value, 0, decimals); }

// Eight decimals of a degree are about a millimetre: as exact as the grid's
// centimetres, and no more.
std::string Degrees(double value) { return ExportNumber(value, 8); }

struct Ends {
    Point start, end; // longitude, latitude
};

std::vector<Ends> Geographic(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    std::vector<Ends> ends;
    ends.reserve(lines.size());
    for (const SurveyLine& line : lines) {
        ends.push_back({projection.ToGeographic(line.start), projection.ToGeographic(line.end)});
    }
    return ends;
}

std::string LineName(const SurveyLine& line) { return "Line " + std::to_string(line.number); }

} // namespace

LineFormat FormatOfFile(std::string_view path) {
    // What follows the last "." of the file's name, in any case.
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    const std::size_t dot = name.find_last_of('.');
    std::string suffix(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (suffix == "geojson" || suffix == "json") {
        return LineFormat::GeoJson;
    }
    if (suffix == "kml") {
        return LineFormat::Kml;
    }
    if (suffix == "gpx") {
        return LineFormat::Gpx;
    }
    return LineFormat::Csv;
}

std::string LinesCsv(const std::vector<SurveyLine>& lines) {
    // CR LF, as the suite's other text files, which spreadsheets read alike.
    std::string out = "Line,Start Easting,Start Northing,End Easting,End Northing,Length,Heading\r\n";
    for (const SurveyLine& line : lines) {
        out += std::to_string(line.number) + ',' + ExportNumber(line.start.x, 2) + ',' + ExportNumber(line.start.y, 2) +
               ',' + ExportNumber(line.end.x, 2) + ',' + ExportNumber(line.end.y, 2) + ',' +
               ExportNumber(line.length, 2) + ',' + ExportNumber(line.heading, 1) + "\r\n";
    }
    return out;
}

std::string LinesGeoJson(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    const std::vector<Ends> ends = Geographic(lines, projection);
    std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += "{\"type\":\"Feature\",\"properties\":{\"line\":" + std::to_string(lines[i].number) + ",\"name\":\"" +
               LineName(lines[i]) + "\",\"length\":" + ExportNumber(lines[i].length, 2) +
               ",\"heading\":" + ExportNumber(lines[i].heading, 1) +
               "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[[" + Degrees(ends[i].start.x) + ',' +
               Degrees(ends[i].start.y) + "],[" + Degrees(ends[i].end.x) + ',' + Degrees(ends[i].end.y) + "]]}}";
    }
    out += "\n]}\n";
    return out;
}

std::string LinesKml(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    const std::vector<Ends> ends = Geographic(lines, projection);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>Survey lines</name>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += "<Placemark><name>" + LineName(lines[i]) + "</name><LineString><coordinates>" +
               Degrees(ends[i].start.x) + ',' + Degrees(ends[i].start.y) + ",0 " + Degrees(ends[i].end.x) + ',' +
               Degrees(ends[i].end.y) + ",0</coordinates></LineString></Placemark>\n";
    }
    out += "</Document>\n</kml>\n";
    return out;
}

std::string LinesGpx(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    const std::vector<Ends> ends = Geographic(lines, projection);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"Tormalind UTILITY\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string number = std::to_string(lines[i].number);
        out += "<rte><name>" + LineName(lines[i]) + "</name><number>" + number + "</number>\n";
        out += "<rtept lat=\"" + Degrees(ends[i].start.y) + "\" lon=\"" + Degrees(ends[i].start.x) + "\"><name>SOL " +
               number + "</name></rtept>\n";
        out += "<rtept lat=\"" + Degrees(ends[i].end.y) + "\" lon=\"" + Degrees(ends[i].end.x) + "\"><name>EOL " +
               number + "</name></rtept>\n</rte>\n";
    }
    out += "</gpx>\n";
    return out;
}

common::FileResult ExportLines(const std::string& path, const std::vector<SurveyLine>& lines,
                               const GridProjection& projection) {
    // common/'s file calls take the path and the bytes as Qt's.
    const QString file = QString::fromStdString(path);
    std::string bytes;
    try {
        switch (FormatOfFile(path)) {
        case LineFormat::Csv:
            bytes = LinesCsv(lines);
            break;
        case LineFormat::GeoJson:
            bytes = LinesGeoJson(lines, projection);
            break;
        case LineFormat::Kml:
            bytes = LinesKml(lines, projection);
            break;
        case LineFormat::Gpx:
            bytes = LinesGpx(lines, projection);
            break;
        }
    } catch (const common::UserError& error) {
        return common::FileResult::Failed(common::CreateFileError(file, QString::fromStdString(error.what())));
    }
    const common::FileResult saved = common::SaveWhole(file, QByteArray::fromStdString(bytes));
    return saved ? saved : common::FileResult::Failed(common::CreateFileError(file, saved.Error()));
}

} // namespace surveylines
