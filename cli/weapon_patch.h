#pragma once

#include <iosfwd>
#include <string>

class WeaponRecords;

// Weapon mods as small patch files: the fields of the shown weapons that the editor can change,
// named as the tree names them (weapon, group, label or index), each with its exact bytes, and
// references by the tag's path and class, so that a patch outlives a rebuild with another
// catalogue.
namespace cli {

// Prints as JSON every changeable field whose value in `edited` (cache003.map) differs from
// the map at originalPath; what differs but cannot be changed in the editor goes to err.
// Returns the exit status: 0, or 2 when a map cannot be read.
int RunDiff(const std::string& originalPath, const WeaponRecords& edited, std::ostream& out,
            std::ostream& err);

// Applies a patch to the records of cache003.map and writes each changed weapon once. Every
// entry is checked first: on any error nothing is written, each error is reported with its
// entry's number, and the status is 2.
int RunApply(const std::string& patchPath, WeaponRecords& records, std::ostream& out,
             std::ostream& err);

}  // namespace cli
