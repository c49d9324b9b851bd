#include "app/command_line.h"

#include <cstdio>
#include <string_view>

#include "torvex_version.h"

namespace {

constexpr char kUsage[] = "Usage: torvex [--help | --version]\n";

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string_view argument = argv[1];
    if (argc == 2 && argument == "--help") {
        std::fputs(kUsage, stdout);
        std::puts(
            "Edits the weapons of cache003.map in the working directory, in one window; run it in\n"
            "the map's folder, and keep a copy of the map. torvex-cli is the same editor without\n"
            "a window. torvex(1) tells more.");
        return 0;
    }
    if (argc == 2 && argument == "--version") {
        std::puts("torvex " TORVEX_VERSION_TEXT);
        return 0;
    }
    // The first argument that is not one of the two, or the one after them.
    const bool answered = argument == "--help" || argument == "--version";
    std::fprintf(stderr, "torvex: '%s' is no option; the window takes no arguments\n%s",
                 argv[answered ? 2 : 1], kUsage);
    return 2;
}
