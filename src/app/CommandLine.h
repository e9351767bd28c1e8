// The suite's command line, read before anything needs a display: --help and
// --version answer on the terminal of a machine without a screen, --fresh
// starts from the start values and keeps nothing, and the toolkit's own
// options (-platform offscreen, -style ...) pass through to it.
#pragma once

#include <optional>
#include <string>

namespace app {

struct CommandLine {
    bool fresh = false;
    // Set when the program ends here with this code, after printing `text`
    // (standard output for 0, standard error otherwise).
    std::optional<int> exitCode;
    std::string text;
};

CommandLine ReadCommandLine(int argc, const char* const* argv);

} // namespace app
