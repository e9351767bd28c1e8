// The suite's map from window class names to the tool windows the launcher
// opens. Each call makes a new, independent, modeless window that deletes itself
// when closed; the driver uses the same map for "open CLASS".
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace app {

// A new window of that class, not yet shown; nullptr for a class the suite does
// not have (yet).
QWidget* CreateToolWindow(const QString& className);

} // namespace app
