// Work remembered from one run to the next: each tool window comes back as it
// was left, with its inputs, choices, tab and place on the screen. What a window
// showed when it was last hidden (closed) or the run ended is kept under its
// class in the suite's QSettings file; a window of that class opening later
// takes it back as the surveyor would set it by hand: choices first (a sonar
// chosen from its list brings its own figures), then the tab, then the typed
// fields, which have the last word.
//
// Only a start that keeps its memory between runs remembers windows: a start
// with --fresh, the driver, the tests and the benchmarks begin from the start
// values and leave nothing behind. Controls a window marks with
// kit::NotRemembered (a port switched on, a capture, a continuous send) are
// never brought back.
#pragma once

#include <QString>
#include <QWidget>

namespace app {

// Takes back what the last window of that class left and keeps what this one
// leaves. Its place on the screen is given by RememberedPlace.
void RememberWindow(QWidget* window, const QString& className);

// Where the last window of that class stood (frame top-left) and its size;
// false when nothing is remembered.
bool RememberedPlace(const QString& className, QRect& place);

// Keeps what every remembered window shows now: for an end of the run that
// does not hide the windows first.
void KeepOpenWindows();

} // namespace app
