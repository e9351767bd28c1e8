#include "lineplan/SurveyArea.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace surveylines {

namespace {

// The length of the blank a text starts with, 0 for none: ASCII white space,
// and the no-break, typographic and ideographic spaces and the line and
// paragraph separators that a spreadsheet or a word processor leaves round a
// figure. They are trimmed from a cell's ends; only ASCII blanks part cells.
std::size_t BlankLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned first = byte(0), second = byte(1), third = byte(2);
    if (first == ' ' || (first >= '\t' && first <= '\r')) {
        return 1;
    }
    if (first == 0xC2 && (second == 0x85 || second == 0xA0)) {
        return 2; // U+0085, U+00A0
    }
    // U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F, U+3000.
    const bool wide = (first == 0xE1 && second == 0x9A && third == 0x80) ||
                      (first == 0xE2 && second == 0x80 &&
                       ((third >= 0x80 && third <= 0x8A) || third == 0xA8 || third == 0xA9 || third == 0xAF)) ||
                      (first == 0xE2 && second == 0x81 && third == 0x9F) ||
                      (first == 0xE3 && second == 0x80 && third == 0x80);
    return wide ? 3 : 0;
}

std::string_view Trimmed(std::string_view text) {
    while (const std::size_t blank = BlankLength(text)) {
        text.remove_prefix(blank);
    }
    for (std::size_t length = 1; length <= 3 && length <= text.size();) {
        if (BlankLength(text.substr(text.size() - length)) == length) {
            text.remove_suffix(length);
            length = 1;
        } else {
            ++length;
        }
    }
    return text;
}

Cells Split(std::string_view line, char separator) {
    Cells cells;
    for (std::size_t at = 0;;) {
        const std::size_t end = line.find(separator, at);
        cells.emplace_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (end == std::string_view::npos) {
            return cells;
        }
        at = end + 1;
    }
}

// Cells parted by runs of ASCII blanks, in a line trimmed of its blanks.
Cells SplitAtBlanks(std::string_view line) {
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    Cells cells;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = std::min(line.find_first_of(kBlanks, at), line.size());
        cells.emplace_back(line.substr(at, end - at));
        at = std::min(line.find_first_not_of(kBlanks, end), line.size());
    }
    return cells;
}

bool ReadNumber(std::string_view cell, double& value) {
    return common::TryParseFloat(Trimmed(cell), value) && std::isfinite(value);
}

// A short piece of a text for a message: its first 40 characters. A byte-order
// mark at its start is one of them, shown as the cell holds it.
QString Shortened(std::string_view text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return QString(utf8(text)).left(40);
}

std::string Quoted(std::string_view text) {
    // A cell pasted from anywhere may hold anything; a message quotes a short, printable piece of it.
    return "'" + common::ShowControls(Shortened(text)).toStdString() + "'";
}

// A member of a GeoJSON object, and a member's text as UTF-8.
QJsonValue Member(const QJsonObject& object, const char* name) { return object.value(QLatin1StringView(name)); }
std::string TypeOf(const QJsonObject& object) { return Member(object, "type").toString().toStdString(); }

// One position of GeoJSON: [longitude, latitude] and perhaps a height.
Point Position(const QJsonValue& value, const std::string& where) {
    const QJsonArray pair = value.toArray();
    if (!value.isArray() || pair.size() < 2 || !pair[0].isDouble() || !pair[1].isDouble()) {
        throw common::UserError(where + " is no [longitude, latitude] pair");
    }
    return {pair[0].toDouble(), pair[1].toDouble()};
}

std::vector<Point> OuterRing(const QJsonValue& rings) {
    const QJsonArray all = rings.toArray();
    if (!rings.isArray() || all.isEmpty()) {
        throw common::UserError("the polygon has no ring of corners");
    }
    if (all.size() > 1) {
        throw common::UserError("the polygon has " + std::to_string(all.size() - 1) +
                                " holes (islands); the corner table holds the outer edge only");
    }
    const QJsonArray ring = all[0].toArray();
    std::vector<Point> corners;
    corners.reserve(std::size_t(ring.size()));
    for (qsizetype i = 0; i < ring.size(); ++i) {
        corners.push_back(Position(ring[i], "corner " + std::to_string(i + 1)));
    }
    // RFC 7946 closes a ring by repeating its first corner; the area closes itself.
    if (corners.size() > 1 && corners.front().x == corners.back().x && corners.front().y == corners.back().y) {
        corners.pop_back();
    }
    return corners;
}

std::vector<Point> PolygonOf(const QJsonObject& geometry) {
    const std::string type = TypeOf(geometry);
    if (type == "Polygon") {
        return OuterRing(Member(geometry, "coordinates"));
    }
    if (type == "MultiPolygon") {
        const QJsonArray polygons = Member(geometry, "coordinates").toArray();
        if (polygons.size() != 1) {
            throw common::UserError("it holds a MultiPolygon of " + std::to_string(polygons.size()) +
                                    " polygons; load one area at a time");
        }
        return OuterRing(polygons[0]);
    }
    if (type.empty()) {
        throw common::UserError("it holds no GeoJSON geometry");
    }
    throw common::UserError("it holds a " + Shortened(type).toStdString() + ", not a Polygon");
}

} // namespace

