#include "cli/patch_fields.h"

#include <cstring>

#include "catalogue/supported_map.h"

namespace cli {

namespace {

template <class T>
std::string Raw(T value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T Cooked(const std::string& bytes) {
    T value;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

}  // namespace

// The record holds the file's own bytes, so a value's bytes are its storage's.
std::string ValueBytes(FieldRef field, const WeaponStruct& record) {
    const int i = field.element;
    switch (field.kind) {
        case FieldKind::NamedShort:
            return Raw(record.GetNamedShort(i));
        case FieldKind::NamedFloat:
            return Raw(record.GetNamedFloat(i));
        case FieldKind::UnknownShort:
            return Raw(record.GetUnknownShort(i));
        case FieldKind::UnknownLong:
            return Raw(record.GetUnknownLong(i));
        case FieldKind::UnknownFloat:
            return Raw(record.GetUnknownFloat(i));
        default:
            return {};
    }
}

void SetValueBytes(FieldRef field, const std::string& bytes, WeaponStruct& record) {
    const int i = field.element;
    switch (field.kind) {
        case FieldKind::NamedShort:
            return record.SetNamedShort(Cooked<std::int16_t>(bytes), i);
        case FieldKind::NamedFloat:
            return record.SetNamedFloat(Cooked<float>(bytes), i);
        case FieldKind::UnknownShort:
            return record.SetUnknownShort(Cooked<std::int16_t>(bytes), i);
        case FieldKind::UnknownLong:
            return record.SetUnknownLong(Cooked<std::int32_t>(bytes), i);
        case FieldKind::UnknownFloat:
            return record.SetUnknownFloat(Cooked<float>(bytes), i);
        default:
            return;
    }
}

// The two weapons the tree leaves out keep the update's names, which no patch can reach.
const char* PatchName(int entry) {
    const WeaponListEntry& weapon = kWeaponList[entry];
    return weapon.displayName != nullptr ? weapon.displayName : weapon.updateName;
}

}  // namespace cli
