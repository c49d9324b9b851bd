#pragma once

#include <iosfwd>
#include <string>

// The map tools as torvex-cli runs them. Each returns the process's exit status.

namespace tools {

// Checks cache003.map in the working directory: 0 supported, 1 another map, 2 unreadable.
int RunCheck(std::ostream& out);

// Prints the path list of a map's own header and tag index on out, in the format of
// catalogue/tag_paths.txt, so that a user who holds the supported map builds a catalogue of
// exactly its names: 0 done, 1 the map breaks a catalogue rule (named on err: a list compiled
// from it would give an editor that writes into the wrong bytes), 2 the map cannot be read.
int RunCatalogue(const std::string& mapPath, std::ostream& out, std::ostream& err);

}  // namespace tools
