#include "tools/map_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "demo/demo_map.h"
#include "tests/support/field_position.h"
#include "tests/support/map_folder.h"
#include "tools/tag_index.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"

namespace {

using testing_support::Bytes;
using testing_support::MapFolder;
using testing_support::NameOfRow;
using testing_support::ReadLittle32;
using tools::CheckLine;
using tools::Hex;

constexpr std::uint32_t kEntries = demo::kIndexOffset + tools::kIndexHeaderSize;
constexpr int kPistol = 1;  // weapon-list entries
constexpr int kWarthog = 12;

std::uint64_t EntryField(int row, std::uint32_t field) {
    return kEntries + std::uint64_t(row) * tools::kIndexEntrySize + field;
}

std::uint32_t BlockPointerOf(const MapFolder& map, int weapon) {
    return ReadLittle32(map.ReadAt(kWeaponList[weapon].metaOffset + kBlockPointerOffset, 4));
}

// The checks that did not pass, as "name: detail".
std::vector<std::string> Failures(const tools::CheckReport& report) {
    std::vector<std::string> failures;
    for (const CheckLine& line : report.lines) {
        if (line.state == CheckLine::State::Failed) {
            failures.push_back(line.name + ": " + line.detail);
        }
    }
    return failures;
}

TEST(MapCheck, TheDemoMapIsSupportedOnEveryCheck) {
    MapFolder folder;
    const tools::CheckReport report = tools::CheckMap(kMapFileName);
    std::vector<std::string> names;
    for (const CheckLine& line : report.lines) {
        EXPECT_EQ(line.state, CheckLine::State::Passed) << line.name << ": " << line.detail;
        names.push_back(line.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"names", "tag index", "tag count", "magic",
                                               "identifiers", "name pointers", "meta pointers",
                                               "weapon blocks", "weapon references"}));
    std::ostringstream out;
    EXPECT_EQ(tools::PrintCheckReport(report, kMapFileName, out), 0);
    EXPECT_EQ(out.str().substr(out.str().rfind("supported:")),
              "supported: cache003.map is the map this build supports (9 checks passed)\n");
}

struct Damage {
    const char* what;
    std::function<void(const MapFolder&)> apply;
    // Every failing check, in report order, with its first mismatch.
    std::function<std::vector<std::string>()> expected;
};

void MoveBytes(const MapFolder& map, std::uint64_t from, std::uint64_t to, std::size_t size) {
    const Bytes bytes = map.ReadAt(from, size);
    map.Patch(from, Bytes(size, 0).data(), size);
    map.Patch(to, bytes.data(), size);
}

