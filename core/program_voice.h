#pragma once

#include <ostream>
#include <string>

// How torvex-cli speaks on err, for every layer that speaks for it (the map tools, the mods, the
// commands): its refusals and notes, each line after the program's name, and what the user gave
// in single quotes.
inline constexpr char kCliProgram[] = "torvex-cli";

inline std::string Given(const std::string& text) {
    return "'" + text + "'";
}

inline void PrintAsProgram(std::ostream& err, const std::string& lines) {
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = lines.find('\n', start);
        err << kCliProgram << ": " << lines.substr(start, end - start) << '\n';
    }
}
