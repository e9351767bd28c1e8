#include "coverage/TR2SonicCoverage.h"

#include "common/Angles.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"
#include "coverage/CoverageReport.h"
#include "coverage/SwathView.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "kit/UpDown.h"
#include "kit/WindowParts.h"
#include "ui_TR2SonicCoverage.h"

#include <array>
#include <numbers>

namespace {

QString Fixed(double value, int width, int decimals) {
    // A number text keeps at most its first eight characters.
    return QString::fromStdString(common::FormatFixed(value, width, decimals)).left(8);
}

int ReadInt(const QString& text) { return common::ParseInt(text.toStdString()); }

// The radio button of each row of survey::kSonarModels, in the rows' order.
using ModelButton = QRadioButton* Ui::TR2SonicCoverage::*;
constexpr std::array<ModelButton, survey::kSonarModels.size()> kModelButtons{
    &Ui::TR2SonicCoverage::rbnSonic2026, &Ui::TR2SonicCoverage::rbnSonic2026_100,
    &Ui::TR2SonicCoverage::rbnSonic2024, &Ui::TR2SonicCoverage::rbnSonic2024_UHR,
    &Ui::TR2SonicCoverage::rbnSonic2022, &Ui::TR2SonicCoverage::rbnSonic2022_UHR,
    &Ui::TR2SonicCoverage::rbnSonic2020, &Ui::TR2SonicCoverage::rbnSonic2020_UHR,
};

// The inputs, one row each: the field, its spinner (none: the field follows
// another and is typed by no one), whether it takes digits only (the angles
// that may turn either way take a sign) and its text in the report. Every
// change of one recomputes; a field with a spinner is typed by a person, with
// the typing rules of kit::TypedFields.
struct InputRow {
    QLineEdit* Ui::TR2SonicCoverage::*field;
    kit::UpDown* Ui::TR2SonicCoverage::*spinner;
    bool digitsOnly;
    QString coverage::CoverageReportTexts::*report; // nullptr: not in the report
};
const std::array<InputRow, 13> kInputs{{
    {&Ui::TR2SonicCoverage::edtSector, &Ui::TR2SonicCoverage::udbSonarSectorCoverage, true,
     &coverage::CoverageReportTexts::sector},
    {&Ui::TR2SonicCoverage::edtmount_ang, &Ui::TR2SonicCoverage::udbMount_ang, false,
     &coverage::CoverageReportTexts::mountingAngle},
    {&Ui::TR2SonicCoverage::edtRotate, &Ui::TR2SonicCoverage::udbRotate, false,
     &coverage::CoverageReportTexts::rotation},
    {&Ui::TR2SonicCoverage::edtRange_select, &Ui::TR2SonicCoverage::udbRange_select, true,
     &coverage::CoverageReportTexts::range},
    {&Ui::TR2SonicCoverage::edtSelect_distance, &Ui::TR2SonicCoverage::udbSelect_distance, true,
     &coverage::CoverageReportTexts::headSeparation},
    {&Ui::TR2SonicCoverage::edtAltitude, &Ui::TR2SonicCoverage::udbAltitude, true,
     &coverage::CoverageReportTexts::altitude},
    {&Ui::TR2SonicCoverage::edtFreq, &Ui::TR2SonicCoverage::udb_Freq, true, &coverage::CoverageReportTexts::frequency},
    {&Ui::TR2SonicCoverage::edtSpeed_input, &Ui::TR2SonicCoverage::udbSpeed_input, true,
     &coverage::CoverageReportTexts::speed},
    {&Ui::TR2SonicCoverage::edtSelect_Beam_Angle, &Ui::TR2SonicCoverage::udbSelect_Beam_Angle, true,
     &coverage::CoverageReportTexts::boxAngle},
    {&Ui::TR2SonicCoverage::edtLengthAlong, &Ui::TR2SonicCoverage::udbLengthAlong, true,
     &coverage::CoverageReportTexts::boxSide},
    {&Ui::TR2SonicCoverage::edtLengthAlong_cm, &Ui::TR2SonicCoverage::udbLengthAlong_cm, true,
     &coverage::CoverageReportTexts::centimetreBoxSide},
    {&Ui::TR2SonicCoverage::edtLengthAcross, nullptr, true, nullptr},
    {&Ui::TR2SonicCoverage::edtLengthAcross_cm, nullptr, true, nullptr},
}};

} // namespace

