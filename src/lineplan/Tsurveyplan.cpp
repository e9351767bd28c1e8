#include "lineplan/Tsurveyplan.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"
#include "kit/Dialogs.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"
#include "lineplan/TSurveyLines.h"
#include "survey/SurveyGeometry.h"
#include "ui_Tsurveyplan.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <array>
#include <cmath>

namespace {

// The system buttons of the form, one per row of lineplan::kPlannerSystems and
// in its order: the rows know nothing of the window.
using SystemButton = QRadioButton* Ui::Tsurveyplan::*;
constexpr std::array<SystemButton, lineplan::kPlannerSystems.size()> kSystemButtons{
    &Ui::Tsurveyplan::rbnSystem0, &Ui::Tsurveyplan::rbnSystem1, &Ui::Tsurveyplan::rbnSystem2,
    &Ui::Tsurveyplan::rbnSystem3, &Ui::Tsurveyplan::rbnSystem4, &Ui::Tsurveyplan::rbnSystem5,
    &Ui::Tsurveyplan::rbnSystem6, &Ui::Tsurveyplan::rbnSystem7,
};

// The inputs, one row each: the field, its spinner (if any), whether it takes
// digits only, and whether a change of it recomputes (the range and ping rate
// limits do not: a click into the ping rate field or "Calculate" does). Every
// input is typed with the rules of kit::TypedFields.
struct InputRow {
    QLineEdit* Ui::Tsurveyplan::*field;
    kit::UpDown* Ui::Tsurveyplan::*spinner;
    bool digitsOnly;
    bool recomputes;
};
const std::array<InputRow, 11> kInputs{{
    {&Ui::Tsurveyplan::edtAltitude, &Ui::Tsurveyplan::udbAltitude, true, true},
    {&Ui::Tsurveyplan::edtMaximum_depth, &Ui::Tsurveyplan::udbMaximum_depth, true, true},
    {&Ui::Tsurveyplan::edtPercent_overlap, &Ui::Tsurveyplan::udbPercent_overlap, true, true},
    {&Ui::Tsurveyplan::edtSwathwidth, &Ui::Tsurveyplan::udbSwathwidth, true, true},
    {&Ui::Tsurveyplan::Max_range, nullptr, false, false},
    {&Ui::Tsurveyplan::Max_pingrate, nullptr, false, false},
    {&Ui::Tsurveyplan::Min_alongtrack_coverage, nullptr, false, true},
    {&Ui::Tsurveyplan::Soundvelocity, nullptr, false, true},
    {&Ui::Tsurveyplan::edtFreq, &Ui::Tsurveyplan::udbFreq, false, true},
    {&Ui::Tsurveyplan::edtSpeed_input, &Ui::Tsurveyplan::udbSpeed_input, false, true},
    {&Ui::Tsurveyplan::edtLinespace, &Ui::Tsurveyplan::udbLinespace, true, true},
}};

QString Two(const char* first, const char* second) {
    return QString::fromLatin1(first) + QLatin1Char('\n') + QString::fromLatin1(second);
}

} // namespace

