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

// Where one patch stands on one field, the other patches given with it taken into account: a
// later patch that builds on its bytes keeps it applied, an earlier one that leads to its
// starting bytes keeps it not applied.
enum class Standing { Applied, NotApplied, Conflicting };

Standing StandingOf(const std::vector<Step>& steps, std::size_t at, const std::string& now) {
    std::string reached = steps[at].change->after;
    for (std::size_t i = at; now != reached && ++i < steps.size();) {
        if (steps[i].change->before == reached) {
            reached = steps[i].change->after;
        }
    }
    if (now == reached) {
        return Standing::Applied;
    }
    std::string left = steps[at].change->before;
    for (std::size_t i = at; now != left && i-- > 0;) {
        if (steps[i].change->after == left) {
            left = steps[i].change->before;
        }
    }
    return now == left ? Standing::NotApplied : Standing::Conflicting;
}

}  // namespace

int RunStatus(const std::vector<std::string>& paths, const WeaponRecords& records,
              std::ostream& out, std::ostream& err) {
    Result<std::vector<Patch>> patches = ReadPatches(paths, records);
    std::string refused = patches ? "" : patches.Error();
    for (const Patch& patch : patches ? *patches : std::vector<Patch>()) {
        if (!patch.checkable) {
            refused += (refused.empty() ? "" : "\n") + patch.path + ": " + text::kNoBefore;
        }
    }
    if (!MapFile(kMapFileName, MapFile::Mode::Read).Good()) {
        refused +=
            (refused.empty() ? "" : "\n") + std::string(kMapFileName) + ": " + text::kUnreadable;
    }
    if (!refused.empty()) {
        PrintAsProgram(err, refused);
        return kRefused;
    }
    const std::vector<std::vector<Step>> fields = StepsByField(*patches);
    bool allApplied = true;
    for (const Patch& patch : *patches) {
        std::size_t applied = 0;
        std::string conflicts;
        for (const std::vector<Step>& steps : fields) {
            const auto at = std::find_if(steps.begin(), steps.end(),
                                         [&](const Step& step) { return step.patch == &patch; });
            if (at == steps.end()) {
                continue;
            }
            const Change& change = *at->change;
            const WeaponStruct& record = records[change.entry];
            const std::string now = FieldBytes(change, record);
            switch (StandingOf(steps, static_cast<std::size_t>(at - steps.begin()), now)) {
                case Standing::Applied:
                    ++applied;
                    break;
                case Standing::NotApplied:
                    break;
                case Standing::Conflicting:
                    conflicts += "  " + change.where + ": " + patch.path + text::kChanges +
                                 Quoted(Shown(change, change.before, record)) + text::kTo +
                                 Quoted(Shown(change, change.after, record)) + ", " +
                                 text::kTheMap + text::kHolds + Quoted(Shown(change, now, record)) +
                                 "\n";
            }
        }
        const std::size_t total = patch.changes.size();
        out << patch.path << ": ";
        if (!conflicts.empty()) {
            out << text::kConflicting << ":\n" << conflicts;
        } else if (applied == total) {
            out << text::kApplied << '\n';
        } else if (applied == 0) {
            out << text::kNotApplied << '\n';
        } else {
            out << text::kPartly << ", " << applied << text::kOf << total << text::kFields << '\n';
        }
        allApplied = allApplied && applied == total;
    }
    for (const std::vector<Step>& steps : fields) {
        if (steps.size() > 1) {
            out << steps.front().change->where << text::kChangedBy;
            for (const Step& step : steps) {
                out << step.patch->path << (&step == &steps.back() ? "; " : ", ");
            }
            out << steps.back().patch->path << text::kWins << '\n';
        }
    }
    return allApplied ? kDone : kNotDone;
}

}  // namespace mods
