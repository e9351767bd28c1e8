// The survey lines: from the line planner's spacing and speed to the lines
// themselves over a real area, their kilometres and days, and files for the
// navigation software. Opened by the line planner's "Survey Lines…" button
// with its maximum line spacing and speed; several may be open.
//
// Every change (a field, a corner cell, a paste, a check box) runs
// LinesChange, which reads every field and the corner table, lays the lines
// and shows the plan, the table of lines and the totals. Whatever stops a
// plan (a bad area, spacing or grid) is said once in lblMessage, the totals
// read "—" and no lines are kept to export. btnLoadAreaClick reads an area
// file into the corner table; btnExportLinesClick writes the lines shown.
#pragma once

#include "kit/Recompute.h"
#include "kit/TypedFields.h"
#include "lineplan/GridProjection.h"
#include "lineplan/SurveyLines.h"

#include <QWidget>
#include <memory>
#include <vector>

class QLineEdit;

namespace Ui {
class TSurveyLines;
}

class TSurveyLines : public QWidget {
    Q_OBJECT
public:
    explicit TSurveyLines(QWidget* parent = nullptr);
    ~TSurveyLines() override;

    // The line planner's figures: its maximum line spacing in metres and its
    // speed in knots, as texts, written as one change.
    void TakePlan(const QString& spacing, const QString& speedKnots);

    void LinesChange();
    void CornerUnitsClick();
    void btnLoadAreaClick();
    void btnExportLinesClick();

    // The lines of the last plan; none while something stops it.
    const std::vector<surveylines::SurveyLine>& Lines() const { return lines_; }

private:
    bool Calculate();
    double Number(QLineEdit* field, const QString& caption) const;
    // The grid of the EPSG field, made once per code (PROJ reads its
    // database); a code that failed fails again without asking PROJ.
    const surveylines::GridProjection& Grid();
    std::vector<surveylines::Point> AreaCorners();
    void ShowTotals(const surveylines::SurveyTotals* totals);

    std::unique_ptr<Ui::TSurveyLines> ui;
    std::unique_ptr<surveylines::GridProjection> grid_;
    int failedEpsg_ = 0;
    QString gridError_;
    std::vector<surveylines::SurveyLine> lines_;
    std::unique_ptr<kit::TypedFields> typed_; // the number fields, as a person types them
    kit::Recompute recompute_{[this] { return typed_->Run([this] { return Calculate(); }); }};
};
