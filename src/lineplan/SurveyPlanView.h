// The plan of the survey lines: the area, the lines with their numbers and an
// arrow at each start, a grid with its coordinates, a scale bar and grid
// north, drawn to one scale in both directions. Its colours are fixed, a
// chart on paper, whatever the desktop's theme.
#pragma once

#include "lineplan/SurveyLines.h"

#include <QWidget>
#include <vector>

namespace lineplan {

class SurveyPlanView : public QWidget {
    Q_OBJECT
public:
    explicit SurveyPlanView(QWidget* parent = nullptr);

    // The area (grid corners, open ring) and its lines: an area alone while
    // its lines cannot be laid, blank paper while there is no area. What
    // stops a plan is the window's to say.
    void SetPlan(std::vector<surveylines::Point> area, std::vector<surveylines::SurveyLine> lines);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<surveylines::Point> area_;
    std::vector<surveylines::SurveyLine> lines_;
};

} // namespace lineplan
