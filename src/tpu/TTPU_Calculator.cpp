#include "tpu/TTPU_Calculator.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"
#include "kit/ChartView.h"
#include "kit/Dialogs.h"
#include "kit/WindowParts.h"
#include "tpu/TpuAnalysis.h"
#include "tpu/TpuAnalysisPages.h"
#include "tpu/TpuModel.h"
#include "tpu/TpuPresets.h"
#include "tpu/TpuReport.h"
#include "tpu/TpuSettings.h"
#include "ui_TTPU_Calculator.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

// The series of one chart: the system's curve on each side, then a pair per
// survey order (starboard, then port), each order in its colour. Only the
// starboard series are listed in the legend; a port series is named after its
// pair, "… - Left", for the copied table.
struct SeriesRow {
    const char* name; // the order; nullptr for the system's curve, named after its chart
    QColor color;
};

const QColor kFuchsia(255, 0, 255);
const QColor kOlive(128, 128, 0);
const QColor kGreen(0, 128, 0);

const std::array<SeriesRow, 16> kSeries{{
    {nullptr, Qt::black},
    {nullptr, Qt::black},
    {"IHO Special", Qt::red},
    {"IHO Special", Qt::red},
    {"IHO Order 1", Qt::blue},
    {"IHO Order 1", Qt::blue},
    {"IHO Order 2", kGreen},
    {"IHO Order 2", kGreen},
    {"FSIS-44 Exclusive", Qt::black},
    {"FSIS-44 Exclusive", Qt::black},
    {"NL Order A", kFuchsia},
    {"NL Order A", kFuchsia},
    {"NL Order B", kOlive},
    {"NL Order B", kOlive},
    {"Orsted", kit::kNavy},
    {"Orsted", kit::kNavy},
}};

constexpr int kTvuChart = 0;
constexpr int kThuChart = 1;

// The first series of an order's pair.
int OrderSeries(std::size_t order) { return 2 + 2 * static_cast<int>(order); }

// IHO Order 2 is never drawn in the TVU chart after a computation: its TVU
// limit, a metre and more, would flatten every other curve against the axis.
constexpr std::size_t kIhoOrder2 = 2;

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The control of each of tpu::kFields, in its order: the window's half of the
// field table. Connecting, reading the inputs, the report and the settings
// file all go by it; the depth field stands for its twin on the main panel
// (SetDepth moves both).
struct FieldControl {
    tpu::Field field;
    QLineEdit* Ui::TTPU_Calculator::*control;
};
constexpr std::array<FieldControl, tpu::kFieldCount> kFieldControls{{
    {tpu::Field::Frequency, &Ui::TTPU_Calculator::edt_frq},
    {tpu::Field::SwathWidth, &Ui::TTPU_Calculator::edt_Swath_width},
    {tpu::Field::SonarXOffset, &Ui::TTPU_Calculator::edt_sonar_x_off},
    {tpu::Field::SonarYOffset, &Ui::TTPU_Calculator::edt_sonar_y_off},
    {tpu::Field::SonarZOffset, &Ui::TTPU_Calculator::edt_sonar_z_off},
    {tpu::Field::PulseLength, &Ui::TTPU_Calculator::edt_Pulse_duration},
    {tpu::Field::PatchRoll, &Ui::TTPU_Calculator::edt_Patch_roll},
    {tpu::Field::PatchPitch, &Ui::TTPU_Calculator::edt_Patch_pitch},
    {tpu::Field::PatchYaw, &Ui::TTPU_Calculator::edt_Patch_yaw},
    {tpu::Field::PositionHorizontal, &Ui::TTPU_Calculator::edt_pos_horizontal},
    {tpu::Field::PositionVertical, &Ui::TTPU_Calculator::edt_pos_vertical},
    {tpu::Field::PositionXOffset, &Ui::TTPU_Calculator::edt_pos_x_off},
    {tpu::Field::PositionYOffset, &Ui::TTPU_Calculator::edt_pos_y_off},
    {tpu::Field::PositionZOffset, &Ui::TTPU_Calculator::edt_pos_z_off},
    {tpu::Field::SdRoll, &Ui::TTPU_Calculator::edt_SD_Roll},
    {tpu::Field::SdPitch, &Ui::TTPU_Calculator::edt_SD_Pitch},
    {tpu::Field::SdHeave, &Ui::TTPU_Calculator::edt_SD_Heave},
    {tpu::Field::MotionXOffset, &Ui::TTPU_Calculator::edt_motion_x_off},
    {tpu::Field::MotionYOffset, &Ui::TTPU_Calculator::edt_motion_y_off},
    {tpu::Field::MotionZOffset, &Ui::TTPU_Calculator::edt_motion_z_off},
    {tpu::Field::SdDraft, &Ui::TTPU_Calculator::edt_SD_Draft},
    {tpu::Field::SdSquat, &Ui::TTPU_Calculator::edt_SD_Squat},
    {tpu::Field::SdSettlement, &Ui::TTPU_Calculator::edt_SD_Settlement},
    {tpu::Field::SdLoad, &Ui::TTPU_Calculator::edt_SD_Load},
    {tpu::Field::SoundVelocity, &Ui::TTPU_Calculator::edt_Soundvelocity},
    {tpu::Field::SdSvs, &Ui::TTPU_Calculator::edt_SD_SVS},
    {tpu::Field::SdSvp, &Ui::TTPU_Calculator::edt_SD_SVP},
    {tpu::Field::TidalSd, &Ui::TTPU_Calculator::edt_tidal_SD},
    {tpu::Field::MaxHeave, &Ui::TTPU_Calculator::edt_Max_heave},
    {tpu::Field::SdHeading, &Ui::TTPU_Calculator::edt_SD_Heading},
    {tpu::Field::Depth, &Ui::TTPU_Calculator::edt_Depth},
    {tpu::Field::SelectedSonar, &Ui::TTPU_Calculator::edt_Selected_sonar},
    {tpu::Field::SelectedMotion, &Ui::TTPU_Calculator::edt_Selected_Motion},
    {tpu::Field::SelectedHeading, &Ui::TTPU_Calculator::edt_Selected_Heading},
    {tpu::Field::Contractor, &Ui::TTPU_Calculator::edt_Contractor},
    {tpu::Field::Client, &Ui::TTPU_Calculator::edt_Client},
    {tpu::Field::Project, &Ui::TTPU_Calculator::edt_Project},
    {tpu::Field::Operator, &Ui::TTPU_Calculator::edt_Operator},
}};

