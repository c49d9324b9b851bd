#pragma once

#include <cstdint>
#include <string>

#include "core/result.h"

// Builds a complete map that the editor can work on: the map's header and tag index, the
// catalogue's names at their offsets, and the fifteen weapon structures. Byte for byte the same
// on every run; unwritten stretches are left as holes where the file system allows.

namespace demo {

inline constexpr std::uint32_t kFileSize = 0x02A47000u;
// A weapon's second block lies this far into the weapon's own data (kWeaponDataSize bytes).
inline constexpr std::uint32_t kSecondBlockDistance = 0x520;

// The byte every gap and unused stretch of a weapon's data holds at this offset.
std::uint8_t GapPattern(std::uint32_t fileOffset);

// Fails with the reason when the file cannot be written.
Status WriteDemoMap(const std::string& path);

}  // namespace demo
