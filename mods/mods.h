#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class WeaponRecords;

// Weapon mods as small patch files: the fields of the shown weapons that the editor can change,
// named as the tree names them (weapon, group, label or index), each with the bytes it had and
// the bytes it gets, and references by the tag's path and class, so that a patch outlives a
// rebuild with another catalogue, can be checked against a map, stacked on others and undone.
namespace mods {

// What apply, reverse and status exit with, so that a script can tell the cases apart.
enum ExitStatus {
    kDone = 0,        // applied, taken off, or (status) every patch wholly applied
    kNotDone = 1,     // a conflict kept anything from being written, or (status) a patch is not
                      // wholly applied
    kRefused = 2,     // a patch or a map cannot be read or used; nothing was written
    kWriteFailed = 3  // a weapon could not be written: running the command again finishes it
};

// Prints as JSON every changeable field whose value in `edited` (cache003.map) differs from
// the map at originalPath, with the value it had there; what differs but cannot be changed in
// the editor goes to err. Refuses, printing no patch, when either map cannot be read whole.
int RunDiff(const std::string& originalPath, std::ostream& out, std::ostream& err);

struct ApplyRequest {
    std::vector<std::string> patches;  // in the order they apply; reverse takes them off back
    bool reverse = false;              // put back each field's bytes from before the patch
    bool force = false;                // write over conflicts, the later patch winning
};

// Applies or takes off patches on the records of cache003.map, all or nothing: every entry is
// read and every field checked first, and only then is each changed weapon written, once.
int RunApply(const ApplyRequest& request, WeaponRecords& records, std::ostream& out,
             std::ostream& err);

// Tells, for each patch, whether cache003.map holds it, and where several touch one field,
// which wins in the order given.
int RunStatus(const std::vector<std::string>& patches, const WeaponRecords& records,
              std::ostream& out, std::ostream& err);

}  // namespace mods
