#pragma once

#include <cinttypes>
#include <cstdio>
#include <string>

// How the tools, the path-list rules and the catalogue's generator write an offset, a pointer or
// an identifier: "0x0233B600", at least eight upper-case digits.
inline std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08" PRIX64, value);
    return text;
}
