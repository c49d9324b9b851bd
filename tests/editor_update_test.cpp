#include <gtest/gtest.h>

#include <cstring>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/field_position.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

namespace {

using namespace testing_support;

constexpr int kPistol = 1;  // tree position and weapon-list entry alike

Bytes Little(std::uint64_t value, int size) {
    Bytes bytes(static_cast<std::size_t>(size));
    std::memcpy(bytes.data(), &value, static_cast<std::size_t>(size));
    return bytes;
}

Bytes FloatBytes(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return Little(bits, 4);
}

struct ValueCase {
    const char* what;
    const char* path;  // under the Pistol
    const char* typed;
    const char* text;  // the item's new text
    FieldKind kind;
    int index;  // within the kind, in walk order: the main block's first
    Bytes bytes;
};

TEST(Update, ValuesAreConvertedStoredShownAndWrittenInPlace) {
    const ValueCase cases[] = {
        {"Max ammo keeps 16 bits", "1.17", "40000", "Max ammo: -25536", FieldKind::NamedShort, 1,
         Little(0x9C40, 2)},
        {"Number of zooms", "1.16", "3", "Number of zooms: 3", FieldKind::NamedShort, 0,
         Little(3, 2)},
        {"Clip size, negative", "1.18", "-7", "Clip size: -7", FieldKind::NamedShort, 2,
         Little(0xFFF9, 2)},
        {"Projectiles, text after the number", "1.19", "12abc", "Projectiles per shot: 12",
         FieldKind::NamedShort, 3, Little(12, 2)},
        {"Zoom 1 rounds to a float", "1.20", "0.1", "Zoom 1: 0.100000", FieldKind::NamedFloat, 0,
         FloatBytes(0.1f)},
        {"Zoom 2 with an exponent", "1.21", "1e3", "Zoom 2: 1000.000000", FieldKind::NamedFloat, 1,
         FloatBytes(1000.0f)},
        {"unknown short, blanks and plus", "1.13.5", "  +17", "Unknown 5: 17",
         FieldKind::UnknownShort, 5, Little(17, 2)},
        {"unknown short in the second block", "1.13.21", "65535", "Unknown 21: -1",
         FieldKind::UnknownShort, 21, Little(0xFFFF, 2)},
        {"unknown long -1", "1.14.0", "-1", "Unknown 0: -1", FieldKind::UnknownLong, 0,
         Little(0xFFFFFFFF, 4)},
        {"unknown long, letters only", "1.14.17", "abc", "Unknown 17: 0", FieldKind::UnknownLong,
         17, Little(0, 4)},
        {"unknown long, no hexadecimal", "1.14.25", "0x1F", "Unknown 25: 0", FieldKind::UnknownLong,
         25, Little(0, 4)},
        {"unknown float", "1.15.20", "2.5", "Unknown 20: 2.500000", FieldKind::UnknownFloat, 20,
         FloatBytes(2.5f)},
        {"unknown float, no inf", "1.15.0", "inf", "Unknown 0: 0.000000", FieldKind::UnknownFloat,
         0, FloatBytes(0.0f)},
        {"empty text stores 0", "1.18", "", "Clip size: 0", FieldKind::NamedShort, 2, Little(0, 2)},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        MapFolder folder;
        const WeaponStruct record(kWeaponList[kPistol].metaOffset);
        const std::uint64_t at = FileOffsetOf(record, PlaceOf(c.kind, c.index));
        const Bytes before = folder.ReadMap();
        const RunOutcome outcome = RunEditor([&](HeadlessWindow& w) {
            Select(w, c.path);
            TypeAndUpdate(w, c.typed);
            EXPECT_EQ(TextAt(w, c.path), c.text);
            EXPECT_EQ(EditText(w), c.typed);  // the panel is left as it was
        });
        EXPECT_TRUE(outcome.messages.empty());
        const Bytes after = folder.ReadMap();
        Bytes expected = before;
        std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + static_cast<long>(at));
        EXPECT_EQ(DiffRanges(expected, after), std::vector<ByteRange>{});
    }
}