const std::vector<Damage>& Damages() {
    static const std::vector<Damage> damages = {
        {"two names changed: the earlier row is named",
         [](const MapFolder& map) {
             map.Patch(kTagNameOffsets[1000] + 2, "#", 1);
             map.Patch(kTagNameOffsets[40] + 5, "#", 1);
         },
         [] {
             std::string changed = NameOfRow(40);
             changed[5] = '#';
             return std::vector<std::string>{"names: row 40 at " + Hex(kTagNameOffsets[40]) +
                                             ": expected \"" + NameOfRow(40) + "\\0\", found \"" +
                                             changed + "\\0\""};
         }},
        {"a terminator overwritten",
         [](const MapFolder& map) { map.Patch(kTagNameOffsets[1804] - 1, "s", 1); },
         [] {
             const std::string name = NameOfRow(1803);
             return std::vector<std::string>{"names: row 1803 at " + Hex(kTagNameOffsets[1803]) +
                                             ": expected \"" + name + "\\0\", found \"" + name +
                                             "s\""};
         }},
        {"the index moved, its header following it",
         [](const MapFolder& map) {
             const std::size_t size = tools::kIndexHeaderSize + kTagCount * tools::kIndexEntrySize;
             MoveBytes(map, demo::kIndexOffset, demo::kIndexOffset - 0x1000, size);
             map.Patch32(tools::kIndexOffsetField, demo::kIndexOffset - 0x1000);
         },
         [] {
             return std::vector<std::string>{
                 "magic: at 0x0233A600: expected 0x7E06AA00, found 0x7E06BA00 (first entry "
                 "address 0x803A6024 less the entries' offset 0x0233A624)"};
         }},
        {"the header's index offset moved alone",
         [](const MapFolder& map) { map.Patch32(tools::kIndexOffsetField, 0x0233A600); },
         [] {
             return std::vector<std::string>{
                 "tag index: the header's index offset 0x0233A600 leads to no index: expected "
                 "\"sgat\" at 0x0233A620"};
         }},
        {"one tag fewer",
         [](const MapFolder& map) { map.Patch32(demo::kIndexOffset + 12, kTagCount - 1); },
         [] {
             return std::vector<std::string>{"tag count: at 0x0233B60C: expected 1806, found 1805"};
         }},
        {"an identifier one of the unused high halves",
         [](const MapFolder& map) { map.Patch32(EntryField(1692, 12), 0xE810069C); },
         [] {
             return std::vector<std::string>{"identifiers: row 1692 at " +
                                             Hex(EntryField(1692, 12)) +
                                             ": expected 0xE811069C, found 0xE810069C"};
         }},
        {"a name pointer one byte on",
         [](const MapFolder& map) { map.Patch32(EntryField(5, 16), NamePointerOfRow(5) + 1); },
         [] {
             return std::vector<std::string>{"name pointers: row 5 at " + Hex(EntryField(5, 16)) +
                                             ": expected " + Hex(NamePointerOfRow(5)) + ", found " +
                                             Hex(NamePointerOfRow(5) + 1)};
         }},
        {"the row without meta data given some",
         [](const MapFolder& map) {
             map.Patch32(EntryField(1764, 20), kTagMetaPointers[1763] + 8);
         },
         [] {
             return std::vector<std::string>{
                 "meta pointers: row 1764 at " + Hex(EntryField(1764, 20)) +
                 ": expected 0x00000000, found " + Hex(kTagMetaPointers[1763] + 8)};
         }},
        {"a meta pointer out of order",
         [](const MapFolder& map) { map.Patch32(EntryField(500, 20), kTagMetaPointers[499]); },
         [] {
             return std::vector<std::string>{
                 "meta pointers: row 500 at " + Hex(EntryField(500, 20)) +
                 ": expected a pointer above row 499's " + Hex(kTagMetaPointers[499]) + ", found " +
                 Hex(kTagMetaPointers[499])};
         }},
        {"a weapon's data moved, its index entry following it",
         [](const MapFolder& map) {
             const std::uint32_t meta = kWeaponList[kPistol].metaOffset;
             MoveBytes(map, meta, meta + 0x10000, kWeaponDataSize);
             map.Patch32(EntryField(476, 20), meta + 0x10000 + ADDRESS_MAGIC);
         },
         [] {
             return std::vector<std::string>{
                 "meta pointers: row 476 at " + Hex(EntryField(476, 20)) +
                     " (weapons/pistol/pistol.weap): expected 0x80856414 (meta offset "
                     "0x027EBA14), found 0x80866414",
                 "weapon blocks: Pistol (row 476) block pointer at 0x027EBF08: expected "
                 "0x7E06AA00 or more, found 0x00000000"};
         }},
        {"a weapon's second block pointer moved into another weapon's data",
         [](const MapFolder& map) {
             map.Patch32(kWeaponList[kPistol].metaOffset + kBlockPointerOffset,
                         BlockPointerOf(map, kWarthog));
         },
         [] {
             const std::uint32_t meta = kWeaponList[kPistol].metaOffset;
             const std::uint32_t second =
                 kWeaponList[kWarthog].metaOffset + demo::kSecondBlockDistance;
             return std::vector<std::string>{
                 "weapon blocks: Pistol (row 476) block pointer at " +
                 Hex(meta + kBlockPointerOffset) + ": expected its 548-byte second block between " +
                 Hex(meta + kMainBlockSize) + " and " + Hex(kWeaponList[kWarthog].metaOffset) +
                 ", found " + Hex(second + ADDRESS_MAGIC) + " (second block at " + Hex(second) +
                 ")"};
         }},
        {"a weapon's second block pointer moved on, inside its own data",
         [](const MapFolder& map) {
             map.Patch32(kWeaponList[kPistol].metaOffset + kBlockPointerOffset,
                         BlockPointerOf(map, kPistol) + 0x100);
         },
         [] {
             // The first reference of the second block now reads the bytes of a gap.
             const std::uint32_t at =
                 kWeaponList[kPistol].metaOffset + demo::kSecondBlockDistance + 0x100 + 0x038;
             char found[16];
             std::snprintf(found, sizeof found, "%02X %02X %02X %02X", demo::GapPattern(at),
                           demo::GapPattern(at + 1), demo::GapPattern(at + 2),
                           demo::GapPattern(at + 3));
             return std::vector<std::string>{
                 "weapon references: Pistol (row 476) reference 24 at " + Hex(at) +
                 ": class: expected four printable characters or FF FF FF FF, found " + found};
         }},
        {"the file cut inside the names",
         [](const MapFolder& map) { map.CutMap(kTagNameOffsets[7] + 3); },
         [] {
             const std::string end = Hex(kTagNameOffsets[7] + 3);
             return std::vector<std::string>{
                 "names: row 7 at " + Hex(kTagNameOffsets[7]) + ": expected \"" + NameOfRow(7) +
                     "\\0\", found \"" + NameOfRow(7).substr(0, 3) +
                     "\" and then the end of the file at " + end,
                 "weapon blocks: Assault Rifle (row 237) main block at 0x027A2ED0: expected its "
                 "1284 bytes inside the file, found the end of the file at " +
                     end};
         }},
    };
    return damages;
}

