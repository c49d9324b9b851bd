#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "demo/demo_map.h"
#include "tests/support/map_folder.h"
#include "weapon/weapon_struct.h"

namespace {

using testing_support::ByteRange;
using testing_support::Bytes;
using testing_support::DiffRanges;
using testing_support::MapFolder;

TEST(Writer, UnchangedRecordsWriteAnIdenticalMap) {
    MapFolder folder;
    const Bytes before = folder.ReadMap();
    for (const WeaponListEntry& entry : kWeaponList) {
        WeaponStruct w(entry.metaOffset);
        w.WriteToMap();
        EXPECT_EQ(w.GetTagRefCount(), 35);
        EXPECT_EQ(w.GetUnknownFloatCount(), 36);
        EXPECT_EQ(w.GetNamedShortCount(), 4);
    }
    EXPECT_TRUE(DiffRanges(before, folder.ReadMap()).empty());
}

TEST(Writer, OneChangedValueChangesExactlyItsBytes) {
    const std::uint32_t meta = kWeaponList[1].metaOffset;
    struct Case {
        const char* what;
        void (*change)(WeaponStruct&);
        bool secondBlock;
        std::uint32_t offset;
        std::uint32_t size;
    };
    const Case cases[] = {
        {"Max ammo 7", [](WeaponStruct& w) { w.SetNamedShort(7, 1); }, true, 0x008, 2},
        {"Number of zooms", [](WeaponStruct& w) { w.SetNamedShort(-2, 0); }, false, 0x3DA, 2},
        {"Zoom 2", [](WeaponStruct& w) { w.SetNamedFloat(3.5f, 1); }, false, 0x3E0, 4},
        {"unknown short 0", [](WeaponStruct& w) { w.SetUnknownShort(-1, 0); }, false, 0x000, 2},
        {"unknown long 25", [](WeaponStruct& w) { w.SetUnknownLong(-5, 25); }, true, 0x198, 4},
        {"unknown float 19", [](WeaponStruct& w) { w.SetUnknownFloat(-0.75f, 19); }, false, 0x4D0,
         4},
        {"reference 34 identifier", [](WeaponStruct& w) { w.GetTagRef(34)->tagId ^= 0x00FF0000u; },
         true, 0x214 + 12, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapFolder folder;
        const Bytes before = folder.ReadMap();
        WeaponStruct w(meta);
        const std::uint32_t base = c.secondBlock ? w.GetBlockPointer() - ADDRESS_MAGIC : meta;
        c.change(w);
        w.WriteToMap();
        const Bytes after = folder.ReadMap();
        const auto ranges = DiffRanges(before, after);
        ASSERT_EQ(ranges.size(), 1u);
        EXPECT_GE(ranges[0].begin, base + c.offset);
        EXPECT_LE(ranges[0].end, base + c.offset + c.size);
    }
}

TEST(Writer, GapsAreNeverWrittenAndTwoWritesEqualOne) {
    MapFolder folder;
    // Gaps carry the demo pattern; poison the record's memory so every field changes.
    WeaponStruct w(kWeaponList[0].metaOffset);
    for (int i = 0; i < 26; ++i) {
        w.SetUnknownLong(0x11111111 * (i % 7 + 1), i);
    }
    for (int i = 0; i < 22; ++i) {
        w.SetUnknownShort(static_cast<std::int16_t>(0x2222 + i), i);
    }
    for (int i = 0; i < 35; ++i) {
        w.GetTagRef(i)->reserved = 0x33333333;
    }
    w.WriteToMap();
    const Bytes once = folder.ReadMap();
    const std::uint32_t meta = kWeaponList[0].metaOffset;
    const std::uint32_t second = w.GetBlockPointer() - ADDRESS_MAGIC;
    const std::pair<std::uint32_t, std::uint32_t> gaps[] = {
        {meta + 0x008, 24},
        {meta + 0x0B0, 84},
        {meta + 0x4F8, 4},
        {meta + 0x336, 2},
        {second + 0x00C, 8},
        {second + 0x138, 68},
        {second + 0x1A4, 32},
        {meta + 0x504, second - meta - 0x504},  // between the blocks
        {second + 0x224, kWeaponDataSize - demo::kSecondBlockDistance - 0x224},
    };
    for (const auto& [start, length] : gaps) {
        for (std::uint32_t i = 0; i < length; ++i) {
            ASSERT_EQ(once[start + i], demo::GapPattern(start + i)) << std::hex << start + i;
        }
    }
    w.WriteToMap();
    EXPECT_TRUE(DiffRanges(once, folder.ReadMap()).empty());
}

TEST(Writer, MissingOrReadOnlyMapWritesNothingAndCountsStillClose) {
    MapFolder folder;
    WeaponStruct w(kWeaponList[0].metaOffset);
    const Bytes before = folder.ReadMap();
    chmod("cache003.map", 0444);
    w.SetUnknownLong(99, 0);
    w.WriteToMap();
    EXPECT_EQ(w.GetUnknownLongCount(), 26);
    EXPECT_EQ(w.GetUnknownLong(0), 99);
    EXPECT_EQ(folder.ReadMap(), before);  // even a superuser's write is refused
    folder.RemoveMap();
    w.WriteToMap();
    EXPECT_EQ(w.GetTagRefCount(), 35);
    EXPECT_FALSE(std::filesystem::exists("cache003.map"));  // nothing is created
}

TEST(Writer, NeverExtendsTheFileAndLeavesAShortSecondBlockAlone) {
    MapFolder folder;
    WeaponStruct w(kWeaponList[3].metaOffset);
    const std::uint64_t second = w.GetBlockPointer() - ADDRESS_MAGIC;
    folder.CutMap(second + 0x10);  // the second block's first fields fit, the rest do not
    const Bytes before = folder.ReadMap();
    w.SetUnknownLong(0x01020304, 17);  // second block, offset 0
    w.SetUnknownLong(0x05060708, 0);   // main block
    w.WriteToMap();
    const Bytes after = folder.ReadMap();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(testing_support::Read32(after, second), 0x01020304u);
    const auto ranges = DiffRanges(before, after);
    for (const ByteRange& r : ranges) {
        EXPECT_LT(r.end, second + 0x10);
    }
}

TEST(Writer, BlockPointerBelowTheMagicTouchesNoSecondBlock) {
    MapFolder folder;
    Bytes map = folder.ReadMap();
    const std::uint32_t meta = kWeaponList[0].metaOffset;
    testing_support::Write32(map, meta + 0x4F4, 0x00000010);  // would point at the header
    folder.WriteMap(map);
    WeaponStruct w(meta);
    w.SetNamedShort(55, 1);
    w.WriteToMap();
    EXPECT_TRUE(DiffRanges(map, folder.ReadMap()).empty());
}

}  // namespace