constexpr bool InFieldOrder() {
    for (std::size_t index = 0; index < kFieldControls.size(); ++index) {
        if (kFieldControls[index].field != static_cast<tpu::Field>(index)) {
            return false;
        }
    }
    return true;
}
static_assert(InFieldOrder(), "kFieldControls gives each field its control, in the order of tpu::kFields");

// What the surveyor reads beside a field: its label (lbl_X for edt_X, the
// depth label for the second depth field) without its colon, or, where it has
// none, its name.
QString FieldCaption(const QLineEdit* field) {
    QString name = field->objectName().mid(4);
    name.remove(QRegularExpression(QStringLiteral("_main$")));
    const auto* label = field->window()->findChild<QLabel*>(QStringLiteral("lbl_") + name);
    QString caption = label != nullptr ? label->text().trimmed() : QString();
    if (caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption.isEmpty() ? field->objectName() : caption;
}

// The least room the window lays itself out for: a 1024 x 768 screen less a
// desktop's panel and the window's frame. Below it, it scrolls.
constexpr QSize kLeastRoom(1010, 680);

} // namespace

TTPU_Calculator::TTPU_Calculator(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TTPU_Calculator>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    // Wider and taller than a laptop's screen: below its design size the tabs
    // and charts give way first (LayOut), and only below the least room the
    // window scrolls rather than overlap.
    kit::ScrollWhenSmaller(this, kLeastRoom);
    kit::ScrollPagesWhenSmaller(ui->TPU_Setup);
    ui->pnlTPU_Right->parentWidget()->installEventFilter(this);
    ui->udb_Depth_main->Associate(ui->edt_Depth_main);
    ui->udb_Swath->Associate(ui->edt_Swath_width);
    ui->udb_Pulse_duration->Associate(ui->edt_Pulse_duration);
    ui->udb_frq->Associate(ui->edt_frq);
    ui->udb_Depth->Associate(ui->edt_Depth);
    shownDepth_ = ui->TrackBar1->value();
    charts_[kTvuChart] = ui->TVU_Calc_Chart;
    charts_[kThuChart] = ui->THU_Calc_Chart;
    BuildCharts();

    // The model's inputs: each change recomputes. The depth fields move the
    // track bar instead (connected below).
    std::vector<QLineEdit*> modelFields;
    for (const FieldControl& entry : kFieldControls) {
        if (tpu::RowOf(entry.field).IsInput()) {
            modelFields.push_back(ui.get()->*entry.control);
        }
    }
    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { RequestComputation(); });
    typed_->Watch(modelFields);
    typed_->Watch({ui->edt_Depth, ui->edt_Depth_main});
    typed_->Results({ui->edt_Max_TVU, ui->edt_Min_TVU, ui->edt_Max_THU, ui->edt_Min_THU});
    for (QLineEdit* field : modelFields) {
        connect(field, &QLineEdit::textChanged, this, &TTPU_Calculator::RequestComputation);
    }
    connect(ui->cbo_Select_sonar, &QComboBox::activated, this, &TTPU_Calculator::cbo_Select_sonarChange);
    connect(ui->cbo_Select_Motion, &QComboBox::activated, this, &TTPU_Calculator::cbo_Select_MotionChange);
    connect(ui->cbo_Select_Heading, &QComboBox::activated, this, &TTPU_Calculator::cbo_Select_HeadingChange);
    for (QRadioButton* button : {ui->rbn_aiding_RTK, ui->rbn_aiding_DGNSS}) {
        connect(button, &QRadioButton::clicked, this, &TTPU_Calculator::rdg_GNSS_AidingClick);
    }
    for (QRadioButton* button : {ui->rbn_antenna_2m, ui->rbn_antenna_4m}) {
        connect(button, &QRadioButton::clicked, this, &TTPU_Calculator::rdg_Antenna_separationClick);
    }
    for (QRadioButton* button : {ui->rbn_gnss_RTK, ui->rbn_gnss_DGNSS}) {
        connect(button, &QRadioButton::clicked, this, &TTPU_Calculator::rdg_gnss_modeClick);
    }
    connect(ui->Button4, &QPushButton::clicked, this, &TTPU_Calculator::Button4Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TTPU_Calculator::Button2Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TTPU_Calculator::Button5Click);
    connect(ui->btn_Print_PDF, &QPushButton::clicked, this, &TTPU_Calculator::btn_Print_PDFClick);
    // In the corner of the chart tabs' header, beside the tabs: a form cannot
    // place a corner widget, so it is made here.
    auto* exportSweep = new QPushButton(QStringLiteral("Export sweep\u2026"), ui->TPU_Graphs);
    exportSweep->setObjectName(QStringLiteral("btnExportSweep"));
    exportSweep->setToolTip(QStringLiteral("Every beam's TVU, THU and terms at this depth, as a CSV file"));
    ui->TPU_Graphs->setCornerWidget(exportSweep, Qt::TopRightCorner);
    connect(exportSweep, &QPushButton::clicked, this, &TTPU_Calculator::btnExportSweepClick);
    connect(ui->Button6, &QPushButton::clicked, this, &TTPU_Calculator::Button6Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TTPU_Calculator::Button7Click);

    connect(ui->TrackBar1, &QSlider::valueChanged, this, &TTPU_Calculator::TrackBar1Change);
    connect(ui->edt_Depth, &QLineEdit::textChanged, this, &TTPU_Calculator::edt_DepthChange);
    connect(ui->edt_Depth_main, &QLineEdit::textChanged, this, &TTPU_Calculator::edt_Depth_mainChange);
    // A depth finished is read as if it had been written whole: the track bar
    // takes it, and the field shows the depth the bar could take.
    for (QLineEdit* field : {ui->edt_Depth, ui->edt_Depth_main}) {
        connect(field, &QLineEdit::editingFinished, this, [this, field] { DepthFinished(field); });
    }
    // The spinners have stepped their field when these run.
    for (const kit::UpDown* spinner : {ui->udb_Depth, ui->udb_Depth_main}) {
        for (const QToolButton* arrow : {spinner->UpButton(), spinner->DownButton()}) {
            connect(arrow, &QToolButton::clicked, this, &TTPU_Calculator::udb_DepthClick);
        }
    }
    for (const QToolButton* arrow : {ui->udb_frq->UpButton(), ui->udb_frq->DownButton()}) {
        connect(arrow, &QToolButton::clicked, this, &TTPU_Calculator::udb_frqClick);
    }

    connect(ui->ckb_IHO_Special, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_IHO_SpecialClick);
    connect(ui->ckb_IHO_1, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_IHO_1Click);
    connect(ui->ckb_IHO_2, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_IHO_2Click);
    connect(ui->ckb_FSIS44, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_FSIS44Click);
    connect(ui->ckb_NL_A, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_NL_AClick);
    connect(ui->ckb_NL_B, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_NL_BClick);
    connect(ui->ckb_Orsted, &QCheckBox::clicked, this, &TTPU_Calculator::ckb_OrstedClick);

    FormCreate();
}

