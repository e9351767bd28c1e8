// The coverage report: the settings and results the window shows, as a plain
// text file the surveyor keeps with the survey documents. It copies the shown
// texts, so it always matches the screen.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>

namespace coverage {

struct ReportChoices {
    bool dual = false;     // two heads: their separation, coverage and overlap
    bool knots = true;     // the speed's unit
    bool equiangle = true; // the box's angle from nadir
    int soundings = 256;   // per ping, of the last computation
};

// The report's lines, from the text of each named element of the window.
QStringList CoverageReportLines(const std::function<QString(std::string_view name)>& textOf,
                                const ReportChoices& choices);

} // namespace coverage