Tsurveyplan::Tsurveyplan(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Tsurveyplan>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    // Taller than a small laptop's screen: it scrolls there rather than cut off.
    surface_ = kit::ScrollWhenSmaller(this);
    surface_->installEventFilter(this);
    std::vector<QLineEdit*> inputs;
    for (const InputRow& row : kInputs) {
        QLineEdit* field = ui.get()->*row.field;
        if (row.spinner != nullptr) {
            (ui.get()->*row.spinner)->Associate(field);
        }
        if (row.digitsOnly) {
            kit::AcceptDigitsOnly({field});
        }
        inputs.push_back(field);
    }

    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { btnCalculateClick(); });
    typed_->Watch(inputs);
    typed_->Results(ResultFields());
    for (const InputRow& row : kInputs) {
        if (row.recomputes) {
            connect(ui.get()->*row.field, &QLineEdit::textChanged, this, &Tsurveyplan::btnCalculateClick);
        }
    }
    connect(ui->btnCalculate, &QPushButton::clicked, this, &Tsurveyplan::btnCalculateClick);
    connect(ui->rbnKnots, &QRadioButton::clicked, this, &Tsurveyplan::btnCalculateClick);
    connect(ui->rbnMsec, &QRadioButton::clicked, this, &Tsurveyplan::btnCalculateClick);
    for (const SystemButton button : kSystemButtons) {
        QRadioButton* item = ui.get()->*button;
        connect(item, &QRadioButton::clicked, this, &Tsurveyplan::rg_Select_system_groupClick);
        item->installEventFilter(this); // the list losing the focus computes
    }
    connect(ui->Button1, &QPushButton::clicked, this, &Tsurveyplan::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &Tsurveyplan::Button2Click);
    connect(ui->btnExit, &QPushButton::clicked, this, &Tsurveyplan::btnExitClick);
    connect(ui->btnSurveyLines, &QPushButton::clicked, this, &Tsurveyplan::btnSurveyLinesClick);
    ui->Max_pingrate->installEventFilter(this);
    ui->pnlIntro->installEventFilter(this);
    ui->pnlMandatory->installEventFilter(this);

    btnCalculateClick();
}

Tsurveyplan::~Tsurveyplan() = default;