std::vector<Cells> SplitRows(std::string_view text) {
    std::vector<Cells> rows;
    for (std::size_t at = 0;;) {
        // A line ends at CR LF, LF or CR.
        const std::size_t end = text.find_first_of("\r\n", at);
        const std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty()) {
            rows.emplace_back();
        } else if (line.find('\t') != std::string_view::npos) {
            rows.push_back(Split(line, '\t'));
        } else if (line.find(',') != std::string_view::npos) {
            rows.push_back(Split(line, ','));
        } else if (line.find(';') != std::string_view::npos) {
            rows.push_back(Split(line, ';'));
        } else {
            rows.push_back(SplitAtBlanks(trimmed));
        }
        if (end == std::string_view::npos) {
            break;
        }
        at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    while (!rows.empty() && rows.back().empty()) {
        rows.pop_back(); // the line end of the last row
    }
    return rows;
}

std::vector<Point> ReadCorners(const std::vector<Cells>& rows, HeadingRow heading) {
    std::vector<Point> corners;
    bool first = heading == HeadingRow::Allowed;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Cells cells;
        for (const std::string& cell : rows[r]) {
            cells.emplace_back(Trimmed(cell));
        }
        while (!cells.empty() && cells.back().empty()) {
            cells.pop_back(); // a spreadsheet's empty columns at the end
        }
        if (cells.empty()) {
            continue;
        }
        const std::string row = "Row " + std::to_string(r + 1);
        Point corner;
        const bool numbers = cells.size() >= 2 && ReadNumber(cells[0], corner.x) && ReadNumber(cells[1], corner.y);
        const bool anyNumber = std::any_of(cells.cbegin(), cells.cend(), [](const std::string& cell) {
            double ignored = 0;
            return ReadNumber(cell, ignored);
        });
        if (first && !anyNumber) {
            first = false;
            continue; // a heading row
        }
        first = false;
        if (cells.size() > 2) {
            throw common::UserError(row + " has " + std::to_string(cells.size()) +
                                    " values; a corner is two numbers, one pair a row");
        }
        if (cells.size() < 2) {
            throw common::UserError(row + " has one value; a corner is two numbers");
        }
        if (!numbers) {
            const std::string& bad = ReadNumber(cells[0], corner.x) ? cells[1] : cells[0];
            throw common::UserError(row + ": " + Quoted(bad) + " is not a number");
        }
        corners.push_back(corner);
    }
    return corners;
}

std::vector<Point> ReadGeoJsonPolygon(std::string_view bytes) {
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())), &error);
    if (document.isNull()) {
        throw common::UserError("it is no JSON (" + error.errorString().toStdString() + " at byte " +
                                std::to_string(error.offset) + ")");
    }
    if (!document.isObject()) {
        throw common::UserError("it holds no GeoJSON object");
    }
    const QJsonObject root = document.object();
    const std::string type = TypeOf(root);
    if (type == "Feature") {
        return PolygonOf(Member(root, "geometry").toObject());
    }
    if (type == "FeatureCollection") {
        const QJsonArray features = Member(root, "features").toArray();
        std::vector<Point> found;
        int polygons = 0;
        for (const QJsonValue& feature : features) {
            const QJsonObject geometry = Member(feature.toObject(), "geometry").toObject();
            const std::string kind = TypeOf(geometry);
            if (kind == "Polygon" || kind == "MultiPolygon") {
                ++polygons;
                found = PolygonOf(geometry);
            }
        }
        if (polygons != 1) {
            throw common::UserError("its " + std::to_string(features.size()) + " features hold " +
                                    std::to_string(polygons) + " polygons; one area is one polygon");
        }
        return found;
    }
    return PolygonOf(root);
}

AreaFile ReadAreaFile(const std::string& path) {
    try {
        const QString name = QString::fromStdString(path);
        // A FIFO or a device would hold the window until someone writes to it.
        if (!QFileInfo(name).isFile()) {
            throw common::UserError(QFileInfo::exists(name) ? "it is no regular file" : "there is no such file");
        }
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            throw common::UserError(file.errorString());
        }
        if (file.size() > kAreaFileLimit) {
            throw common::UserError("it is larger than any area's corners (" +
                                    std::to_string(file.size() / (1024 * 1024)) + " MB)");
        }
        std::string bytes = file.readAll().toStdString();
        if (bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.erase(0, 3); // a spreadsheet's or editor's UTF-8 mark
        }
        AreaFile area;
        const std::size_t start = bytes.find_first_not_of(" \t\n\v\f\r");
        if (start != std::string::npos && bytes[start] == '{') {
            area.geographic = true;
            area.corners = ReadGeoJsonPolygon(bytes);
        } else {
            // Bytes that are no UTF-8 become U+FFFD, as the corner table would show them.
            area.corners = ReadCorners(SplitRows(QString::fromStdString(bytes).toStdString()));
        }
        if (area.corners.empty()) {
            throw common::UserError("it holds no corners");
        }
        return area;
    } catch (const common::UserError& error) {
        throw common::UserError("No area read from " + path + ": " + error.what());
    }
}

} // namespace surveylines
