// Survey lines over an area: parallel lines at the planner's spacing, the
// first half a spacing inside the area's edge, clipped to the area (a line
// across a bay becomes its parts, each run as a line of its own), numbered in
// the order they are run, with run-in and run-out added, and the survey's
// kilometres, turns and time. Plain C++ on the area's grid coordinates;
// clipping by GEOS.
#pragma once

#include "lineplan/GridProjection.h"

#include <cstddef>
#include <vector>

namespace surveylines {

// The corners as an area is laid over: repeated corners dropped and the ring
// left open (the closing corner is implied). Throws common::UserError when
// fewer than three corners remain or edges cross.
std::vector<Point> CheckedArea(const std::vector<Point>& corners);

struct LineSettings {
    double heading = 0;            // grid degrees clockwise from north, the first line's direction
    bool alongLongestSide = false; // the heading of the area's longest side instead
    double spacing = 0;            // m between neighbouring lines
    double runIn = 0, runOut = 0;  // m added before the start and after the end of each line
    bool alternate = true;         // every other line run the other way
};

struct SurveyLine {
    int number = 0;        // from 1, in the order the lines are run
    Point start, end;      // grid metres, run-in and run-out included
    double length = 0;     // m, run-in and run-out included
    double heading = 0;    // grid degrees from start to end, 0 to below 360
    std::size_t track = 0; // which of the parallel tracks, from 0 on the left of the heading
};

struct LaidLines {
    double heading = 0; // the heading the lines were laid along, 0 to below 180
    std::vector<SurveyLine> lines;
};

// More lines than any survey is run in: an area and a spacing that would give
// more are refused before any is laid.
inline constexpr std::size_t kMaxLines = 100000;
// The least spacing: below a centimetre a plan means a typing slip.
inline constexpr double kMinSpacing = 0.01;

// The heading of the area's longest side, 0 to below 180.
double LongestSideHeading(const std::vector<Point>& area);

// Lays the lines over an area made by CheckedArea. Throws common::UserError
// for a spacing below kMinSpacing, a run-in or run-out below 0, or more than
// kMaxLines lines.
LaidLines LayLines(const std::vector<Point>& area, const LineSettings& settings);

struct TimeSettings {
    double speedKnots = 6;   // on line
    double turnMinutes = 5;  // from the end of one line to the start of the next
    double hoursPerDay = 12; // survey hours in a day
};

struct SurveyTotals {
    std::size_t lines = 0;
    double kilometres = 0; // the lines' lengths, run-in and run-out included
    std::size_t turns = 0; // one before each line after the first
    double hours = 0, days = 0;
};

// Throws common::UserError for a speed or hours per day of 0 or below, more
// than 24 hours a day, or a turn time below 0.
SurveyTotals ComputeTotals(const std::vector<SurveyLine>& lines, const TimeSettings& settings);

} // namespace surveylines
