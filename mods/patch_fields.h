#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/hex.h"
#include "core/result.h"
#include "editor/item_text.h"
#include "weapon/weapon_struct.h"

class WeaponRecords;

// What a weapon patch says of one field: the field's bytes as the map holds them, written as
// hexadecimal text (core/hex.h), and a value's bytes read from and stored into a record.
namespace mods {

using Json = nlohmann::ordered_json;

// The format's own number, so that a later format can tell an older patch. Format 1 gave each
// field's new bytes alone; format 2 adds, under "was", what the field held before.
inline constexpr int kPatchFormat = 2;

std::string ValueBytes(FieldRef field, const WeaponStruct& record);
// The bytes must be as many as the field takes.
void SetValueBytes(FieldRef field, const std::string& bytes, WeaponStruct& record);

// The name a patch gives the weapon of a weapon-list entry: the tree's.
const char* PatchName(int entry);

// One entry of a patch, resolved against the records of cache003.map: a value's field or a
// reference's slot, with its bytes before and after, whole (a reference's 16 bytes as its slot
// would hold them), so that every check is a comparison of bytes.
struct Change {
    int entry = -1;
    FieldRef field{};
    int slot = -1;      // the reference's slot; -1 for a value
    std::string where;  // as the tree names the field: "Pistol, Max ammo", "Pistol, Models 0"
    std::string after;
    std::string before;  // empty when the patch's format records none

    bool SameField(const Change& other) const {
        return entry == other.entry && slot == other.slot && (slot >= 0 || field == other.field);
    }
};

struct Patch {
    std::string path;
    std::vector<Change> changes;
    bool checkable = true;  // whether every change says what it replaces
};

// Every entry's change, or one failure naming the file and every entry that is wrong.
Result<Patch> ReadPatch(const std::string& path, const WeaponRecords& records);

// A field's bytes in a record, stored into one, and shown as the tree shows the field.
std::string FieldBytes(const Change& change, const WeaponStruct& record);
void SetFieldBytes(const Change& change, const std::string& bytes, WeaponStruct& record);
std::string Shown(const Change& change, const std::string& bytes, const WeaponStruct& record);

}  // namespace mods
