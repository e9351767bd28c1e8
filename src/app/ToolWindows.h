// The suite's one table of tool windows: which command of the launcher's menu
// opens which window, how it is made, where it first appears and how long it
// lives. The launcher's menu (its form) holds the commands; the launcher and the
// driver's "open CLASS" open windows through this table.
#pragma once

#include <QString>
#include <span>

class QAction;
class QWidget;

namespace Ui {
class Tutility_main;
}

namespace app {

// Where a window first appears.
enum class Placement {
    OverLauncher,  // the calculators: centred over the launcher
    ScreenCentre,  // the communication tools
    ScreenTopLeft, // the reference documents, which want the whole screen's height
};

enum class Lifetime {
    // A new window per command, gone for good once closed.
    ClosedForGood,
    // A new window per command that only hides on closing while something of
    // it runs: the communication tools' ports, sockets, captures and repeated
    // sends go on until the program ends. Closed with nothing running, it goes.
    HiddenOnClose,
    // One window made hidden at start, kept with its values for the whole run
    // and shown again by its command: the TPU calculator.
    WholeRun,
};

struct ToolEntry {
    QAction* Ui::Tutility_main::*command; // the launcher menu's command; none for a window another window opens
    const char* className;
    QWidget* (*make)(QWidget* launcher);
    Placement placement;
    Lifetime lifetime;
};

// In the menu's order; two commands may open the same window class.
std::span<const ToolEntry> ToolTable();

// The row of a window class; nullptr for a class the suite does not have.
const ToolEntry* FindTool(const QString& className);

struct ToolWindow {
    QWidget* window = nullptr; // not yet shown; nullptr for a class the suite does not have
    Placement placement = Placement::OverLauncher;
};

// Makes a new window of that class, set up to live as its row says.
ToolWindow CreateToolWindow(const QString& className, QWidget* launcher = nullptr);

} // namespace app
