// The plane and the globe of a survey area: points in a projected grid
// (easting, northing in metres) or in WGS 84 (longitude, latitude in degrees),
// and the conversion between the two through PROJ for a grid chosen by its
// EPSG code.
#pragma once

#include <memory>
#include <string>

namespace surveylines {

// x is the easting or the longitude, y the northing or the latitude.
struct Point {
    double x = 0, y = 0;
};

// A projected grid in metres and its conversion to and from WGS 84, longitude
// first (as GeoJSON, KML and GPX want it), whatever axis order the EPSG
// definition gives. Throws common::UserError for a code PROJ does not know or
// a system that is no projected grid in metres.
class GridProjection {
public:
    explicit GridProjection(int epsg);
    ~GridProjection();
    GridProjection(const GridProjection&) = delete;
    GridProjection& operator=(const GridProjection&) = delete;

    int Epsg() const { return epsg_; }
    // The system's name in the EPSG register ("WGS 84 / UTM zone 32N").
    const std::string& Name() const { return name_; }
    // Throw common::UserError for a point the conversion cannot reach.
    Point ToGrid(Point lonLat) const;
    Point ToGeographic(Point grid) const;

private:
    struct Proj;
    int epsg_;
    std::string name_;
    std::unique_ptr<Proj> proj_;
};

} // namespace surveylines
