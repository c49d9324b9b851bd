#include "tools/catalogue_extract.h"

#include <cstring>

#include "catalogue/path_list_rules.h"
#include "catalogue/supported_map.h"
#include "tools/tag_index.h"

namespace tools {

namespace {

// Longer than any name a path list may hold, so a missing terminator is told apart.
constexpr std::size_t kLongestNameRead = 256;

Failure Broken(const char* rule, const std::string& detail) {
    return Failure{std::string(rule) + ": " + detail};
}

// Names follow one another from the first name offset, each after the previous one's
// terminator; the first offset is fixed by the catalogue's rules, whatever the names. Gives the
// list as a file holds it, one path a line.
Result<std::string> ReadNames(MapReader& reader, const TagIndex& index) {
    std::vector<char> area(std::min<std::uint64_t>(
        reader.Size() > kFirstNameOffset ? reader.Size() - kFirstNameOffset : 0,
        kTagCount * kLongestNameRead));
    area.resize(reader.ReadAt(kFirstNameOffset, area.data(), area.size()));
    std::string list;
    std::uint32_t want = kFirstNameOffset;
    for (int row = 0; row < kTagCount; ++row) {
        const std::uint32_t pointer = index.entries[row].namePointer;
        const std::uint32_t offset = pointer - ADDRESS_MAGIC;
        if (offset != want) {
            return Broken("names", "row " + std::to_string(row) + " at " +
                                       Hex(index.FieldOffset(row, kEntryNamePointerField)) +
                                       ": expected " + Hex(want + ADDRESS_MAGIC) + " (name at " +
                                       Hex(want) + "), found " + Hex(pointer));
        }
        const std::size_t at = offset - kFirstNameOffset;
        const std::size_t room =
            at < area.size() ? std::min(area.size() - at, kLongestNameRead) : 0;
        const char* name = area.data() + at;
        const std::size_t length = room ? strnlen(name, room) : 0;
        if (length == room) {
            return Broken("names",
                          "row " + std::to_string(row) + " name at " + Hex(offset) +
                              ": expected a terminator within " + std::to_string(kLongestNameRead) +
                              " bytes, found none" +
                              (at + room >= area.size() ? " before the end of the file" : ""));
        }
        if (std::memchr(name, '\n', length) != nullptr ||
            std::memchr(name, '\r', length) != nullptr) {
            return Broken("names", "row " + std::to_string(row) + " name at " + Hex(offset) +
                                       " holds a line break, which a path list cannot hold");
        }
        list +=
            std::string(name, length) + "." + ClassCodeText(index.entries[row].classes[0]) + "\n";
        want = offset + static_cast<std::uint32_t>(length) + 1;
    }
    return list;
}

}  // namespace

Result<std::vector<std::string>> ExtractCatalogue(MapReader& reader) {
    const IndexLookup lookup = ReadTagIndex(reader);
    if (lookup.status != IndexLookup::Status::Read) {
        return Broken("header", lookup.detail);
    }
    const TagIndex& index = lookup.index;
    const struct {
        const char* rule;
        Status kept;
    } rules[] = {
        {"tag-count", CheckTagCount(index)},
        {"magic", CheckMagic(index)},
        {"identifiers", CheckIdentifiers(index)},
    };
    for (const auto& rule : rules) {
        if (!rule.kept) {
            return Broken(rule.rule, rule.kept.Error());
        }
    }
    const Result<std::string> list = ReadNames(reader, index);
    if (!list) {
        return Failure{list.Error()};
    }
    if (const Status weapons = CheckWeaponMeta(index); !weapons) {
        return Broken("weapon-meta", weapons.Error());
    }
    // The list as a file would hold it, so that it is checked exactly as the build checks one.
    return ReadPathList(*list);
}

}  // namespace tools
