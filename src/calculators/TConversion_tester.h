// Unit conversion: one typed value in a chosen unit, shown in every unit of the
// same kind of quantity. The window only reads the conversion registry filled at
// start-up. Showing the window (FormShow) builds one tab per family; a tab change
// (ConvFamiliesChange) refills the unit list; choosing a unit (ConvTypesClick) or
// changing the value (ConvValueChange) rebuilds the whole result list.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QTabWidget;

namespace kit {
class UpDown;
}

class TConversion_tester : public QWidget {
    Q_OBJECT
public:
    explicit TConversion_tester(QWidget* parent = nullptr);

    void FormShow();
    void ConvFamiliesChange();
    void ConvTypesClick();
    void ConvValueChange();

    QTabWidget* ConvFamilies = nullptr;
    QListWidget* ConvTypes = nullptr;
    QLineEdit* ConvValue = nullptr;
    kit::UpDown* ConvValueIncDec = nullptr;
    QListWidget* ConvResults = nullptr;
    QLabel* Label1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void AddTab(const QString& text, int family);
};
