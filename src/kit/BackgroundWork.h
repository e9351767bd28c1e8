// A tool window whose work goes on while it is hidden: an open port, a
// socket online, a capture or a repeated send keeps running when the surveyor
// closes the window, until the program ends. A window with nothing running
// has nothing to keep: it goes when closed, so a window opened and closed
// again and again all shift long costs nothing that stays.
#pragma once

class QWidget;

namespace kit {

class BackgroundWork {
public:
    // Whether anything of the window runs that closing it must not end.
    virtual bool WorksInBackground() const = 0;

protected:
    BackgroundWork() = default;
    ~BackgroundWork() = default;
    BackgroundWork(const BackgroundWork&) = default;
    BackgroundWork& operator=(const BackgroundWork&) = default;
};

// Closing `window` hides it while it works in the background (as a
// BackgroundWork says) and deletes it otherwise.
void HideWhileWorking(QWidget* window);

} // namespace kit
