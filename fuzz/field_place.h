#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "catalogue/supported_map.h"
#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

// Where a record's fields lie in the map, worked out from the one layout table, for the fuzzers
// that must know which bytes an edit may touch.
namespace fuzz {

struct FieldPlace {
    bool second;           // in the second block
    std::uint32_t offset;  // from the start of its block
    std::uint32_t size;
};

// The index-th field of a kind in walk order: the main block's first, then the second block's.
// This is also the field's index in its record array.
constexpr FieldPlace PlaceOf(FieldKind kind, int index) {
    const auto size = static_cast<std::uint32_t>(FieldSize(kind));
    for (const bool second : {false, true}) {
        for (const LayoutRow& row :
             second ? std::span<const LayoutRow>(kSecondBlock) : kMainBlock) {
            if (row.kind == kind && index < row.count) {
                return {second, row.offset + size * static_cast<std::uint32_t>(index), size};
            }
            index -= row.kind == kind ? row.count : 0;
        }
    }
    return {};  // the layout has no such field
}

inline std::uint64_t FileOffsetOf(const WeaponStruct& record, const FieldPlace& place) {
    const std::uint64_t block = place.second ? record.GetBlockPointer() - ADDRESS_MAGIC
                                             : std::uint64_t{record.GetMetaOffset()};
    return block + place.offset;
}

// The slots of the references stored with one class, in slot order: the order of the items
// under that class's category.
inline std::vector<int> SlotsOfClass(const WeaponStruct& record, const char* storedBytes) {
    std::vector<int> slots;
    for (int i = 0; i < record.GetTagRefCount(); ++i) {
        if (std::memcmp(&record.GetTagRef(i)->classCode, storedBytes, 4) == 0) {
            slots.push_back(i);
        }
    }
    return slots;
}

}  // namespace fuzz
