#include "tools/tag_index.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "catalogue/supported_map.h"

namespace tools {

namespace {

bool HasBytes(MapReader& reader, std::uint64_t offset, const char (&text)[5]) {
    char found[4];
    return reader.ReadAt(offset, found, 4) == 4 && std::memcmp(found, text, 4) == 0;
}

std::string Field(const TagIndex& index, int row, std::uint32_t field) {
    return "row " + std::to_string(row) + " at " + Hex(index.FieldOffset(row, field));
}

}  // namespace

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08" PRIX64, value);
    return text;
}

IndexLookup ReadTagIndex(MapReader& reader) {
    IndexLookup lookup;
    if (!HasBytes(reader, kHeadSignatureOffset, "daeh") ||
        !HasBytes(reader, kFootSignatureOffset, "toof")) {
        lookup.detail = "no \"daeh\" at " + Hex(kHeadSignatureOffset) + " and \"toof\" at " +
                        Hex(kFootSignatureOffset);
        return lookup;
    }
    lookup.status = IndexLookup::Status::Broken;
    TagIndex& index = lookup.index;
    if (!reader.Read32(kIndexOffsetField, &index.offset)) {
        lookup.detail = "the header ends before its index offset at " + Hex(kIndexOffsetField);
        return lookup;
    }
    std::uint8_t header[kIndexHeaderSize];
    if (reader.ReadAt(index.offset, header, sizeof header) != sizeof header) {
        lookup.detail = "the header's index offset " + Hex(index.offset) +
                        " leaves no room for the index before the end of the file at " +
                        Hex(reader.Size());
        return lookup;
    }
    if (std::memcmp(header + kIndexSignatureField, "sgat", 4) != 0) {
        lookup.detail = "the header's index offset " + Hex(index.offset) +
                        " leads to no index: expected \"sgat\" at " +
                        Hex(index.offset + kIndexSignatureField);
        return lookup;
    }
    std::memcpy(&index.firstEntryAddress, header, 4);
    std::memcpy(&index.tagCount, header + kIndexTagCountField, 4);
    const std::uint32_t rows = std::min<std::uint32_t>(index.tagCount, kTagCount);
    index.entries.resize(rows);
    const std::size_t bytes = rows * sizeof(TagIndexEntry);
    if (reader.ReadAt(index.EntriesOffset(), index.entries.data(), bytes) != bytes) {
        lookup.detail = "the index's " + std::to_string(rows) + " entries at " +
                        Hex(index.EntriesOffset()) + " run past the end of the file at " +
                        Hex(reader.Size());
        return lookup;
    }
    lookup.status = IndexLookup::Status::Read;
    return lookup;
}

std::string ClassCodeText(std::uint32_t classWord) {
    // Stored little-endian, the code's first character is the word's high byte.
    std::string code;
    for (int shift = 24; shift >= 0; shift -= 8) {
        code += static_cast<char>((classWord >> shift) & 0xFFu);
    }
    while (!code.empty() && (code.back() == ' ' || code.back() == '\0')) {
        code.pop_back();
    }
    return code;
}

Status CheckTagCount(const TagIndex& index) {
    if (index.tagCount == static_cast<std::uint32_t>(kTagCount)) {
        return {};
    }
    return Failure{"at " + Hex(index.offset + kIndexTagCountField) + ": expected " +
                   std::to_string(kTagCount) + ", found " + std::to_string(index.tagCount)};
}

Status CheckMagic(const TagIndex& index) {
    if (index.ImpliedMagic() == ADDRESS_MAGIC) {
        return {};
    }
    return Failure{"at " + Hex(index.offset) + ": expected " + Hex(ADDRESS_MAGIC) + ", found " +
                   Hex(index.ImpliedMagic()) + " (first entry address " +
                   Hex(index.firstEntryAddress) + " less the entries' offset " +
                   Hex(index.EntriesOffset()) + ")"};
}

Status CheckIdentifiers(const TagIndex& index) {
    // The catalogue's identifiers follow from the row alone, whatever the path list.
    for (int row = 0; row < static_cast<int>(index.entries.size()); ++row) {
        if (index.entries[row].identifier != TagIdentifier(row)) {
            return Failure{Field(index, row, kEntryIdentifierField) + ": expected " +
                           Hex(TagIdentifier(row)) + ", found " +
                           Hex(index.entries[row].identifier)};
        }
    }
    return {};
}

Status CheckWeaponMeta(const TagIndex& index) {
    for (const WeaponListEntry& weapon : kWeaponList) {
        if (static_cast<std::size_t>(weapon.row) >= index.entries.size()) {
            return Failure{"row " + std::to_string(weapon.row) + " (" + weapon.path +
                           "): the index ends before it"};
        }
        const std::uint32_t want = weapon.metaOffset + ADDRESS_MAGIC;
        const std::uint32_t found = index.entries[weapon.row].metaPointer;
        if (found != want) {
            return Failure{Field(index, weapon.row, kEntryMetaPointerField) + " (" + weapon.path +
                           "): expected " + Hex(want) + " (meta offset " + Hex(weapon.metaOffset) +
                           "), found " + Hex(found)};
        }
    }
    return {};
}

}  // namespace tools
