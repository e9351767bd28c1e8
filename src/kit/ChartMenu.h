// A chart's copy and save menu: a small button in the chart's top-right
// corner, shown while the pointer is over the chart, the chart has the focus
// or the menu is open, whose menu copies the chart's data or saves its
// picture. The chart view keeps the drawing; this part keeps what a surveyor
// takes away from it.
#pragma once

#include <QObject>

class QMenu;
class QToolButton;

namespace kit {

class ChartView;

class ChartMenu : public QObject {
public:
    // A child of `view`, made with the view.
    explicit ChartMenu(ChartView* view);

    QToolButton* Button() const { return button_; }
    // Keeps the button in the corner after the view changed size.
    void Place();
    // The pointer came onto the chart or left it.
    void PointerOver(bool over);
    // The chart took or lost the focus.
    void FocusChanged();

private:
    void ShowWhenWanted();

    ChartView* view_;
    QToolButton* button_; // owned by the view
    QMenu* menu_;         // owned by the button
    bool pointerOver_ = false;
    bool menuOpen_ = false;
};

// Asks for a PNG file name, offering `name`.png, and writes the chart's
// picture there whole or not at all; a failure shows the error box with the
// file and the system's reason.
void SaveChartPicture(ChartView* view, const QString& name);

} // namespace kit