TEST(Update, WithoutAWeaponItSaysSoAndWritesNothing) {
    MapFolder folder;
    const Bytes before = folder.ReadMap();
    const RunOutcome outcome = RunEditor([](HeadlessWindow& w) {
        TypeAndUpdate(w, "5");  // nothing selected yet
        Select(w, "4");         // a weapon item
        TypeAndUpdate(w, "5");
    });
    EXPECT_EQ(outcome.messages, (std::vector<std::string>{"Error seeking weapon struct",
                                                          "Error seeking weapon struct"}));
    EXPECT_TRUE(before == folder.ReadMap());
}

TEST(Update, CategoryItemsChangeNothingSilently) {
    MapFolder folder;
    const Bytes before = folder.ReadMap();
    const RunOutcome outcome = RunEditor([](HeadlessWindow& w) {
        for (const char* path : {"2.7", "2.13", "2.14", "2.15", "2.0"}) {
            Select(w, path);
            TypeAndUpdate(w, "5");
            EXPECT_EQ(TextAt(w, path).find(':'), std::string::npos) << path;
        }
    });
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_TRUE(before == folder.ReadMap());
}

struct RefCase {
    const char* what;
    int weapon;    // tree position
    int category;  // index of the category under the weapon
    int position;  // which item under it
    bool showAll;
    int pick;  // entry to choose; -1: the last, "-1: NULL"
};

TEST(Update, ReferencesChangeIdentifierAndNamePointerOfTheirSlotOnly) {
    const RefCase cases[] = {
        {"third of its class among interleaved slots", 0, 7, 2, false, 3},
        {"after a slot of an unknown class", 0, 10, 1, false, 1},
        {"to no tag", 1, 11, 0, false, -1},
        {"a row of another class under show all", 2, 3, 1, true, 40},
        {"equipment, first entry as offered", 6, 5, 0, false, 0},
    };
    for (const RefCase& c : cases) {
        SCOPED_TRACE(c.what);
        MapFolder folder;
        const WeaponStruct record(kWeaponList[ShownWeaponEntry(c.weapon)].metaOffset);
        const std::vector<int> slots = SlotsOfClass(record, kTagClasses[c.category].storedBytes);
        ASSERT_LT(c.position, static_cast<int>(slots.size()));
        const std::uint64_t at =
            FileOffsetOf(record, PlaceOf(FieldKind::TagRef, slots[c.position]));
        const Bytes before = folder.ReadMap();
        const std::string path = std::to_string(c.weapon) + "." + std::to_string(c.category) + "." +
                                 std::to_string(c.position);
        int row = -1;
        RunEditor([&](HeadlessWindow& w) {
            Select(w, path);
            if (c.showAll) {
                w.UserClick(IDC_SHOW_ALL_CHECK);
            }
            const std::vector<std::string> entries = Entries(w);
            const int pick = c.pick < 0 ? static_cast<int>(entries.size()) - 1 : c.pick;
            ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, pick));
            row = std::stoi(entries[pick]);
            w.UserType(IDC_VALUE_EDIT, "DEADBEEF");  // the edit box plays no part
            w.UserClick(IDC_UPDATE_BUTTON);
            EXPECT_EQ(TextAt(w, path), row < 0 ? "NULL" : NameOfRow(row));
        });
        Bytes expected = before;
        const std::uint32_t namePointer = row < 0 ? 0 : kTagNameOffsets[row] + ADDRESS_MAGIC;
        const std::uint32_t tagId = row < 0 ? 0xFFFFFFFFu : kTagIdentifiers[row];
        Write32(expected, at + kNamePointerAt, namePointer);
        Write32(expected, at + kTagIdAt, tagId);
        EXPECT_EQ(DiffRanges(expected, folder.ReadMap()), std::vector<ByteRange>{});
    }
}

}  // namespace
