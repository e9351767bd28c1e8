// The coverage report: the settings and results the window shows, as a plain
// text file the surveyor keeps with the survey documents. It copies the shown
// texts, so it always matches the screen.
#pragma once

#include <QString>
#include <QStringList>

namespace coverage {

struct ReportChoices {
    bool dual = false;     // two heads: their separation, coverage and overlap
    bool knots = true;     // the speed's unit
    bool equiangle = true; // the box's angle from nadir
    int soundings = 256;   // per ping, of the last computation
};

// The hits of a beam centre in a square box on the seabed.
struct BoxHitTexts {
    QString total, along, across;
};

// The texts the window shows, as shown: units and padding are the window's.
struct CoverageReportTexts {
    QString sonarType;
    // Settings
    QString mountingAngle, frequency, alongBeamWidth, acrossBeamWidth, sector, rotation, missionMode, range, altitude,
        headSeparation;
    // Results
    QString dualCoverage, overlap, singleCoverage, alongFootprint, acrossFootprint, worstAcrossFootprint,
        worstAcrossAngle, coverageRatio, headMode;
    // Beam hits in a box
    QString speed, boxAngle, pingRate;
    BoxHitTexts metreBox;
    QString boxSide; // metres
    BoxHitTexts box;
    QString centimetreBoxSide;
    BoxHitTexts centimetreBox;
};

// The report's lines, from the window's texts.
QStringList CoverageReportLines(const CoverageReportTexts& texts, const ReportChoices& choices);

} // namespace coverage
