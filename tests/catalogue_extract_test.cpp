#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "demo/demo_map.h"
#include "tests/support/map_folder.h"
#include "tools/map_tool_commands.h"
#include "tools/tag_index.h"
#include "weapon/map_file.h"

namespace {

using testing_support::MapFolder;
using tools::Hex;

constexpr std::uint32_t kEntries = demo::kIndexOffset + tools::kIndexHeaderSize;

std::uint64_t EntryField(int row, std::uint32_t field) {
    return kEntries + std::uint64_t(row) * tools::kIndexEntrySize + field;
}

TEST(CatalogueExtract, ClassCodesReadBackwardsWithoutTheirPadding) {
    const struct {
        const char stored[5];
        const char* code;
    } cases[] = {{"paew", "weap"}, {"  mh", "hm"},   {" yks", "sky"},
                 {"\0\0mh", "hm"}, {"!dns", "snd!"}, {"aLeD", "DeLa"}};
    for (const auto& c : cases) {
        std::uint32_t word;
        std::memcpy(&word, c.stored, 4);
        EXPECT_EQ(tools::ClassCodeText(word), c.code);
    }
}

struct Breakage {
    const char* rule;
    std::function<void(const MapFolder&)> apply;
    std::string detailStart;
};

TEST(CatalogueExtract, RefusesAMapThatBreaksARuleAndNamesTheFirst) {
    const std::uint32_t weaponMeta = kWeaponList[1].metaOffset + ADDRESS_MAGIC;
    const std::vector<Breakage> breakages = {
        {"header", [](const MapFolder& map) { map.Patch(0x7FC, "xxxx", 4); },
         "no \"daeh\" at 0x00000000 and \"toof\" at 0x000007FC"},
        {"tag-count", [](const MapFolder& map) { map.Patch32(demo::kIndexOffset + 12, 1807); },
         "at 0x0233B60C: expected 1806, found 1807"},
        {"magic",
         [](const MapFolder& map) {
             map.Patch32(demo::kIndexOffset, kEntries + ADDRESS_MAGIC + 0x10);
             map.Patch32(EntryField(3, 12), 0);  // a later rule broken too
         },
         "at 0x0233B600: expected 0x7E06AA00, found 0x7E06AA10"},
        {"identifiers", [](const MapFolder& map) { map.Patch32(EntryField(1693, 12), 0xE812069D); },
         "row 1693 at " + Hex(EntryField(1693, 12)) + ": expected 0xE813069D, found 0xE812069D"},
        {"names",
         [](const MapFolder& map) { map.Patch32(EntryField(10, 16), NamePointerOfRow(10) + 1); },
         "row 10 at " + Hex(EntryField(10, 16)) + ": expected " + Hex(NamePointerOfRow(10))},
        // A lost terminator joins two names; the next row's pointer then misses its place.
        {"names", [](const MapFolder& map) { map.Patch(kTagNameOffsets[4] - 1, "x", 1); },
         "row 4 at " + Hex(EntryField(4, 16)) + ": expected " + Hex(NamePointerOfRow(5)) +
             " (name at " + Hex(kTagNameOffsets[5]) + "), found " + Hex(NamePointerOfRow(4))},
        {"weapon-meta",
         [weaponMeta](const MapFolder& map) { map.Patch32(EntryField(476, 20), weaponMeta + 4); },
         "row 476 at " + Hex(EntryField(476, 20)) + " (weapons/pistol/pistol.weap): expected " +
             Hex(weaponMeta)},
        // The rules about the list itself come from the build's own checker.
        {"path-syntax", [](const MapFolder& map) { map.Patch(kTagNameOffsets[237] + 3, ".", 1); },
         "row 237 'wea.ons/assault rifle/assault rifle.weap' has 2 full stops"},
        {"class-counts", [](const MapFolder& map) { map.Patch(EntryField(600, 0), "paew", 4); },
         "class "},
        {"weapons", [](const MapFolder& map) { map.Patch(kTagNameOffsets[476] + 8, "P", 1); },
         "row 476 is 'weapons/Pistol/pistol.weap'"},
    };
    for (const Breakage& breakage : breakages) {
        SCOPED_TRACE(breakage.rule);
        MapFolder folder;
        breakage.apply(folder);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(tools::RunCatalogue(kMapFileName, out, err), 1);
        EXPECT_EQ(out.str(), "");
        const std::string prefix =
            std::string("torvex-cli: cache003.map breaks the catalogue rule \"") + breakage.rule +
            "\": ";
        EXPECT_EQ(err.str().substr(0, prefix.size() + breakage.detailStart.size()),
                  prefix + breakage.detailStart);
    }
}

}  // namespace
