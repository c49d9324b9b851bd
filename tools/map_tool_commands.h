#pragma once

#include <iosfwd>
#include <string>

// The map tools as torvex-cli runs them. Each returns the process's exit status.

namespace tools {

// Checks cache003.map in the working directory: 0 supported, 1 another map, 2 unreadable.
int RunCheck(std::ostream& out);

// Prints the map's path list on out: 0 done, 1 the map breaks a catalogue rule (named on err),
// 2 the map cannot be read.
int RunCatalogue(const std::string& mapPath, std::ostream& out, std::ostream& err);

}  // namespace tools
