#pragma once

#include <cstdint>

// The fifteen weapon tags the editor loads, in the order their records are built at start-up.
struct WeaponListEntry {
    int row;
    std::uint32_t identifier;
    const char* path;
    std::uint32_t metaOffset;
    const char* displayName;  // nullptr: the tree does not show this weapon
    const char* updateName;   // the text by which the update finds the record
};

inline constexpr int kWeaponCount = 15;
extern const WeaponListEntry kWeaponList[kWeaponCount];

// Index into kWeaponList of the entry whose update name equals the text exactly, or -1.
int FindWeaponByUpdateName(const char* text);
