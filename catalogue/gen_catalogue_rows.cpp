// Compiles the catalogue's row data from its path list, after checking the list with the
// path-list rules. A build-machine tool: the build runs it before compiling the catalogue.
//
// Identifiers follow from the rows, name offsets from the path lengths. Meta pointers are not in
// the path list: they ascend through fixed anchors (the telling rows' and the fifteen weapons'),
// and between two anchors each row gets a deterministic share of the span, a weapon row
// kWeaponDataSize.
//
// Usage: gen_catalogue_rows PATHS OUTPUT.inc
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/path_list_rules.h"
#include "catalogue/supported_map.h"
#include "core/hex.h"

namespace {

// A small fixed hash: a row's weight in sharing out a span.
std::int64_t Weight(int row) {
    std::uint32_t x = static_cast<std::uint32_t>(row) * 2654435761u + 0x9E3779B9u;
    x ^= x >> 15;
    return 1 + x % 13;
}

// Between two anchors, a row that is not a weapon's gets its weight's share of what the weapons
// leave, at least 16 bytes and a multiple of 4; the last such row takes what rounding left over,
// so the next anchor is met exactly.
Result<std::vector<std::uint32_t>> MetaPointers() {
    std::map<int, std::uint32_t> anchors;
    for (const TellingRow& telling : kTellingRows) {
        if (telling.metaPointer != 0) {
            anchors[telling.row] = telling.metaPointer;
        }
    }
    for (const WeaponListEntry& weapon : kWeaponList) {
        anchors[weapon.row] = weapon.metaOffset + ADDRESS_MAGIC;
    }
    std::vector<std::uint32_t> pointers(kTagCount, 0);
    for (auto start = anchors.begin(), end = std::next(start); end != anchors.end();
         start = end++) {
        std::vector<int> rows;
        for (int row = start->first; row < end->first; ++row) {
            if (row != kNoMetaRow) {
                rows.push_back(row);
            }
        }
        const std::int64_t span = std::int64_t(end->second) - start->second;
        std::int64_t freeSpan = span;
        std::int64_t totalWeight = 0;
        int lastFree = -1;
        for (const int row : rows) {
            if (FindWeaponByRow(row) >= 0) {
                freeSpan -= kWeaponDataSize;
            } else {
                totalWeight += Weight(row);
                lastFree = row;
            }
        }
        std::map<int, std::int64_t> sizes;
        std::int64_t taken = 0;
        for (const int row : rows) {
            sizes[row] =
                FindWeaponByRow(row) >= 0
                    ? kWeaponDataSize
                    : std::max<std::int64_t>(16, freeSpan * Weight(row) / totalWeight & ~3);
            taken += sizes[row];
        }
        sizes[lastFree] += span - taken;
        if (sizes[lastFree] < 16) {
            return Failure{"rows " + std::to_string(start->first) + ".." +
                           std::to_string(end->first) + " cannot fit between their meta anchors"};
        }
        std::uint32_t address = start->second;
        for (const int row : rows) {
            pointers[row] = address;
            address += static_cast<std::uint32_t>(sizes[row]);
        }
    }
    pointers[kTagCount - 1] = anchors[kTagCount - 1];
    return pointers;
}

std::string CString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '\\' || c == '"' ? std::string{'\\', c} : std::string{c};
    }
    return quoted + '"';
}

void Array(std::ostream& out, const char* declaration, const std::vector<std::string>& items) {
    out << declaration << " = {\n";
    for (const std::string& item : items) {
        out << "    " << item << ",\n";
    }
    out << "};\n";
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_catalogue_rows PATHS OUTPUT.inc\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        return Fail(std::string(argv[1]) + ": cannot read the path list");
    }
    const Result<std::vector<std::string>> paths = ReadPathList(text.str());
    if (!paths) {
        return Fail(std::string(argv[1]) + ": " + paths.Error());
    }
    const Result<std::vector<std::uint32_t>> pointers = MetaPointers();
    if (!pointers) {
        return Fail(pointers.Error());
    }

    const auto number = [](std::uint64_t value) { return Hex(value) + "u"; };
    std::vector<std::string> identifiers, quoted, nameOffsets, metaPointers, metaOffsets;
    std::uint32_t nameOffset = kFirstNameOffset;
    for (int row = 0; row < kTagCount; ++row) {
        identifiers.push_back(number(TagIdentifier(row)));
        quoted.push_back(CString((*paths)[row]));
        nameOffsets.push_back(number(nameOffset));
        nameOffset += static_cast<std::uint32_t>(NameOfPath((*paths)[row]).size()) + 1;
        metaPointers.push_back(number((*pointers)[row]));
        if ((*pointers)[row] != 0) {
            metaOffsets.push_back(number((*pointers)[row] - ADDRESS_MAGIC));
        }
    }
    nameOffsets.push_back(number(0xFFFFFFFFu));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << "// Generated by catalogue/gen_catalogue_rows.cpp from the path list. Do not edit.\n";
    Array(out, "const std::uint32_t kTagIdentifiers[kTagCount]", identifiers);
    Array(out, "const char* const kTagPaths[kTagCount]", quoted);
    Array(out, "const std::uint32_t kTagNameOffsets[kTagCount + 1]", nameOffsets);
    Array(out, "const std::uint32_t kTagMetaPointers[kTagCount]", metaPointers);
    Array(out, "const std::uint32_t kTagMetaOffsets[kTagCount - 1]", metaOffsets);
    return out.flush() ? 0 : Fail(std::string(argv[2]) + ": cannot write");
}
