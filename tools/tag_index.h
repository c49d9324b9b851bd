#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/hex.h"
#include "core/result.h"
#include "tools/map_reader.h"

// The map's own header and tag index, in the layout the supported map (and the demo map) has:
// a 2048-byte header that begins with "daeh" and ends with "toof" and holds the index's file
// offset, then at that offset a 36-byte index header followed by one 32-byte entry per tag.
// The editor itself never reads any of this; the map tools do, to tell whether a map is the
// one the catalogue describes and to compile a catalogue from a user's own map.

namespace tools {

inline constexpr std::uint32_t kHeadSignatureOffset = 0x000;  // "daeh"
inline constexpr std::uint32_t kIndexOffsetField = 0x010;
inline constexpr std::uint32_t kFootSignatureOffset = 0x7FC;  // "toof"

inline constexpr std::uint32_t kIndexHeaderSize = 36;
inline constexpr std::uint32_t kIndexTagCountField = 12;
inline constexpr std::uint32_t kIndexSignatureField = 32;  // "sgat"
inline constexpr std::uint32_t kIndexEntrySize = 32;

struct TagIndexEntry {
    std::uint32_t classes[3];  // own class, parent, grandparent; 0xFFFFFFFF for none
    std::uint32_t identifier;
    std::uint32_t namePointer;
    std::uint32_t metaPointer;
    std::uint32_t unused[2] = {};
};
static_assert(sizeof(TagIndexEntry) == kIndexEntrySize);

// Byte offsets of the entry fields the tools compare, for naming where a mismatch lies.
inline constexpr std::uint32_t kEntryIdentifierField = 12;
inline constexpr std::uint32_t kEntryNamePointerField = 16;
inline constexpr std::uint32_t kEntryMetaPointerField = 20;

// How every rule a map must keep names its first mismatch: "WHERE: expected X, found Y".
Failure Mismatch(const std::string& where, const std::string& expected, const std::string& found);

struct TagIndex {
    std::uint32_t offset = 0;  // file offset of the index header
    std::uint32_t firstEntryAddress = 0;
    std::uint32_t tagCount = 0;
    // At most one entry per catalogue row: rows beyond the catalogue's are never compared.
    std::vector<TagIndexEntry> entries;

    std::uint32_t EntriesOffset() const { return offset + kIndexHeaderSize; }
    // The constant that turns this map's pointers into file offsets: its first entry's address
    // less the entry's file offset.
    std::uint32_t ImpliedMagic() const { return firstEntryAddress - EntriesOffset(); }
    // "row 5 at 0x0233B6C4", where that row's field lies in the file.
    std::string At(int row, std::uint32_t field) const {
        return "row " + std::to_string(row) + " at " +
               Hex(EntriesOffset() + std::uint64_t(row) * kIndexEntrySize + field);
    }
    std::uint32_t Word(int row, std::uint32_t field) const {
        std::uint32_t word;
        std::memcpy(&word, reinterpret_cast<const char*>(&entries[row]) + field, 4);
        return word;
    }
    int Rows() const { return static_cast<int>(entries.size()); }
};

struct IndexLookup {
    enum class Status {
        NoHeader,  // not the supported layout: no header to read an index from
        Broken,    // a header, but its index cannot be read; detail says why
        Read,
    };
    Status status = Status::NoHeader;
    std::string detail;
    TagIndex index;
};

IndexLookup ReadTagIndex(MapReader& reader);

// A class word as text in reading order, trailing blanks and zero bytes of a short code dropped.
std::string ClassCodeText(std::uint32_t classWord);

// Rules a map must keep to be the catalogue's, shared by the check and the catalogue
// extraction. Each fails with the first mismatch (row, file offset, expected and found).
Status CheckTagCount(const TagIndex& index);
Status CheckMagic(const TagIndex& index);
Status CheckWeaponMeta(const TagIndex& index);
// The first row whose entry field differs from the catalogue's value for the row.
Status CheckRows(const TagIndex& index, std::uint32_t field, std::uint32_t (*catalogue)(int row));

}  // namespace tools