TR2SonicCoverage::TR2SonicCoverage(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TR2SonicCoverage>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    // Taller than a small laptop's screen: it scrolls there rather than cut off.
    kit::ScrollWhenSmaller(this);
    std::vector<QLineEdit*> typedInputs;
    for (const InputRow& row : kInputs) {
        QLineEdit* field = ui.get()->*row.field;
        if (row.spinner != nullptr) {
            (ui.get()->*row.spinner)->Associate(field);
            typedInputs.push_back(field);
        }
        if (row.digitsOnly) {
            kit::AcceptDigitsOnly({field});
        }
    }

    kit::ChartView* graph = ui->Coverage;
    kit::TitleSettings title;
    title.lines = {QStringLiteral("Swath Width vs. Depth")};
    title.font = kit::PixelFont(kit::kTahoma, 13, true);
    graph->SetTitle(title);
    graph->SetAxisTitles(QStringLiteral("Depth (m)"), QStringLiteral("Swath Width (m)"),
                         kit::PixelFont(kit::kTahoma, 11));
    graph->SetAxisFont(kit::PixelFont(kit::kTahoma, 10));
    kit::LegendSettings legend;
    legend.visible = true;
    legend.font = kit::PixelFont(kit::kTahoma, 11, true);
    legend.textInSeriesColor = true;
    legend.offset = QPointF(4, 0);
    graph->SetLegend(legend);
    kit::SeriesSettings dual;
    dual.title = QStringLiteral("Dual Head Coverage");
    dual.legendText = dual.title;
    dual.color = Qt::red;
    dual.width = 2;
    dual.hoverHighlight = true;
    graph->AddSeries(dual);
    kit::SeriesSettings single;
    single.title = QStringLiteral("Single Head Coverage");
    single.legendText = single.title;
    single.color = Qt::blue;
    single.width = 2;
    single.style = kit::LineStyle::Dashed;
    graph->AddSeries(single);

    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { CalculateClick(); });
    typed_->Watch(typedInputs);
    typed_->Results({ui->edtAlongbeam,     ui->edtAcrossbeam,     ui->lblCoverage_2,     ui->lblAtDepth,
                     ui->lblRangeSetting,  ui->lblSwathSector,    ui->edtNo_1,           ui->edtNo_4,
                     ui->edtNo_5,          ui->edtNo_6,           ui->edtNo_7,           ui->edtNo_14,
                     ui->lblW_acrossangle, ui->stPingrate,        ui->edt_1along_A1,     ui->edt_1across_A2,
                     ui->edt_1x1total_A3,  ui->edt_xalong_B1,     ui->edt_xacross_B2,    ui->edt_xxxtotal_B3,
                     ui->edt_xalong_C1_cm, ui->edt_xacross_C2_cm, ui->edt_xxxtotal_C3_cm});
    for (const InputRow& row : kInputs) {
        connect(ui.get()->*row.field, &QLineEdit::textChanged, this, &TR2SonicCoverage::CalculateClick);
    }
    for (QRadioButton* button : findChildren<QRadioButton*>()) {
        connect(button, &QRadioButton::clicked, this, &TR2SonicCoverage::CalculateClick);
    }
    connect(ui->btnZero, &QPushButton::clicked, this, &TR2SonicCoverage::btnZeroClick);
    connect(ui->btnExit, &QPushButton::clicked, this, &TR2SonicCoverage::btnExitClick);
    connect(ui->btnSavetoTxt, &QPushButton::clicked, this, &TR2SonicCoverage::btnSavetoTxtClick);

    CalculateClick();
}

TR2SonicCoverage::~TR2SonicCoverage() = default;

const survey::SonarModel& TR2SonicCoverage::SelectedModel() const {
    for (std::size_t row = 0; row < kModelButtons.size(); ++row) {
        if ((ui.get()->*kModelButtons[row])->isChecked()) {
            return survey::kSonarModels[row];
        }
    }
    return survey::kSonarModels[survey::kStartModel];
}

QLineEdit* TR2SonicCoverage::FieldOf(coverage::Field field) const {
    switch (field) {
    case coverage::Field::Frequency:
        return ui->edtFreq;
    case coverage::Field::Sector:
        return ui->edtSector;
    case coverage::Field::Rotation:
        return ui->edtRotate;
    case coverage::Field::Altitude:
        return ui->edtAltitude;
    case coverage::Field::Range:
        return ui->edtRange_select;
    }
    return ui->edtFreq;
}

