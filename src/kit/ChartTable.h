// A chart's points as a table for a spreadsheet: what the chart copies to the
// clipboard, so that a surveyor can take the tolerance curves or the swath
// figures into a report's calculation sheet. Free of any widget: the chart
// hands in the titles and points of the series it shows.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <string>
#include <vector>

namespace kit {

struct TableSeries {
    QString title;         // the column's heading; empty: "Series N", N counted from 1
    QList<QPointF> points; // every point, in the order of the chart (ascending x)
};

// Tab-separated text, a heading row first, each line ending in "\n": the way
// spreadsheets take a pasted table.
//
// When every series has the same x values, one x column comes first, headed
// `xTitle`, and then one y column per series, headed with its title; otherwise
// each series has an x and a y column ("<title>: <xTitle>", "<title>") and the
// cells below a shorter series stay empty. Without `xTitle` the x heading is
// "X". Without any
// series the table is the heading "X" alone, so a paste still shows what was
// copied. A tab or line break inside a heading becomes a blank, so the table
// keeps its shape.
QString ChartTableText(const QString& xTitle, const std::vector<TableSeries>& series);

// A value as the table writes it: "." as the decimal point on every machine,
// the shortest text that reads back as the same double, without an exponent
// from 0.00001 up to 1e15. Zero, negative zero included, is "0"; a value that
// is not a number, or infinite, is an empty cell, which a spreadsheet leaves
// out of its sums instead of refusing the paste.
std::string TableNumber(double value);

} // namespace kit
