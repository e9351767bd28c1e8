#include "lineplan/TSurveyLines.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "kit/Dialogs.h"
#include "kit/WindowParts.h"
#include "lineplan/LineExports.h"
#include "lineplan/SurveyArea.h"
#include "ui_TSurveyLines.h"

#include <QSignalBlocker>
#include <cmath>

namespace {

QString FieldNumber(double value, int decimals) {
    return QString::fromStdString(common::FormatFixed(value, 0, decimals));
}

// A field on its way to a number while it is typed ("", "-", "1e"): the plan
// waits for it without a word, its totals reading "—".
struct StillTyping {};

// A value refused while its field is still being typed may be a number on
// its way ("0" towards "0.5", "3" towards "32632"): the plan waits without a
// word, as for a text that is not yet a number, and the refusal is said once
// the field is finished.
template <typename Compute>
decltype(auto) UnlessTyping(std::initializer_list<const QLineEdit*> fields, Compute compute) {
    try {
        return compute();
    } catch (const common::UserError&) {
        for (const QLineEdit* field : fields) {
            if (kit::TypedFields::Typing(field)) {
                throw StillTyping{};
            }
        }
        throw;
    }
}

} // namespace

TSurveyLines::TSurveyLines(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TSurveyLines>()) {
    ui->setupUi(this);
    kit::ApplyFormLook(this);
    kit::SetWindowButtons(this, true);
    ui->grdCorners->SetHeadings(QStringLiteral("Easting (m)"), QStringLiteral("Northing (m)"));
    ui->splPlan->setStretchFactor(0, 3);
    ui->splPlan->setStretchFactor(1, 1);

    const std::vector<QLineEdit*> fields{ui->edtEpsg,   ui->edtHeading, ui->edtSpacing,     ui->edtRunIn,
                                         ui->edtRunOut, ui->edtSpeed,   ui->edtTurnMinutes, ui->edtHoursPerDay};
    typed_ = std::make_unique<kit::TypedFields>(nullptr, [this] { LinesChange(); });
    typed_->Watch(fields);
    typed_->Results({ui->lblLineCount, ui->lblLineKm, ui->lblTurns, ui->lblSurveyHours, ui->lblSurveyDays});
    for (QLineEdit* field : fields) {
        connect(field, &QLineEdit::textChanged, this, &TSurveyLines::LinesChange);
    }
    connect(ui->grdCorners, &lineplan::CornerTable::CornersChanged, this, &TSurveyLines::LinesChange);
    connect(ui->ckbLongestSide, &QCheckBox::toggled, this, &TSurveyLines::LinesChange);
    connect(ui->ckbAlternate, &QCheckBox::toggled, this, &TSurveyLines::LinesChange);
    connect(ui->rbnGridCorners, &QRadioButton::clicked, this, &TSurveyLines::CornerUnitsClick);
    connect(ui->rbnGeoCorners, &QRadioButton::clicked, this, &TSurveyLines::CornerUnitsClick);
    connect(ui->btnLoadArea, &QPushButton::clicked, this, &TSurveyLines::btnLoadAreaClick);
    connect(ui->btnExportLines, &QPushButton::clicked, this, &TSurveyLines::btnExportLinesClick);

    LinesChange();
}

TSurveyLines::~TSurveyLines() = default;

void TSurveyLines::TakePlan(const QString& spacing, const QString& speedKnots) {
    const kit::Recompute::Batch oneChange(recompute_);
    typed_->Write(ui->edtSpacing, spacing);
    typed_->Write(ui->edtSpeed, speedKnots);
}

void TSurveyLines::LinesChange() { recompute_.Request(); }

void TSurveyLines::CornerUnitsClick() {
    if (ui->rbnGeoCorners->isChecked()) {
        ui->grdCorners->SetHeadings(QStringLiteral("Latitude (\u00B0)"), QStringLiteral("Longitude (\u00B0)"));
    } else {
        ui->grdCorners->SetHeadings(QStringLiteral("Easting (m)"), QStringLiteral("Northing (m)"));
    }
    LinesChange();
}

