#include "lineplan/SurveyLines.h"

#include "common/Angles.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "survey/SurveyGeometry.h"

#include <algorithm>
#include <cmath>
#include <geos_c.h>
#include <memory>
#include <string>

namespace surveylines {

namespace {

// Farther from a grid's origin than any grid reaches: a typing slip, and a
// number whose squares would lose the centimetres.
constexpr double kFarthest = 1e8;

std::string Metres(double value) { return common::FormatFixed(value, 0, 2); }

// GEOS through its reentrant C API: one context per computation, every
// geometry freed with it.
class Geos {
public:
    Geos() : handle_(GEOS_init_r()) {}
    ~Geos() { GEOS_finish_r(handle_); }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;
    GEOSContextHandle_t Handle() const { return handle_; }

    struct Free {
        GEOSContextHandle_t handle;
        void operator()(GEOSGeometry* geometry) const { GEOSGeom_destroy_r(handle, geometry); }
    };
    using Geometry = std::unique_ptr<GEOSGeometry, Free>;
    Geometry Own(GEOSGeometry* geometry) const { return Geometry(geometry, Free{handle_}); }

    Geometry Polygon(const std::vector<Point>& ring) const {
        std::vector<double> xy;
        xy.reserve(ring.size() * 2 + 2);
        for (const Point& p : ring) {
            xy.push_back(p.x);
            xy.push_back(p.y);
        }
        xy.push_back(ring.front().x);
        xy.push_back(ring.front().y);
        GEOSCoordSequence* sequence = GEOSCoordSeq_copyFromBuffer_r(handle_, xy.data(), ring.size() + 1, 0, 0);
        GEOSGeometry* shell = GEOSGeom_createLinearRing_r(handle_, sequence);
        return Own(GEOSGeom_createPolygon_r(handle_, shell, nullptr, 0));
    }

private:
    GEOSContextHandle_t handle_;
};

// Whether every corner lies on the line through the first two: no surface
// to lay lines over (a ring that crosses itself may have no net area, and is
// told apart by GEOS).
bool OnOneLine(const std::vector<Point>& ring) {
    const Point& a = ring[0];
    const Point& b = ring[1];
    for (const Point& p : ring) {
        if (std::abs((b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y)) > 1e-6) {
            return false;
        }
    }
    return true;
}

double Normalized(double degrees, double turn) {
    double value = std::fmod(degrees, turn);
    if (value < 0) {
        value += turn;
    }
    return value >= turn ? 0 : value;
}

// A piece of a track inside the area, as along-track distances.
struct Piece {
    std::size_t track;
    double from, to;
};

void CollectPieces(GEOSContextHandle_t h, const GEOSGeometry* geometry, Point along, Point across,
                   const std::vector<double>& tracks, std::vector<Piece>& pieces) {
    const int type = GEOSGeomTypeId_r(h, geometry);
    if (type == GEOS_MULTILINESTRING || type == GEOS_GEOMETRYCOLLECTION) {
        const int count = GEOSGetNumGeometries_r(h, geometry);
        for (int i = 0; i < count; ++i) {
            CollectPieces(h, GEOSGetGeometryN_r(h, geometry, i), along, across, tracks, pieces);
        }
        return;
    }
    if (type != GEOS_LINESTRING) {
        return; // a point where a line only touches a corner: nothing to run
    }
    const GEOSCoordSequence* sequence = GEOSGeom_getCoordSeq_r(h, geometry);
    unsigned int size = 0;
    GEOSCoordSeq_getSize_r(h, sequence, &size);
    if (size < 2) {
        return;
    }
    double from = HUGE_VAL, to = -HUGE_VAL, offset = 0;
    for (unsigned int i = 0; i < size; ++i) {
        double x = 0, y = 0;
        GEOSCoordSeq_getXY_r(h, sequence, i, &x, &y);
        const double a = x * along.x + y * along.y;
        from = std::min(from, a);
        to = std::max(to, a);
        offset += x * across.x + y * across.y;
    }
    offset /= size;
    // The track it was cut from: the nearest of the tracks' offsets.
    const auto next = std::lower_bound(tracks.begin(), tracks.end(), offset);
    auto nearest = next == tracks.end() ? std::prev(next) : next;
    if (next != tracks.begin() && next != tracks.end() && offset - *std::prev(next) < *next - offset) {
        nearest = std::prev(next);
    }
    pieces.push_back({std::size_t(nearest - tracks.begin()), from, to});
}

} // namespace

std::vector<Point> CheckedArea(const std::vector<Point>& corners) {
    std::vector<Point> ring;
    ring.reserve(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point& p = corners[i];
        if (!(std::abs(p.x) < kFarthest && std::abs(p.y) < kFarthest)) {
            throw common::UserError("Corner " + std::to_string(i + 1) +
                                    " lies farther than 100,000 km from the grid's origin");
        }
        if (ring.empty() || ring.back().x != p.x || ring.back().y != p.y) {
            ring.push_back(p);
        }
    }
    // The closing corner, typed or not, is implied.
    while (ring.size() > 1 && ring.front().x == ring.back().x && ring.front().y == ring.back().y) {
        ring.pop_back();
    }
    if (ring.size() < 3) {
        throw common::UserError("An area needs at least three corners; the table has " + std::to_string(ring.size()));
    }
    if (OnOneLine(ring)) {
        throw common::UserError("The area's corners lie on one line: it has no surface");
    }
    const Geos geos;
    const Geos::Geometry polygon = geos.Polygon(ring);
    char* reason = nullptr;
    GEOSGeometry* where = nullptr;
    const char valid = GEOSisValidDetail_r(geos.Handle(), polygon.get(), 0, &reason, &where);
    GEOSFree_r(geos.Handle(), reason);
    if (valid != 1) {
        const Geos::Geometry place = geos.Own(where);
        double x = 0, y = 0;
        if (place != nullptr) {
            GEOSGeomGetX_r(geos.Handle(), place.get(), &x);
            GEOSGeomGetY_r(geos.Handle(), place.get(), &y);
        }
        throw common::UserError("The area's edges cross near " + Metres(x) + " E, " + Metres(y) +
                                " N: the corners must go round the area in order");
    }
    return ring;
}

double LongestSideHeading(const std::vector<Point>& area) {
    double longest = -1, heading = 0;
    for (std::size_t i = 0; i < area.size(); ++i) {
        const Point& a = area[i];
        const Point& b = area[(i + 1) % area.size()];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length > longest) {
            longest = length;
            heading = std::atan2(b.x - a.x, b.y - a.y) / common::kRadiansPerDegree;
        }
    }
    return Normalized(heading, 180);
}

