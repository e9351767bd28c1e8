#include "lineplan/GridProjection.h"

#include "common/Messages.h"

#include <QString>
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

QString Code(int epsg) { return QStringLiteral("EPSG:%1").arg(epsg); }

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
    const QByteArray code = Code(epsg).toLatin1();
    PJ* crs = epsg > 0 ? proj_create(context, code.constData()) : nullptr;
    if (crs == nullptr) {
        throw common::UserError(QStringLiteral("%1 is not a coordinate system PROJ knows").arg(Code(epsg)));
    }
    const bool usable = ProjectedInMetres(context, crs);
    name_ = QString::fromUtf8(proj_get_name(crs));
    proj_destroy(crs);
    if (!usable) {
        throw common::UserError(QStringLiteral("%1 is not a projected grid in metres").arg(Code(epsg)));
    }
    PJ* raw = proj_create_crs_to_crs(context, "EPSG:4326", code.constData(), nullptr);
    if (raw != nullptr) {
        proj_->toGrid = proj_normalize_for_visualization(context, raw);
        proj_destroy(raw);
    }
    if (proj_->toGrid == nullptr) {
        throw common::UserError(QStringLiteral("PROJ has no conversion between WGS 84 and %1").arg(Code(epsg)));
    }
}

GridProjection::~GridProjection() = default;

Point GridProjection::ToGrid(Point lonLat) const {
    if (!(std::abs(lonLat.y) <= 90 && std::abs(lonLat.x) <= 360)) {
        throw common::UserError(
            QStringLiteral("Latitude %1, longitude %2 is no place on Earth").arg(lonLat.y).arg(lonLat.x));
    }
    const PJ_COORD out = proj_trans(proj_->toGrid, PJ_FWD, proj_coord(lonLat.x, lonLat.y, 0, 0));
    if (!std::isfinite(out.xy.x) || !std::isfinite(out.xy.y)) {
        throw common::UserError(QStringLiteral("Latitude %1, longitude %2 cannot be put in the grid of %3")
                                    .arg(lonLat.y)
                                    .arg(lonLat.x)
                                    .arg(Code(epsg_)));
    }
    return {out.xy.x, out.xy.y};
}

Point GridProjection::ToGeographic(Point grid) const {
    const PJ_COORD out = proj_trans(proj_->toGrid, PJ_INV, proj_coord(grid.x, grid.y, 0, 0));
    if (!std::isfinite(out.lp.lam) || !std::isfinite(out.lp.phi)) {
        throw common::UserError(QStringLiteral("Easting %1, northing %2 of %3 has no latitude and longitude")
                                    .arg(grid.x, 0, 'f', 2)
                                    .arg(grid.y, 0, 'f', 2)
                                    .arg(Code(epsg_)));
    }
    return {out.lp.lam, out.lp.phi};
}

} // namespace surveylines
