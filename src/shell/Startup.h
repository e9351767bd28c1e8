// The process set-up that must happen before any window exists, shared by the
// suite's main(), the driver and the window tests so they all see the same
// number format, fonts and arithmetic.
#pragma once

namespace shell {

// Before the application object: arithmetic that never traps (a division by zero
// gives infinity, the root of a negative number NaN) and "." as the decimal
// separator of the whole process.
void PrepareProcess();

// After the application object: the application title, the fonts the windows
// name, and the C locale again (QApplication adopts the user's locale on start).
void PrepareApplication();

} // namespace shell
