#pragma once

#include <string>
#include <vector>

#include "core/result.h"
#include "mods/patch_fields.h"

class WeaponRecords;

namespace mods {

// The patches named on a command line, read whole; a failure holds every file's errors.
Result<std::vector<Patch>> ReadPatches(const std::vector<std::string>& paths,
                                       const WeaponRecords& records);

// A field's value in a message, as the tree shows it, in quotes.
inline std::string Quoted(const std::string& shown) {
    return "\"" + shown + "\"";
}

// One patch's change of a field.
struct Step {
    const Patch* patch;
    const Change* change;
};

// Every field the patches change, each with its steps in the order the patches were given.
std::vector<std::vector<Step>> StepsByField(const std::vector<Patch>& patches);

}  // namespace mods
