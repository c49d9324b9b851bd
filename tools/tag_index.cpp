#include "tools/tag_index.h"

#include <cinttypes>
#include <cstdio>

#include "catalogue/supported_map.h"

namespace tools {

namespace {

bool HasBytes(MapReader& reader, std::uint64_t offset, const char (&text)[5]) {
    char found[4];
    return reader.ReadAt(offset, found, 4) == 4 && std::memcmp(found, text, 4) == 0;
}

}  // namespace

Failure Mismatch(const std::string& where, const std::string& expected, const std::string& found) {
    return Failure{where + ": expected " + expected + ", found " + found};
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
    const std::string end = " the end of the file at " + Hex(reader.Size());
    std::uint8_t header[kIndexHeaderSize];
    if (!reader.Read32(kIndexOffsetField, &index.offset)) {
        lookup.detail = "the header ends before its index offset at " + Hex(kIndexOffsetField);
    } else if (reader.ReadAt(index.offset, header, sizeof header) != sizeof header) {
        lookup.detail = "the header's index offset " + Hex(index.offset) +
                        " leaves no room for the index before" + end;
    } else if (std::memcmp(header + kIndexSignatureField, "sgat", 4) != 0) {
        lookup.detail = "the header's index offset " + Hex(index.offset) +
                        " leads to no index: expected \"sgat\" at " +
                        Hex(index.offset + kIndexSignatureField);
    } else {
        std::memcpy(&index.firstEntryAddress, header, 4);
        std::memcpy(&index.tagCount, header + kIndexTagCountField, 4);
        index.entries.resize(std::min<std::uint32_t>(index.tagCount, kTagCount));
        const std::size_t bytes = index.entries.size() * kIndexEntrySize;
        if (reader.ReadAt(index.EntriesOffset(), index.entries.data(), bytes) == bytes) {
            lookup.status = IndexLookup::Status::Read;
        } else {
            lookup.detail = "the index's " + std::to_string(index.Rows()) + " entries at " +
                            Hex(index.EntriesOffset()) + " run past" + end;
        }
    }
    return lookup;
}

std::string ClassCodeText(std::uint32_t classWord) {
    // Stored little-endian, the code's first character is the word's high byte.
    const std::string code = {static_cast<char>(classWord >> 24),
                              static_cast<char>(classWord >> 16), static_cast<char>(classWord >> 8),
                              static_cast<char>(classWord)};
    return code.substr(0, code.find_last_not_of(std::string(" \0", 2)) + 1);
}

Status CheckTagCount(const TagIndex& index) {
    return index.tagCount == static_cast<std::uint32_t>(kTagCount)
               ? Status()
               : Mismatch("at " + Hex(index.offset + kIndexTagCountField),
                          std::to_string(kTagCount), std::to_string(index.tagCount));
}

Status CheckMagic(const TagIndex& index) {
    return index.ImpliedMagic() == ADDRESS_MAGIC
               ? Status()
               : Mismatch("at " + Hex(index.offset), Hex(ADDRESS_MAGIC),
                          Hex(index.ImpliedMagic()) + " (first entry address " +
                              Hex(index.firstEntryAddress) + " less the entries' offset " +
                              Hex(index.EntriesOffset()) + ")");
}

Status CheckRows(const TagIndex& index, std::uint32_t field, std::uint32_t (*catalogue)(int row)) {
    for (int row = 0; row < index.Rows(); ++row) {
        if (index.Word(row, field) != catalogue(row)) {
            return Mismatch(index.At(row, field), Hex(catalogue(row)), Hex(index.Word(row, field)));
        }
    }
    return {};
}

Status CheckWeaponMeta(const TagIndex& index) {
    for (const WeaponListEntry& weapon : kWeaponList) {
        const std::string path = " (" + std::string(weapon.path) + ")";
        if (weapon.row >= index.Rows()) {
            return Failure{"row " + std::to_string(weapon.row) + path +
                           ": the index ends before it"};
        }
        const std::uint32_t want = weapon.metaOffset + ADDRESS_MAGIC;
        if (index.entries[weapon.row].metaPointer != want) {
            return Mismatch(index.At(weapon.row, kEntryMetaPointerField) + path,
                            Hex(want) + " (meta offset " + Hex(weapon.metaOffset) + ")",
                            Hex(index.entries[weapon.row].metaPointer));
        }
    }
    return {};
}

}  // namespace tools
