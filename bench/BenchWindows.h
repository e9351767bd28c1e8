// Windows in a benchmark are measured as the user sees them: shown, and after
// each change painted where it changed, as the event loop does before the next
// frame.
#pragma once

class QWidget;

namespace bench {

// Shows the window and waits until the platform has it on screen (painting
// before that does nothing); throws when it never gets there.
void ShowOnScreen(QWidget* window);

// Runs what the change queued, then paints the regions that changed into the
// window's backing store. (Sent to the window's QWindow instead, the request
// would repaint the whole window.)
void PaintChanges(QWidget* window);

} // namespace bench
