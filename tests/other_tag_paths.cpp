// Writes a second path list, as valid as the one it is given but with other names, for
// scripts/test-other-catalogue: every name the rules leave free has its letters rotated by 13
// (rot13). That keeps each name's length, so name packing and name lengths hold, and it is a
// bijection, so no two paths become one; the classes do not change.
//
// Usage: other_tag_paths PATHS OUTPUT
#include <cstdio>
#include <fstream>
#include <sstream>

#include "catalogue/path_list_rules.h"
#include "catalogue/supported_map.h"

namespace {

bool PathIsFixed(int row) {
    for (const TellingRow& telling : kTellingRows) {
        if (telling.row == row && !telling.path.empty()) {
            return true;
        }
    }
    return FindWeaponByRow(row) >= 0;
}

char Rot13(char c) {
    const char base = c >= 'a' && c <= 'z' ? 'a' : c >= 'A' && c <= 'Z' ? 'A' : 0;
    return base ? static_cast<char>(base + (c - base + 13) % 26) : c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: other_tag_paths PATHS OUTPUT\n");
        return 2;
    }
    std::stringstream text;
    text << std::ifstream(argv[1], std::ios::binary).rdbuf();
    Result<std::vector<std::string>> paths = ReadPathList(text.str());
    if (!paths) {
        std::fprintf(stderr, "%s: %s\n", argv[1], paths.Error().c_str());
        return 1;
    }
    for (int row = 0; row < kTagCount; ++row) {
        std::string& path = (*paths)[row];
        for (std::size_t i = 0; !PathIsFixed(row) && i < NameOfPath(path).size(); ++i) {
            path[i] = Rot13(path[i]);
        }
    }
    if (const Status kept = CheckPathList(*paths); !kept) {
        std::fprintf(stderr, "the other list breaks a rule: %s\n", kept.Error().c_str());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    for (const std::string& path : *paths) {
        out << path << '\n';
    }
    return out.flush() ? 0 : 1;
}
