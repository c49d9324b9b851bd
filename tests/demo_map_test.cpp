#include "demo/demo_map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "tests/support/map_folder.h"
#include "weapon/weapon_struct.h"

namespace {

using testing_support::Bytes;
using testing_support::MapFolder;
using testing_support::Read32;

TEST(DemoMap, IsTheSameOnEveryRun) {
    MapFolder folder;
    const Bytes first = folder.ReadMap();
    const Status written = demo::WriteDemoMap("again.map");
    ASSERT_TRUE(written) << written.Error();
    std::ifstream in("again.map", std::ios::binary);
    const Bytes second{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(first.size(), demo::kFileSize);
    EXPECT_TRUE(first == second);
}

TEST(DemoMap, HeaderAndIndexDescribeTheCatalogue) {
    MapFolder folder;
    const Bytes map = folder.ReadMap();
    EXPECT_EQ(std::memcmp(map.data(), "daeh", 4), 0);
    EXPECT_EQ(Read32(map, 4), 5u);
    EXPECT_EQ(Read32(map, 8), map.size());
    const std::uint32_t index = demo::kIndexOffset;
    EXPECT_EQ(Read32(map, 0x10), index);
    EXPECT_EQ(std::memcmp(map.data() + 0x7FC, "toof", 4), 0);
    EXPECT_EQ(Read32(map, index), index + 36 + ADDRESS_MAGIC);
    EXPECT_EQ(Read32(map, index + 4), kTagIdentifiers[0]);
    EXPECT_EQ(Read32(map, index + 12), std::uint32_t(kTagCount));
    EXPECT_EQ(std::memcmp(map.data() + index + 32, "sgat", 4), 0);
    // Every row's entry and name are torvex-cli check's to compare (MapCheck tests).
    // The names follow the index with no byte between.
    EXPECT_EQ(index + 36 + 32 * kTagCount, kTagNameOffsets[0]);
}

TEST(DemoMap, ReferencesExerciseTheEditor) {
    MapFolder folder;
    std::set<std::string> classesSeen;
    int sotr = 0, capitals = 0, allOnes = 0, nullRefs = 0, intoName = 0, manyOfOneClass = 0;
    for (const WeaponListEntry& entry : kWeaponList) {
        const WeaponStruct w(entry.metaOffset);
        const auto second = w.GetBlockPointer() - ADDRESS_MAGIC;
        EXPECT_GT(second, entry.metaOffset + 0x503);
        EXPECT_LE(second + 0x224, entry.metaOffset + kWeaponDataSize);
        int perClass[kTagClassCount] = {};
        for (int i = 0; i < w.GetTagRefCount(); ++i) {
            const TagReference* r = w.GetTagRef(i);
            char bytes[4];
            std::memcpy(bytes, &r->classCode, 4);
            const std::string stored(bytes, 4);
            sotr += stored == "rtos";
            capitals += stored == "EDOM";
            allOnes += r->classCode == 0xFFFFFFFFu;
            nullRefs += r->namePointer == 0 && r->tagId == 0xFFFFFFFFu;
            const TagClass* c = FindTagClassByStoredClass(StoredClassText(bytes));
            if (c != nullptr) {
                classesSeen.insert(c->categoryName);
                ++perClass[c - kTagClasses];
            }
            if (r->namePointer != 0 && FindRowByNameOffset(r->namePointer - ADDRESS_MAGIC) < 0) {
                ++intoName;
            }
        }
        for (int n : perClass) {
            manyOfOneClass += n >= 2;
        }
    }
    EXPECT_EQ(classesSeen.size(), 13u);
    EXPECT_GT(sotr, 0);
    EXPECT_GT(capitals, 0);
    EXPECT_GT(allOnes, 0);
    EXPECT_GT(nullRefs, 0);
    EXPECT_GT(intoName, 0);
    EXPECT_GT(manyOfOneClass, 0);
}

}  // namespace