double TSurveyLines::Number(QLineEdit* field, const QString& caption) const {
    const QString text = typed_->Text(field);
    double value = 0;
    if (common::TryParseFloat(text.toStdString(), value)) {
        return value;
    }
    if (kit::TypedFields::Typing(field) && kit::TypedFields::StillBecomingANumber(text)) {
        throw StillTyping{};
    }
    if (text.trimmed().isEmpty()) {
        throw common::UserError(caption + QStringLiteral(": the field is empty"));
    }
    throw common::UserError(caption +
                            QStringLiteral(": '%1' is not a number").arg(common::ShowControls(text.left(40))));
}

const surveylines::GridProjection& TSurveyLines::Grid() {
    const double code = Number(ui->edtEpsg, QStringLiteral("Grid EPSG"));
    const int epsg = code >= 1 && code < 1e9 && code == std::floor(code) ? int(code) : -1;
    if (epsg < 0) {
        throw common::UserError(QStringLiteral("Grid EPSG: an EPSG code is a whole number, such as 32632"));
    }
    if (grid_ != nullptr && grid_->Epsg() == epsg) {
        return *grid_;
    }
    if (epsg == failedEpsg_) {
        throw common::UserError(gridError_);
    }
    try {
        grid_ = std::make_unique<surveylines::GridProjection>(epsg);
    } catch (const common::UserError& error) {
        grid_.reset();
        failedEpsg_ = epsg;
        gridError_ = QString::fromStdString(error.what());
        throw;
    }
    return *grid_;
}

std::vector<surveylines::Point> TSurveyLines::AreaCorners() {
    std::vector<surveylines::Cells> rows;
    for (const QStringList& row : ui->grdCorners->Rows()) {
        surveylines::Cells& cells = rows.emplace_back();
        for (const QString& cell : row) {
            cells.push_back(cell.toStdString());
        }
    }
    if (rows.empty()) {
        throw common::UserError(QStringLiteral("Type or paste the area's corners, or load an area"));
    }
    std::vector<surveylines::Point> corners = surveylines::ReadCorners(rows, surveylines::HeadingRow::None);
    if (ui->rbnGeoCorners->isChecked()) {
        // The table reads latitude first, as a surveyor writes a position.
        const surveylines::GridProjection& grid = Grid();
        for (surveylines::Point& corner : corners) {
            corner = grid.ToGrid({corner.y, corner.x});
        }
    }
    return corners;
}

void TSurveyLines::ShowTotals(const surveylines::SurveyTotals* totals) {
    const QString none = QStringLiteral("\u2014");
    ui->lblLineCount->setText(totals != nullptr ? QString::number(totals->lines) : none);
    ui->lblLineKm->setText(totals != nullptr ? FieldNumber(totals->kilometres, 1) : none);
    ui->lblTurns->setText(totals != nullptr ? QString::number(totals->turns) : none);
    ui->lblSurveyHours->setText(totals != nullptr ? FieldNumber(totals->hours, 1) : none);
    ui->lblSurveyDays->setText(totals != nullptr ? FieldNumber(totals->days, 1) : none);
}