TTPU_Calculator::~TTPU_Calculator() = default;

void TTPU_Calculator::BuildCharts() {
    for (const int chart : {kTvuChart, kThuChart}) {
        kit::ChartView* view = charts_[chart];
        tpu::ApplyTpuChartLook(view, chart == kTvuChart ? QStringLiteral("TVU Calculation")
                                                        : QStringLiteral("THU Calculation"));
        // The sweep draws beam k - 1 at abscissa k, and its mirror at -k;
        // the copied table gives every beam its own angle, as the sweep's
        // export does.
        view->SetCopyXTitle(QStringLiteral("Beam angle (\u00B0)"));
        for (std::size_t s = 0; s < kSeries.size(); ++s) {
            const bool port = s % 2 == 1;
            const QString curve = chart == kTvuChart ? QStringLiteral("TVU") : QStringLiteral("THU");
            const QString name = kSeries[s].name != nullptr ? QString::fromLatin1(kSeries[s].name) : curve;
            kit::SeriesSettings series;
            if (port) {
                series.title = name + QStringLiteral(" - Left");
            } else {
                series.title = name;
                series.legendText = name;
            }
            series.copyXShift = port ? 1.0 : -1.0;
            series.color = kSeries[s].color;
            series.width = 3;
            series.style = s < 2 ? kit::LineStyle::Dotted : kit::LineStyle::Solid;
            series.hoverHighlight = s == 0;
            view->AddSeries(series);
        }
    }
    std::array<QColor, tpu::kOrderLimits.size()> colours{};
    for (std::size_t order = 0; order < colours.size(); ++order) {
        colours[order] = kSeries[static_cast<std::size_t>(OrderSeries(order))].color;
    }
    ui->tabOrderFit->SetOrderColours(colours);
}

void TTPU_Calculator::FormCreate() {
    kit::Recompute::Batch batch(recompute_);
    // Only the system's curves and the IHO Special Order are drawn at first.
    for (kit::ChartView* chart : charts_) {
        for (int s = 4; s < chart->SeriesCount(); ++s) {
            chart->GetSeries(s).SetActive(false);
        }
    }
    for (std::size_t order = 1; order < tpu::kOrderLimits.size(); ++order) {
        ui->tabOrderFit->ShowOrder(order, false);
    }
    {
        const QSignalBlocker sonar(ui->cbo_Select_sonar);
        ui->cbo_Select_sonar->setCurrentIndex(static_cast<int>(tpu::kStartSonar));
    }
    ApplySonarPreset(tpu::kStartSonar);
    ui->cbo_Select_Motion->setCurrentIndex(static_cast<int>(tpu::kStartMotion));
    ui->cbo_Select_Heading->setCurrentIndex(static_cast<int>(tpu::kStartHeading));
    ui->edt_Selected_sonar->setText(ui->cbo_Select_sonar->currentText());
    ui->edt_Selected_Motion->setText(FromUtf8(tpu::kMotionPresets[tpu::kStartMotion].selectedText));
    ui->edt_Selected_Heading->setText(FromUtf8(tpu::kHeadingPresets[tpu::kStartHeading].selectedText));
    RequestComputation();
    if (gnssModeDescription_.isEmpty()) {
        gnssModeDescription_ = FromUtf8(tpu::kGnssModes[0].description);
    }
}

// ---------------------------------------------------------------------------
// The computation

void TTPU_Calculator::RequestComputation() { recompute_.Request(); }

