#include "lineplan/SurveyLines.h"
#include "common/Messages.h"
#include "lineplan/LineExports.h"
#include "lineplan/SurveyArea.h"
#include "support/WriteUnder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace survey_lines_test {

namespace {

using surveylines::Point;

constexpr double kHoursPerMetreAt6Knots = 1.0 / (6 * 0.51444) / 3600;

std::string Error(const std::function<void()>& action) {
    try {
        action();
    } catch (const common::UserError& error) {
        return error.what();
    }
    return {};
}

void ExpectNear(Point actual, Point expected, double tolerance = 1e-6) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

// Areas and lines worked out by hand: the tracks half a spacing inside the
// area's edge, each a spacing further; a track cut by a bay runs as two lines.
TEST(SurveyLines, AreasGiveTheLinesKilometresAndTimeWorkedOutByHand) {
    const Point o{500000, 6000000};
    const double c30 = std::cos(M_PI / 6), s30 = 0.5;
    const Point u{s30, c30}, v{c30, -s30}; // along 030° and to its right
    const auto at = [&](double along, double across) {
        return Point{o.x + along * u.x + across * v.x, o.y + along * u.y + across * v.y};
    };
    struct Case {
        const char* name;
        std::vector<Point> area;
        surveylines::LineSettings settings;
        std::size_t lines;
        double metres;
        Point firstStart, firstEnd, secondStart, lastStart, lastEnd;
        double firstHeading, secondHeading;
    };
    const std::vector<Case> cases{
        {"rectangle, north",
         {{0, 0}, {1000, 0}, {1000, 500}, {0, 500}},
         {0, false, 100, 0, 0, true},
         10,
         5000,
         {50, 0},
         {50, 500},
         {150, 500},
         {950, 500},
         {950, 0},
         0,
         180},
        {"rectangle with run-in and run-out, one way",
         {{0, 0}, {1000, 0}, {1000, 500}, {0, 500}},
         {0, false, 100, 20, 10, false},
         10,
         5300,
         {50, -20},
         {50, 510},
         {150, -20},
         {950, -20},
         {950, 510},
         0,
         0},
        {"rectangle 1050 m wide: the last line half a spacing inside",
         {{0, 0}, {1050, 0}, {1050, 500}, {0, 500}},
         {0, false, 100, 0, 0, true},
         11,
         5500,
         {50, 0},
         {50, 500},
         {150, 500},
         {1000, 0},
         {1000, 500},
         0,
         180},
        {"rectangle turned to 030°, along its longest side",
         {at(0, 0), at(1000, 0), at(1000, 500), at(0, 500)},
         {123, true, 100, 0, 0, true},
         5,
         5000,
         at(0, 50),
         at(1000, 50),
         at(1000, 150),
         at(0, 450),
         at(1000, 450),
         30,
         210},
        {"L-shaped, north",
         {{0, 0}, {1000, 0}, {1000, 400}, {400, 400}, {400, 1000}, {0, 1000}},
         {0, false, 100, 0, 0, true},
         10,
         6400,
         {50, 0},
         {50, 1000},
         {150, 1000},
         {950, 400},
         {950, 0},
         0,
         180},
        {"bay, east: the tracks across it run as two lines each",
         {{0, 0}, {1000, 0}, {1000, 1000}, {600, 1000}, {600, 400}, {400, 400}, {400, 1000}, {0, 1000}},
         {90, false, 100, 0, 0, true},
         16,
         8800,
         {0, 950},
         {400, 950},
         {600, 950},
         {1000, 50},
         {0, 50},
         90,
         90},
        {"triangle",
         {{0, 0}, {1000, 0}, {0, 1000}},
         {0, false, 200, 0, 0, true},
         5,
         2500,
         {100, 0},
         {100, 900},
         {300, 700},
         {900, 0},
         {900, 100},
         0,
         180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const surveylines::LaidLines laid = surveylines::LayLines(surveylines::CheckedArea(c.area), c.settings);
        ASSERT_EQ(laid.lines.size(), c.lines);
        const auto& first = laid.lines.front();
        ExpectNear(first.start, c.firstStart);
        ExpectNear(first.end, c.firstEnd);
        ExpectNear(laid.lines[1].start, c.secondStart);
        ExpectNear(laid.lines.back().start, c.lastStart);
        ExpectNear(laid.lines.back().end, c.lastEnd);
        EXPECT_NEAR(first.heading, c.firstHeading, 1e-9);
        EXPECT_NEAR(laid.lines[1].heading, c.secondHeading, 1e-9);
        for (std::size_t i = 0; i < laid.lines.size(); ++i) {
            EXPECT_EQ(laid.lines[i].number, int(i) + 1);
        }
        const surveylines::SurveyTotals totals = surveylines::ComputeTotals(laid.lines, {6, 5, 12});
        EXPECT_EQ(totals.lines, c.lines);
        EXPECT_NEAR(totals.kilometres, c.metres / 1000, 1e-9);
        EXPECT_EQ(totals.turns, c.lines - 1);
        const double hours = c.metres * kHoursPerMetreAt6Knots + double(c.lines - 1) * 5.0 / 60;
        EXPECT_NEAR(totals.hours, hours, 1e-9);
        EXPECT_NEAR(totals.days, hours / 12, 1e-9);
    }
}

TEST(SurveyLines, BadAreasAndSettingsAreRefusedWithOneMessage) {
    const std::vector<Point> square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    struct Case {
        const char* name;
        std::function<void()> action;
        const char* message;
    };
    const std::vector<Case> cases{
        {"two corners, the closing one repeated",
         [] {
             (void)surveylines::CheckedArea({{0, 0}, {10, 0}, {0, 0}});
         },
         "An area needs at least three corners; the table has 2"},
        {"corners on one line",
         [] {
             (void)surveylines::CheckedArea({{0, 0}, {10, 0}, {20, 0}});
         },
         "The area's corners lie on one line: it has no surface"},
        {"edges crossing (a bow tie)",
         [] {
             (void)surveylines::CheckedArea({{0, 0}, {100, 100}, {100, 0}, {0, 100}});
         },
         "The area's edges cross near 50.00 E, 50.00 N: the corners must go round the area in order"},
        {"spacing 0",
         [&] {
             (void)surveylines::LayLines(square, {0, false, 0, 0, 0, true});
         },
         "A line spacing of at least 0.01 m is needed"},
        {"spacing below a centimetre",
         [&] {
             (void)surveylines::LayLines(square, {0, false, 0.005, 0, 0, true});
         },
         "A line spacing of at least 0.01 m is needed"},
        {"more than 100,000 lines",
         [] {
             (void)surveylines::LayLines({{0, 0}, {100000, 0}, {100000, 10}, {0, 10}}, {0, false, 0.5, 0, 0, true});
         },
         "The area is 100000 m across the lines: at 0.5 m spacing that is more than 100,000 lines"},
        {"negative run-in",
         [&] {
             (void)surveylines::LayLines(square, {0, false, 10, -1, 0, true});
         },
         "Run-in and run-out are lengths of 0 m or more"},
        {"unknown EPSG code", [] { surveylines::GridProjection(99999); },
         "EPSG:99999 is not a coordinate system PROJ knows"},
        {"geographic EPSG code", [] { surveylines::GridProjection(4326); },
         "EPSG:4326 is not a projected grid in metres"},
        {"grid in US feet", [] { surveylines::GridProjection(2263); }, "EPSG:2263 is not a projected grid in metres"},
        {"no speed",
         [] {
             (void)surveylines::ComputeTotals({}, {0, 5, 12});
         },
         "A speed above 0 knots is needed for the survey's time"},
        {"25 hours a day",
         [] {
             (void)surveylines::ComputeTotals({}, {6, 5, 25});
         },
         "Survey hours per day lie above 0 and at most 24"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Error(c.action), c.message);
    }
}

// The figures of PROJ's own cs2cs for the same points (proj-bin), to the millimetre:
//   echo "56 9" | cs2cs -f %.4f EPSG:4326 EPSG:32632
// SWEREF 99 TM (EPSG:3006) gives northing before easting; the grid's points
// are easting first all the same.
TEST(GridProjection, ConversionsAgreeWithProjsCommandLineTools) {
    struct Case {
        int epsg;
        Point lonLat, grid;
    };
    const std::vector<Case> cases{
        {32632, {9, 56}, {500000.0000, 6206079.5873}},          {32632, {10.25, 55.5}, {578961.0167, 6151143.1096}},
        {32632, {8.5, 57.123456}, {469726.8694, 6331239.5397}}, {25833, {12, 55}, {308124.3679, 6098907.8250}},
        {3006, {15, 55.945375003}, {500000, 6200000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.epsg);
        const surveylines::GridProjection projection(c.epsg);
        ExpectNear(projection.ToGrid(c.lonLat), c.grid, 1e-3);
        ExpectNear(projection.ToGeographic(c.grid), c.lonLat, 1e-8);
    }
}

TEST(SurveyArea, PastedRowsGiveTheirCornersAndBadRowsAreNamed) {
    struct Case {
        const char* text;
        std::vector<Point> corners;
        const char* error;
    };
    const std::vector<Case> cases{
        {"Easting\tNorthing\n500000\t6000000\n500100.5\t6000000\n\n500100\t6000200\n",
         {{500000, 6000000}, {500100.5, 6000000}, {500100, 6000200}},
         ""},
        {"1,2\r\n3,4\r\n5,6", {{1, 2}, {3, 4}, {5, 6}}, ""},
        {"1;2\n3;4\n5;6  ", {{1, 2}, {3, 4}, {5, 6}}, ""},
        {"  1   2\n3 4\n", {{1, 2}, {3, 4}}, ""},
        {"1\t2\t\t\n", {{1, 2}}, ""},
        {"E,N\n1,2\n3,x\n", {}, "Row 3: 'x' is not a number"},
        {"1,2\nE,N\n", {}, "Row 2: 'E' is not a number"},
        {"1,2,3\n", {}, "Row 1 has 3 values; a corner is two numbers, one pair a row"},
        {"1,2\n7\n", {}, "Row 2 has one value; a corner is two numbers"},
        {"1,5e999\n", {}, "Row 1: '5e999' is not a number"},
        {"1,2\n3,4,5 ", {}, "Row 2 has 3 values; a corner is two numbers, one pair a row"},
        {"1.5,2\n1,5;2", {}, "Row 2: '5;2' is not a number"},
        // No-break and ideographic spaces round a figure, as word processors leave them.
        {"1,\u00A02\n3\t4\u3000\n", {{1, 2}, {3, 4}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<Point> corners;
        EXPECT_EQ(Error([&] { corners = surveylines::ReadCorners(surveylines::SplitRows(c.text)); }), c.error);
        ASSERT_EQ(corners.size(), c.corners.size());
        for (std::size_t i = 0; i < corners.size(); ++i) {
            ExpectNear(corners[i], c.corners[i], 0);
        }
    }
}

TEST(SurveyArea, GeoJsonGivesThePolygonsOuterRingOrSaysWhatItHoldsInstead) {
    const std::string ring = "[[[9,56],[9.1,56],[9.1,56.1],[9,56]]]";
    const std::vector<Point> corners{{9, 56}, {9.1, 56}, {9.1, 56.1}};
    struct Case {
        std::string text;
        const char* error;
    };
    const std::vector<Case> cases{
        {"{\"type\":\"Polygon\",\"coordinates\":" + ring + "}", ""},
        {"{\"type\":\"MultiPolygon\",\"coordinates\":[" + ring + "]}", ""},
        {"{\"type\":\"Feature\",\"properties\":{},\"geometry\":{\"type\":\"Polygon\",\"coordinates\":" + ring + "}}",
         ""},
        {"{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\","
         "\"coordinates\":[9,56]}},{\"type\":\"Feature\",\"geometry\":{\"type\":\"Polygon\",\"coordinates\":" +
             ring + "}}]}",
         ""},
        {"{\"type\":\"Point\",\"coordinates\":[9,56]}", "it holds a Point, not a Polygon"},
        {"{\"type\":\"LineString\",\"coordinates\":[[9,56],[9,57]]}", "it holds a LineString, not a Polygon"},
        {"{\"type\":\"MultiPolygon\",\"coordinates\":[" + ring + "," + ring + "]}",
         "it holds a MultiPolygon of 2 polygons; load one area at a time"},
        {"{\"type\":\"Polygon\",\"coordinates\":[[[9,56],[9.1,56],[9.1,56.1],[9,56]],[[9.05,56.02],[9.06,56.02],"
         "[9.06,56.03],[9.05,56.02]]]}",
         "the polygon has 1 holes (islands); the corner table holds the outer edge only"},
        {"{\"type\":\"Polygon\",\"coordinates\":[[[9,56],[\"9.1\",56]]]}", "corner 2 is no [longitude, latitude] pair"},
        {"{\"type\":\"FeatureCollection\",\"features\":[]}", "its 0 features hold 0 polygons; one area is one polygon"},
        {"[1,2]", "it holds no GeoJSON object"},
        {"{\"type\":\"Polygon\",", "it is no JSON (unterminated object at byte 18)"},
        {"{}", "it holds no GeoJSON geometry"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<Point> read;
        EXPECT_EQ(Error([&] { read = surveylines::ReadGeoJsonPolygon(c.text); }), c.error);
        if (*c.error == '\0') {
            ASSERT_EQ(read.size(), corners.size());
            for (std::size_t i = 0; i < read.size(); ++i) {
                ExpectNear(read[i], corners[i], 0);
            }
        }
    }
}

TEST(SurveyArea, AFileIsReadAsCsvOrGeoJsonAndAnErrorNamesIt) {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName().toStdString();
    };
    const surveylines::AreaFile csv =
        surveylines::ReadAreaFile(write("area.csv", "\xEF\xBB\xBF"
                                                    "Easting,Northing\r\n1,2\r\n3,4\r\n5,6\r\n"));
    EXPECT_FALSE(csv.geographic);
    ASSERT_EQ(csv.corners.size(), 3u);
    ExpectNear(csv.corners[2], {5, 6}, 0);

    const surveylines::AreaFile json = surveylines::ReadAreaFile(
        write("area.geojson", " \n{\"type\":\"Polygon\",\"coordinates\":[[[9,56],[9.1,56],[9.1,56.1],[9,56]]]}"));
    EXPECT_TRUE(json.geographic);
    EXPECT_EQ(json.corners.size(), 3u);

    const std::string line = write("line.geojson", "{\"type\":\"LineString\",\"coordinates\":[[9,56],[9,57]]}");
    EXPECT_EQ(Error([&] { (void)surveylines::ReadAreaFile(line); }),
              "No area read from " + line + ": it holds a LineString, not a Polygon");
    const std::string empty = write("empty.csv", "Easting,Northing\n");
    EXPECT_EQ(Error([&] { (void)surveylines::ReadAreaFile(empty); }),
              "No area read from " + empty + ": it holds no corners");
    const std::string folder = dir.path().toStdString();
    EXPECT_EQ(Error([&] { (void)surveylines::ReadAreaFile(folder); }),
              "No area read from " + folder + ": it is no regular file");
}

// Random bytes and every cut of a good file: the readers either read an area
// or say what was wrong, and whatever they read lays lines or is refused.
TEST(SurveyArea, RandomAndTruncatedInputIsReadOrRefusedNeverMore) {
    const std::string goodJson =
        "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{\"name\":\"Bay\"},"
        "\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[[[9,56],[9.1,56],[9.1,56.1],[9.06,56.1],[9.06,56.04],"
        "[9.04,56.04],[9.04,56.1],[9,56.1],[9,56]]]}}]}";
    const std::string goodCsv = "Easting,Northing\r\n500000,6000000\r\n501000,6000000\r\n501000,6001000\r\n";
    std::mt19937 random(37);
    std::vector<std::string> inputs;
    for (std::size_t cut = 0; cut <= goodJson.size(); ++cut) {
        inputs.push_back(goodJson.substr(0, cut));
    }
    for (std::size_t cut = 0; cut <= goodCsv.size(); ++cut) {
        inputs.push_back(goodCsv.substr(0, cut));
    }
    const std::string alphabet = "0123456789.,;\t\n\r -+eE[]{}\":abcxyzPolygon";
    for (int i = 0; i < 2000; ++i) {
        std::string bytes;
        const int length = int(random() % 80);
        for (int j = 0; j < length; ++j) {
            bytes += i % 2 == 0 ? char(random() % 256) : alphabet[random() % alphabet.size()];
        }
        inputs.push_back(bytes);
        std::string mangled = (i % 3 == 0 ? goodJson : goodCsv);
        mangled[random() % mangled.size()] = char(random() % 256);
        inputs.push_back(mangled);
    }
    const surveylines::GridProjection utm(32632);
    std::size_t laid = 0;
    for (const std::string& bytes : inputs) {
        std::vector<Point> corners;
        try {
            corners = bytes.starts_with('{') ? surveylines::ReadGeoJsonPolygon(bytes)
                                             : surveylines::ReadCorners(surveylines::SplitRows(bytes));
            if (bytes.starts_with('{')) {
                for (Point& corner : corners) {
                    corner = utm.ToGrid(corner);
                }
            }
            const auto lines = surveylines::LayLines(surveylines::CheckedArea(corners), {0, false, 1000, 0, 0, true});
            laid += lines.lines.empty() ? 0 : 1;
        } catch (const common::UserError&) {
        }
    }
    EXPECT_GT(laid, 2u); // the good files among them
}

// Random polygons, most of them crossing themselves: each is refused, or every
// line it gives lies inside it.
TEST(SurveyLines, RandomAreasAreRefusedOrGetLinesInsideThem) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(0, 1000);
    int laidAreas = 0;
    for (int i = 0; i < 300; ++i) {
        std::vector<Point> corners(std::size_t(3 + random() % 6));
        for (Point& corner : corners) {
            corner = {coordinate(random), coordinate(random)};
        }
        try {
            const std::vector<Point> area = surveylines::CheckedArea(corners);
            const auto laid = surveylines::LayLines(area, {double(random() % 360), false, 37, 0, 0, true});
            ++laidAreas;
            for (const auto& line : laid.lines) {
                // The middle of every line is inside the area (crossing number, ray to the east).
                const Point middle{(line.start.x + line.end.x) / 2, (line.start.y + line.end.y) / 2};
                bool inside = false;
                for (std::size_t k = 0, j = area.size() - 1; k < area.size(); j = k++) {
                    if ((area[k].y > middle.y) != (area[j].y > middle.y) &&
                        middle.x <
                            (area[j].x - area[k].x) * (middle.y - area[k].y) / (area[j].y - area[k].y) + area[k].x) {
                        inside = !inside;
                    }
                }
                EXPECT_TRUE(inside) << "line " << line.number << " of area " << i;
            }
        } catch (const common::UserError&) {
        }
    }
    EXPECT_GT(laidAreas, 30);
}

// Each file read back by a reader of its kind: the numbers, ends and names the
// navigation software will see.
TEST(LineExports, EachFileReadsBackWithTheLinesAndTheirNumbers) {
    const surveylines::GridProjection utm(32632);
    const std::vector<Point> area{{500000, 6206000}, {501000, 6206000}, {501000, 6206500}, {500000, 6206500}};
    const auto lines = surveylines::LayLines(area, {0, false, 250, 10, 10, true}).lines;
    ASSERT_EQ(lines.size(), 4u);
    QTemporaryDir dir;

    for (const char* name : {"lines.csv", "lines.geojson", "lines.kml", "lines.gpx"}) {
        const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
        ASSERT_TRUE(surveylines::ExportLines(path, lines, utm).Ok()) << name;
    }
    const auto read = [&](const char* name) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };

    const QList<QByteArray> csv = read("lines.csv").split('\n');
    ASSERT_EQ(csv.size(), 6); // heading, four lines, the last line end
    EXPECT_EQ(csv[0], "Line,Start Easting,Start Northing,End Easting,End Northing,Length,Heading\r");
    EXPECT_EQ(csv[2], "2,500375.00,6206510.00,500375.00,6205990.00,520.00,180.0\r");

    const QJsonObject geojson = QJsonDocument::fromJson(read("lines.geojson")).object();
    const QJsonArray features = geojson.value(QStringLiteral("features")).toArray();
    ASSERT_EQ(features.size(), 4);
    for (qsizetype i = 0; i < features.size(); ++i) {
        const QJsonObject feature = features[i].toObject();
        EXPECT_EQ(feature.value(QStringLiteral("properties")).toObject().value(QStringLiteral("line")).toInt(), i + 1);
        const QJsonObject geometry = feature.value(QStringLiteral("geometry")).toObject();
        EXPECT_EQ(geometry.value(QStringLiteral("type")).toString(), QStringLiteral("LineString"));
        const QJsonArray start = geometry.value(QStringLiteral("coordinates")).toArray()[0].toArray();
        const Point lonLat = utm.ToGeographic(lines[std::size_t(i)].start);
        EXPECT_NEAR(start[0].toDouble(), lonLat.x, 1e-8);
        EXPECT_NEAR(start[1].toDouble(), lonLat.y, 1e-8);
    }
    // 500125 E, 6205990 N: the first line's start, a little east of 9° E.
    EXPECT_NEAR(features[0].toObject()["geometry"].toObject()["coordinates"].toArray()[0].toArray()[0].toDouble(),
                9.002, 0.001);

    const auto elements = [&](const char* name, const QString& element) {
        QXmlStreamReader xml(read(name));
        QStringList texts;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element) {
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            }
        }
        EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
        return texts;
    };
    const QStringList placemarks = elements("lines.kml", QStringLiteral("Placemark"));
    ASSERT_EQ(placemarks.size(), 4);
    EXPECT_TRUE(placemarks[3].startsWith(QStringLiteral("Line 4"))) << placemarks[3].toStdString();
    const QStringList routes = elements("lines.gpx", QStringLiteral("rte"));
    ASSERT_EQ(routes.size(), 4);
    EXPECT_EQ(routes[0], QStringLiteral("Line 11 SOL 1 EOL 1"));
    QXmlStreamReader gpx(read("lines.gpx"));
    int points = 0;
    while (!gpx.atEnd()) {
        if (gpx.readNext() == QXmlStreamReader::StartElement && gpx.name() == QLatin1String("rtept")) {
            if (points++ == 0) {
                const Point lonLat = utm.ToGeographic(lines[0].start);
                EXPECT_NEAR(gpx.attributes().value(QStringLiteral("lat")).toDouble(), lonLat.y, 1e-8);
                EXPECT_NEAR(gpx.attributes().value(QStringLiteral("lon")).toDouble(), lonLat.x, 1e-8);
            }
        }
    }
    EXPECT_EQ(points, 8);
}

TEST(LineExports, AFileThatCannotBeWrittenLeavesTheOldOneAndNamesIt) {
    const surveylines::GridProjection utm(32632);
    const auto lines = surveylines::LayLines({{0, 0}, {100, 0}, {100, 100}}, {0, false, 50, 0, 0, true}).lines;
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no such folder/lines.csv"));
    const common::FileResult result = surveylines::ExportLines(missing.toStdString(), lines, utm);
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(result.Error().startsWith(QStringLiteral("Cannot create file \"") + missing))
        << result.Error().toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    // A full disk, a file-size limit, a folder without create rights, a
    // read-only file: the lines are written whole, or the old file stays as it
    // was and the error says so.
    const QByteArray old(4096, 'o');
    const std::string written = surveylines::LinesCsv(lines);
    for (const support::DiskCondition condition :
         {support::DiskCondition::FullDisk, support::DiskCondition::FileSizeLimit,
          support::DiskCondition::NoCreateRights, support::DiskCondition::ReadOnlyFile,
          support::DiskCondition::NoCreateRightsFullDisk}) {
        SCOPED_TRACE(support::ConditionName(condition));
        const support::WriteOutcome outcome =
            support::WriteUnder(condition, {QStringLiteral("lines.csv")}, old, [&](const QString& folder) {
                const std::string path = QDir(folder).filePath(QStringLiteral("lines.csv")).toStdString();
                const common::FileResult exported = surveylines::ExportLines(path, lines, utm);
                return exported.Ok() ? QString() : exported.Error();
            });
        if (!outcome.skipped.isEmpty()) {
            GTEST_SKIP() << outcome.skipped.toStdString();
        }
        ASSERT_EQ(outcome.files.size(), 1U);
        if (outcome.error.isEmpty()) {
            EXPECT_EQ(outcome.files[0].toStdString(), written);
        } else {
            EXPECT_EQ(outcome.files[0], old) << "the old file changed: " << outcome.error.toStdString();
        }
    }
}

} // namespace

} // namespace survey_lines_test