bool TSurveyLines::Calculate() {
    std::vector<surveylines::Point> area;
    QString problem;
    lines_.clear();
    bool typing = false;
    try {
        const surveylines::GridProjection& grid = UnlessTyping(
            {ui->edtEpsg}, [&]() -> const auto& { return Grid(); });
        ui->lblGridName->setText(QString::fromStdString(grid.Name()));
        area = surveylines::CheckedArea(UnlessTyping({ui->edtEpsg}, [&] { return AreaCorners(); }));
        surveylines::LineSettings settings;
        settings.alongLongestSide = ui->ckbLongestSide->isChecked();
        settings.heading = settings.alongLongestSide ? 0 : Number(ui->edtHeading, QStringLiteral("Heading"));
        settings.spacing = Number(ui->edtSpacing, QStringLiteral("Line spacing"));
        settings.runIn = Number(ui->edtRunIn, QStringLiteral("Run-in"));
        settings.runOut = Number(ui->edtRunOut, QStringLiteral("Run-out"));
        settings.alternate = ui->ckbAlternate->isChecked();
        surveylines::TimeSettings time;
        time.speedKnots = Number(ui->edtSpeed, QStringLiteral("Speed"));
        time.turnMinutes = Number(ui->edtTurnMinutes, QStringLiteral("Turn"));
        time.hoursPerDay = Number(ui->edtHoursPerDay, QStringLiteral("Survey hours per day"));
        surveylines::LaidLines laid = UnlessTyping({ui->edtHeading, ui->edtSpacing, ui->edtRunIn, ui->edtRunOut},
                                                   [&] { return surveylines::LayLines(area, settings); });
        const surveylines::SurveyTotals totals =
            UnlessTyping({ui->edtSpeed, ui->edtTurnMinutes, ui->edtHoursPerDay},
                         [&] { return surveylines::ComputeTotals(laid.lines, time); });
        ui->lblHeadingUsed->setText(QStringLiteral("Lines run %1\u00B0 and %2\u00B0")
                                        .arg(FieldNumber(laid.heading, 1), FieldNumber(laid.heading + 180, 1)));
        lines_ = std::move(laid.lines);
        ShowTotals(&totals);
    } catch (const common::UserError& error) {
        problem = QString::fromStdString(error.what());
    } catch (const StillTyping&) {
        typing = true;
    }
    if (!problem.isEmpty() || typing) {
        ShowTotals(nullptr);
        ui->lblHeadingUsed->clear();
        if (grid_ == nullptr) {
            ui->lblGridName->clear();
        }
    }
    ui->lblMessage->setText(problem);
    ui->lblMessage->setVisible(!problem.isEmpty());
    ui->planView->SetPlan(area, lines_);
    ui->grdLines->Lines().SetLines(lines_);
    return true;
}

void TSurveyLines::btnLoadAreaClick() {
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Open;
    request.caption = QStringLiteral("Load area");
    request.filter = QStringLiteral("Survey areas (*.geojson *.json *.csv);;All files (*)");
    request.folderKind = QStringLiteral("areas");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    common::RunGuarded([&] {
        const surveylines::AreaFile file = surveylines::ReadAreaFile(path.toStdString());
        std::vector<surveylines::Point> corners = file.corners;
        if (file.geographic) {
            try {
                const surveylines::GridProjection& grid = Grid();
                for (surveylines::Point& corner : corners) {
                    corner = grid.ToGrid(corner);
                }
            } catch (const common::UserError& error) {
                throw common::UserError(
                    QStringLiteral("No area read from %1: %2").arg(path, QString::fromStdString(error.what())));
            }
        }
        QStringList rows;
        for (const surveylines::Point& corner : corners) {
            rows << FieldNumber(corner.x, 2) + QLatin1Char('\t') + FieldNumber(corner.y, 2);
        }
        // The table holds grid corners from here on, whatever the file held.
        {
            const QSignalBlocker quiet(ui->rbnGridCorners);
            ui->rbnGridCorners->setChecked(true);
        }
        ui->grdCorners->SetHeadings(QStringLiteral("Easting (m)"), QStringLiteral("Northing (m)"));
        ui->grdCorners->SetPlainText(rows.join(QLatin1Char('\n')));
    });
}

void TSurveyLines::btnExportLinesClick() {
    if (lines_.empty() || grid_ == nullptr) {
        common::ShowError(ui->lblMessage->text().isEmpty() ? QStringLiteral("There are no lines to export")
                                                           : ui->lblMessage->text());
        return;
    }
    kit::FileDialogRequest request;
    request.kind = kit::FileDialogKind::Save;
    request.caption = QStringLiteral("Export lines");
    request.fileName = QStringLiteral("survey_lines");
    request.filter =
        QStringLiteral("CSV, grid coordinates (*.csv);;GeoJSON (*.geojson);;KML (*.kml);;GPX routes (*.gpx)");
    request.defaultSuffix = QStringLiteral("csv");
    request.folderKind = QStringLiteral("lines");
    const QString path = kit::AskFileName(this, request);
    if (path.isEmpty()) {
        return;
    }
    if (const common::FileResult written = surveylines::ExportLines(path.toStdString(), lines_, *grid_); !written) {
        common::ShowError(written.Error());
    }
}
