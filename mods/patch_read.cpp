#include <cstring>

#include "app/weapon_records.h"
#include "catalogue/tag_catalogue.h"
#include "core/program_voice.h"
#include "editor/reference_slots.h"
#include "mods/messages.h"
#include "mods/patch_fields.h"
#include "mods/patch_text.h"

namespace mods {

namespace {

// A weapon the tree shows, by the name it shows: the name the update knows it by.
int FindShownWeapon(const std::string& name) {
    const int entry = FindWeaponByUpdateName(name);
    return entry >= 0 && kWeaponList[entry].displayName != nullptr ? entry : -1;
}

// The row of a tag the list offers with "Show all identifiers": any searched row, found by its
// path and its class together, as some paths name tags of two classes.
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

// Where in the weapon the entry points: sets the change's field or slot, and how it is named.
Status Locate(const Json& entry, const WeaponStruct& record, Change& change) {
    const Json index = entry.value("index", Json());
    const auto indexBelow = [&](int count) -> Status {
        if (!index.is_number_integer() || index.get<long long>() < 0 ||
            index.get<long long>() >= count) {
            return Failure{"index out of range: the group holds " + std::to_string(count)};
        }
        change.where.append(1, ' ').append(std::to_string(index.get<int>()));
        return {};
    };
    change.where = std::string(PatchName(change.entry)) + ", ";
    if (entry.contains("label")) {
        for (const NamedField& named : NamedFields()) {
            if (Text(entry, "label") == named.label) {
                change.field = named.field;
                change.where += named.label;
                return {};
            }
        }
        return Failure{"unknown label " + Given(Text(entry, "label"))};
    }
    const std::string group = Text(entry, "group");
    change.where += group;
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
            const TagReference* slot = NthReferenceOfClass(record, tagClass, index.get<int>());
            while (record.GetTagRef(++change.slot) != slot) {
            }
            return {};
        }
    }
    return Failure{"unknown group " + Given(group)};
}

// The bytes a side of an entry ("bytes", with "tag" and "class" for a reference) gives the
// field: a reference's slot as it would be, pointed at the tag named by path and class.
Result<std::string> SideBytes(const Json& side, const Change& change, const WeaponStruct& record) {
    std::string bytes;
    const std::size_t size = change.slot >= 0 ? sizeof(TagReference) : FieldSize(change.field.kind);
    if (!BytesFromHex(Text(side, "bytes"), bytes) || bytes.size() != size) {
        return Failure{"bytes must be " + std::to_string(size) + " bytes in hexadecimal, not " +
                       Given(Text(side, "bytes"))};
    }
    if (change.slot < 0) {
        return bytes;
    }
    if (!side.contains("tag") || !side.contains("class")) {
        return Failure{text::kNoTagOrClass};
    }
    int row = -1;
    const std::string tag = Text(side, "tag") + "." + Text(side, "class");
    if (!side["tag"].is_null() &&
        (row = FindSearchedRow(Text(side, "tag"), Text(side, "class"))) < 0) {
        return Failure{"the tag " + Given(tag) + " is not in the catalogue"};
    }
    TagReference slot = *record.GetTagRef(change.slot);
    PointAtRow(slot, row);
    if (row < 0) {  // no tag, or one the catalogue cannot name: where the bytes point
        TagReference pointed;
        std::memcpy(&pointed, bytes.data(), sizeof pointed);
        slot.tagId = pointed.tagId;
        slot.namePointer = pointed.namePointer;
    }
    return std::string(reinterpret_cast<const char*>(&slot), sizeof slot);
}

Result<Change> ReadChange(const Json& entry, const WeaponRecords& records, bool withBefore) {
    Change change;
    if (!entry.is_object()) {
        return Failure{text::kNotObject};
    }
    if ((change.entry = FindShownWeapon(Text(entry, "weapon"))) < 0) {
        return Failure{"unknown weapon " + Given(Text(entry, "weapon"))};
    }
    const WeaponStruct& record = records[change.entry];
    if (Status located = Locate(entry, record, change); !located) {
        return Failure{located.Error()};
    }
    Result<std::string> after = SideBytes(entry, change, record);
    if (!after) {
        return Failure{after.Error()};
    }
    change.after = *after;
    if (withBefore) {
        Result<std::string> before = SideBytes(entry.value("was", Json::object()), change, record);
        if (!before) {
            return Failure{"was: " + before.Error()};
        }
        change.before = *before;
    }
    return change;
}

}  // namespace

Result<Patch> ReadPatch(const std::string& path, const WeaponRecords& records) {
    const Result<Json> read = ReadJsonFile(path);
    if (!read) {
        return Failure{read.Error()};
    }
    const Json& patch = *read;
    const Json format = patch.is_object() ? patch.value("torvex_patch", Json()) : Json();
    if (!format.is_number_integer() || format.get<long long>() < 1 ||
        !patch.value("changes", Json()).is_array()) {
        return Failure{path + ": " + text::kNotPatch};
    }
    if (format.get<long long>() > kPatchFormat) {
        return Failure{path + ": " + text::kNewerFormat + std::to_string(format.get<long long>()) +
                       text::kKnownFormats + std::to_string(kPatchFormat)};
    }
    Patch result{path, {}, format.get<int>() >= 2};
    std::string errors;
    std::vector<std::size_t> numbers;  // each read change's entry, from 1
    const Json& entries = patch["changes"];
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::string entry = path + ": entry " + std::to_string(n + 1) + ": ";
        Result<Change> change = ReadChange(entries[n], records, result.checkable);
        if (!change) {
            errors += entry + change.Error() + "\n";
            continue;
        }
        for (std::size_t m = 0; m < result.changes.size(); ++m) {
            if (result.changes[m].SameField(*change)) {
                errors += entry + text::kSameField + std::to_string(numbers[m]) + "\n";
            }
        }
        result.changes.push_back(*change);
        numbers.push_back(n + 1);
    }
    if (!errors.empty()) {
        errors.pop_back();
        return Failure{errors};
    }
    return result;
}

}  // namespace mods
