// The arithmetic of a chart's scales, free of any drawing: which values an axis
// labels, how a range that holds one value or none is widened, and which points
// a line needs at a given scale. The chart view of every tool draws with it.
#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace kit {

// The labelled values of an axis: multiples of a step of 1, 2, 2.5 or 5 times a
// power of ten, with as many decimals as the step needs ("0.25", never "-0.00").
struct Ticks {
    double step = 1.0;
    int decimals = 0;
    std::vector<double> values;
    std::vector<QString> texts;
};

// About `count` labelled values over [low, high] (at most about 200).
Ticks MakeTicks(double low, double high, double count);

// A range with room in it: an empty or non-finite one becomes 0 to 1, a single
// value gets half a unit of its leading digit either side (1 shows from 0.5 to
// 1.5, 200 from 150 to 250, 0 from -1 to 1).
void WidenRange(double& low, double& high);

// The points a line needs at `scale` pixels per unit: a point that lies within
// `tolerance` pixels of the line through the points kept around it is left out
// (Douglas-Peucker), and points that are not finite have no place on a plot.
// Straight runs shrink to their ends; every corner the eye could see stays.
QList<QPointF> ThinnedLine(const QList<QPointF>& points, QSizeF scale, double tolerance);

} // namespace kit
