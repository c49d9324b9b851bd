#include "tools/catalogue_extract.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "catalogue/tag_catalogue.h"
#include "tools/map_reader.h"
#include "tools/tag_index.h"

namespace tools {

namespace {

// Longer than any name a path list may hold, so a missing terminator is told apart.
constexpr std::size_t kLongestNameRead = 256;

Extraction Refuse(const std::string& rule, const std::string& detail) {
    Extraction refused;
    refused.rule = rule;
    refused.detail = detail;
    return refused;
}

// Names follow one another from the first name offset, each after the previous one's
// terminator; the first offset is fixed by the catalogue's rules, whatever the names.
Extraction ReadNames(MapReader& reader, const TagIndex& index) {
    const std::uint32_t begin = kTagNameOffsets[0];
    std::vector<char> area(std::min<std::uint64_t>(
        reader.Size() > begin ? reader.Size() - begin : 0, kTagCount * kLongestNameRead));
    area.resize(reader.ReadAt(begin, area.data(), area.size()));
    Extraction extraction;
    std::uint32_t want = begin;
    for (int row = 0; row < kTagCount; ++row) {
        const std::uint32_t pointer = index.entries[row].namePointer;
        const std::uint32_t offset = pointer - ADDRESS_MAGIC;
        if (offset != want) {
            return Refuse("names", "row " + std::to_string(row) + " at " +
                                       Hex(index.FieldOffset(row, kEntryNamePointerField)) +
                                       ": expected " + Hex(want + ADDRESS_MAGIC) + " (name at " +
                                       Hex(want) + "), found " + Hex(pointer));
        }
        const std::size_t at = offset - begin;
        const std::size_t room =
            at < area.size() ? std::min(area.size() - at, kLongestNameRead) : 0;
        const char* name = area.data() + at;
        const std::size_t length = room ? strnlen(name, room) : 0;
        if (length == room) {
            return Refuse("names",
                          "row " + std::to_string(row) + " name at " + Hex(offset) +
                              ": expected a terminator within " + std::to_string(kLongestNameRead) +
                              " bytes, found none" +
                              (at + room >= area.size() ? " before the end of the file" : ""));
        }
        if (std::memchr(name, '\n', length) != nullptr ||
            std::memchr(name, '\r', length) != nullptr) {
            return Refuse("names", "row " + std::to_string(row) + " name at " + Hex(offset) +
                                       " holds a line break, which a path list cannot hold");
        }
        extraction.paths.push_back(std::string(name, length) + "." +
                                   ClassCodeText(index.entries[row].classes[0]));
        want = offset + static_cast<std::uint32_t>(length) + 1;
    }
    extraction.ok = true;
    return extraction;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

Extraction ExtractCatalogue(const std::string& mapPath) {
    MapReader reader;
    std::string reason;
    if (!reader.Open(mapPath, &reason)) {
        Extraction unreadable;
        unreadable.readable = false;
        unreadable.detail = "cannot read " + mapPath + ": " + reason;
        return unreadable;
    }
    const IndexLookup lookup = ReadTagIndex(reader);
    if (lookup.status != IndexLookup::Status::Read) {
        return Refuse("header", lookup.detail);
    }
    const TagIndex& index = lookup.index;
    const struct {
        const char* rule;
        std::string mismatch;
    } rules[] = {
        {"tag-count", TagCountMismatch(index)},
        {"magic", MagicMismatch(index)},
        {"identifiers", IdentifierMismatch(index)},
    };
    for (const auto& rule : rules) {
        if (!rule.mismatch.empty()) {
            return Refuse(rule.rule, rule.mismatch);
        }
    }
    Extraction extraction = ReadNames(reader, index);
    if (extraction.ok) {
        if (std::string mismatch = WeaponMetaMismatch(index); !mismatch.empty()) {
            extraction = Refuse("weapon-meta", mismatch);
        }
    }
    if (reader.Failed()) {
        extraction = Extraction{};
        extraction.readable = false;
        extraction.detail = "cannot read " + mapPath + ": a read failed";
    }
    return extraction;
}

Extraction CheckPathRules(Extraction extraction, const std::string& python,
                          const std::string& script) {
    if (!extraction.ok) {
        return extraction;
    }
    std::error_code error;
    std::string listPath =
        (std::filesystem::temp_directory_path(error) / "torvex-paths-XXXXXX").string();
    const int fd = mkstemp(listPath.data());
    if (fd < 0) {
        return Refuse("path-rules", "cannot make a scratch file for the path list");
    }
    std::string text;
    for (const std::string& path : extraction.paths) {
        text += path + '\n';
    }
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);

    std::string output;
    int status = -1;
    if (written) {
        const std::string command =
            ShellQuoted(python) + " " + ShellQuoted(script) + " " + ShellQuoted(listPath) + " 2>&1";
        if (std::FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[512];
            std::size_t got;
            while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
                output.append(buffer, got);
            }
            status = pclose(pipe);
        }
    }
    std::remove(listPath.c_str());
    if (status == 0) {
        return extraction;
    }
    // The script names the list file, then "rule: detail"; the list file is ours, not the user's.
    std::string first = output.substr(0, output.find('\n'));
    const std::string prefix = listPath + ": ";
    if (first.rfind(prefix, 0) == 0 && first.find(": ", prefix.size()) != std::string::npos) {
        first = first.substr(prefix.size());
        const std::size_t split = first.find(": ");
        return Refuse(first.substr(0, split), first.substr(split + 2));
    }
    return Refuse("path-rules", "the path-list checks could not run (" + python + " " + script +
                                    ")" + (first.empty() ? "" : ": " + first));
}

void WritePathList(const std::vector<std::string>& paths, std::ostream& out) {
    for (const std::string& path : paths) {
        out << path << '\n';
    }
}

}  // namespace tools
