// The application every program of the suite starts with: the suite itself, the
// driver, the window tests and the benchmarks, so that they all see the same
// arithmetic, number format, fonts and message boxes.
#pragma once

#include <QApplication>

namespace kit {

// Where the windows are drawn.
enum class Screen {
    Desktop,            // the user's display
    DisplayOrOffscreen, // the user's display when there is one, otherwise offscreen (the driver)
    Offscreen,          // offscreen unless QT_QPA_PLATFORM names another platform (tests, benchmarks)
};

namespace detail {
// Runs before the QApplication exists: arithmetic that never traps (a division
// by zero gives infinity, the root of a negative number NaN), "." as the decimal
// separator of the whole process, and the platform chosen.
struct ProcessSetUp {
    explicit ProcessSetUp(Screen screen);
};
} // namespace detail

// The QApplication with the application title, the fonts the windows name, the
// C locale again (QApplication adopts the user's locale on start) and the modal
// message boxes.
class Application : private detail::ProcessSetUp, public QApplication {
public:
    Application(int& argc, char** argv, Screen screen = Screen::Desktop);
    ~Application() override;
};

} // namespace kit
