#include "lineplan/LineExports.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"

#include <QFileInfo>

namespace surveylines {

namespace {

QByteArray Fixed(double value, int decimals) {
    return QByteArray::fromStdString(common::FormatFixed(value, 0, decimals));
}

// Eight decimals of a degree are about a millimetre: as exact as the grid's
// centimetres, and no more.
QByteArray Degrees(double value) { return Fixed(value, 8); }

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

QByteArray Name(const SurveyLine& line) { return "Line " + QByteArray::number(line.number); }

} // namespace

LineFormat FormatOfFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("geojson") || suffix == QLatin1String("json")) {
        return LineFormat::GeoJson;
    }
    if (suffix == QLatin1String("kml")) {
        return LineFormat::Kml;
    }
    if (suffix == QLatin1String("gpx")) {
        return LineFormat::Gpx;
    }
    return LineFormat::Csv;
}

QByteArray LinesCsv(const std::vector<SurveyLine>& lines) {
    // CR LF, as the suite's other text files, which spreadsheets read alike.
    QByteArray out = "Line,Start Easting,Start Northing,End Easting,End Northing,Length,Heading\r\n";
    for (const SurveyLine& line : lines) {
        out += QByteArray::number(line.number) + ',' + Fixed(line.start.x, 2) + ',' + Fixed(line.start.y, 2) + ',' +
               Fixed(line.end.x, 2) + ',' + Fixed(line.end.y, 2) + ',' + Fixed(line.length, 2) + ',' +
               Fixed(line.heading, 1) + "\r\n";
    }
    return out;
}

QByteArray LinesGeoJson(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    const std::vector<Ends> ends = Geographic(lines, projection);
    QByteArray out = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += "{\"type\":\"Feature\",\"properties\":{\"line\":" + QByteArray::number(lines[i].number) +
               ",\"name\":\"" + Name(lines[i]) + "\",\"length\":" + Fixed(lines[i].length, 2) +
               ",\"heading\":" + Fixed(lines[i].heading, 1) +
               "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[[" + Degrees(ends[i].start.x) + ',' +
               Degrees(ends[i].start.y) + "],[" + Degrees(ends[i].end.x) + ',' + Degrees(ends[i].end.y) + "]]}}";
    }
    out += "\n]}\n";
    return out;
}

QByteArray LinesKml(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    const std::vector<Ends> ends = Geographic(lines, projection);
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>Survey lines</name>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += "<Placemark><name>" + Name(lines[i]) + "</name><LineString><coordinates>" + Degrees(ends[i].start.x) +
               ',' + Degrees(ends[i].start.y) + ",0 " + Degrees(ends[i].end.x) + ',' + Degrees(ends[i].end.y) +
               ",0</coordinates></LineString></Placemark>\n";
    }
    out += "</Document>\n</kml>\n";
    return out;
}

QByteArray LinesGpx(const std::vector<SurveyLine>& lines, const GridProjection& projection) {
    const std::vector<Ends> ends = Geographic(lines, projection);
    QByteArray out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"Tormalind UTILITY\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QByteArray number = QByteArray::number(lines[i].number);
        out += "<rte><name>" + Name(lines[i]) + "</name><number>" + number + "</number>\n";
        out += "<rtept lat=\"" + Degrees(ends[i].start.y) + "\" lon=\"" + Degrees(ends[i].start.x) + "\"><name>SOL " +
               number + "</name></rtept>\n";
        out += "<rtept lat=\"" + Degrees(ends[i].end.y) + "\" lon=\"" + Degrees(ends[i].end.x) + "\"><name>EOL " +
               number + "</name></rtept>\n</rte>\n";
    }
    out += "</gpx>\n";
    return out;
}

common::FileResult ExportLines(const QString& path, const std::vector<SurveyLine>& lines,
                               const GridProjection& projection) {
    QByteArray bytes;
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
        return common::FileResult::Failed(common::CreateFileError(path, QString::fromStdString(error.what())));
    }
    const common::FileResult saved = common::SaveWhole(path, bytes);
    return saved ? saved : common::FileResult::Failed(common::CreateFileError(path, saved.Error()));
}

} // namespace surveylines