void TTPU_Calculator::Compute() {
    // The charts are drawn once, when the whole refill is written.
    kit::ChartBatch tvuBatch(charts_[kTvuChart]);
    kit::ChartBatch thuBatch(charts_[kThuChart]);
    for (kit::ChartView* chart : charts_) {
        for (int s = 0; s < chart->SeriesCount(); ++s) {
            chart->GetSeries(s).Clear();
            chart->GetSeries(s).SetColor(kSeries[static_cast<std::size_t>(s)].color);
        }
    }
    charts_[kTvuChart]->GetSeries(OrderSeries(kIhoOrder2)).SetActive(false);
    charts_[kTvuChart]->GetSeries(OrderSeries(kIhoOrder2) + 1).SetActive(false);

    // The field being read: when one cannot be read, the report names it.
    QLineEdit* reading = nullptr;
    fieldInError_.clear();
    inputError_.clear();
    try {
        // Read in the table's order: a field that cannot be read stops the
        // computation there, and what was written before it stays: the
        // beamwidths once the frequency and the swath are read, the RTK zeros
        // once the vessel figures and the tide are.
        tpu::TpuInputs in;
        in.referenceFrequency = referenceFrequency_;
        in.alongBeamwidth = alongBeamwidth_;
        in.acrossBeamwidth = acrossBeamwidth_;
        for (const FieldControl& entry : kFieldControls) {
            const tpu::FieldRow& row = tpu::RowOf(entry.field);
            if (!row.IsInput()) {
                continue;
            }
            reading = ui.get()->*entry.control;
            tpu::ReadInput(in, row, reading->text().toStdString());
            if (entry.field == tpu::Field::SwathWidth) {
                // A swath wider than a full turn (or narrower than none) is a typing
                // slip, not a set-up: it is said like any field that cannot be read.
                if (in.swathWidth < 0 || in.swathWidth > tpu::kWidestSwath) {
                    throw common::UserError(QStringLiteral("'%1' is not a swath width from 0 to %2 degrees")
                                                .arg(reading->text())
                                                .arg(tpu::kWidestSwath));
                }
                typed_->Show(ui->edtAlongbeam, QString::fromStdString(tpu::BeamwidthText(tpu::AlongBeamwidthAt(in))));
                typed_->Show(ui->edtAcrossbeam, QString::fromStdString(tpu::BeamwidthText(tpu::AcrossBeamwidthAt(in))));
            } else if (entry.field == tpu::Field::TidalSd) {
                // With RTK the height comes from the positioning, so the vessel's
                // draft, squat, settlement and load and the tide add nothing. The
                // zeros are written as they are used; they need no second run.
                if (GnssMode() == 0) {
                    for (QLineEdit* field : {ui->edt_SD_Draft, ui->edt_SD_Squat, ui->edt_SD_Settlement, ui->edt_SD_Load,
                                             ui->edt_tidal_SD}) {
                        typed_->Show(field, QStringLiteral("0"));
                    }
                    in.draft = in.squat = in.settlement = in.load = in.tidalSd = 0.0;
                }
                typed_->Show(ui->lbl_Date, QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
            }
        }

        const int depth = ui->TrackBar1->value();
        const auto swept = std::make_shared<const tpu::TpuSweep>(tpu::RunTpuSweep(in, depth));
        const tpu::TpuSweep& sweep = *swept;
        if (sweep.points.empty()) {
            ClearAnalysis();
            computed_.reset();
            return; // no pass: the results keep their texts, the charts stay empty
        }

        std::array<double, tpu::kOrderLimits.size()> tvuLimits{};
        std::array<double, tpu::kOrderLimits.size()> thuLimits{};
        for (std::size_t order = 0; order < tpu::kOrderLimits.size(); ++order) {
            tvuLimits[order] = tpu::TvuLimit(tpu::kOrderLimits[order], depth);
            thuLimits[order] = tpu::ThuLimit(tpu::kOrderLimits[order], depth);
        }
        for (const tpu::BeamPoint& point : sweep.points) {
            const int k = point.abscissa;
            for (const int chart : {kTvuChart, kThuChart}) {
                kit::ChartView* view = charts_[chart];
                const double value = chart == kTvuChart ? point.tvu : point.thu;
                view->GetSeries(0).AddXY(k, value);
                view->GetSeries(1).AddXY(-k, value);
                for (std::size_t order = 0; order < tpu::kOrderLimits.size(); ++order) {
                    const double limit = chart == kTvuChart ? tvuLimits[order] : thuLimits[order];
                    view->GetSeries(OrderSeries(order)).AddXY(k, limit);
                    view->GetSeries(OrderSeries(order) + 1).AddXY(-k, limit);
                }
            }
        }
        // Every pass writes the same limits and its own results; what stays is
        // the last pass, the outer beam.
        const std::array<QLabel*, 7> tvuLabels{ui->lbl_v1, ui->lbl_v2, ui->lbl_v3, ui->lbl_v4,
                                               ui->lbl_v5, ui->lbl_v6, ui->lbl_v7};
        const std::array<QLabel*, 7> thuLabels{ui->lbl_h1, ui->lbl_h2, ui->lbl_h3, ui->lbl_h4,
                                               ui->lbl_h5, ui->lbl_h6, ui->lbl_h7};
        for (std::size_t order = 0; order < tpu::kOrderLimits.size(); ++order) {
            typed_->Show(tvuLabels[order], QString::fromStdString(tpu::LimitText(tvuLimits[order])));
            typed_->Show(thuLabels[order], QString::fromStdString(tpu::LimitText(thuLimits[order])));
        }
        const tpu::BeamPoint& outer = sweep.points.back();
        typed_->Show(ui->edt_Max_TVU, QString::fromStdString(tpu::ResultText(outer.tvu)));
        typed_->Show(ui->edt_Min_TVU, QString::fromStdString(tpu::ResultText(sweep.nadir.tvu)));
        typed_->Show(ui->edt_Max_THU, QString::fromStdString(tpu::ResultText(outer.thu)));
        typed_->Show(ui->edt_Min_THU, QString::fromStdString(tpu::ResultText(sweep.nadir.thu)));

        // The analysis tabs read the beams this sweep evaluated.
        ui->tabErrorBudget->Show(swept, GnssMode() == 0);
        ui->tabOrderFit->Show(in, swept, ui->TrackBar1->maximum());
        computed_ = Computed{in, depth};
    } catch (const common::UserError& error) {
        inputError_ = QString::fromUtf8(error.what());
        fieldInError_ = reading != nullptr ? FieldCaption(reading) : QString();
        ClearAnalysis();
        common::ShowError(inputError_);
    } catch (const std::exception& fault) {
        // No report from results that were not computed.
        inputError_ = QString::fromUtf8(fault.what());
        fieldInError_.clear();
        ClearAnalysis();
        common::ShowFault(fault);
    }
}

void TTPU_Calculator::ClearAnalysis() {
    ui->tabOrderFit->Clear();
    ui->tabErrorBudget->Clear();
}

int TTPU_Calculator::GnssMode() const { return ui->rbn_gnss_DGNSS->isChecked() ? 1 : 0; }

// ---------------------------------------------------------------------------
// Equipment

namespace {

void ApplyGroupEffect(QGroupBox* group, QRadioButton* first, tpu::GroupEffect effect) {
    switch (effect) {
    case tpu::GroupEffect::NoChange:
        break;
    case tpu::GroupEffect::Disable:
        group->setEnabled(false);
        break;
    case tpu::GroupEffect::DisableFirst:
        group->setEnabled(false);
        first->setChecked(true);
        break;
    case tpu::GroupEffect::EnableFirst:
        group->setEnabled(true);
        first->setChecked(true);
        break;
    }
}

} // namespace

void TTPU_Calculator::ApplySonarPreset(std::size_t row) {
    const tpu::SonarPreset& sonar = tpu::kSonarPresets.at(row);
    if (!sonar.applies) {
        return;
    }
    ui->edt_Swath_width->setText(FromUtf8(sonar.swathText));
    ui->udb_Swath->SetRange(sonar.swathMinimum, sonar.swathMaximum);
    ui->udb_Swath->SetPosition(sonar.swathPosition);
    ui->edt_frq->setText(FromUtf8(sonar.frequencyText));
    ui->udb_frq->SetRange(sonar.frequencyMinimum, sonar.frequencyMaximum);
    referenceSonar_ = row;
    referenceFrequency_ = sonar.referenceFrequency;
    alongBeamwidth_ = sonar.alongBeamwidth;
    acrossBeamwidth_ = sonar.acrossBeamwidth;
    ui->lbl_Max_Depth->setText(QString::number(sonar.maximumDepth));
    // A shallower sonar pulls the depth up to its end; the track bar's change
    // then writes the depth fields.
    ui->TrackBar1->setMaximum(sonar.maximumDepth);
}

void TTPU_Calculator::cbo_Select_sonarChange() {
    kit::Recompute::Batch batch(recompute_);
    const int row = ui->cbo_Select_sonar->currentIndex();
    if (row >= 1 && row < static_cast<int>(tpu::kSonarPresets.size())) {
        ApplySonarPreset(static_cast<std::size_t>(row));
        RequestComputation(); // the reference figures are no field
    }
    ui->edt_Selected_sonar->setText(ui->cbo_Select_sonar->currentText());
}

void TTPU_Calculator::cbo_Select_MotionChange() {
    const int index = ui->cbo_Select_Motion->currentIndex();
    if (index < 0 || index >= static_cast<int>(tpu::kMotionPresets.size())) {
        return;
    }
    kit::Recompute::Batch batch(recompute_);
    const tpu::MotionPreset& motion = tpu::kMotionPresets[static_cast<std::size_t>(index)];
    ui->edt_Selected_Motion->setText(FromUtf8(motion.selectedText));
    ApplyGroupEffect(ui->rdg_GNSS_Aiding, ui->rbn_aiding_RTK, motion.aiding);
    ui->edt_SD_Roll->setText(FromUtf8(motion.roll));
    ui->edt_SD_Pitch->setText(FromUtf8(motion.pitch));
    ui->edt_SD_Heave->setText(FromUtf8(motion.heave));
    if (motion.headingIndex >= 0) {
        // Only the list's selection: the motion row writes the heading figures.
        ui->cbo_Select_Heading->setCurrentIndex(motion.headingIndex);
        ui->edt_Selected_Heading->setText(FromUtf8(motion.headingText));
        ui->edt_SD_Heading->setText(FromUtf8(motion.headingSd));
    }
    ApplyGroupEffect(ui->rdg_Antenna_separation, ui->rbn_antenna_2m, motion.antenna);
}

void TTPU_Calculator::cbo_Select_HeadingChange() {
    const int index = ui->cbo_Select_Heading->currentIndex();
    if (index < 0 || index >= static_cast<int>(tpu::kHeadingPresets.size())) {
        return;
    }
    kit::Recompute::Batch batch(recompute_);
    const tpu::HeadingPreset& heading = tpu::kHeadingPresets[static_cast<std::size_t>(index)];
    ui->edt_Selected_Heading->setText(FromUtf8(heading.selectedText));
    ui->edt_SD_Heading->setText(FromUtf8(heading.headingSd));
    ApplyGroupEffect(ui->rdg_Antenna_separation, ui->rbn_antenna_2m, heading.antenna);
}

void TTPU_Calculator::rdg_GNSS_AidingClick() {
    kit::Recompute::Batch batch(recompute_);
    for (const tpu::AidingFigures& aided : tpu::kAidingFigures) {
        if (aided.motionIndex == ui->cbo_Select_Motion->currentIndex()) {
            const QString sd = FromUtf8(ui->rbn_aiding_DGNSS->isChecked() ? aided.dgnss : aided.rtk);
            ui->edt_SD_Roll->setText(sd);
            ui->edt_SD_Pitch->setText(sd);
        }
    }
}

void TTPU_Calculator::rdg_Antenna_separationClick() {
    kit::Recompute::Batch batch(recompute_);
    for (const tpu::AntennaFigures& antennas : tpu::kAntennaFigures) {
        if (antennas.headingIndex == ui->cbo_Select_Heading->currentIndex()) {
            ui->edt_SD_Heading->setText(
                FromUtf8(ui->rbn_antenna_4m->isChecked() ? antennas.fourMetres : antennas.twoMetres));
        }
    }
}

void TTPU_Calculator::rdg_gnss_modeClick() {
    kit::Recompute::Batch batch(recompute_);
    const tpu::GnssModeFigures& mode = tpu::kGnssModes[static_cast<std::size_t>(GnssMode())];
    ui->edt_pos_vertical->setEnabled(mode.heightFieldsEnabled);
    ui->edt_pos_z_off->setEnabled(mode.heightFieldsEnabled);
    ui->edt_pos_z_off->setText(FromUtf8(mode.zOffset));
    ui->edt_pos_horizontal->setText(FromUtf8(mode.horizontal));
    ui->edt_pos_vertical->setText(FromUtf8(mode.vertical));
    gnssModeDescription_ = FromUtf8(mode.description);
    if (mode.vesselDefaults) {
        SetVesselDefaults();
    }
}

void TTPU_Calculator::SetVesselDefaults() {
    kit::Recompute::Batch batch(recompute_);
    ui->edt_SD_Draft->setText(FromUtf8(tpu::kVesselDefaults.draft));
    ui->edt_SD_Squat->setText(FromUtf8(tpu::kVesselDefaults.squat));
    ui->edt_SD_Settlement->setText(FromUtf8(tpu::kVesselDefaults.settlement));
    ui->edt_SD_Load->setText(FromUtf8(tpu::kVesselDefaults.load));
}

// ---------------------------------------------------------------------------
// Depth

void TTPU_Calculator::TrackBar1Change() { SetDepth(ui->TrackBar1->value()); }

void TTPU_Calculator::edt_DepthChange() { DepthFieldChange(ui->edt_Depth->text()); }

void TTPU_Calculator::edt_Depth_mainChange() { DepthFieldChange(ui->edt_Depth_main->text()); }

void TTPU_Calculator::SetDepth(int depth) {
    kit::Recompute::Batch batch(recompute_);
    {
        // The bar holds a depth beyond the sonar's reach at its end.
        const QSignalBlocker quiet(ui->TrackBar1);
        ui->TrackBar1->setValue(depth);
    }
    if (ui->TrackBar1->value() != shownDepth_) {
        shownDepth_ = ui->TrackBar1->value();
        const QString text = QString::number(shownDepth_);
        ui->lbl_scroll_depth->setText(text + QStringLiteral(" m"));
        const QScopedValueRollback writing(writingDepth_, true);
        typed_->Write(ui->edt_Depth, text);
        typed_->Write(ui->edt_Depth_main, text);
    }
    RequestComputation();
}

void TTPU_Calculator::DepthFinished(QLineEdit* field) {
    std::int32_t depth = 0;
    if (!common::TryParseInt(field->text().toStdString(), depth)) {
        DepthFieldChange(field->text()); // says once why it cannot be read
    } else if (depth != ui->TrackBar1->value()) {
        SetDepth(depth);
        field->setText(QString::number(ui->TrackBar1->value()));
    }
}

void TTPU_Calculator::DepthFieldChange(const QString& text) {
    if (writingDepth_) {
        return; // the depth's own controls, already in step
    }
    kit::Recompute::Batch batch(recompute_);
    typed_->Run([&] {
        bool read = false;
        common::RunGuarded([&] {
            SetDepth(common::ParseInt(text.toStdString()));
            read = true;
        });
        return read;
    });
}

void TTPU_Calculator::udb_DepthClick() {
    ui->udb_Depth_main->SetRange(ui->TrackBar1->minimum(), ui->TrackBar1->maximum());
}

void TTPU_Calculator::udb_frqClick() { RequestComputation(); }

// ---------------------------------------------------------------------------
// Survey orders shown

void TTPU_Calculator::ShowOrder(std::size_t order) {
    static const std::array<QCheckBox * Ui::TTPU_Calculator::*, 7> kBoxes{
        &Ui::TTPU_Calculator::ckb_IHO_Special, &Ui::TTPU_Calculator::ckb_IHO_1, &Ui::TTPU_Calculator::ckb_IHO_2,
        &Ui::TTPU_Calculator::ckb_FSIS44,      &Ui::TTPU_Calculator::ckb_NL_A,  &Ui::TTPU_Calculator::ckb_NL_B,
        &Ui::TTPU_Calculator::ckb_Orsted};
    const bool shown = ((*ui).*kBoxes[order])->isChecked();
    for (kit::ChartView* chart : charts_) {
        chart->GetSeries(OrderSeries(order)).SetActive(shown);
        chart->GetSeries(OrderSeries(order) + 1).SetActive(shown);
    }
    ui->tabOrderFit->ShowOrder(order, shown);
}

void TTPU_Calculator::ckb_IHO_SpecialClick() { ShowOrder(0); }
void TTPU_Calculator::ckb_IHO_1Click() { ShowOrder(1); }
void TTPU_Calculator::ckb_IHO_2Click() { ShowOrder(2); }
void TTPU_Calculator::ckb_FSIS44Click() { ShowOrder(3); }
void TTPU_Calculator::ckb_NL_AClick() { ShowOrder(4); }
void TTPU_Calculator::ckb_NL_BClick() { ShowOrder(5); }
void TTPU_Calculator::ckb_OrstedClick() { ShowOrder(6); }

// ---------------------------------------------------------------------------
// The window

// ---------------------------------------------------------------------------
// Report

QImage TTPU_Calculator::ChartsPicture() {
    // The report shows the TVU and THU charts as drawn now, whichever tab the
    // surveyor is looking at, and nothing of the screen around them: the tab
    // header and the sweep's button belong to the window, not to the page
    // the client reads.
    QTabWidget* tabs = ui->TPU_Graphs;
    QWidget* looking = tabs->currentWidget();
    // A page in view is laid out at the size the charts are drawn at.
    tabs->setCurrentWidget(ui->TPU_Graph);
    ui->TVU_Calc_Chart->Flush();
    ui->THU_Calc_Chart->Flush();
    const QRect charts = ui->TVU_Calc_Chart->geometry().united(ui->THU_Calc_Chart->geometry());
    const QImage picture = ui->TPU_Graph->grab(charts).toImage();
    tabs->setCurrentWidget(looking);
    return picture;
}

bool TTPU_Calculator::RefusedWhileInputError(const QString& action) const {
    // Results that belong to other inputs would mislead the client.
    QString field = fieldInError_;
    QString error = inputError_;
    // The depth fields move the track bar and are no input of the computation
    // itself: one that cannot be read leaves the results of the last depth
    // beside a text that is no depth.
    for (const QLineEdit* depth : {ui->edt_Depth, ui->edt_Depth_main}) {
        if (!error.isEmpty()) {
            break;
        }
        try {
            common::ParseInt(depth->text().toStdString());
        } catch (const common::UserError& unreadable) {
            field = FieldCaption(depth);
            error = QString::fromUtf8(unreadable.what());
        }
    }
    if (error.isEmpty()) {
        return false;
    }
    common::ShowError(field.isEmpty() ? QStringLiteral("Correct the inputs before %1: %2").arg(action, error)
                                      : QStringLiteral("Correct \"%1\" before %2: %3").arg(field, action, error));
    return true;
}

void TTPU_Calculator::btnExportSweepClick() {
    if (RefusedWhileInputError(QStringLiteral("exporting the sweep")) || !computed_) {
        return;
    }
    kit::FileDialogRequest request;
    request.caption = QStringLiteral("Export sweep");
    request.filter = QStringLiteral("CSV files (*.csv)");
    request.defaultSuffix = QStringLiteral("csv");
    const QString project = kit::FileNameFrom(ui->edt_Project->text());
    request.fileName = (project.isEmpty() ? QString() : project + QLatin1Char(' ')) + QStringLiteral("TPU_Sweep.csv");
    request.folderKind = QStringLiteral("sweeps");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    // The installation the beams are of, as the window shows it, above the table.
    tpu::SweepContext context;
    const auto figure = [&context](const QString& caption, const QString& text) {
        context.figures.emplace_back(caption.toStdString(), text.toStdString());
    };
    figure(QStringLiteral("Sonar"), ui->cbo_Select_sonar->currentText());
    figure(QStringLiteral("GNSS mode"), gnssModeDescription_);
    figure(QStringLiteral("Depth (m)"), QString::number(computed_->depth));
    // Each field under its tab's name: three tabs have an "SD X-offset".
    // In the order of the settings file's first lines, each field once.
    std::array<bool, tpu::kFieldCount> listed{};
    for (const tpu::SettingsLine& line : tpu::kSettingsLines) {
        if (line.field == tpu::Field::Depth || std::exchange(listed[tpu::IndexOf(line.field)], true)) {
            continue;
        }
        QLineEdit* edit = ControlOf(line.field);
        QWidget* page = edit;
        while (page != nullptr && ui->TPU_Setup->indexOf(page) < 0) {
            page = page->parentWidget();
        }
        const QString tab =
            page != nullptr ? ui->TPU_Setup->tabText(ui->TPU_Setup->indexOf(page)).remove('&') : QString();
        figure(tab + QStringLiteral(": ") + FieldCaption(edit), edit->text());
    }
    const std::array<QCheckBox*, tpu::kOrderLimits.size()> ticks{
        ui->ckb_IHO_Special, ui->ckb_IHO_1, ui->ckb_IHO_2, ui->ckb_FSIS44, ui->ckb_NL_A, ui->ckb_NL_B, ui->ckb_Orsted};
    for (std::size_t order = 0; order < ticks.size(); ++order) {
        if (ticks[order]->isChecked()) {
            context.orders.push_back(order);
        }
    }
    QStringList lines;
    for (const std::string& line : tpu::SweepTable(computed_->inputs, computed_->depth, context)) {
        lines << QString::fromStdString(line);
    }
    // Written whole or not at all: an older export of that name stays until the new one is complete.
    if (const common::FileResult written = common::WriteTextFile(path, lines); !written) {
        common::ShowError(written.Error());
    }
}

void TTPU_Calculator::btn_Print_PDFClick() {
    if (RefusedWhileInputError(QStringLiteral("printing the report"))) {
        return;
    }
    const QImage charts = ChartsPicture();
    tpu::ReportTexts texts;
    QStringList names; // the typed names, in the table's order
    for (const FieldControl& entry : kFieldControls) {
        const QString text = (ui.get()->*entry.control)->text();
        texts.fields[tpu::IndexOf(entry.field)] = text;
        if (tpu::RowOf(entry.field).kind == tpu::Kind::Text) {
            names << text;
        }
    }
    texts.maxTvu = ui->edt_Max_TVU->text();
    texts.minTvu = ui->edt_Min_TVU->text();
    texts.maxThu = ui->edt_Max_THU->text();
    texts.minThu = ui->edt_Min_THU->text();
    texts.acrossBeamWidth = ui->edtAcrossbeam->text();
    texts.alongBeamWidth = ui->edtAlongbeam->text();
    texts.date = ui->lbl_Date->text();
    texts.positioning = gnssModeDescription_;
    texts.dgnss = GnssMode() == 1;
    // The number fields are readable, so only the typed names can hold what
    // the report's single-byte text cannot.
    if (!common::ConfirmWindows1252(QString::fromLatin1(tpu::kReportFile), names << texts.date)) {
        return;
    }
    if (const common::FileResult written = tpu::WriteTpuReport(charts, texts); !written) {
        common::ShowError(written.Error());
        return;
    }
    kit::OpenInDesktop(QDir::current().absoluteFilePath(QString::fromLatin1(tpu::kReportFile)));
}

// ---------------------------------------------------------------------------
// Settings file

QLineEdit* TTPU_Calculator::ControlOf(tpu::Field field) const {
    return ui.get()->*kFieldControls[tpu::IndexOf(field)].control;
}

std::vector<std::pair<tpu::Field, QLineEdit*>> TTPU_Calculator::FieldControls() const {
    std::vector<std::pair<tpu::Field, QLineEdit*>> controls;
    for (const FieldControl& entry : kFieldControls) {
        controls.emplace_back(entry.field, ui.get()->*entry.control);
    }
    return controls;
}

std::optional<tpu::TpuInputs> TTPU_Calculator::ComputedInputs() const {
    return computed_ ? std::optional(computed_->inputs) : std::nullopt;
}

void TTPU_Calculator::SaveSettings() {
    // Every file saved loads back into this window: a field that cannot be
    // read, or a text too long for the file, is refused before anything is
    // asked or written.
    if (RefusedWhileInputError(QStringLiteral("saving the settings"))) {
        return;
    }
    // In the order of the file's lines, so the first field of the file too
    // long is the one named.
    for (const tpu::SettingsLine& line : tpu::kSettingsLines) {
        const QLineEdit* field = ControlOf(line.field);
        if (field->text().size() > tpu::kSettingsTextLimit) {
            common::ShowError(QStringLiteral("Cannot save the settings: \"%1\" holds %2 characters, and a settings "
                                             "file keeps at most %3 in a field")
                                  .arg(FieldCaption(field))
                                  .arg(field->text().size())
                                  .arg(tpu::kSettingsTextLimit));
            return;
        }
    }
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Save;
    request.caption = QStringLiteral("Save Setting");
    request.filter = QStringLiteral("tpu (*.tpu)");
    request.defaultSuffix = QStringLiteral("tpu");
    const QString project = kit::FileNameFrom(ui->edt_Project->text());
    request.fileName =
        (project.isEmpty() ? QString() : project + QLatin1Char(' ')) + QStringLiteral("TPU settings.tpu");
    request.folderKind = QStringLiteral("settings");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    tpu::SettingsChoices choices;
    choices.sonar = static_cast<std::size_t>(std::max(0, ui->cbo_Select_sonar->currentIndex()));
    choices.motion = static_cast<std::size_t>(std::max(0, ui->cbo_Select_Motion->currentIndex()));
    choices.heading = static_cast<std::size_t>(std::max(0, ui->cbo_Select_Heading->currentIndex()));
    choices.gnssMode = GnssMode();
    choices.aiding = ui->rbn_aiding_DGNSS->isChecked() ? 1 : 0;
    choices.antenna = ui->rbn_antenna_4m->isChecked() ? 1 : 0;
    choices.referenceSonar = referenceSonar_;
    const std::vector<std::string> fileLines =
        tpu::SettingsFileLines([this](tpu::Field field) { return ControlOf(field)->text().toStdString(); }, choices);
    // The load's own check, on the lines about to be written: what it would
    // refuse is never written.
    const std::string name = QDir::toNativeSeparators(path).toStdString();
    tpu::LoadedSettings check;
    if (const common::FileResult checked = tpu::ReadSettingsLines(name, fileLines, true, check); !checked) {
        common::ShowError(QStringLiteral("Cannot save the settings: %1").arg(checked.Error()));
        return;
    }
    QStringList lines;
    for (const std::string& line : fileLines) {
        lines << QString::fromStdString(line);
    }
    if (!common::ConfirmWindows1252(path, lines)) {
        return;
    }
    // Written whole or not at all: the old file stays until the new one is complete.
    if (const common::FileResult written = common::WriteTextFile(path, lines); !written) {
        common::ShowError(written.Error());
    }
}

void TTPU_Calculator::LoadSettings() {
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Open;
    request.caption = QStringLiteral("Load Setting");
    request.filter = QStringLiteral("*.tpu");
    request.defaultSuffix = QStringLiteral("tpu");
    request.folderKind = QStringLiteral("settings");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    const QFileInfo file(path);
    if (!file.exists()) {
        common::ShowError(QStringLiteral("File does not exist."));
        return;
    }
    // A settings file is text from outside: it is read and checked whole
    // before any field changes, and only a plain file of settings size is
    // read at all (a pipe would never end, a device never stop).
    const QString name = QDir::toNativeSeparators(path);
    if (!file.isFile()) {
        common::ShowError(QStringLiteral("Cannot load \"%1\": it is not a file.").arg(name));
        return;
    }
    if (file.size() > tpu::kSettingsSizeLimit) {
        common::ShowError(
            QStringLiteral("Cannot load \"%1\": at %2 bytes it is no settings file.").arg(name).arg(file.size()));
        return;
    }
    QStringList lines;
    bool endsWithLineEnd = false;
    if (const common::FileResult read = common::ReadTextFile(path, lines, tpu::kSettingsSizeLimit, &endsWithLineEnd);
        !read) {
        common::ShowError(QStringLiteral("Cannot load \"%1\": %2").arg(name, read.Error()));
        return;
    }
    std::vector<std::string> fileLines;
    for (const QString& line : lines) {
        fileLines.push_back(line.toStdString());
    }
    tpu::LoadedSettings loaded;
    if (const common::FileResult read = tpu::ReadSettingsLines(name.toStdString(), fileLines, endsWithLineEnd, loaded);
        !read) {
        common::ShowError(read.Error());
        return;
    }
    // One computation, with the lists, the modes and every field as the file
    // has them: the choices first (their figures are then written over by the
    // file's own), so a DGNSS file keeps its vessel figures and tide.
    kit::Recompute::Batch batch(recompute_);
    if (loaded.choices) {
        ApplyChoices(*loaded.choices);
    }
    for (std::size_t index = 0; index < tpu::kSettingsLines.size(); ++index) {
        const tpu::SettingsLine& line = tpu::kSettingsLines[index];
        if (line.read) {
            ControlOf(line.field)->setText(QString::fromStdString(loaded.texts[index]));
        }
    }
}

void TTPU_Calculator::ApplyChoices(const tpu::SettingsChoices& choices) {
    {
        const QSignalBlocker quiet(ui->cbo_Select_sonar);
        ui->cbo_Select_sonar->setCurrentIndex(static_cast<int>(choices.sonar));
    }
    ApplySonarPreset(choices.referenceSonar.value_or(choices.sonar));
    RequestComputation(); // the reference figures are no field
    const tpu::MotionPreset& motion = tpu::kMotionPresets.at(choices.motion);
    const tpu::HeadingPreset& heading = tpu::kHeadingPresets.at(choices.heading);
    ui->cbo_Select_Motion->setCurrentIndex(static_cast<int>(choices.motion));
    ui->cbo_Select_Heading->setCurrentIndex(static_cast<int>(choices.heading));
    // The groups are enabled as the two rows make them; the checked button is
    // the file's.
    ApplyGroupEffect(ui->rdg_GNSS_Aiding, ui->rbn_aiding_RTK, motion.aiding);
    ApplyGroupEffect(ui->rdg_Antenna_separation, ui->rbn_antenna_2m, motion.antenna);
    ApplyGroupEffect(ui->rdg_Antenna_separation, ui->rbn_antenna_2m, heading.antenna);
    (choices.aiding == 1 ? ui->rbn_aiding_DGNSS : ui->rbn_aiding_RTK)->setChecked(true);
    (choices.antenna == 1 ? ui->rbn_antenna_4m : ui->rbn_antenna_2m)->setChecked(true);
    if (choices.gnssMode != GnssMode()) {
        (choices.gnssMode == 1 ? ui->rbn_gnss_DGNSS : ui->rbn_gnss_RTK)->setChecked(true);
        rdg_gnss_modeClick();
    }
}

void TTPU_Calculator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        RequestComputation();
    }
}

