#include "app/CommandLine.h"

#include <array>
#include <string_view>

#ifndef TORMALIND_VERSION
#define TORMALIND_VERSION "unknown"
#endif

namespace app {

namespace {

constexpr std::string_view kUsage = "Usage: tormalind [--fresh]\n"
                                    "       tormalind --help | --version\n"
                                    "\n"
                                    "Starts Tormalind UTILITY, the survey planning and testing suite: a launcher\n"
                                    "window from which each tool opens in a window of its own.\n"
                                    "\n"
                                    "  --fresh    start every tool from its start values and remember nothing\n"
                                    "             of this run (tool windows, folders) for the next\n"
                                    "  --help     print this text and exit\n"
                                    "  --version  print the version and exit\n"
                                    "\n"
                                    "The toolkit's own options (-platform NAME, -style NAME, ...) are accepted.\n";

// The toolkit's options that take a value, and those that stand alone.
constexpr std::array<std::string_view, 11> kToolkitWithValue{
    "-platform",        "-platformpluginpath", "-platformtheme", "-plugin",  "-style",  "-stylesheet",
    "-qwindowgeometry", "-qwindowtitle",       "-qwindowicon",   "-display", "-session"};
constexpr std::array<std::string_view, 4> kToolkitAlone{"-reverse", "-nograb", "-dograb", "-widgetcount"};

template <std::size_t N> bool Among(const std::array<std::string_view, N>& names, std::string_view option) {
    for (const std::string_view name : names) {
        if (option == name || (option.size() > 1 && option[1] == '-' && option.substr(1) == name)) {
            return true;
        }
    }
    return false;
}

} // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i] != nullptr ? argv[i] : "";
        if (option == "--help" || option == "-h") {
            return {false, 0, std::string(kUsage)};
        }
        if (option == "--version") {
            return {false, 0, "Tormalind UTILITY " TORMALIND_VERSION "\n"};
        }
        if (option == "--fresh") {
            line.fresh = true;
        } else if (Among(kToolkitWithValue, option)) {
            ++i; // its value
        } else if (!Among(kToolkitAlone, option)) {
            line.exitCode = 2;
            line.text = "tormalind: unknown option '" + std::string(option) + "'\nTry 'tormalind --help'.\n";
            return line;
        }
    }
    return line;
}

} // namespace app
