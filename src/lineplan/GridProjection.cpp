#include "lineplan/GridProjection.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <proj.h>

namespace surveylines {

struct GridProjection::Proj {
    PJ_CONTEXT* context = proj_context_create();
    PJ* toGrid = nullptr;
    ~Proj() {
        proj_destroy(toGrid);
        proj_context_destroy(context);
    }
};

namespace {

std::string Code(int epsg) { return "EPSG:" + std::to_string(epsg); }

// A latitude or longitude as typed, to six significant digits: enough to
// find the slip, and no sign on a zero.
std::string Significant(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (value == 0) {
        return "0";
    }
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr};
}

// Grid metres to the centimetre; a figure just below zero keeps its sign.
std::string GridMetres(double value) {
    if (!std::isfinite(value)) {
        return Significant(value);
    }
    std::string text = common::FormatFixed(value, 0, 2);
    if (value < 0 && text.front() != '-') {
        text.insert(0, 1, '-');
    }
    return text;
}

// A grid is only worth laying lines in when its axes run in metres: a
// geographic system in degrees, or a grid in feet, would make every spacing
// and run-in a different length than typed.
bool ProjectedInMetres(PJ_CONTEXT* context, PJ* crs) {
    if (proj_get_type(crs) != PJ_TYPE_PROJECTED_CRS) {
        return false;
    }
    PJ* cs = proj_crs_get_coordinate_system(context, crs);
    bool metres = cs != nullptr && proj_cs_get_axis_count(context, cs) >= 2;
    for (int axis = 0; metres && axis < 2; ++axis) {
        double toMetres = 0;
        metres = proj_cs_get_axis_info(context, cs, axis, nullptr, nullptr, nullptr, &toMetres, nullptr, nullptr,
                                       nullptr) != 0 &&
                 toMetres == 1.0;
    }
    proj_destroy(cs);
    return metres;
}

} // namespace

GridProjection::GridProjection(int epsg) : epsg_(epsg), proj_(std::make_unique<Proj>()) {
    PJ_CONTEXT* context = proj_->context;
    // PROJ's own complaints go to the error text below, not to the terminal.
    proj_log_level(context, PJ_LOG_NONE);
    const std::string code = Code(epsg);
    PJ* crs = epsg > 0 ? proj_create(context, code.c_str()) : nullptr;
    if (crs == nullptr) {
        throw common::UserError(code + " is not a coordinate system PROJ knows");
    }
    const bool usable = ProjectedInMetres(context, crs);
    const char* name = proj_get_name(crs);
    name_ = name != nullptr ? name : "";
    proj_destroy(crs);
    if (!usable) {
        throw common::UserError(code + " is not a projected grid in metres");
    }
    PJ* raw = proj_create_crs_to_crs(context, "EPSG:4326", code.c_str(), nullptr);
    if (raw != nullptr) {
        proj_->toGrid = proj_normalize_for_visualization(context, raw);
        proj_destroy(raw);
    }
    if (proj_->toGrid == nullptr) {
        throw common::UserError("PROJ has no conversion between WGS 84 and " + code);
    }
}

GridProjection::~GridProjection() = default;

Point GridProjection::ToGrid(Point lonLat) const {
    if (!(std::abs(lonLat.y) <= 90 && std::abs(lonLat.x) <= 360)) {
        throw common::UserError("Latitude " + Significant(lonLat.y) + ", longitude " + Significant(lonLat.x) +
                                " is no place on Earth");
    }
    const PJ_COORD out = proj_trans(proj_->toGrid, PJ_FWD, proj_coord(lonLat.x, lonLat.y, 0, 0));
    if (!std::isfinite(out.xy.x) || !std::isfinite(out.xy.y)) {
        throw common::UserError("Latitude " + Significant(lonLat.y) + ", longitude " + Significant(lonLat.x) +
                                " cannot be put in the grid of " + Code(epsg_));
    }
    return {out.xy.x, out.xy.y};
}

Point GridProjection::ToGeographic(Point grid) const {
    const PJ_COORD out = proj_trans(proj_->toGrid, PJ_INV, proj_coord(grid.x, grid.y, 0, 0));
    if (!std::isfinite(out.lp.lam) || !std::isfinite(out.lp.phi)) {
        throw common::UserError("Easting " + GridMetres(grid.x) + ", northing " + GridMetres(grid.y) + " of " +
                                Code(epsg_) + " has no latitude and longitude");
    }
    return {out.lp.lam, out.lp.phi};
}

} // namespace surveylines
