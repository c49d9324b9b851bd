#pragma once

#include <array>
#include <utility>

#include "catalogue/supported_map.h"
#include "weapon/weapon_struct.h"

// The fifteen live weapon records, built and read in weapon-list order.
class WeaponRecords {
  public:
    WeaponRecords() : records_(Build(std::make_index_sequence<kWeaponCount>{})) {}

    WeaponStruct& operator[](int entry) { return records_[entry]; }
    const WeaponStruct& operator[](int entry) const { return records_[entry]; }

  private:
    // A braced list initialises its elements in order, so the reads happen in list order.
    template <std::size_t... I>
    static std::array<WeaponStruct, kWeaponCount> Build(std::index_sequence<I...>) {
        return {WeaponStruct(kWeaponList[I].metaOffset)...};
    }

    std::array<WeaponStruct, kWeaponCount> records_;
};
