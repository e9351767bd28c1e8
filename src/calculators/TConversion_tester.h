// Unit conversion: one typed value in a chosen unit, shown in every unit of the
// same kind of quantity. The window only reads the conversion registry filled at
// start-up. Showing the window (FormShow) builds one tab per family; a tab change
// (ConvFamiliesChange) refills the unit list; choosing a unit (ConvTypesClick) or
// changing the value (ConvValueChange) rebuilds the whole result list. A unit
// list with units always has one chosen: the results convert from it.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <memory>
#include <vector>

namespace Ui {
class TConversion_tester;
}

class TConversion_tester : public QWidget {
    Q_OBJECT
public:
    explicit TConversion_tester(QWidget* parent = nullptr);
    ~TConversion_tester() override;

    void FormShow();
    void ConvFamiliesChange();
    void ConvTypesClick();
    void ConvValueChange();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // A control as the form lays it out, and which of its edges keep their
    // distance to the window's right and bottom edges when the window is resized.
    struct Anchored {
        QWidget* control;
        QRect designed;
        Qt::Edges following;
    };

    void AddTab(const QString& text, int family);

    std::unique_ptr<Ui::TConversion_tester> ui;
    QSize designedSize_;
    std::vector<Anchored> anchored_;
};