bool Tsurveyplan::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == surface_) {
            // A click on the window's own background or its diagrams, not on a control.
            const auto* click = static_cast<QMouseEvent*>(event);
            const QWidget* under = surface_->childAt(click->position().toPoint());
            if (click->button() == Qt::LeftButton && (under == nullptr || under == ui->diagramView)) {
                btnCalculateClick();
            }
            return false;
        }
        if (watched == ui->pnlIntro) {
            ui->pnlIntro->hide();
            return true;
        }
        if (watched == ui->Max_pingrate || watched == ui->pnlMandatory) {
            btnCalculateClick();
        }
    } else if (event->type() == QEvent::FocusOut && qobject_cast<QRadioButton*>(watched) != nullptr &&
               watched->parent() == ui->rg_Select_system_group) {
        // Only the surveyor moving on computes: a message box of the
        // computation takes the focus too, and would show every message twice.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            btnCalculateClick();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tsurveyplan::btnCalculateClick() { recompute_.Request(); }

int Tsurveyplan::ReadWhole(QLineEdit* field, int& last, const char* replacement, const QString& message) {
    std::int32_t value = 0;
    if (common::TryParseInt(typed_->Text(field).toStdString(), value)) {
        last = value;
        return value;
    }
    if (replacement != nullptr) {
        typed_->Show(field, QString::fromLatin1(replacement));
        last = common::ParseInt(replacement);
    } else {
        typed_->Show(field, QString());
    }
    common::ShowMessage(message);
    return last;
}

double Tsurveyplan::ReadDecimal(QLineEdit* field, double& last, const QString& message) {
    double value = 0;
    if (common::TryParseFloat(typed_->Text(field).toStdString(), value)) {
        last = value;
        return value;
    }
    typed_->Show(field, QString());
    common::ShowMessage(message);
    return last;
}

bool Tsurveyplan::Calculate() {
    bool done = false;
    common::RunGuarded([&] {
        if (typed_->Text(ui->edtFreq).isEmpty()) {
            typed_->Show(ui->edtFreq, QStringLiteral("300"));
        }
        const int frequency = common::ParseInt(typed_->Text(ui->edtFreq).toStdString());
        const lineplan::BeamWidthTexts widths = lineplan::WorkingBeamWidths(system_, frequency);
        typed_->Show(ui->edtAlongbeam, QString::fromStdString(widths.along));
        typed_->Show(ui->edtAcrossbeam, QString::fromStdString(widths.across));

        for (QWidget* caption :
             {static_cast<QWidget*>(ui->lblRightCoverage), static_cast<QWidget*>(ui->lblRightRange),
              static_cast<QWidget*>(ui->lblRightSpeed), static_cast<QWidget*>(ui->lblRightSpacing),
              static_cast<QWidget*>(ui->lblRightOverlap), static_cast<QWidget*>(ui->img_TitleLogo)}) {
            caption->show();
        }
        kit::SetTextColor(ui->edtSwathwidth, Qt::black);

        lineplan::PlannerInput in;
        in.minDepth = ReadWhole(ui->edtAltitude, lastMinDepth_, nullptr,
                                Two("Invallid argument for Altitude", "Use positive Integers "));
        in.overlap = ReadDecimal(ui->edtPercent_overlap, lastOverlap_,
                                 Two("Invallid argument for Line Overlap", "Use positive numbers "));
        in.maxDepth = ReadWhole(ui->edtMaximum_depth, lastMaxDepth_, nullptr,
                                Two("Invallid argument for Max Depth", "Use positive integers"));
        if (in.maxDepth < in.minDepth) {
            in.maxDepth = in.minDepth;
            lastMaxDepth_ = in.minDepth;
            typed_->Show(ui->edtMaximum_depth, QString::number(in.minDepth));
        }
        in.swath = ReadWhole(ui->edtSwathwidth, lastSwath_, nullptr,
                             Two("Invallid argument for Swathe Width", "Use positive integers"));
        in.maxRange = ReadWhole(ui->Max_range, lastRange_, "450",
                                Two("Invallid argument for Max Range Setting", "Use positive integers"));
        in.maxPingRate = ReadWhole(ui->Max_pingrate, lastPingRate_, "40",
                                   Two("Invallid argument for Ping Rate", "Use positive integers"));
        in.alongCoverage = ReadWhole(ui->Min_alongtrack_coverage, lastCoverage_, "25",
                                     Two("Invallid argument for Along Track Coverage", "Use positive integers"));
        in.soundVelocity = ReadWhole(ui->Soundvelocity, lastSoundVelocity_, "1460",
                                     Two("Invallid argument for Soundvelocity", "Use positive integers"));
        // The shown, rounded widths are the ones planned with.
        in.alongBeam = common::ParseFloat(typed_->Text(ui->edtAlongbeam).toStdString());
        in.acrossBeam = common::ParseFloat(typed_->Text(ui->edtAcrossbeam).toStdString());
        in.lineSpacing = ReadWhole(ui->edtLinespace, lastSpacing_, "100",
                                   Two("Invallid argument for Line Space", "Use positive Integers "));
        in.speed = common::ParseFloat(typed_->Text(ui->edtSpeed_input).toStdString());
        in.knots = ui->rbnKnots->isChecked();
        in.minDepthText = typed_->Text(ui->edtAltitude).toStdString();
        in.maxDepthText = typed_->Text(ui->edtMaximum_depth).toStdString();

        const lineplan::PlanRun run = lineplan::ComputeLinePlan(in);
        for (const std::string& message : run.messages) {
            common::ShowMessage(QString::fromStdString(message));
        }
        if (!run.result) {
            ClearResults();
        } else {
            Show(*run.result);
            ui->diagramView->SetDiagrams(lineplan::ComputeDiagrams(*run.result));
        }
        done = true;
    });
    return done;
}

// A computation that stopped at a range message leaves no plan for the inputs
// shown: the figures of the last plan would read as if they belonged to them,
// on screen and in the report.
std::vector<QWidget*> Tsurveyplan::ResultFields() const {
    return {ui->No_5,
            ui->No_6,
            ui->No_7,
            ui->No_15,
            ui->Worst_along,
            ui->lblBeamNo15,
            ui->lblBeamWorstAlong,
            ui->No_14,
            ui->Suggested_rangesetting,
            ui->Maxrangesetting,
            ui->lblAlongRange,
            ui->lblPingRange,
            ui->No_16,
            ui->No_17,
            ui->Max_linespacing,
            ui->Max_speed,
            ui->Swath_maxdepth,
            ui->Swath_mindepth,
            ui->Cover_maxdepth,
            ui->Cover_mindepth};
}

void Tsurveyplan::ClearResults() {
    const QString none = QStringLiteral("\u2014");
    for (QWidget* result : ResultFields()) {
        typed_->Show(result, none);
    }
    // The depths beside them are the ones asked for, which the range cannot reach.
    const QString minDepth = typed_->Text(ui->edtAltitude) + QStringLiteral(" metres");
    const QString maxDepth = typed_->Text(ui->edtMaximum_depth) + QStringLiteral(" metres");
    for (QLabel* label : {ui->lblDepthNo5, ui->lblDepthNo6, ui->lblDepthNo7}) {
        typed_->Show(label, minDepth);
    }
    for (QLabel* label : {ui->lblDepthNo15, ui->lblDepthWorstAlong}) {
        typed_->Show(label, maxDepth);
    }
    typed_->Show(ui->lblMaxDepthM, typed_->Text(ui->edtMaximum_depth) + QStringLiteral(" m"));
    typed_->Show(ui->lblMinDepthM, typed_->Text(ui->edtAltitude) + QStringLiteral(" m"));
    for (QLabel* caption :
         {ui->lblRightCoverage, ui->lblRightRange, ui->lblRightSpeed, ui->lblRightSpacing, ui->lblRightOverlap}) {
        caption->hide();
    }
    ui->diagramView->SetDiagrams(std::nullopt);
}

void Tsurveyplan::Show(const lineplan::PlannerResult& result) {
    const lineplan::PlannerTexts t = lineplan::ResultTexts(result);
    // The core's texts are std::string; the window's fields take QString.
    const auto shown = [](const std::string& text) { return QString::fromStdString(text); };
    const QString minDepth = typed_->Text(ui->edtAltitude) + QStringLiteral(" metres");
    const QString maxDepth = typed_->Text(ui->edtMaximum_depth) + QStringLiteral(" metres");
    const QString beam = shown(t.edge) + QStringLiteral(" \u00B0");
    const bool knots = ui->rbnKnots->isChecked();
    const QString speed =
        typed_->Text(ui->edtSpeed_input) + (knots ? QStringLiteral(" Knots") : QStringLiteral(" m/s"));

    typed_->Show(ui->No_5, shown(t.minSwath));
    typed_->Show(ui->lblDepthNo5, minDepth);
    typed_->Show(ui->No_6, shown(t.footprintAlong));
    typed_->Show(ui->No_7, shown(t.footprintAcross));
    typed_->Show(ui->lblDepthNo6, minDepth);
    typed_->Show(ui->lblDepthNo7, minDepth);
    typed_->Show(ui->No_15, shown(t.worstAcross));
    typed_->Show(ui->Worst_along, shown(t.worstAlong));
    typed_->Show(ui->lblDepthNo15, maxDepth);
    typed_->Show(ui->lblDepthWorstAlong, maxDepth);
    typed_->Show(ui->lblBeamNo15, beam);
    typed_->Show(ui->lblBeamWorstAlong, beam);
    typed_->Show(ui->No_14, shown(t.swathWidth) + QStringLiteral(" \u00B0"));
    const QString range = shown(t.range) + QStringLiteral(" metres");
    typed_->Show(ui->Suggested_rangesetting, range);
    typed_->Show(ui->Maxrangesetting, range);
    typed_->Show(ui->lblAlongRange, range);
    typed_->Show(ui->lblPingRange, range);
    typed_->Show(ui->No_16, shown(t.pingRate) + QStringLiteral(" p/sec"));
    typed_->Show(ui->lblPingSV, ui->Soundvelocity->text() + QStringLiteral(" m/s"));
    typed_->Show(ui->lblAlongSpeed, speed);
    typed_->Show(ui->No_17, shown(t.nadirCoverage) + QStringLiteral(" %"));
    typed_->Show(ui->Max_linespacing, shown(t.lineSpacing) + QStringLiteral(" metres"));
    typed_->Show(ui->lblOverlapPct, ui->edtPercent_overlap->text() + QStringLiteral(" %"));
    typed_->Show(ui->Max_speed, shown(t.maxSpeed) + (knots ? QStringLiteral(" Knots") : QStringLiteral(" m/s")));
    typed_->Show(ui->lblCoveragePct, ui->Min_alongtrack_coverage->text() + QStringLiteral(" %"));
    typed_->Show(ui->Swath_maxdepth, shown(t.maxSwathAtSpacing) + QStringLiteral(" m"));
    typed_->Show(ui->Swath_mindepth, shown(t.minSwathAtSpacing) + QStringLiteral(" m"));
    typed_->Show(ui->lblMaxDepthM, typed_->Text(ui->edtMaximum_depth) + QStringLiteral(" m"));
    typed_->Show(ui->lblMinDepthM, typed_->Text(ui->edtAltitude) + QStringLiteral(" m"));
    typed_->Show(ui->Cover_maxdepth, shown(t.maxCover) + QStringLiteral(" %"));
    typed_->Show(ui->Cover_mindepth, shown(t.minCover) + QStringLiteral(" %"));

    typed_->Show(ui->lblRightCoverage,
                 QStringLiteral("Along Track Coverage: ") + shown(t.nadirCoverage) + QStringLiteral(" %"));
    typed_->Show(ui->lblRightRange, QStringLiteral("Calculated for NADIR point for Range Setting: ") + shown(t.range) +
                                        QStringLiteral(" m"));
    typed_->Show(ui->lblRightSpeed, QStringLiteral("And selected speed") + ui->edtSpeed_input->text() +
                                        (knots ? QStringLiteral(" Knots   ") : QStringLiteral(" m/s         ")));
    typed_->Show(ui->lblRightSpacing,
                 QStringLiteral("Max Line Spacing:") + shown(t.lineSpacing) + QStringLiteral(" metres      "));
    typed_->Show(ui->lblRightOverlap, QStringLiteral("For ") + ui->edtPercent_overlap->text() +
                                          QStringLiteral(" % Swath Overlap at Depth ") + minDepth);
}

const std::optional<lineplan::PlannerDiagrams>& Tsurveyplan::Diagrams() const { return ui->diagramView->Diagrams(); }

void Tsurveyplan::rg_Select_system_groupClick() {
    std::optional<std::size_t> chosen;
    for (std::size_t row = 0; row < kSystemButtons.size(); ++row) {
        if ((ui.get()->*kSystemButtons[row])->isChecked()) {
            chosen = row;
        }
    }
    if (!chosen) {
        return;
    }
    system_ = chosen;
    const lineplan::PlannerSystem& system = lineplan::kPlannerSystems[*chosen];
    const survey::SonarModel& model = system.Model();
    ui->pnlIntro->hide();
    // The system's figures, written as one change: the plan is computed once, with all of them.
    kit::Recompute::Batch batch(recompute_);
    typed_->Write(ui->edtAltitude, QString::number(lineplan::kSystemDepth));
    typed_->Write(ui->edtMaximum_depth, QString::number(lineplan::kSystemDepth));
    ui->udbSwathwidth->SetRange(survey::kMinSector, model.maxSector);
    typed_->Write(ui->edtSwathwidth, QString::number(system.defaultSwath));
    typed_->Write(ui->Max_range, QString::number(system.maxRange));
    typed_->Write(ui->Max_pingrate, QString::number(lineplan::kSystemPingRate));
    ui->udbFreq->SetRange(model.freqMin, model.freqMax);
    typed_->Write(ui->edtFreq,
                  QString::fromLatin1(system.frequencyText.data(), qsizetype(system.frequencyText.size())));
    ui->lblSonar_type->setText(QString::fromLatin1(system.typeText.data(), qsizetype(system.typeText.size())));
    ui->lblSonar_type->show();
    ui->rg_Select_system_group->hide();
    btnCalculateClick();
}

void Tsurveyplan::ShowSystemList() {
    ui->rg_Select_system_group->show();
    typed_->Write(ui->Max_range, QStringLiteral("500"));
}

void Tsurveyplan::btnExitClick() { close(); }

void Tsurveyplan::btnSurveyLinesClick() {
    // The maximum line spacing as the planner shows it (whole metres), none
    // while the range cannot reach the depths; the speed in knots.
    const QString shown = ui->Max_linespacing->text().section(QLatin1Char(' '), 0, 0);
    double value = 0;
    const QString spacing = common::TryParseFloat(shown.toStdString(), value) ? shown : QString();
    QString knots;
    if (common::TryParseFloat(ui->edtSpeed_input->text().toStdString(), value)) {
        knots = ui->rbnKnots->isChecked()
                    ? ui->edtSpeed_input->text().trimmed()
                    : QString::fromStdString(common::FormatGeneral(std::nearbyint(value / survey::kKnot * 100) / 100));
    }
    auto* lines = new TSurveyLines();
    lines->setAttribute(Qt::WA_DeleteOnClose);
    lines->TakePlan(spacing, knots);
    kit::SetUpKeyboard(lines);
    lines->move(frameGeometry().topLeft() + QPoint(40, 40));
    lines->show();
}

void Tsurveyplan::SaveReport() {
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Save;
    request.caption = QStringLiteral("Save calculated values to text file");
    request.fileName = QStringLiteral("VelkorbCalc");
    request.folderKind = QStringLiteral("reports");
    request.filter = QStringLiteral("Only text files (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    lineplan::LinePlanReportTexts texts;
    texts.sonarType = ui->lblSonar_type->text();
    texts.minimumDepth = ui->edtAltitude->text();
    texts.maximumDepth = ui->edtMaximum_depth->text();
    texts.overlapPercent = ui->edtPercent_overlap->text();
    texts.swathAngle = ui->edtSwathwidth->text();
    texts.maxRange = ui->Max_range->text();
    texts.maxPingRate = ui->Max_pingrate->text();
    texts.soundVelocity = ui->Soundvelocity->text();
    texts.vesselSpeed = ui->lblAlongSpeed->text();
    texts.frequency = ui->edtFreq->text();
    texts.alongBeamWidth = ui->edtAlongbeam->text();
    texts.acrossBeamWidth = ui->edtAcrossbeam->text();
    texts.overlapShown = ui->lblOverlapPct->text();
    texts.maxLineSpacing = ui->Max_linespacing->text();
    texts.coverageShown = ui->lblCoveragePct->text();
    texts.maxSpeed = ui->Max_speed->text();
    texts.suggestedRange = ui->Suggested_rangesetting->text();
    texts.alongRange = ui->lblAlongRange->text();
    texts.alongCoverage = ui->No_17->text();
    texts.pingSoundVelocity = ui->lblPingSV->text();
    texts.pingRange = ui->Maxrangesetting->text();
    texts.pingRate = ui->No_16->text();
    texts.swathCoverageDepth = ui->lblDepthNo5->text();
    texts.swathCoverage = ui->No_5->text();
    texts.maxSwathWidth = ui->No_14->text();
    texts.acrossFootprintDepth = ui->lblDepthNo7->text();
    texts.acrossFootprint = ui->No_7->text();
    texts.alongFootprintDepth = ui->lblDepthNo6->text();
    texts.alongFootprint = ui->No_6->text();
    texts.worstAcrossDepth = ui->lblDepthNo15->text();
    texts.worstAcrossBeam = ui->lblBeamNo15->text();
    texts.worstAcrossFootprint = ui->No_15->text();
    texts.worstAlongDepth = ui->lblDepthWorstAlong->text();
    texts.worstAlongBeam = ui->lblBeamWorstAlong->text();
    texts.worstAlongFootprint = ui->Worst_along->text();
    texts.lineSpacing = ui->edtLinespace->text();
    texts.maximumDepthShown = ui->lblMaxDepthM->text();
    texts.swathAtMaximumDepth = ui->Swath_maxdepth->text();
    texts.minimumDepthShown = ui->lblMinDepthM->text();
    texts.swathAtMinimumDepth = ui->Swath_mindepth->text();
    texts.coverAtMaximumDepth = ui->Cover_maxdepth->text();
    texts.coverAtMinimumDepth = ui->Cover_mindepth->text();
    const QStringList lines = lineplan::LinePlanReportLines(texts);
    if (!common::ConfirmWindows1252(path, lines)) {
        return;
    }
    // Whole or not at all: a failed write leaves no half report behind.
    if (const common::FileResult written = common::WriteTextFile(path, lines); !written) {
        common::ShowError(written.Error());
    }
}
