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

int HexDigit(char c) {
    const char* digits = "0123456789abcdef0123456789ABCDEF";
    const char* at = c == '\0' ? nullptr : std::strchr(digits, c);
    return at == nullptr ? -1 : static_cast<int>(at - digits) % 16;
}

}  // namespace

std::string Hex(const void* data, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned byte = static_cast<const unsigned char*>(data)[i];
        text += "0123456789abcdef"[byte >> 4];
        text += "0123456789abcdef"[byte & 15];
    }
    return text;
}

bool Unhex(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    return text.size() % 2 == 0;
}

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
