#pragma once

#include <string>
#include <vector>

#include "core/result.h"
#include "tools/map_reader.h"

// Compiles a path list, in the format of catalogue/tag_paths.txt, from a map's own header and
// tag index, so that a user who holds the supported map builds a catalogue of exactly its
// names. A map that breaks a catalogue rule is refused with the rule named: a list compiled
// from it would give an editor that writes into the wrong bytes.

namespace tools {

// The rules the map itself must keep come first: header, tag-count, magic, identifiers, names
// (packed from the catalogue's first name offset) and weapon-meta; then the path-list rules the
// build applies (catalogue/path_list_rules.h). A map that breaks one fails with "rule: detail".
// A read that fails marks the reader Failed, whatever the result.
Result<std::vector<std::string>> ExtractCatalogue(MapReader& reader);

}  // namespace tools
