// The multibeam coverage calculator: how wide the swath of one or two heads is
// at an altitude, the footprints, the ping rate the range allows and how often
// a target box is hit. There is no calculate button: every change of a field,
// every radio button and the window's creation run CalculateClick, which reads
// every field (refilling the empty ones), applies the selected sonar, computes,
// shows every result and redraws the swath picture and the swath graph. The
// fields the run itself corrects are written as what it computed with
// (kit::TypedFields::Show): they ask for no second run.
#pragma once

#include "coverage/CoverageModel.h"
#include "coverage/SwathPicture.h"
#include "kit/Recompute.h"
#include "kit/TypedFields.h"

#include <QWidget>
#include <memory>
#include <string_view>

class QLineEdit;

namespace Ui {
class TR2SonicCoverage;
}

class TR2SonicCoverage : public QWidget {
    Q_OBJECT
public:
    explicit TR2SonicCoverage(QWidget* parent = nullptr);
    ~TR2SonicCoverage() override;

    void CalculateClick();
    void btnZeroClick();
    void btnExitClick();
    void btnSavetoTxtClick();

    // The swath picture of the last run, as drawn.
    const coverage::SwathPicture& Picture() const;

private:
    bool Calculate();
    const survey::SonarModel& SelectedModel() const;
    QLineEdit* FieldOf(coverage::Field field) const;
    void ShowResult(const coverage::CoverageInput& input, const coverage::CoverageResult& result);
    void ShowMode(bool dual);
    void FillGraph(const coverage::CoverageInput& input, const coverage::CoverageResult& result);

    std::unique_ptr<Ui::TR2SonicCoverage> ui;
    int lastAltitude_ = 10;                   // the last altitude that could be read
    int lastSoundings_ = 256;                 // of the last computation, for the report
    std::unique_ptr<kit::TypedFields> typed_; // the number fields, as a person types them
    kit::Recompute recompute_{[this] { return typed_->Run([this] { return Calculate(); }); }};
};
