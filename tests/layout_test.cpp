// Where a weapon's fields lie in the map, stated here on their own rather than taken from the
// layout table: a field moved in the table, or two of one size trading kinds, reads other bytes.
// And an unchanged weapon written back leaves every byte of the map as it was.

#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/supported_map.h"
#include "demo/demo_map.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"
#include "weapon/weapon_struct.h"

namespace {

using namespace testing_support;

constexpr std::uint32_t kMagic = 0x7E06AA00;  // a block pointer less this is a file offset

enum class Field { Short, Long, Float, Ref, Named, Zoom };

struct Anchor {
    Field field;
    int index;  // among the record's fields of its kind; the named ones in the tree's order
    bool second;
    std::uint32_t offset;  // from the start of its block
};

// The ends of the runs and every place where two kinds of one size meet.
constexpr Anchor kAnchors[] = {
    {Field::Short, 0, false, 0x000},  {Field::Float, 0, false, 0x004},
    {Field::Float, 1, false, 0x020},  {Field::Long, 0, false, 0x024},
    {Field::Ref, 0, false, 0x028},    {Field::Short, 9, false, 0x3D8},
    {Field::Named, 0, false, 0x3DA},  {Field::Zoom, 0, false, 0x3DC},
    {Field::Zoom, 1, false, 0x3E0},   {Field::Long, 10, false, 0x3E4},
    {Field::Float, 14, false, 0x3E8}, {Field::Long, 11, false, 0x3EC},
    {Field::Float, 15, false, 0x3F0}, {Field::Ref, 23, false, 0x4B0},
    {Field::Long, 14, false, 0x4F0},  {Field::Long, 16, false, 0x500},
    {Field::Long, 17, true, 0x000},   {Field::Short, 10, true, 0x004},
    {Field::Named, 1, true, 0x008},   {Field::Named, 2, true, 0x00A},
    {Field::Ref, 24, true, 0x038},    {Field::Short, 19, true, 0x0F8},
    {Field::Named, 3, true, 0x0FA},   {Field::Float, 35, true, 0x190},
    {Field::Long, 24, true, 0x194},   {Field::Short, 21, true, 0x1A2},
    {Field::Ref, 34, true, 0x214},
};

std::size_t SizeOf(Field field) {
    return field == Field::Ref ? 16 : field == Field::Short || field == Field::Named ? 2 : 4;
}

Bytes HeldBytes(const WeaponStruct& w, const Anchor& a) {
    Bytes bytes(SizeOf(a.field));
    const auto copy = [&bytes](const auto value) {
        std::memcpy(bytes.data(), &value, bytes.size());
    };
    switch (a.field) {
        case Field::Short:
            return copy(w.GetUnknownShort(a.index)), bytes;
        case Field::Long:
            return copy(w.GetUnknownLong(a.index)), bytes;
        case Field::Float:
            return copy(w.GetUnknownFloat(a.index)), bytes;
        case Field::Ref:
            return copy(*w.GetTagRef(a.index)), bytes;
        case Field::Named:
            return copy(w.GetNamedShort(a.index)), bytes;
        case Field::Zoom:
            return copy(w.GetNamedFloat(a.index)), bytes;
    }
    return bytes;
}

TEST(Layout, EachAnchoredFieldReadsItsOwnBytes) {
    MapFolder folder;
    for (const WeaponListEntry& weapon : kWeaponList) {
        SCOPED_TRACE(weapon.path);
        const std::uint32_t second = weapon.metaOffset + demo::kSecondBlockDistance;
        // Bytes no two anchors share, so a field that reads its neighbour's sees the difference.
        std::vector<Bytes> put;
        for (const Anchor& a : kAnchors) {
            Bytes bytes(SizeOf(a.field));
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = static_cast<std::uint8_t>(put.size() * 16 + i + 1);
            }
            folder.Patch((a.second ? second : weapon.metaOffset) + a.offset, bytes.data(),
                         bytes.size());
            put.push_back(bytes);
        }
        const WeaponStruct record(weapon.metaOffset);
        EXPECT_EQ(record.GetBlockPointer(), second + kMagic);
        for (std::size_t k = 0; k < std::size(kAnchors); ++k) {
            EXPECT_EQ(HeldBytes(record, kAnchors[k]), put[k])
                << "anchor " << k << " at " << std::hex << kAnchors[k].offset;
        }
    }
}

TEST(Writer, UnchangedRecordsWriteAnIdenticalMap) {
    MapFolder folder;
    for (const WeaponListEntry& weapon : kWeaponList) {
        WeaponStruct(weapon.metaOffset).WriteToMap();
    }
    EXPECT_EQ(FileImage::FirstDifference(DemoMap(), FileImage::Of(kMapFileName)), -1);
}

}  // namespace
