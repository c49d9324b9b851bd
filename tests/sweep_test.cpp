// Every editable item of every weapon the tree shows is updated once through the user's actions.
// Each Update may change the map in that field's bytes only (for a reference, its name pointer
// and tag id), and a second Update must change nothing more.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/field_position.h"
#include "tests/support/file_image.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"

namespace {

using namespace testing_support;

// The bytes a weapon's walk covers: its main block, then its second block.
struct WeaponBytes {
    std::uint64_t main;
    std::uint64_t second;

    Bytes Read(const MapFolder& folder) const {
        Bytes bytes = folder.ReadAt(main, kMainBlockSize);
        const Bytes tail = folder.ReadAt(second, kSecondBlockSize);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    }
    // Index into Read()'s bytes of a field's first byte.
    std::size_t IndexOf(const FieldPlace& place) const {
        return (place.second ? kMainBlockSize : 0) + place.offset;
    }
};

WeaponBytes BytesOf(const WeaponStruct& record) {
    return {record.GetMetaOffset(), record.GetBlockPointer() - std::uint64_t{ADDRESS_MAGIC}};
}

void Put(Bytes& bytes, std::size_t at, const void* value, std::size_t size) {
    std::memcpy(bytes.data() + at, value, size);
}

// What one item's update should do: the text to type (values) or the entry to choose
// (references), the item's new text, and the weapon bytes afterwards.
struct Edit {
    std::string typed;
    int entry = -1;
    std::string text;
    Bytes after;
};

template <class T>
Edit ValueEdit(std::string typed, const std::string& label, const std::string& shown, T value,
               const Bytes& before, std::size_t at) {
    Edit edit{std::move(typed), -1, label + ": " + shown, before};
    Put(edit.after, at, &value, sizeof value);
    return edit;
}

// New values differ from the old ones, fit the edit box's 8 characters and cover signs, the
// 16-bit wrap and fractions; `n` varies them from item to item.
Edit ShortEdit(std::int16_t old, int n, const Bytes& before, std::size_t at, std::string label) {
    auto value = static_cast<std::int16_t>((n * 7919) % 65536 - 32768);
    if (value == old) {
        value = static_cast<std::int16_t>(value + 1);
    }
    // Every other one typed beyond 16 bits: only the low 16 bits are kept.
    return ValueEdit(std::to_string(value < 0 && n % 2 ? value + 65536 : int{value}), label,
                     std::to_string(value), value, before, at);
}

Edit LongEdit(std::int32_t old, int n, const Bytes& before, std::size_t at, std::string label) {
    std::int32_t value = (n * 104729) % 20000000 - 9999999;
    if (value == old) {
        ++value;
    }
    return ValueEdit(std::to_string(value), label, std::to_string(value), value, before, at);
}

Edit FloatEdit(float old, int n, const Bytes& before, std::size_t at, std::string label) {
    // Multiples of 1/8 are exact in a float, so the typed text names the stored value.
    float value = static_cast<float>((n * 613) % 4001 - 2000) / 8.0f;
    if (value == old || value == 0.0f) {
        value = old == 0.5f ? 0.25f : 0.5f;
    }
    char typed[16];
    std::snprintf(typed, sizeof typed, "%.3f", static_cast<double>(value));  // 8 characters at most
    return ValueEdit(typed, label, std::to_string(static_cast<double>(value)) /* as "%f" */, value,
                     before, at);
}

// Picks an entry that names another tag than the reference holds now.
Edit ReferenceEdit(const TagReference& old, int n, const std::vector<std::string>& entries,
                   const Bytes& before, std::size_t at) {
    Edit edit;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int entry = static_cast<int>((n * 37 + k) % entries.size());
        const int row = std::stoi(entries[entry]);
        const std::uint32_t tagId = row < 0 ? kNoTag : kTagIdentifiers[row];
        const std::uint32_t namePointer = row < 0 ? 0 : kTagNameOffsets[row] + ADDRESS_MAGIC;
        if (tagId == old.tagId && namePointer == old.namePointer) {
            continue;
        }
        edit.entry = entry;
        edit.text = row < 0 ? "NULL" : NameOfRow(row);
        edit.after = before;
        Put(edit.after, at + kNamePointerAt, &namePointer, 4);
        Put(edit.after, at + kTagIdAt, &tagId, 4);
        return edit;
    }
    ADD_FAILURE() << "no entry names another tag";
    return edit;
}

constexpr int kUnknownCategories = 3;
constexpr FieldKind kUnknownKinds[kUnknownCategories] = {
    FieldKind::UnknownShort, FieldKind::UnknownLong, FieldKind::UnknownFloat};

class Sweep : public ::testing::TestWithParam<int> {};