LaidLines LayLines(const std::vector<Point>& area, const LineSettings& settings) {
    const double spacing = settings.spacing;
    if (!(spacing >= kMinSpacing) || !std::isfinite(spacing)) {
        throw common::UserError("A line spacing of at least 0.01 m is needed");
    }
    if (!(settings.runIn >= 0 && settings.runOut >= 0 && settings.runIn < kFarthest && settings.runOut < kFarthest)) {
        throw common::UserError("Run-in and run-out are lengths of 0 m or more");
    }
    if (!std::isfinite(settings.heading)) {
        throw common::UserError("The heading is no number of degrees");
    }
    const double direction = settings.alongLongestSide ? LongestSideHeading(area) : Normalized(settings.heading, 360);
    const double radians = direction * common::kRadiansPerDegree;
    // Along the heading, and across it to the right: lines are numbered from
    // the left of the first line's heading.
    const Point along{std::sin(radians), std::cos(radians)};
    const Point across{along.y, -along.x};

    double acrossMin = HUGE_VAL, acrossMax = -HUGE_VAL, alongMin = HUGE_VAL, alongMax = -HUGE_VAL;
    for (const Point& p : area) {
        const double a = p.x * along.x + p.y * along.y;
        const double c = p.x * across.x + p.y * across.y;
        alongMin = std::min(alongMin, a);
        alongMax = std::max(alongMax, a);
        acrossMin = std::min(acrossMin, c);
        acrossMax = std::max(acrossMax, c);
    }
    const double width = acrossMax - acrossMin;
    // Each line surveys the strip half a spacing either side of it: as many
    // lines as spacings fit across, the last moved in to half a spacing from
    // the far edge where the width is no whole number of spacings.
    const double wanted = std::max(1.0, std::ceil(width / spacing - 1e-9));
    if (!(wanted <= double(kMaxLines))) {
        throw common::UserError("The area is " + common::FormatFixed(width, 0, 0) + " m across the lines: at " +
                                common::FormatGeneral(spacing) + " m spacing that is more than 100,000 lines");
    }
    const auto count = std::size_t(wanted);
    std::vector<double> tracks(count);
    for (std::size_t k = 0; k < count; ++k) {
        tracks[k] = count == 1 ? (acrossMin + acrossMax) / 2
                               : std::min(acrossMin + spacing / 2 + double(k) * spacing, acrossMax - spacing / 2);
    }

    const Geos geos;
    const GEOSContextHandle_t h = geos.Handle();
    // Every track at once: one overlay of all of them with the area finds the
    // crossings through one index of the area's edges.
    std::vector<GEOSGeometry*> lines(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double from = alongMin - 1, to = alongMax + 1;
        const double xy[4] = {tracks[k] * across.x + from * along.x, tracks[k] * across.y + from * along.y,
                              tracks[k] * across.x + to * along.x, tracks[k] * across.y + to * along.y};
        lines[k] = GEOSGeom_createLineString_r(h, GEOSCoordSeq_copyFromBuffer_r(h, xy, 2, 0, 0));
    }
    const Geos::Geometry all =
        geos.Own(GEOSGeom_createCollection_r(h, GEOS_MULTILINESTRING, lines.data(), unsigned(count)));
    const Geos::Geometry polygon = geos.Polygon(area);
    const Geos::Geometry inside = geos.Own(GEOSIntersection_r(h, all.get(), polygon.get()));
    if (inside == nullptr) {
        throw common::UserError("The lines could not be clipped to the area");
    }
    std::vector<Piece> pieces;
    CollectPieces(h, inside.get(), along, across, tracks, pieces);
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.track != b.track ? a.track < b.track : a.from < b.from; });
    // A line that only grazes a corner of the area is no line to run; pieces of
    // one track that meet (a line cut at a corner it passes through) are one.
    std::vector<Piece> runs;
    for (const Piece& piece : pieces) {
        if (!runs.empty() && runs.back().track == piece.track && piece.from <= runs.back().to + 1e-9) {
            runs.back().to = std::max(runs.back().to, piece.to);
        } else {
            runs.push_back(piece);
        }
    }
    std::erase_if(runs, [](const Piece& run) { return run.to - run.from < 1e-6; });

    LaidLines laid;
    laid.heading = Normalized(direction, 180);
    laid.lines.reserve(runs.size());
    std::size_t trackIndex = 0; // of the tracks that have a line, for alternating
    for (std::size_t first = 0; first < runs.size();) {
        std::size_t last = first;
        while (last < runs.size() && runs[last].track == runs[first].track) {
            ++last;
        }
        const bool forward = !settings.alternate || trackIndex % 2 == 0;
        for (std::size_t i = 0; i < last - first; ++i) {
            const Piece& run = runs[forward ? first + i : last - 1 - i];
            const double c = tracks[run.track];
            const double start = forward ? run.from - settings.runIn : run.to + settings.runIn;
            const double end = forward ? run.to + settings.runOut : run.from - settings.runOut;
            SurveyLine line;
            line.number = int(laid.lines.size()) + 1;
            line.start = {c * across.x + start * along.x, c * across.y + start * along.y};
            line.end = {c * across.x + end * along.x, c * across.y + end * along.y};
            line.length = run.to - run.from + settings.runIn + settings.runOut;
            line.heading = forward ? direction : Normalized(direction + 180, 360);
            line.track = run.track;
            laid.lines.push_back(line);
        }
        ++trackIndex;
        first = last;
    }
    return laid;
}

SurveyTotals ComputeTotals(const std::vector<SurveyLine>& lines, const TimeSettings& settings) {
    if (!(settings.speedKnots > 0) || !std::isfinite(settings.speedKnots)) {
        throw common::UserError("A speed above 0 knots is needed for the survey's time");
    }
    if (!(settings.turnMinutes >= 0) || !std::isfinite(settings.turnMinutes)) {
        throw common::UserError("A turn takes 0 minutes or more");
    }
    if (!(settings.hoursPerDay > 0 && settings.hoursPerDay <= 24)) {
        throw common::UserError("Survey hours per day lie above 0 and at most 24");
    }
    SurveyTotals totals;
    totals.lines = lines.size();
    double metres = 0;
    for (const SurveyLine& line : lines) {
        metres += line.length;
    }
    totals.kilometres = metres / 1000;
    totals.turns = lines.empty() ? 0 : lines.size() - 1;
    totals.hours =
        metres / (settings.speedKnots * survey::kKnot) / 3600 + double(totals.turns) * settings.turnMinutes / 60;
    totals.days = totals.hours / settings.hoursPerDay;
    return totals;
}

} // namespace surveylines
