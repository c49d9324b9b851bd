#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Compiles a path list, in the format of catalogue/tag_paths.txt, from a map's own header and
// tag index, so that a user who holds the supported map builds a catalogue of exactly its
// names. A map that breaks a catalogue rule is refused with the rule named: a list compiled
// from it would give an editor that writes into the wrong bytes.

namespace tools {

struct Extraction {
    bool readable = true;  // false: the map could not be read at all; detail says why
    bool ok = false;
    std::string rule;    // the first rule the map breaks
    std::string detail;  // where and how
    std::vector<std::string> paths;
};

// The rules the map itself must keep: its layout, 1806 tags, the address constant, the
// identifier rule, names packed from the catalogue's first name offset, and the fifteen
// weapons' meta offsets.
Extraction ExtractCatalogue(const std::string& mapPath);

// The path-list rules the build applies (catalogue/check_tag_paths.py), run over the list:
// class counts, weapon and fixed rows, name lengths and so on. Kept in that one script.
Extraction CheckPathRules(Extraction extraction, const std::string& python,
                          const std::string& script);

// The list as catalogue/tag_paths.txt holds it: one path a line, each ending in a line feed.
void WritePathList(const std::vector<std::string>& paths, std::ostream& out);

}  // namespace tools
