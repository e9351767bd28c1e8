// The suite's map from window class names to the tool windows the launcher
// opens. Each call makes a new, independent, modeless window; the driver uses
// the same map for "open CLASS".
#pragma once

#include <QString>

class QWidget;

namespace app {

// Where a window first appears.
enum class Placement {
    OverLauncher,  // the calculators: centred over the launcher
    ScreenCentre,  // the communication tools
    ScreenTopLeft, // the reference documents, which want the whole screen's height
};

struct ToolWindow {
    QWidget* window = nullptr; // not yet shown; nullptr for a class the suite does not have
    Placement placement = Placement::OverLauncher;
};

ToolWindow CreateToolWindow(const QString& className);

} // namespace app
