#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "tests/support/field_position.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"
#include "weapon/weapon_struct.h"

namespace {

std::string ClassOf(int row) {
    const std::string path = kTagPaths[row];
    return path.substr(path.rfind('.') + 1);
}

std::size_t NameLength(int row) {
    const std::string path = kTagPaths[row];
    return path.rfind('.');
}

// The rule's turning points, as the specification gives them.
static_assert(TagIdentifier(0) == 0xE1740000u && TagIdentifier(1691) == 0xE80F069Bu &&
              TagIdentifier(1692) == 0xE811069Cu && TagIdentifier(1693) == 0xE813069Du &&
              TagIdentifier(1805) == 0xE883070Du);

TEST(Catalogue, IdentifiersFollowTheirRule) {
    for (int row = 0; row < kTagCount; ++row) {
        ASSERT_EQ(kTagIdentifiers[row], TagIdentifier(row)) << "row " << row;
    }
}

TEST(Catalogue, TellingRows) {
    for (const TellingRow& r : kTellingRows) {
        SCOPED_TRACE(r.row);
        if (r.path.empty()) {
            EXPECT_EQ(ClassOf(r.row), r.classCode);
        } else {
            EXPECT_EQ(kTagPaths[r.row], r.path);
        }
        EXPECT_EQ(kTagNameOffsets[r.row], r.nameOffset);
        EXPECT_EQ(kTagMetaPointers[r.row], r.metaPointer);
    }
    EXPECT_EQ(kTagNameOffsets[kTagCount], 0xFFFFFFFFu);
    EXPECT_EQ(NameLength(kLongestNameRow), std::size_t(kLongestName));
}

TEST(Catalogue, NamesArePackedAndWithinTheirLengths) {
    std::size_t shortest = 1000;
    for (int row = 0; row + 1 < kTagCount; ++row) {
        ASSERT_EQ(kTagNameOffsets[row + 1], kTagNameOffsets[row] + NameLength(row) + 1) << row;
        shortest = std::min(shortest, NameLength(row));
        if (row != kLongestNameRow) {
            EXPECT_LT(NameLength(row), std::size_t(kLongestName)) << row;
        }
        EXPECT_EQ(std::string(kTagPaths[row]).substr(0, NameLength(row)).find('.'),
                  std::string::npos);
    }
    EXPECT_EQ(shortest, std::size_t(kShortestName));
}

TEST(Catalogue, ClassCountsAndUniquePaths) {
    std::map<std::string, int> counts;
    std::set<std::string> paths;
    for (int row = 0; row < kTagCount; ++row) {
        ++counts[ClassOf(row)];
        EXPECT_TRUE(paths.insert(kTagPaths[row]).second) << kTagPaths[row];
    }
    EXPECT_EQ(counts.size(), std::size(kClassCounts));
    for (const ClassCount& known : kClassCounts) {
        EXPECT_EQ(counts[std::string(known.code)], known.rows) << known.code;
    }
}

TEST(Catalogue, MetaPointersAscendAndMetaOffsetsSkipTheNullRow) {
    std::uint32_t previous = 0;
    for (int row = 0; row < kTagCount; ++row) {
        if (row == kNoMetaRow) {
            continue;
        }
        EXPECT_GT(kTagMetaPointers[row], previous) << row;
        previous = kTagMetaPointers[row];
        const int index = row < kNoMetaRow ? row : row - 1;
        EXPECT_EQ(kTagMetaOffsets[index], kTagMetaPointers[row] - ADDRESS_MAGIC) << row;
    }
}

TEST(Catalogue, WeaponListAgreesWithTheRows) {
    int weapRows = 0;
    for (int row = 0; row < kTagCount; ++row) {
        weapRows += ClassOf(row) == "weap";
    }
    EXPECT_EQ(weapRows, kWeaponCount);
    for (const WeaponListEntry& e : kWeaponList) {
        SCOPED_TRACE(e.path);
        EXPECT_EQ(kTagIdentifiers[e.row], e.identifier);
        EXPECT_STREQ(kTagPaths[e.row], e.path);
        EXPECT_EQ(kTagMetaOffsets[e.row], e.metaOffset);
    }
    EXPECT_EQ(FindWeaponByUpdateName("Gravity Gun"), 8);
    EXPECT_EQ(FindWeaponByUpdateName("Ghost"), 14);
    EXPECT_EQ(FindWeaponByUpdateName("ghost"), -1);
    EXPECT_EQ(FindWeaponByUpdateName("Ghost "), -1);
}

TEST(PathForId, AnswersAtItsEdges) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {0xFFFFFFFF, "NULL"},
        {0x00000000, "Unknown Path"},
        {0xE26100ED, "weapons/assault rifle/assault rifle.weap"},
        {0xE882070C, "sound/sfx/ambience/multiplayer/countryday2.snd!"},
        {0xE883070D, "Unknown Path"},  // the last row is never matched
        {0xE810069C, "Unknown Path"},  // high half skipped by the identifier rule
        {0xE1740000, kTagPaths[0]},
        {0xE1750000, "Unknown Path"},
    };
    for (const auto& [id, path] : cases) {
        EXPECT_EQ(PathForId(id), path) << std::hex << id;
    }
}

TEST(ReadTagName, ReadsNamesFromTheMap) {
    testing_support::MapFolder folder;
    const auto pointer = [](int row) { return kTagNameOffsets[row] + ADDRESS_MAGIC; };
    EXPECT_EQ(WeaponStruct::ReadTagName(pointer(237)), "weapons/assault rifle/assault rifle");
    EXPECT_EQ(WeaponStruct::ReadTagName(pointer(237) + 1), "NULL");
    EXPECT_EQ(WeaponStruct::ReadTagName(0), "NULL");
    EXPECT_EQ(WeaponStruct::ReadTagName(pointer(1805)), "NULL");
    EXPECT_EQ(WeaponStruct::ReadTagName(pointer(0)), testing_support::NameOfRow(0));
    EXPECT_EQ(WeaponStruct::ReadTagName(pointer(1804)), testing_support::NameOfRow(1804));
}

TEST(ReadTagName, GivesTheFilesBytesButNeverOverrunsItsBuffer) {
    testing_support::MapFolder folder;
    testing_support::Bytes bytes = folder.ReadMap();
    // Row 122's name fills 86 bytes; make every byte of it and past it non-zero.
    for (std::uint32_t i = 0; i < 200; ++i) {
        bytes[kTagNameOffsets[122] + i] = 'x';
    }
    folder.WriteMap(bytes);
    EXPECT_EQ(WeaponStruct::ReadTagName(kTagNameOffsets[122] + ADDRESS_MAGIC),
              std::string(86, 'x'));

    folder.CutMap(kTagNameOffsets[237] + 10);  // a name cut by the end of the file
    EXPECT_EQ(WeaponStruct::ReadTagName(kTagNameOffsets[237] + ADDRESS_MAGIC), "weapons/as");
    folder.RemoveMap();
    EXPECT_EQ(WeaponStruct::ReadTagName(kTagNameOffsets[237] + ADDRESS_MAGIC), "NULL");
    std::filesystem::create_directory(kMapFileName);
    EXPECT_EQ(WeaponStruct::ReadTagName(kTagNameOffsets[237] + ADDRESS_MAGIC), "NULL");
}

}  // namespace