void TR2SonicCoverage::CalculateClick() { recompute_.Request(); }

bool TR2SonicCoverage::Calculate() {
    bool done = false;
    common::RunGuarded([&] {
        const survey::SonarModel& model = SelectedModel();
        coverage::CoverageInput input;
        input.dual = ui->rbnDual_h->isChecked();

        // The altitude falls back quietly on the last one that could be read.
        std::int32_t altitude = 0;
        if (common::TryParseInt(typed_->Text(ui->edtAltitude).toStdString(), altitude)) {
            lastAltitude_ = altitude;
        } else {
            typed_->Show(ui->edtAltitude, QString());
        }
        input.altitude = lastAltitude_;
        if (typed_->Text(ui->edtmount_ang).isEmpty()) {
            typed_->Show(ui->edtmount_ang, QStringLiteral("0"));
        }
        if (typed_->Text(ui->edtFreq).isEmpty()) {
            typed_->Show(ui->edtFreq, QStringLiteral("300"));
        }
        if (typed_->Text(ui->edtSector).isEmpty()) {
            typed_->Show(ui->edtSector, QStringLiteral("130"));
        }
        if (typed_->Text(ui->edtRotate).isEmpty()) {
            typed_->Show(ui->edtRotate, QStringLiteral("0"));
        }
        std::int32_t sector = 0;
        if (common::TryParseInt(typed_->Text(ui->edtSector).toStdString(), sector) && sector < survey::kMinSector) {
            typed_->Show(ui->edtSector, QString::number(survey::kMinSector));
        }
        input.mounting = ReadInt(typed_->Text(ui->edtmount_ang));
        input.frequency = ReadInt(typed_->Text(ui->edtFreq));
        input.sector = ReadInt(typed_->Text(ui->edtSector));
        if (!input.dual) {
            input.rotation = ReadInt(typed_->Text(ui->edtRotate));
            const int limit = std::max(0, coverage::RotationLimit(model, input.sector));
            ui->udbRotate->SetRange(-limit, limit);
        }
        input.range = ReadInt(typed_->Text(ui->edtRange_select));
        double separation = 1.0;
        if (!typed_->Text(ui->edtSelect_distance).isEmpty()) {
            separation = common::ParseFloat(typed_->Text(ui->edtSelect_distance).toStdString());
        }
        input.separation = separation;

        typed_->Show(ui->lblSonar_type, QString::fromUtf8(model.typeText.data(), qsizetype(model.typeText.size())));
        const coverage::Preparation preparation =
            coverage::PrepareCoverage(input, model, typed_->Text(ui->edtFreq).toStdString());
        ui->udbSonarSectorCoverage->SetRange(survey::kMinSector, preparation.sectorMaximum);
        ui->udb_Freq->SetRange(preparation.frequencyMinimum, preparation.frequencyMaximum);
        ui->udbAltitude->SetMaximum(preparation.altitudeMaximum);
        for (const coverage::Adjustment& adjustment : preparation.adjustments) {
            if (adjustment.message) {
                common::ShowMessage(QString::fromStdString(adjustment.text));
            } else {
                typed_->Show(FieldOf(adjustment.field), QString::fromStdString(adjustment.text));
            }
        }
        if (input.altitude >= 1) {
            lastAltitude_ = input.altitude;
        }

        // The target boxes are square: the across side follows the along side.
        typed_->Show(ui->edtLengthAcross, typed_->Text(ui->edtLengthAlong));
        typed_->Show(ui->edtLengthAcross_cm, typed_->Text(ui->edtLengthAlong_cm));
        input.sampling = ui->rbnED->isChecked() ? coverage::Sampling::Equidistant : coverage::Sampling::Equiangle;
        if (input.sampling == coverage::Sampling::Equidistant) {
            typed_->Show(ui->edtSelect_Beam_Angle, QStringLiteral("0"));
        }
        input.box = ReadInt(typed_->Text(ui->edtLengthAlong));
        input.smallBox = ReadInt(typed_->Text(ui->edtLengthAlong_cm));
        input.speed = ReadInt(typed_->Text(ui->edtSpeed_input));
        input.speedUnit = ui->rbnMsec->isChecked() ? coverage::SpeedUnit::MetresPerSecond : coverage::SpeedUnit::Knots;
        input.boxAngle = ReadInt(typed_->Text(ui->edtSelect_Beam_Angle));
        input.soundings = ui->rbn1024->isChecked() ? 1024 : 256;
        lastSoundings_ = input.soundings;

        const coverage::CoverageResult result = coverage::ComputeCoverage(input, preparation.beamWidths);
        if (input.sampling == coverage::Sampling::Equiangle) {
            // The box's outer edge can lie anywhere across the swath.
            const int outer = result.worstEdgeDegrees;
            ui->udbSelect_Beam_Angle->SetRange(std::max(0, outer - input.sector), outer);
        }
        ShowResult(input, result);
        ShowMode(input.dual);

        const double half = input.sector * std::numbers::pi / 360.0;
        const int rotation = input.dual ? 0 : input.rotation;
        ui->swathView->SetPicture(coverage::ComputeSwathPicture(
            half, (input.mounting + rotation) * common::kRadiansPerDegree,
            std::abs(input.mounting) * common::kRadiansPerDegree, input.dual, input.mounting < 0));
        FillGraph(input, result);
        done = true;
    });
    return done;
}