TEST_P(Sweep, EveryItemUpdatesExactlyItsOwnBytes) {
    const int shown = GetParam();
    const int entry = ShownWeaponEntry(shown);
    ASSERT_GE(entry, 0);

    MapFolder folder;
    const FileImage mapBefore = FileImage::Of(kMapFileName);
    const WeaponStruct record(kWeaponList[entry].metaOffset);  // read apart from the editor's
    const WeaponBytes weaponBytes = BytesOf(record);
    Bytes expectedWeapon = weaponBytes.Read(folder);

    int updated = 0;
    int n = shown * 1000;
    const RunOutcome outcome = RunEditor([&](HeadlessWindow& w) {
        auto& tree = w.TreeControlOf(IDC_WEAPON_TREE);
        const platform::TreeItem weaponItem = tree.Children(platform::kTreeRoot)[shown];
        ASSERT_EQ(tree.GetItemText(weaponItem), kWeaponList[entry].displayName);
        const std::vector<platform::TreeItem> children = tree.Children(weaponItem);
        ASSERT_EQ(children.size(), std::size_t{kTagClassCount + kUnknownCategories + 6});

        // Updates one item as the user does and checks the bytes of the whole weapon.
        auto update = [&](platform::TreeItem item, const Edit& edit) {
            const std::string what =
                tree.GetItemText(item) + " under " + tree.GetItemText(tree.GetParentItem(item));
            SCOPED_TRACE(what);
            ASSERT_TRUE(w.UserSelectItem(item));
            if (edit.entry >= 0) {
                ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, edit.entry));
            } else {
                w.UserType(IDC_VALUE_EDIT, edit.typed);
            }
            w.UserClick(IDC_UPDATE_BUTTON);
            EXPECT_EQ(tree.GetItemText(item), edit.text);
            ASSERT_NE(edit.after, expectedWeapon) << "the new value must differ from the old";
            const Bytes once = weaponBytes.Read(folder);
            EXPECT_EQ(DiffRanges(edit.after, once), std::vector<ByteRange>{});
            w.UserClick(IDC_UPDATE_BUTTON);
            EXPECT_EQ(DiffRanges(once, weaponBytes.Read(folder)), std::vector<ByteRange>{})
                << "a second Update changed more";
            expectedWeapon = edit.after;
            ++updated;
        };

        // The six named values, found by the labels the record holds.
        for (std::size_t c = kTagClassCount + kUnknownCategories; c < children.size(); ++c) {
            const std::string text = tree.GetItemText(children[c]);
            bool found = false;
            for (int i = 0; i < record.GetNamedShortCount(); ++i) {
                const std::string label = record.GetNamedShortLabel(i);
                if (text.starts_with(label + ":")) {
                    const std::size_t at = weaponBytes.IndexOf(PlaceOf(FieldKind::NamedShort, i));
                    update(children[c],
                           ShortEdit(record.GetNamedShort(i), ++n, expectedWeapon, at, label));
                    found = true;
                }
            }
            for (int i = 0; i < record.GetNamedFloatCount(); ++i) {
                const std::string label = record.GetNamedFloatLabel(i);
                if (text.starts_with(label + ":")) {
                    const std::size_t at = weaponBytes.IndexOf(PlaceOf(FieldKind::NamedFloat, i));
                    update(children[c],
                           FloatEdit(record.GetNamedFloat(i), ++n, expectedWeapon, at, label));
                    found = true;
                }
            }
            EXPECT_TRUE(found) << text;
        }

        // Every unnamed value: its place in the tree is its index in its kind.
        for (int u = 0; u < kUnknownCategories; ++u) {
            const FieldKind kind = kUnknownKinds[u];
            const auto items = tree.Children(children[kTagClassCount + u]);
            for (int i = 0; i < static_cast<int>(items.size()); ++i) {
                const std::size_t at = weaponBytes.IndexOf(PlaceOf(kind, i));
                const std::string label = "Unknown " + std::to_string(i);
                update(items[i],
                       kind == FieldKind::UnknownShort
                           ? ShortEdit(record.GetUnknownShort(i), ++n, expectedWeapon, at, label)
                       : kind == FieldKind::UnknownLong
                           ? LongEdit(record.GetUnknownLong(i), ++n, expectedWeapon, at, label)
                           : FloatEdit(record.GetUnknownFloat(i), ++n, expectedWeapon, at, label));
            }
            EXPECT_EQ(static_cast<int>(items.size()),
                      FieldsOfKind(kMainBlock, kind) + FieldsOfKind(kSecondBlock, kind));
        }

        // Every reference of a known class: the p-th item under a category is the p-th slot of
        // that class.
        for (int c = 0; c < kTagClassCount; ++c) {
            const std::vector<int> slots = SlotsOfClass(record, kTagClasses[c].storedBytes);
            const auto items = tree.Children(children[c]);
            ASSERT_EQ(items.size(), slots.size()) << kTagClasses[c].categoryName;
            for (std::size_t p = 0; p < items.size(); ++p) {
                ASSERT_TRUE(w.UserSelectItem(items[p]));
                const std::size_t at = weaponBytes.IndexOf(PlaceOf(FieldKind::TagRef, slots[p]));
                update(items[p], ReferenceEdit(*record.GetTagRef(slots[p]), ++n, Entries(w),
                                               expectedWeapon, at));
            }
        }
    });
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_GT(updated, 6 + 84);

    // Nothing outside this weapon's fields changed anywhere in the file, holes included.
    FileImage expectedMap = mapBefore;
    expectedMap.Put(weaponBytes.main, expectedWeapon.data(), kMainBlockSize);
    expectedMap.Put(weaponBytes.second, expectedWeapon.data() + kMainBlockSize, kSecondBlockSize);
    EXPECT_EQ(FileImage::FirstDifference(expectedMap, FileImage::Of(kMapFileName)), -1);
}

std::string ShownName(const ::testing::TestParamInfo<int>& info) {
    std::string name = kWeaponList[ShownWeaponEntry(info.param)].displayName;
    std::erase(name, ' ');
    return name;
}

INSTANTIATE_TEST_SUITE_P(ShownWeapons, Sweep, ::testing::Range(0, 13), ShownName);

}  // namespace
