#include "mods/field_steps.h"

namespace mods {

Result<std::vector<Patch>> ReadPatches(const std::vector<std::string>& paths,
                                       const WeaponRecords& records) {
    std::vector<Patch> patches;
    std::string errors;
    for (const std::string& path : paths) {
        Result<Patch> patch = ReadPatch(path, records);
        if (patch) {
            patches.push_back(std::move(*patch));
        } else {
            errors += (errors.empty() ? "" : "\n") + patch.Error();
        }
    }
    return errors.empty() ? Result(std::move(patches)) : Failure{errors};
}

std::vector<std::vector<Step>> StepsByField(const std::vector<Patch>& patches) {
    std::vector<std::vector<Step>> fields;
    for (const Patch& patch : patches) {
        for (const Change& change : patch.changes) {
            auto field = fields.begin();
            while (field != fields.end() && !field->front().change->SameField(change)) {
                ++field;
            }
            if (field == fields.end()) {
                fields.emplace_back();
                field = fields.end() - 1;
            }
            field->push_back({&patch, &change});
        }
    }
    return fields;
}

}  // namespace mods
