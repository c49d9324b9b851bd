#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/result.h"
#include "weapon/tag_reference.h"

// Tells whether a map is the one this build's catalogue describes, before anyone edits it: the
// editor writes weapon structures and name pointers at compiled-in offsets, so on any other map
// it would write into the wrong bytes. Reads only; never opens the map for writing.

namespace tools {

struct CheckLine {
    enum class State { Passed, Failed, Note };
    State state;
    std::string name;
    std::string detail;  // for a failure: the first mismatch, with row, offset, expected, found
};

struct CheckReport {
    bool readable = false;
    std::string reason;  // why the map could not be read
    std::vector<CheckLine> lines;

    int Checks() const;
    int Failures() const;
    bool Supported() const { return readable && Failures() == 0; }
};

CheckReport CheckMap(const std::string& path);

// Fails, saying where, when a weapon's main block or the second block its pointer gives ends past
// the end of the file: the editor would then show zeros and its writes would go nowhere.
Status WeaponsInFile(const std::string& path);

// Fails with what makes a tag reference read from a weapon implausible on the supported map.
Status CheckReference(const TagReference& ref);

// Prints one line per check and a summary line; returns the exit status: 0 for the supported
// map, 1 for any other, 2 when the map could not be read.
int PrintCheckReport(const CheckReport& report, const std::string& path, std::ostream& out);

}  // namespace tools
