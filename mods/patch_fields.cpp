#include "mods/patch_fields.h"

#include <cstring>

#include "catalogue/supported_map.h"

namespace mods {

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

std::string FieldBytes(const Change& change, const WeaponStruct& record) {
    if (change.slot < 0) {
        return ValueBytes(change.field, record);
    }
    return std::string(reinterpret_cast<const char*>(record.GetTagRef(change.slot)),
                       sizeof(TagReference));
}

void SetFieldBytes(const Change& change, const std::string& bytes, WeaponStruct& record) {
    if (change.slot < 0) {
        return SetValueBytes(change.field, bytes, record);
    }
    std::memcpy(record.GetTagRef(change.slot), bytes.data(), sizeof(TagReference));
}

// A copy of a record has values of its own, so a value is shown by the tree's own format.
std::string Shown(const Change& change, const std::string& bytes, const WeaponStruct& record) {
    if (change.slot < 0) {
        WeaponStruct copy = record;
        SetValueBytes(change.field, bytes, copy);
        return FieldText(change.field, copy);
    }
    TagReference reference;
    std::memcpy(&reference, bytes.data(), sizeof reference);
    return WeaponStruct::ReadTagName(reference.namePointer);
}

}  // namespace mods
