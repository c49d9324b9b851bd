#pragma once

#include <charconv>
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

// How a patch and `dump` write raw bytes: two lower-case digits a byte, in the map's order.
inline std::string HexOfBytes(const void* data, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned byte = static_cast<const unsigned char*>(data)[i];
        text += "0123456789abcdef"[byte >> 4];
        text += "0123456789abcdef"[byte & 15];
    }
    return text;
}

// The bytes of a text of hexadecimal digit pairs; false for any other text.
inline bool BytesFromHex(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        unsigned byte = 0;
        const char* pair = text.data() + i;
        const auto [end, error] = std::from_chars(pair, pair + 2, byte, 16);
        if (error != std::errc() || end != pair + 2) {
            return false;
        }
        bytes += static_cast<char>(byte);
    }
    return text.size() % 2 == 0;
}