TEST(MapCheck, NamesTheFirstMismatchOfEachBrokenRule) {
    for (const Damage& damage : Damages()) {
        SCOPED_TRACE(damage.what);
        MapFolder folder;
        damage.apply(folder);
        const tools::CheckReport report = tools::CheckMap(kMapFileName);
        EXPECT_TRUE(report.readable);
        EXPECT_EQ(Failures(report), damage.expected());
        std::ostringstream out;
        EXPECT_EQ(tools::PrintCheckReport(report, kMapFileName, out), 1);
    }
}

TEST(MapCheck, SynthesisedMetaPointersAndAMovedButIntactSecondBlockPass) {
    MapFolder folder;
    // Row 500's meta pointer is the generator's, not the map's: any ascending value will do.
    folder.Patch32(EntryField(500, 20), kTagMetaPointers[500] + 4);
    // The editor follows the block pointer, so a second block moved whole is still found.
    const std::uint32_t meta = kWeaponList[kPistol].metaOffset;
    const std::uint32_t second = BlockPointerOf(folder, kPistol) - ADDRESS_MAGIC;
    MoveBytes(folder, second, second + 0x300, kSecondBlockSize);
    folder.Patch32(meta + kBlockPointerOffset, second + 0x300 + ADDRESS_MAGIC);
    EXPECT_TRUE(tools::CheckMap(kMapFileName).Supported())
        << Failures(tools::CheckMap(kMapFileName))[0];
}

TEST(MapCheck, WhenOnlyNamesDifferItSuggestsCompilingTheMapsOwnCatalogue) {
    const auto endsWithNote = [](const tools::CheckReport& report) {
        return report.lines.back().state == CheckLine::State::Note &&
               report.lines.back().name == "names only";
    };
    {
        MapFolder folder;
        folder.Patch(kTagNameOffsets[40] + 5, "#", 1);
        folder.Patch32(EntryField(41, 16), NamePointerOfRow(41) + 1);
        EXPECT_TRUE(endsWithNote(tools::CheckMap(kMapFileName)));
    }
    {
        MapFolder folder;
        folder.Patch(kTagNameOffsets[40] + 5, "#", 1);
        folder.Patch32(demo::kIndexOffset + 12, kTagCount - 1);
        EXPECT_FALSE(endsWithNote(tools::CheckMap(kMapFileName)));
    }
}

