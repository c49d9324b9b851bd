#pragma once

#include <cstdint>

// A tag reference exactly as the map stores it, 16 bytes, little-endian.
struct TagReference {
    std::uint32_t classCode;  // four characters; in file order they spell the class backwards
    std::uint32_t namePointer;
    std::uint32_t reserved;  // never interpreted, written back as read
    std::uint32_t tagId;
};
static_assert(sizeof(TagReference) == 16);