void TR2SonicCoverage::ShowResult(const coverage::CoverageInput& input, const coverage::CoverageResult& result) {
    typed_->Show(ui->edtAlongbeam, Fixed(result.beamWidths.along, 4, 1) + QStringLiteral(" \u00B0"));
    typed_->Show(ui->edtAcrossbeam, Fixed(result.beamWidths.across, 4, 1) + QStringLiteral(" \u00B0"));
    typed_->Show(ui->lblCoverage_2, QString::fromStdString(common::FormatFixed(result.ratio, 0, 1)));
    typed_->Show(ui->lbl_Dual_or_single, input.dual ? QStringLiteral("(Dual Head)") : QStringLiteral("(Single Head)"));
    typed_->Show(ui->lblAtDepth, typed_->Text(ui->edtAltitude) + QStringLiteral(" m"));
    typed_->Show(ui->lblRangeSetting, typed_->Text(ui->edtRange_select) + QStringLiteral(" m"));
    typed_->Show(ui->lblSwathSector, typed_->Text(ui->edtSector) + QStringLiteral(" \u00B0"));
    if (input.dual) {
        typed_->Show(ui->edtNo_1, Fixed(result.dual, 4, 0));
        typed_->Show(ui->edtNo_4, result.overlap < 0 ? QStringLiteral("No Overlap") : Fixed(result.overlap, 4, 0));
    }
    typed_->Show(ui->edtNo_5, Fixed(result.single, 4, 0));
    if (result.nadirCovered) {
        typed_->Show(ui->edtNo_6, Fixed(result.footprintAlong, 4, 2));
        typed_->Show(ui->edtNo_7, Fixed(result.footprintAcross, 4, 2));
    } else {
        typed_->Show(ui->edtNo_6, QStringLiteral("No coverage"));
        typed_->Show(ui->edtNo_7, QStringLiteral("No coverage"));
    }
    typed_->Show(ui->lblW_acrossangle, QString::number(result.worstEdgeDegrees));
    typed_->Show(ui->edtNo_14, Fixed(result.footprintWorst, 4, 2));
    typed_->Show(ui->stPingrate, Fixed(result.pingRate, 2, 1) + QStringLiteral(" p/s"));
    const std::array<QLineEdit*, 9> hits{ui->edt_1along_A1,    ui->edt_1across_A2,    ui->edt_1x1total_A3,
                                         ui->edt_xalong_B1,    ui->edt_xacross_B2,    ui->edt_xxxtotal_B3,
                                         ui->edt_xalong_C1_cm, ui->edt_xacross_C2_cm, ui->edt_xxxtotal_C3_cm};
    const std::array<long long, 9> counts{result.hits.one[0],      result.hits.one[1],      result.hits.one[2],
                                          result.hits.box[0],      result.hits.box[1],      result.hits.box[2],
                                          result.hits.smallBox[0], result.hits.smallBox[1], result.hits.smallBox[2]};
    for (std::size_t i = 0; i < hits.size(); ++i) {
        typed_->Show(hits[i], QString::number(counts[i]));
    }
    typed_->Show(ui->lblmissionmode, input.sampling == coverage::Sampling::Equidistant
                                         ? QStringLiteral(" Equidistant (ED)")
                                         : QStringLiteral(" Equiangle (EA)"));
}