TEST(MapCheck, AMapWithoutTheIndexLayoutGetsOnlyTheNameAndWeaponChecks) {
    MapFolder folder;
    folder.Patch(0, "\0\0\0\0", 4);
    const tools::CheckReport report = tools::CheckMap(kMapFileName);
    ASSERT_EQ(report.lines.size(), 4u);
    EXPECT_EQ(report.lines[1].state, CheckLine::State::Note);
    EXPECT_EQ(report.lines[1].detail,
              "no \"daeh\" at 0x00000000 and \"toof\" at 0x000007FC: no tag index to compare, so "
              "only the names and the weapons are checked");
    EXPECT_TRUE(report.Supported());
    EXPECT_EQ(report.Checks(), 3);
}

TEST(MapCheck, AnUnreadableMapExitsTwo) {
    MapFolder folder(false);
    for (bool folderInItsPlace : {false, true}) {
        if (folderInItsPlace) {
            std::filesystem::create_directory(kMapFileName);
        }
        const tools::CheckReport report = tools::CheckMap(kMapFileName);
        std::ostringstream out;
        EXPECT_EQ(tools::PrintCheckReport(report, kMapFileName, out), 2);
        EXPECT_EQ(out.str(),
                  std::string("unreadable: cannot read cache003.map: ") +
                      (folderInItsPlace ? "it is a folder" : "No such file or directory") + "\n");
    }
}

TagReference Reference(const char (&stored)[5], std::uint32_t namePointer, std::uint32_t tagId) {
    TagReference ref{0, namePointer, 0, tagId};
    std::memcpy(&ref.classCode, stored, 4);
    return ref;
}

TEST(MapCheck, ReferencesMakeSenseByClassIdentifierAndNamePointer) {
    const std::uint32_t name237 = NamePointerOfRow(237);
    const struct {
        const char* what;
        TagReference ref;
        const char* problemStart;  // "" when the reference makes sense
    } cases[] = {
        {"no tag", Reference("edom", 0, kNoTag), ""},
        {"a known class naming its tag", Reference("edom", name237, kTagIdentifiers[237]), ""},
        {"one byte into a name", Reference("edom", name237 + 1, kTagIdentifiers[10]), ""},
        {"the last, never searched row",
         Reference("!dns", NamePointerOfRow(1805), kTagIdentifiers[1805]), ""},
        {"an unknown class points anywhere", Reference("EDOM", 0x12345678, kTagIdentifiers[3]), ""},
        {"no class points anywhere", Reference("\xFF\xFF\xFF\xFF", 0x12345678, kNoTag), ""},
        {"a short code padded with blanks", Reference("  mh", 0, kNoTag), ""},
        {"zero class bytes", Reference("\0\0\0\0", 0, kNoTag), "class: "},
        {"a control byte in the class", Reference("ed\x01m", 0, kNoTag), "class: "},
        {"an identifier no row has", Reference("edom", 0, 0xE810069C), "identifier: "},
        {"a known class pointing before the names",
         Reference("edom", ADDRESS_MAGIC + 0x100, kNoTag),
         "name pointer of a \"mode\" reference: "},
        {"a known class pointing past the names",
         Reference("edom", NamePointerOfRow(1805) + 0x1000, kNoTag),
         "name pointer of a \"mode\" reference: "},
        // Name starts are this build's: a map with names of its own has them elsewhere.
        {"a name start and an identifier of different tags",
         Reference("edom", name237, kTagIdentifiers[238]), ""},
    };
    for (const auto& c : cases) {
        const Status sound = tools::CheckReference(c.ref);
        const std::string problem = sound ? "" : sound.Error();
        EXPECT_EQ(problem.substr(0, std::strlen(c.problemStart)), c.problemStart) << c.what;
        EXPECT_EQ(problem.empty(), *c.problemStart == '\0') << c.what << ": " << problem;
    }
}

}  // namespace
