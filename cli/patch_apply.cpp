#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>

#include "app/weapon_records.h"
#include "catalogue/tag_catalogue.h"
#include "cli/patch_fields.h"
#include "cli/weapon_patch.h"
#include "core/result.h"
#include "editor/reference_slots.h"
#include "weapon/map_file.h"

namespace cli {

namespace {

// One entry of a patch, checked against the records: the weapon, and either a value's field
// with its new bytes or a reference's slot with the catalogue row it is to point at (-1: none).
struct Change {
    int entry = -1;
    FieldRef field{};
    std::string bytes;
    TagReference* slot = nullptr;
    int row = -1;
};

// A weapon the tree shows, by the name it shows: the name the update knows it by.
int FindShownWeapon(const std::string& name) {
    const int entry = FindWeaponByUpdateName(name);
    return entry >= 0 && kWeaponList[entry].displayName != nullptr ? entry : -1;
}

// The row of a tag the list offers with "Show all identifiers": any searched row.
int FindSearchedRow(const std::string& name, const std::string& tagClass) {
    for (int row = 0; row < kSearchedRowCount; ++row) {
        if (TagNameOfRow(row) == name && ClassOfRow(row) == tagClass) {
            return row;
        }
    }
    return -1;
}

std::string Text(const Json& entry, const char* key) {
    const auto it = entry.find(key);
    return it != entry.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Where in the weapon the entry points: sets the change's field or slot.
Status Locate(const Json& entry, const WeaponStruct& record, Change& change) {
    const Json index = entry.value("index", Json());
    const auto indexBelow = [&](int count) -> Status {
        if (!index.is_number_integer() || index.get<long long>() < 0 ||
            index.get<long long>() >= count) {
            return Failure{"index out of range: the group holds " + std::to_string(count)};
        }
        return {};
    };
    if (entry.contains("label")) {
        for (const NamedField& named : NamedFields()) {
            if (Text(entry, "label") == named.label) {
                change.field = named.field;
                return {};
            }
        }
        return Failure{"unknown label " + Quoted(Text(entry, "label"))};
    }
    const std::string group = Text(entry, "group");
    for (const UnnamedCategory& category : kUnnamedCategories) {
        if (group == category.text) {
            change.field = {category.kind, index.is_number_integer() ? index.get<int>() : 0};
            return indexBelow(FieldCount(category.kind));
        }
    }
    for (const TagClass& tagClass : kTagClasses) {
        if (group == tagClass.categoryName) {
            if (Status inRange = indexBelow(ReferencesOfClass(record, tagClass)); !inRange) {
                return inRange;
            }
            change.slot = NthReferenceOfClass(record, tagClass, index.get<int>());
            return {};
        }
    }
    return Failure{"unknown group " + Quoted(group)};
}

Result<Change> ReadChange(const Json& entry, const WeaponRecords& records) {
    Change change;
    if (!entry.is_object() || (change.entry = FindShownWeapon(Text(entry, "weapon"))) < 0) {
        return Failure{"unknown weapon " + Quoted(Text(entry, "weapon"))};
    }
    if (Status located = Locate(entry, records[change.entry], change); !located) {
        return Failure{located.Error()};
    }
    const std::size_t size = change.slot ? sizeof(TagReference) : FieldSize(change.field.kind);
    if (!BytesFromHex(Text(entry, "bytes"), change.bytes) || change.bytes.size() != size) {
        return Failure{"bytes must be " + std::to_string(size) + " bytes in hexadecimal, not " +
                       Quoted(Text(entry, "bytes"))};
    }
    const std::string tag = Text(entry, "tag") + "." + Text(entry, "class");
    if (change.slot != nullptr && !entry.value("tag", Json()).is_null() &&
        (change.row = FindSearchedRow(Text(entry, "tag"), Text(entry, "class"))) < 0) {
        return Failure{"the tag " + Quoted(tag) + " is not in the catalogue"};
    }
    return change;
}

// Every entry's change, or every entry's error, each line naming its entry from 1.
Result<std::vector<Change>> ReadPatch(const std::string& path, const WeaponRecords& records) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const Json patch = Json::parse(text.str(), nullptr, false);
    if (!file || patch.is_discarded() || !patch.is_object() ||
        patch.value("torvex_patch", Json()) != kPatchFormat ||
        !patch.value("changes", Json()).is_array()) {
        return Failure{path + ": not a readable patch of format " + std::to_string(kPatchFormat) +
                       " with a list of changes\n"};
    }
    std::vector<Change> changes;
    std::string errors;
    for (std::size_t n = 0; n < patch["changes"].size(); ++n) {
        Result<Change> change = ReadChange(patch["changes"][n], records);
        if (change) {
            changes.push_back(*change);
        } else {
            errors += path + ": entry " + std::to_string(n + 1) + ": " + change.Error() + "\n";
        }
    }
    return errors.empty() ? Result(changes) : Failure{errors};
}

struct Made {
    std::string before;  // the item's text before and after, as the tree shows it
    std::string after;
    bool changed;  // whether any byte of the record changed
};

Made Make(const Change& change, WeaponStruct& record) {
    if (change.slot == nullptr) {
        Made made{
            FieldText(change.field, record), {}, ValueBytes(change.field, record) != change.bytes};
        SetValueBytes(change.field, change.bytes, record);
        made.after = FieldText(change.field, record);
        return made;
    }
    TagReference& slot = *change.slot;
    const TagReference was = slot;
    PointAtRow(slot, change.row);
    return {WeaponStruct::ReadTagName(was.namePointer), WeaponStruct::ReadTagName(slot.namePointer),
            std::memcmp(&was, &slot, sizeof slot) != 0};
}

}  // namespace

int RunApply(const std::string& patchPath, WeaponRecords& records, std::ostream& out,
             std::ostream& err) {
    const Result<std::vector<Change>> changes = ReadPatch(patchPath, records);
    if (!changes || !MapFile(kMapFileName, MapFile::Mode::Update).Good()) {
        std::istringstream lines(changes
                                     ? std::string(kMapFileName) + " cannot be opened for writing\n"
                                     : changes.Error());
        for (std::string line; std::getline(lines, line);) {
            err << "torvex-cli: " << line << '\n';
        }
        return 2;
    }
    bool changed[kWeaponCount] = {};
    int fields = 0;
    for (const Change& change : *changes) {
        const Made made = Make(change, records[change.entry]);
        if (made.changed) {
            out << PatchName(change.entry) << ": " << made.before << " -> " << made.after << '\n';
            changed[change.entry] = true;
            ++fields;
        }
    }
    int weapons = 0;
    for (int entry = 0; entry < kWeaponCount; ++entry) {
        if (changed[entry]) {
            records[entry].WriteToMap();  // Update's writer: the whole weapon, once
            ++weapons;
        }
    }
    out << fields << " fields changed in " << weapons << " weapons\n";
    return 0;
}

}  // namespace cli