void TR2SonicCoverage::ShowMode(bool dual) {
    if (dual) {
        typed_->Show(ui->edtRotate, QStringLiteral("0"));
    } else {
        typed_->Show(ui->edtNo_1, QString());
        typed_->Show(ui->edtNo_4, QString());
    }
    for (QWidget* rotation : {static_cast<QWidget*>(ui->edtRotate), static_cast<QWidget*>(ui->lblRotate),
                              static_cast<QWidget*>(ui->udbRotate)}) {
        rotation->setEnabled(!dual);
    }
    for (QWidget* twoHeads :
         {static_cast<QWidget*>(ui->edtNo_1), static_cast<QWidget*>(ui->lblNo_1), static_cast<QWidget*>(ui->edtNo_4),
          static_cast<QWidget*>(ui->lblNo_4), static_cast<QWidget*>(ui->lblSelect_distance),
          static_cast<QWidget*>(ui->edtSelect_distance), static_cast<QWidget*>(ui->udbSelect_distance)}) {
        twoHeads->setEnabled(dual);
    }
}

void TR2SonicCoverage::FillGraph(const coverage::CoverageInput& input, const coverage::CoverageResult& result) {
    const coverage::SwathGraphCurves curves = coverage::SwathGraph(input, result);
    kit::ChartBatch batch(ui->Coverage);
    kit::ChartSeries& dual = ui->Coverage->GetSeries(0);
    kit::ChartSeries& single = ui->Coverage->GetSeries(1);
    dual.Clear();
    single.Clear();
    for (const coverage::GraphPoint& point : curves.dual) {
        dual.AddXY(point.depth, point.width);
    }
    for (const coverage::GraphPoint& point : curves.single) {
        single.AddXY(point.depth, point.width);
    }
}

const coverage::SwathPicture& TR2SonicCoverage::Picture() const { return ui->swathView->Picture(); }

void TR2SonicCoverage::btnZeroClick() {
    kit::Recompute::Batch batch(recompute_);
    typed_->Write(ui->edtmount_ang, QStringLiteral("0"));
    typed_->Write(ui->edtRotate, QStringLiteral("0"));
}

void TR2SonicCoverage::btnExitClick() { close(); }

void TR2SonicCoverage::btnSavetoTxtClick() {
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Save;
    request.caption = QStringLiteral("Save Values to text file");
    request.fileName = QStringLiteral("SonicCalcutation.txt");
    request.folderKind = QStringLiteral("reports");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    coverage::ReportChoices choices;
    choices.dual = ui->rbnDual_h->isChecked();
    choices.knots = ui->rbnKnots->isChecked();
    choices.equiangle = ui->rbnEA->isChecked();
    choices.soundings = lastSoundings_;
    coverage::CoverageReportTexts texts;
    for (const InputRow& row : kInputs) {
        if (row.report != nullptr) {
            texts.*row.report = (ui.get()->*row.field)->text();
        }
    }
    texts.sonarType = ui->lblSonar_type->text();
    texts.alongBeamWidth = ui->edtAlongbeam->text();
    texts.acrossBeamWidth = ui->edtAcrossbeam->text();
    texts.missionMode = ui->lblmissionmode->text();
    texts.dualCoverage = ui->edtNo_1->text();
    texts.overlap = ui->edtNo_4->text();
    texts.singleCoverage = ui->edtNo_5->text();
    texts.alongFootprint = ui->edtNo_6->text();
    texts.acrossFootprint = ui->edtNo_7->text();
    texts.worstAcrossFootprint = ui->edtNo_14->text();
    texts.worstAcrossAngle = ui->lblW_acrossangle->text();
    texts.coverageRatio = ui->lblCoverage_2->text();
    texts.headMode = ui->lbl_Dual_or_single->text();
    texts.pingRate = ui->stPingrate->text();
    texts.metreBox = {ui->edt_1x1total_A3->text(), ui->edt_1along_A1->text(), ui->edt_1across_A2->text()};
    texts.box = {ui->edt_xxxtotal_B3->text(), ui->edt_xalong_B1->text(), ui->edt_xacross_B2->text()};
    texts.centimetreBox = {ui->edt_xxxtotal_C3_cm->text(), ui->edt_xalong_C1_cm->text(), ui->edt_xacross_C2_cm->text()};
    const QStringList lines = coverage::CoverageReportLines(texts, choices);
    if (!common::ConfirmWindows1252(path, lines)) {
        return;
    }
    // Whole or not at all: a failed write leaves no half report behind.
    if (const common::FileResult written = common::WriteTextFile(path, lines); !written) {
        common::ShowError(written.Error());
    }
}
