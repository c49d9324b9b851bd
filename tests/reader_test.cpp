#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "tests/support/map_folder.h"
#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

namespace {

using testing_support::Bytes;
using testing_support::MapFolder;
using testing_support::Read16;
using testing_support::Read32;

void ExpectFullCountsAndLabels(const WeaponStruct& w) {
    const int counts[] = {
        w.GetNamedLongCount(),    w.GetNamedShortCount(),    w.GetNamedFloatCount(),
        w.GetNamedDoubleCount(),  w.GetUnknownLongCount(),   w.GetUnknownShortCount(),
        w.GetUnknownFloatCount(), w.GetUnknownDoubleCount(), w.GetTagRefCount()};
    const int expected[] = {0, 4, 2, 0, 26, 22, 36, 0, 35};
    EXPECT_TRUE(std::equal(std::begin(counts), std::end(counts), std::begin(expected)));
    EXPECT_STREQ(w.GetNamedShortLabel(0), "Number of zooms");
    EXPECT_STREQ(w.GetNamedShortLabel(1), "Max ammo");
    EXPECT_STREQ(w.GetNamedShortLabel(2), "Clip size");
    EXPECT_STREQ(w.GetNamedShortLabel(3), "Projectiles per shot");
    EXPECT_STREQ(w.GetNamedFloatLabel(0), "Zoom 1");
    EXPECT_STREQ(w.GetNamedFloatLabel(1), "Zoom 2");
}

std::uint32_t FloatBits(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

// Every field of the record against the file bytes its layout row names.
template <std::size_t N>
void ExpectBlockMatches(const WeaponStruct& w, const LayoutRow (&rows)[N], const Bytes& map,
                        std::uint64_t base, int& shorts, int& longs, int& floats, int& refs) {
    for (const LayoutRow& row : rows) {
        for (int i = 0; row.kind != FieldKind::Gap && i < row.count; ++i) {
            const std::uint64_t at = base + row.offset + FieldSize(row.kind) * i;
            switch (row.kind) {
                case FieldKind::UnknownShort:
                    EXPECT_EQ(std::uint16_t(w.GetUnknownShort(shorts++)), Read16(map, at));
                    break;
                case FieldKind::UnknownLong:
                    EXPECT_EQ(std::uint32_t(w.GetUnknownLong(longs++)), Read32(map, at));
                    break;
                case FieldKind::UnknownFloat:
                    EXPECT_EQ(FloatBits(w.GetUnknownFloat(floats++)), Read32(map, at));
                    break;
                case FieldKind::TagRef:
                    EXPECT_EQ(std::memcmp(w.GetTagRef(refs++), map.data() + at, 16), 0) << at;
                    break;
                case FieldKind::BlockPointer:
                    EXPECT_EQ(w.GetBlockPointer(), Read32(map, at));
                    break;
                case FieldKind::NamedShort: {
                    int index = row.label == kLabelNumberOfZooms ? 0
                                : row.label == kLabelMaxAmmo     ? 1
                                : row.label == kLabelClipSize    ? 2
                                                                 : 3;
                    EXPECT_EQ(std::uint16_t(w.GetNamedShort(index)), Read16(map, at));
                    break;
                }
                case FieldKind::NamedFloat:
                    EXPECT_EQ(FloatBits(w.GetNamedFloat(row.label == kLabelZoom1 ? 0 : 1)),
                              Read32(map, at));
                    break;
                case FieldKind::Gap:
                    break;
            }
        }
    }
}

TEST(Reader, FillsEveryDestinationOfEveryWeapon) {
    MapFolder folder;
    const Bytes map = folder.ReadMap();
    for (const WeaponListEntry& entry : kWeaponList) {
        SCOPED_TRACE(entry.updateName);
        const WeaponStruct w(entry.metaOffset);
        EXPECT_EQ(w.GetMetaOffset(), entry.metaOffset);
        ExpectFullCountsAndLabels(w);
        int shorts = 0, longs = 0, floats = 0, refs = 0;
        ExpectBlockMatches(w, kMainBlock, map, entry.metaOffset, shorts, longs, floats, refs);
        EXPECT_EQ(shorts, 10);
        EXPECT_EQ(longs, 17);
        EXPECT_EQ(floats, 20);
        EXPECT_EQ(refs, 24);
        ExpectBlockMatches(w, kSecondBlock, map, w.GetBlockPointer() - ADDRESS_MAGIC, shorts, longs,
                           floats, refs);
    }
}

TEST(Reader, NamedFieldsAndBlockEdgesSitWhereTheMapHasThem) {
    MapFolder folder;
    const Bytes map = folder.ReadMap();
    const std::uint32_t meta = kWeaponList[1].metaOffset;
    const WeaponStruct w(meta);
    const std::uint64_t second = w.GetBlockPointer() - ADDRESS_MAGIC;
    EXPECT_EQ(w.GetBlockPointer(), Read32(map, meta + 0x4F4));
    EXPECT_EQ(std::uint16_t(w.GetUnknownShort(0)), Read16(map, meta + 0x000));
    EXPECT_EQ(std::uint16_t(w.GetNamedShort(0)), Read16(map, meta + 0x3DA));
    EXPECT_EQ(std::uint16_t(w.GetNamedShort(1)), Read16(map, second + 0x008));
    EXPECT_EQ(std::uint16_t(w.GetNamedShort(3)), Read16(map, second + 0x0FA));
    EXPECT_EQ(std::uint32_t(w.GetUnknownLong(14)), Read32(map, meta + 0x4F0));
    EXPECT_EQ(std::uint32_t(w.GetUnknownLong(17)), Read32(map, second));
    // The last run of six references starts at 0x1C4, so entry 34 is its sixth.
    EXPECT_EQ(std::memcmp(w.GetTagRef(29), map.data() + second + 0x1C4, 16), 0);
    EXPECT_EQ(std::memcmp(w.GetTagRef(34), map.data() + second + 0x214, 16), 0);
    EXPECT_EQ(w.GetNamedShort(1), 120);  // the demo pistol's ammunition
}

TEST(Reader, GapBytesHaveNoEffect) {
    MapFolder folder;
    const WeaponStruct before(kWeaponList[0].metaOffset);
    Bytes map = folder.ReadMap();
    const std::uint32_t meta = kWeaponList[0].metaOffset;
    for (std::uint32_t i = 0x008; i < 0x020; ++i) {
        map[meta + i] ^= 0xFF;
    }
    for (std::uint32_t i = 0x1A4; i < 0x1C4; ++i) {
        map[before.GetBlockPointer() - ADDRESS_MAGIC + i] ^= 0xFF;
    }
    folder.WriteMap(map);
    const WeaponStruct after(meta);
    EXPECT_EQ(std::memcmp(before.GetTagRef(0), after.GetTagRef(0), 16), 0);
    for (int i = 0; i < 36; ++i) {
        EXPECT_EQ(FloatBits(before.GetUnknownFloat(i)), FloatBits(after.GetUnknownFloat(i)));
    }
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(before.GetUnknownShort(i), after.GetUnknownShort(i));
    }
}

TEST(Reader, MissingMapLeavesCountsAndLabelsAndTouchesNoValue) {
    MapFolder folder(false);
    const WeaponStruct w(kWeaponList[0].metaOffset);
    ExpectFullCountsAndLabels(w);
    EXPECT_EQ(w.GetBlockPointer(), 0u);  // what the record held before: nothing was read
    EXPECT_EQ(w.GetUnknownLong(0), 0);
}

// A map cut inside a weapon: fields wholly before the end are read, a cut field gets the bytes
// the file still holds, later fields (the second block's too) keep what they held: zero here.
TEST(Reader, MapCutShortReadsWhatLiesBeforeTheEnd) {
    const std::uint32_t meta = kWeaponList[0].metaOffset;
    MapFolder folder;
    const Bytes full = folder.ReadMap();
    for (const std::uint32_t cut : {0x000u, 0x026u, 0x150u, 0x4F6u, 0x504u}) {
        SCOPED_TRACE(cut);
        folder.WriteMap(Bytes(full.begin(), full.begin() + meta + cut));
        const WeaponStruct w(meta);
        ExpectFullCountsAndLabels(w);
        for (int i = 0; i < 17; ++i) {
            const auto at = static_cast<std::uint32_t>(
                FieldOffset(kMainBlock, std::size(kMainBlock), FieldKind::UnknownLong, i));
            std::uint32_t expected = 0;
            if (at < cut) {
                std::memcpy(&expected, full.data() + meta + at, std::min(4u, cut - at));
            }
            EXPECT_EQ(std::uint32_t(w.GetUnknownLong(i)), expected) << "long " << i;
        }
        EXPECT_EQ(w.GetUnknownLong(17), 0);  // the second block is never reached
        EXPECT_EQ(w.GetNamedShort(1), 0);
    }
}

TEST(Reader, BlockPointerBelowTheMagicLeavesTheSecondBlockUnread) {
    MapFolder folder;
    Bytes map = folder.ReadMap();
    const std::uint32_t meta = kWeaponList[2].metaOffset;
    testing_support::Write32(map, meta + 0x4F4, 0x00001000);
    folder.WriteMap(map);
    const WeaponStruct w(meta);
    ExpectFullCountsAndLabels(w);
    EXPECT_EQ(w.GetBlockPointer(), 0x00001000u);
    EXPECT_EQ(w.GetUnknownLong(17), 0);
    EXPECT_EQ(w.GetNamedShort(1), 0);
    EXPECT_EQ(std::uint32_t(w.GetUnknownLong(16)), Read32(map, meta + 0x500));
}

TEST(Record, CopiesShareReferencesAndSettersTouchMemoryOnly) {
    MapFolder folder;
    WeaponStruct w(kWeaponList[0].metaOffset);
    const WeaponStruct copy = w;
    EXPECT_EQ(copy.GetTagRef(7), w.GetTagRef(7));
    EXPECT_EQ(copy.GetUnknownFloatCount(), 36);

    const Bytes before = folder.ReadMap();
    w.SetNamedShort(static_cast<std::int16_t>(0x8001), 1);
    w.SetUnknownFloat(0.25f, 35);
    EXPECT_EQ(w.GetNamedShort(1), -32767);
    EXPECT_EQ(w.GetUnknownFloat(35), 0.25f);
    EXPECT_EQ(folder.ReadMap(), before);
}

}  // namespace
