#include "tools/catalogue_extract.h"

#include <cstring>
#include <functional>
#include <ostream>

#include "catalogue/path_list_rules.h"
#include "catalogue/supported_map.h"
#include "core/program_voice.h"
#include "tools/map_tool_commands.h"
#include "tools/tag_index.h"

namespace tools {

namespace {

// Longer than any name a path list may hold, so a missing terminator is told apart.
constexpr std::size_t kLongestNameRead = 256;

// Names follow one another from the first name offset, each after the previous one's
// terminator; the first offset is fixed by the catalogue's rules, whatever the names. Gives the
// list as a file holds it, one path a line.
Status ReadNames(MapReader& reader, const TagIndex& index, std::string& list) {
    std::vector<char> area(std::min<std::uint64_t>(
        reader.Size() > kFirstNameOffset ? reader.Size() - kFirstNameOffset : 0,
        kTagCount * kLongestNameRead));
    area.resize(reader.ReadAt(kFirstNameOffset, area.data(), area.size()));
    std::uint32_t want = kFirstNameOffset;
    for (int row = 0; row < kTagCount; ++row) {
        const std::uint32_t pointer = index.entries[row].namePointer;
        const std::uint32_t offset = pointer - ADDRESS_MAGIC;
        const std::string where = "row " + std::to_string(row) + " name at " + Hex(offset);
        if (offset != want) {
            return Mismatch(index.At(row, kEntryNamePointerField),
                            Hex(want + ADDRESS_MAGIC) + " (name at " + Hex(want) + ")",
                            Hex(pointer));
        }
        const std::size_t at = offset - kFirstNameOffset;
        const std::size_t room =
            at < area.size() ? std::min(area.size() - at, kLongestNameRead) : 0;
        const std::size_t length = room ? strnlen(area.data() + at, room) : 0;
        const std::string_view text(area.data() + at, length);
        if (length == room) {
            return Failure{where + ": expected a terminator within " +
                           std::to_string(kLongestNameRead) + " bytes, found none" +
                           (at + room >= area.size() ? " before the end of the file" : "")};
        }
        if (text.find_first_of("\r\n") != std::string_view::npos) {
            return Failure{where + " holds a line break, which a path list cannot hold"};
        }
        list += std::string(text) + "." + ClassCodeText(index.entries[row].classes[0]) + "\n";
        want = offset + static_cast<std::uint32_t>(length) + 1;
    }
    return {};
}

}  // namespace

// The rules the map itself must keep come first: header, tag-count, magic, identifiers, names
// (packed from the catalogue's first name offset) and weapon-meta; then the path-list rules the
// build applies (catalogue/path_list_rules.h).
Result<std::vector<std::string>> ExtractCatalogue(MapReader& reader) {
    const IndexLookup lookup = ReadTagIndex(reader);
    if (lookup.status != IndexLookup::Status::Read) {
        return Failure{"header: " + lookup.detail};
    }
    const TagIndex& index = lookup.index;
    std::string list;
    // A rule may take the ones before it as kept: the names need every row, for one.
    const std::pair<const char*, std::function<Status()>> rules[] = {
        {"tag-count", [&] { return CheckTagCount(index); }},
        {"magic", [&] { return CheckMagic(index); }},
        {"identifiers", [&] { return CheckRows(index, kEntryIdentifierField, TagIdentifier); }},
        {"names", [&] { return ReadNames(reader, index, list); }},
        {"weapon-meta", [&] { return CheckWeaponMeta(index); }},
    };
    for (const auto& [rule, check] : rules) {
        if (const Status kept = check(); !kept) {
            return Failure{std::string(rule) + ": " + kept.Error()};
        }
    }
    // The list as a file would hold it, so that it is checked exactly as the build checks one.
    return ReadPathList(list);
}

int RunCatalogue(const std::string& mapPath, std::ostream& out, std::ostream& err) {
    MapReader reader;
    const Status opened = reader.Open(mapPath);
    if (!opened) {
        PrintAsProgram(err, "cannot read " + mapPath + ": " + opened.Error());
        return 2;
    }
    const Result<std::vector<std::string>> paths = ExtractCatalogue(reader);
    if (reader.Failed()) {
        PrintAsProgram(err, "cannot read " + mapPath + ": a read failed");
        return 2;
    }
    if (!paths) {
        // "rule: detail"
        const std::size_t split = paths.Error().find(": ");
        PrintAsProgram(err, mapPath + " breaks the catalogue rule \"" +
                                paths.Error().substr(0, split) +
                                "\": " + paths.Error().substr(split + 2));
        return 1;
    }
    for (const std::string& path : *paths) {
        out << path << '\n';
    }
    return 0;
}

}  // namespace tools
