// The TPU calculator: the one tool window that lives for the whole run, made
// hidden at start and shown by its launcher command with the values it had.
//
// Every model field's change, showing the window and the depth controls ask
// for a computation (RequestComputation), which reads every field afresh, writes the beamwidths, the
// result fields and the survey orders' limits, and refills the 32 series of
// the two charts. The equipment lists and radio groups write several fields at
// once; their writes are gathered (a kit::Recompute batch) so that one user action
// computes once, with the final inputs, and shows any error once.
#pragma once

#include "kit/Recompute.h"
#include "kit/TypedFields.h"
#include "tpu/TpuFields.h"
#include "tpu/TpuModel.h"

#include <QWidget>
#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QImage;
class QLineEdit;

namespace Ui {
class TTPU_Calculator;
}

namespace kit {
class ChartView;
}

namespace tpu {
struct SettingsChoices;
} // namespace tpu

class TTPU_Calculator : public QWidget {
    Q_OBJECT
public:
    explicit TTPU_Calculator(QWidget* parent = nullptr);
    ~TTPU_Calculator() override;

    // The computation, once, however many fields a change writes (kit::Recompute).
    void Button2Click() { RequestComputation(); }
    void RequestComputation();

    // Equipment lists, radio groups and the vessel "Default" button.
    void cbo_Select_sonarChange();
    void cbo_Select_MotionChange();
    void cbo_Select_HeadingChange();
    void rdg_GNSS_AidingClick();
    void rdg_Antenna_separationClick();
    void rdg_gnss_modeClick();
    void Button4Click() { SetVesselDefaults(); }
    void SetVesselDefaults();

    // Depth controls: the track bar's position is the depth.
    void TrackBar1Change();
    // Moves the track bar, both depth fields and the bar's label to `depth`
    // (held within the sonar's reach) and computes once.
    void SetDepth(int depth);
    void edt_DepthChange();
    void edt_Depth_mainChange();
    void udb_DepthClick();
    void udb_frqClick();

    // The survey orders' check boxes show or hide their pair of lines.
    void ckb_IHO_SpecialClick();
    void ckb_IHO_1Click();
    void ckb_IHO_2Click();
    void ckb_FSIS44Click();
    void ckb_NL_AClick();
    void ckb_NL_BClick();
    void ckb_OrstedClick();

    void Button5Click() { close(); }

    // The PDF report of what the window shows, opened in the desktop's viewer.
    void btn_Print_PDFClick();
    // Every beam of the sweep with its terms, as a CSV file.
    void btnExportSweepClick();

    // The settings file: save the inputs' texts, load them back.
    void Button6Click() { SaveSettings(); }
    void Button7Click() { LoadSettings(); }
    void SaveSettings();
    void LoadSettings();

    // The control of each field of tpu::kFields, in its order.
    std::vector<std::pair<tpu::Field, QLineEdit*>> FieldControls() const;
    // The inputs of the results shown; none while no computation stands.
    std::optional<tpu::TpuInputs> ComputedInputs() const;

    // How the positioning gets its height, for the report.
    const QString& GnssModeDescription() const { return gnssModeDescription_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the window out for the room it has (see the definition).
    void LayOut(QSize room);

    void FormCreate();
    void BuildCharts();
    void ApplySonarPreset(std::size_t row);
    // The lists and groups as a settings file names them, without the figures
    // their own handlers would write.
    void ApplyChoices(const tpu::SettingsChoices& choices);
    // The last computation's input error and the field it came from; the
    // report is refused while there is one.
    QString inputError_;
    QString fieldInError_;
    void Compute();
    void ShowOrder(std::size_t order);
    // The analysis tabs when no computation stands.
    void ClearAnalysis();
    // Shows why an action on the results is refused while an input cannot be
    // read, and says whether it is.
    bool RefusedWhileInputError(const QString& action) const;
    // The TVU and THU charts, one above the other, as the report prints them.
    QImage ChartsPicture();
    void DepthFieldChange(const QString& text);
    void DepthFinished(QLineEdit* field);
    int GnssMode() const;
    QLineEdit* ControlOf(tpu::Field field) const;

    std::unique_ptr<Ui::TTPU_Calculator> ui;
    kit::ChartView* charts_[2] = {};

    // The sonar figures that are no field: where the beamwidths hold, and the
    // row of the sonar they are from ("Default" keeps the figures before it).
    std::size_t referenceSonar_ = 0;
    int referenceFrequency_ = 0;
    double alongBeamwidth_ = 0.0;
    double acrossBeamwidth_ = 0.0;
    QString gnssModeDescription_;
    // The inputs and depth of the results shown, for the sweep's export.
    struct Computed {
        tpu::TpuInputs inputs;
        int depth = 0;
    };
    std::optional<Computed> computed_;
    int shownDepth_ = 0;        // the depth the fields and the label show
    bool writingDepth_ = false; // SetDepth writes the depth fields: they need not move it again

    std::unique_ptr<kit::TypedFields> typed_; // the number fields, as a person types them
    // Declared last: its run reads everything above.
    kit::Recompute recompute_{[this] {
        return typed_->Run([this] {
            Compute();
            return inputError_.isEmpty();
        });
    }};
};
