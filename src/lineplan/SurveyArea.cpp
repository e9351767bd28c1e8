#include "lineplan/SurveyArea.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace surveylines {

namespace {

bool ReadNumber(const QString& cell, double& value) {
    return common::TryParseFloat(cell.trimmed().toStdString(), value) && std::isfinite(value);
}

QString Quoted(const QString& text) {
    // A cell pasted from anywhere may hold anything; a message quotes a short, printable piece of it.
    return QLatin1Char('\'') + common::ShowControls(text.left(40)) + QLatin1Char('\'');
}

// One position of GeoJSON: [longitude, latitude] and perhaps a height.
Point Position(const QJsonValue& value, const QString& where) {
    const QJsonArray pair = value.toArray();
    if (!value.isArray() || pair.size() < 2 || !pair[0].isDouble() || !pair[1].isDouble()) {
        throw common::UserError(where + QStringLiteral(" is no [longitude, latitude] pair"));
    }
    return {pair[0].toDouble(), pair[1].toDouble()};
}

std::vector<Point> OuterRing(const QJsonValue& rings) {
    const QJsonArray all = rings.toArray();
    if (!rings.isArray() || all.isEmpty()) {
        throw common::UserError(QStringLiteral("the polygon has no ring of corners"));
    }
    if (all.size() > 1) {
        throw common::UserError(
            QStringLiteral("the polygon has %1 holes (islands); the corner table holds the outer edge only")
                .arg(all.size() - 1));
    }
    const QJsonArray ring = all[0].toArray();
    std::vector<Point> corners;
    corners.reserve(std::size_t(ring.size()));
    for (qsizetype i = 0; i < ring.size(); ++i) {
        corners.push_back(Position(ring[i], QStringLiteral("corner %1").arg(i + 1)));
    }
    // RFC 7946 closes a ring by repeating its first corner; the area closes itself.
    if (corners.size() > 1 && corners.front().x == corners.back().x && corners.front().y == corners.back().y) {
        corners.pop_back();
    }
    return corners;
}

std::vector<Point> PolygonOf(const QJsonObject& geometry) {
    const QString type = geometry.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("Polygon")) {
        return OuterRing(geometry.value(QStringLiteral("coordinates")));
    }
    if (type == QLatin1String("MultiPolygon")) {
        const QJsonArray polygons = geometry.value(QStringLiteral("coordinates")).toArray();
        if (polygons.size() != 1) {
            throw common::UserError(
                QStringLiteral("it holds a MultiPolygon of %1 polygons; load one area at a time").arg(polygons.size()));
        }
        return OuterRing(polygons[0]);
    }
    if (type.isEmpty()) {
        throw common::UserError(QStringLiteral("it holds no GeoJSON geometry"));
    }
    throw common::UserError(QStringLiteral("it holds a %1, not a Polygon").arg(type.left(40)));
}

} // namespace

std::vector<QStringList> SplitRows(const QString& text) {
    QString all = text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    std::vector<QStringList> rows;
    for (const QString& line : all.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            rows.emplace_back();
        } else if (line.contains(QLatin1Char('\t'))) {
            rows.push_back(line.split(QLatin1Char('\t')));
        } else if (line.contains(QLatin1Char(','))) {
            rows.push_back(line.split(QLatin1Char(',')));
        } else if (line.contains(QLatin1Char(';'))) {
            rows.push_back(line.split(QLatin1Char(';')));
        } else {
            rows.push_back(line.trimmed().split(blanks));
        }
    }
    while (!rows.empty() && rows.back().isEmpty()) {
        rows.pop_back(); // the line end of the last row
    }
    return rows;
}

