#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "core/hex.h"
#include "editor/item_text.h"
#include "weapon/weapon_struct.h"

// What a weapon patch says of one field: the field's bytes as the map holds them, written as
// hexadecimal text (core/hex.h), and a value's bytes read from and stored into a record.
namespace cli {

using Json = nlohmann::ordered_json;

// The format's own number, so that a later format can tell an old patch.
inline constexpr int kPatchFormat = 1;

std::string ValueBytes(FieldRef field, const WeaponStruct& record);
// The bytes must be as many as the field takes.
void SetValueBytes(FieldRef field, const std::string& bytes, WeaponStruct& record);

// The name a patch gives the weapon of a weapon-list entry: the tree's.
const char* PatchName(int entry);

}  // namespace cli
