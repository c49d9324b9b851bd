#pragma once

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

// Where a record's fields lie in the map, worked out from the one layout table, for checks that
// must know which bytes an edit may touch, and what the tree shows of them. Free of GoogleTest
// so the fuzzers can use it too.
namespace testing_support {

struct FieldPlace {
    bool second;           // in the second block
    std::uint32_t offset;  // from the start of its block
    std::uint32_t size;
};

template <std::size_t N>
constexpr int FieldsOfKind(const LayoutRow (&rows)[N], FieldKind kind) {
    int fields = 0;
    for (const LayoutRow& row : rows) {
        fields += row.kind == kind ? row.count : 0;
    }
    return fields;
}

// The index-th field of a kind in walk order: the main block's first, then the second block's.
// This is also the field's index in its record array.
constexpr FieldPlace PlaceOf(FieldKind kind, int index) {
    const auto size = static_cast<std::uint32_t>(FieldSize(kind));
    const long main = FieldOffset(kMainBlock, std::size(kMainBlock), kind, index);
    if (main >= 0) {
        return {false, static_cast<std::uint32_t>(main), size};
    }
    const int inMain = FieldsOfKind(kMainBlock, kind);
    const long second = FieldOffset(kSecondBlock, std::size(kSecondBlock), kind, index - inMain);
    return {true, static_cast<std::uint32_t>(second), size};
}

inline std::uint64_t BlockStart(std::uint32_t metaOffset, std::uint32_t blockPointer, bool second) {
    return second ? std::uint64_t{blockPointer - ADDRESS_MAGIC} : std::uint64_t{metaOffset};
}

inline std::uint64_t FileOffsetOf(const WeaponStruct& record, const FieldPlace& place) {
    return BlockStart(record.GetMetaOffset(), record.GetBlockPointer(), place.second) +
           place.offset;
}

// The two words of a reference that an edit of it changes: its name pointer and its tag id.
inline constexpr std::uint32_t kNamePointerAt = 4;
inline constexpr std::uint32_t kTagIdAt = 12;

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

// A catalogue row's tag name: its path without the class code.
inline std::string NameOfRow(int row) {
    return std::string(TagNameOfRow(row));
}

// The weapon-list entry of the weapon the tree shows at `shown` (weapons without a display
// name are not shown).
inline int ShownWeaponEntry(int shown) {
    for (int i = 0; i < kWeaponCount; ++i) {
        if (kWeaponList[i].displayName != nullptr && shown-- == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace testing_support