std::vector<Point> ReadCorners(const std::vector<QStringList>& rows, HeadingRow heading) {
    std::vector<Point> corners;
    bool first = heading == HeadingRow::Allowed;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (const QString& cell : rows[r]) {
            cells << cell.trimmed();
        }
        while (!cells.isEmpty() && cells.last().isEmpty()) {
            cells.removeLast(); // a spreadsheet's empty columns at the end
        }
        if (cells.isEmpty()) {
            continue;
        }
        const QString row = QStringLiteral("Row %1").arg(r + 1);
        Point corner;
        const bool numbers = cells.size() >= 2 && ReadNumber(cells[0], corner.x) && ReadNumber(cells[1], corner.y);
        const bool anyNumber = std::any_of(cells.cbegin(), cells.cend(), [](const QString& cell) {
            double ignored = 0;
            return ReadNumber(cell, ignored);
        });
        if (first && !anyNumber) {
            first = false;
            continue; // a heading row
        }
        first = false;
        if (cells.size() > 2) {
            throw common::UserError(
                row + QStringLiteral(" has %1 values; a corner is two numbers, one pair a row").arg(cells.size()));
        }
        if (cells.size() < 2) {
            throw common::UserError(row + QStringLiteral(" has one value; a corner is two numbers"));
        }
        if (!numbers) {
            const QString bad = ReadNumber(cells[0], corner.x) ? cells[1] : cells[0];
            throw common::UserError(row + QStringLiteral(": %1 is not a number").arg(Quoted(bad)));
        }
        corners.push_back(corner);
    }
    return corners;
}

std::vector<Point> ReadGeoJsonPolygon(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isNull()) {
        throw common::UserError(
            QStringLiteral("it is no JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset));
    }
    if (!document.isObject()) {
        throw common::UserError(QStringLiteral("it holds no GeoJSON object"));
    }
    const QJsonObject root = document.object();
    const QString type = root.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("Feature")) {
        return PolygonOf(root.value(QStringLiteral("geometry")).toObject());
    }
    if (type == QLatin1String("FeatureCollection")) {
        const QJsonArray features = root.value(QStringLiteral("features")).toArray();
        std::vector<Point> found;
        int polygons = 0;
        for (const QJsonValue& feature : features) {
            const QJsonObject geometry = feature.toObject().value(QStringLiteral("geometry")).toObject();
            const QString kind = geometry.value(QStringLiteral("type")).toString();
            if (kind == QLatin1String("Polygon") || kind == QLatin1String("MultiPolygon")) {
                ++polygons;
                found = PolygonOf(geometry);
            }
        }
        if (polygons != 1) {
            throw common::UserError(QStringLiteral("its %1 features hold %2 polygons; one area is one polygon")
                                        .arg(features.size())
                                        .arg(polygons));
        }
        return found;
    }
    return PolygonOf(root);
}

AreaFile ReadAreaFile(const QString& path) {
    try {
        // A FIFO or a device would hold the window until someone writes to it.
        if (!QFileInfo(path).isFile()) {
            throw common::UserError(QFileInfo::exists(path) ? QStringLiteral("it is no regular file")
                                                            : QStringLiteral("there is no such file"));
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            throw common::UserError(file.errorString());
        }
        if (file.size() > kAreaFileLimit) {
            throw common::UserError(
                QStringLiteral("it is larger than any area's corners (%1 MB)").arg(file.size() / (1024 * 1024)));
        }
        QByteArray bytes = file.readAll();
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            bytes.remove(0, 3); // a spreadsheet's or editor's UTF-8 mark
        }
        AreaFile area;
        if (bytes.trimmed().startsWith('{')) {
            area.geographic = true;
            area.corners = ReadGeoJsonPolygon(bytes);
        } else {
            area.corners = ReadCorners(SplitRows(QString::fromUtf8(bytes)));
        }
        if (area.corners.empty()) {
            throw common::UserError(QStringLiteral("it holds no corners"));
        }
        return area;
    } catch (const common::UserError& error) {
        throw common::UserError(
            QStringLiteral("No area read from %1: %2").arg(path, QString::fromStdString(error.what())));
    }
}

} // namespace surveylines
