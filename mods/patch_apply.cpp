#include <algorithm>
#include <ostream>

#include "app/weapon_records.h"
#include "core/program_voice.h"
#include "mods/field_steps.h"
#include "mods/messages.h"
#include "mods/mods.h"
#include "weapon/map_file.h"

namespace mods {

namespace {

// Walks one field through the steps of the patches, in the order they apply or come off: a
// step whose starting bytes the field holds is made, one whose ending bytes it holds is done
// already, any other is a conflict, made anyway when forced.
class FieldWalk {
  public:
    FieldWalk(const WeaponRecords& records, bool reverse) : records_(records), reverse_(reverse) {}

    // The bytes the field ends with; each conflict is added to conflicts.
    std::string Walk(const std::vector<Step>& steps, const std::string& now, bool force,
                     std::vector<std::string>& conflicts) const {
        if (now == To(steps.back())) {
            return now;  // so a run again after a chain, or after forcing, finds nothing to do
        }
        std::string state = now;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            if (state == To(step)) {
                continue;
            }
            if (step.patch->checkable && state != From(step)) {
                conflicts.push_back(Conflict(steps, i, state));
                if (!force) {
                    continue;
                }
            }
            state = To(step);
        }
        return state;
    }

  private:
    const std::string& From(const Step& step) const {
        return reverse_ ? step.change->after : step.change->before;
    }
    const std::string& To(const Step& step) const {
        return reverse_ ? step.change->before : step.change->after;
    }

    std::string Show(const Step& step, const std::string& bytes) const {
        return Quoted(Shown(*step.change, bytes, records_[step.change->entry]));
    }

    // Names the field, the patch, and who left the bytes it does not expect: an earlier patch
    // that starts from the same bytes, a patch that set them in this run, or the map.
    std::string Conflict(const std::vector<Step>& steps, std::size_t i,
                         const std::string& state) const {
        const Step& step = steps[i];
        const std::string& where = step.change->where;
        for (std::size_t j = 0; j < i; ++j) {
            if (From(steps[j]) == From(step) && steps[j].patch != step.patch) {
                return where + ": " + steps[j].patch->path + text::kAnd + step.patch->path +
                       text::kBothChange + Show(step, From(step)) + text::kToEach +
                       Show(step, To(steps[j])) + text::kAndTo + Show(step, To(step));
            }
        }
        std::string holder = text::kTheMap;
        for (std::size_t j = 0; j < i; ++j) {
            if (To(steps[j]) == state) {
                holder = steps[j].patch->path;
            }
        }
        return where + ": " + step.patch->path + text::kExpects + Show(step, From(step)) + ", " +
               holder + text::kHolds + Show(step, state);
    }

    const WeaponRecords& records_;
    bool reverse_;
};

// Writes each weapon that changed, once, and stops at the first that fails.
Status WriteWeapons(const bool (&changed)[kWeaponCount], WeaponRecords& records) {
    std::string unwritten;
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        if (changed[entry] && (!unwritten.empty() || !records[entry].WriteToMapChecked())) {
            unwritten += (unwritten.empty() ? "" : ", ") + std::string(PatchName(entry));
        }
    }
    if (unwritten.empty()) {
        return {};
    }
    return Failure{unwritten + text::kNotWritten + kMapFileName + "; " + text::kRunAgain};
}

}  // namespace

int RunApply(const ApplyRequest& request, WeaponRecords& records, std::ostream& out,
             std::ostream& err) {
    Result<std::vector<Patch>> patches = ReadPatches(request.patches, records);
    if (!patches) {
        PrintAsProgram(err, patches.Error());
        return kRefused;
    }
    for (const Patch& patch : *patches) {
        if (request.reverse && !patch.checkable) {
            PrintAsProgram(err, patch.path + ": " + text::kNoBefore);
            return kRefused;
        }
    }
    if (!MapFile(kMapFileName, MapFile::Mode::Update).Good()) {
        PrintAsProgram(err, std::string(kMapFileName) + ": " + text::kMapUnwritable);
        return kRefused;
    }
    const FieldWalk walk(records, request.reverse);
    std::vector<std::string> conflicts;
    std::vector<std::pair<const Change*, std::string>> made;  // each field's change, its end
    for (std::vector<Step> steps : StepsByField(*patches)) {
        if (request.reverse) {
            std::reverse(steps.begin(), steps.end());
        }
        const Change& change = *steps.front().change;
        const std::string now = FieldBytes(change, records[change.entry]);
        const std::string end = walk.Walk(steps, now, request.force, conflicts);
        if (end != now) {
            made.emplace_back(&change, end);
        }
    }
    for (const std::string& conflict : conflicts) {
        PrintAsProgram(err, conflict);
    }
    if (!conflicts.empty() && !request.force) {
        PrintAsProgram(err, text::kNothingWritten);
        return kNotDone;
    }
    bool changed[kWeaponCount] = {};
    for (const auto& [change, end] : made) {
        WeaponStruct& record = records[change->entry];
        out << PatchName(change->entry) << ": "
            << Shown(*change, FieldBytes(*change, record), record) << " -> "
            << Shown(*change, end, record) << '\n';
        SetFieldBytes(*change, end, record);
        changed[change->entry] = true;
    }
    if (Status written = WriteWeapons(changed, records); !written) {
        PrintAsProgram(err, written.Error());
        return kWriteFailed;
    }
    out << made.size() << " fields changed in "
        << std::count(std::begin(changed), std::end(changed), true) << " weapons\n";
    return kDone;
}

}  // namespace mods