bool TTPU_Calculator::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->pnlTPU_Right->parentWidget() && event->type() == QEvent::Resize) {
        LayOut(static_cast<QWidget*>(watched)->size());
    }
    return QWidget::eventFilter(watched, event);
}

// The results column (Max/Min TVU and THU, the order limits, "Print PDF
// Report") is what a surveyor reads: it keeps to the right edge and stays
// whole in view. Below the design size the room is taken from the rest: the
// setup tabs and the charts narrow (a tab page scrolls its fields), the order
// check boxes wrap onto more rows, the depth bar shortens, and in a low
// window the logo above the results gives way. At the design size every part
// stands where the form puts it.
void TTPU_Calculator::LayOut(QSize room) {
    constexpr int kLeft = 92;    // the depth column's right edge
    constexpr int kGap = 6;      // between the middle and the results column
    constexpr int kBoxesX = 410; // the first order check box
    constexpr int kTabsY = 60;   // the setup tabs under one row of check boxes
    constexpr int kTabsHeight = 230;
    constexpr int kLogoRoom = 150; // the logo's rows, above "Print PDF Report"
    QWidget* results = ui->pnlTPU_Right;
    const int resultsX = room.width() - results->width();
    const int lower = std::clamp(results->height() - room.height(), 0, kLogoRoom);
    results->move(resultsX, -lower);
    ui->img_Logo->setVisible(lower == 0);

    // The survey orders' check boxes in as many rows as the room needs.
    const std::array<QCheckBox*, 7> boxes{ui->ckb_IHO_Special, ui->ckb_IHO_1, ui->ckb_IHO_2, ui->ckb_FSIS44,
                                          ui->ckb_NL_A,        ui->ckb_NL_B,  ui->ckb_Orsted};
    const int right = resultsX - kGap;
    std::vector<QPoint> places;
    int x = kBoxesX;
    int row = 0;
    for (const QCheckBox* box : boxes) {
        if (x > kBoxesX && x + box->width() > right) {
            ++row;
            x = kBoxesX;
        }
        places.emplace_back(x, row);
        x += box->width() + 4;
    }
    const int rows = row + 1;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const int y = rows == 1 ? 26 : 6 + places[i].y() * 24;
        boxes[i]->move(places[i].x(), y);
    }
    const int tabsY = rows == 1 ? kTabsY : 6 + rows * 24 + 6;
    ui->TPU_Setup->setGeometry(kLeft, tabsY, right - kLeft, kTabsHeight);
    const int graphsY = tabsY + kTabsHeight + kGap;
    ui->TPU_Graphs->setGeometry(kLeft, graphsY, right - kLeft, room.height() - graphsY - kGap);

    // The depth bar and its maximum below it.
    ui->TrackBar1->resize(ui->TrackBar1->width(), room.height() - ui->TrackBar1->y() - 30);
    ui->lbl_Max_caption->move(ui->lbl_Max_caption->x(), room.height() - 24);
    ui->lbl_Max_Depth->move(ui->lbl_Max_Depth->x(), room.height() - 24);
}
