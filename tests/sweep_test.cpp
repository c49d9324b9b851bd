// Every editable item of every weapon the tree shows is updated once through the user's actions.
// Each Update may change bytes of one field of that weapon only, and they must then hold the new
// value; no two items may share bytes; a second Update changes nothing; nothing outside the
// weapon's blocks changes; and a fresh start-up shows every new value. Where each field lies is
// found from what the Update wrote, not from the layout table.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/file_image.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"

namespace {

using namespace testing_support;

constexpr std::uint32_t kMagic = 0x7E06AA00;
constexpr std::size_t kMainSize = 0x504;
constexpr std::size_t kSecondSize = 0x224;
constexpr std::size_t kReferenceCategories = 13;

// A field's bytes after an edit; -1 for a byte that must stay as it was.
using Pattern = std::vector<int>;

template <class T>
void Append(Pattern& pattern, T value) {
    std::uint8_t bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    for (const std::uint8_t byte : bytes) {
        pattern.push_back(byte);
    }
}

template <class T>
Pattern Encoded(T value) {
    Pattern pattern;
    Append(pattern, value);
    return pattern;
}

// What one item's Update should do: what the user types or chooses, the item's new text, and
// the field's bytes then.
struct Edit {
    std::string typed;
    int entry = -1;
    std::string text;
    Pattern field;
};

// New values fit the edit box's 8 characters and cover signs, the 16-bit wrap and fractions;
// `n` varies them from item to item.
Edit ValueEdit(int category, const std::string& label, int n) {
    const std::string head = label + ": ";
    if (category == 15 || label.starts_with("Zoom")) {
        // Multiples of 1/8 are exact in a float, so the typed text names the stored value.
        const float value = static_cast<float>((n * 613) % 4001 - 2000) / 8.0f;
        char typed[16], shown[32];
        std::snprintf(typed, sizeof typed, "%.3f", double{value});
        std::snprintf(shown, sizeof shown, "%f", double{value});
        return {typed, -1, head + shown, Encoded(value)};
    }
    if (category == 14) {
        const std::int32_t value = (n * 104729) % 20000000 - 9999999;
        return {std::to_string(value), -1, head + std::to_string(value), Encoded(value)};
    }
    const auto value = static_cast<std::int16_t>((n * 7919) % 65536 - 32768);
    // Every other negative one typed beyond 16 bits: only the low 16 bits are kept.
    const int typed = value < 0 && n % 2 ? value + 65536 : value;
    return {std::to_string(typed), -1, head + std::to_string(value), Encoded(value)};
}

// A reference keeps its class and reserved words; its name pointer and tag id change.
Edit ReferenceEdit(const std::vector<std::string>& entries, const std::string& old, int n) {
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const int entry = static_cast<int>((n * 37 + k) % entries.size());
        const int row = std::stoi(entries[entry]);
        const std::string path = entries[entry].substr(entries[entry].find(": ") + 2);
        const std::string text = row < 0 ? "NULL" : path.substr(0, path.rfind('.'));
        if (text != old) {
            Pattern field(4, -1);
            Append(field, row < 0 ? 0u : kTagNameOffsets[row] + kMagic);
            field.resize(12, -1);
            Append(field, row < 0 ? 0xFFFFFFFFu : kTagIdentifiers[row]);
            return {"", entry, text, field};
        }
    }
    ADD_FAILURE() << "no entry names another tag";
    return {};
}

// Where the edited field starts, covering every byte that changed; -1 if nowhere.
long FieldStart(const Pattern& field, const Bytes& before, const Bytes& after) {
    const std::vector<ByteRange> changed = DiffRanges(before, after);
    const std::size_t size = field.size();
    for (std::size_t at = changed.empty() || changed.back().end < size ? 0
                                                                       : changed.back().end - size;
         !changed.empty() && at <= changed.front().begin && at + size <= after.size(); ++at) {
        bool fits = true;
        for (std::size_t i = 0; fits && i < size; ++i) {
            fits = after[at + i] == (field[i] < 0 ? before[at + i] : field[i]);
        }
        if (fits) {
            return static_cast<long>(at);
        }
    }
    return -1;
}

class Sweep : public ::testing::TestWithParam<int> {};

TEST_P(Sweep, EveryItemUpdatesOnlyItsOwnBytes) {
    const int shown = GetParam();
    MapFolder folder;
    const FileImage mapBefore = FileImage::Of(kMapFileName);
    std::uint32_t meta = 0;
    for (int i = 0, seen = 0; i < kWeaponCount; ++i) {
        meta = kWeaponList[i].displayName != nullptr && seen++ == shown ? kWeaponList[i].metaOffset
                                                                        : meta;
    }
    const std::uint64_t second = ReadLittle32(folder.ReadAt(meta + 0x4F4, 4)) - kMagic;
    const auto weaponBytes = [&] {
        Bytes bytes = folder.ReadAt(meta, kMainSize);
        const Bytes tail = folder.ReadAt(second, kSecondSize);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    Bytes weapon = weaponBytes();
    std::vector<bool> owned(weapon.size());
    std::vector<std::pair<std::string, std::string>> shownTexts;  // path, text
    int n = shown * 1000;

    RunEditor([&](HeadlessWindow& w) {
        auto& tree = w.TreeControlOf(IDC_WEAPON_TREE);
        const auto update = [&](const std::string& path, const Edit& edit) {
            SCOPED_TRACE(path + " " + TextAt(w, path) + " to " + edit.text);
            if (edit.entry >= 0) {
                ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, edit.entry));
            } else {
                w.UserType(IDC_VALUE_EDIT, edit.typed);
            }
            w.UserClick(IDC_UPDATE_BUTTON);
            EXPECT_EQ(TextAt(w, path), edit.text);
            const Bytes once = weaponBytes();
            const long at = FieldStart(edit.field, weapon, once);
            ASSERT_GE(at, 0) << "the Update wrote elsewhere or nothing";
            for (std::size_t i = at; i < at + edit.field.size(); ++i) {
                ASSERT_FALSE(owned[i]) << "two items share byte " << i;
                owned[i] = true;
            }
            w.UserClick(IDC_UPDATE_BUTTON);
            EXPECT_EQ(weaponBytes(), once) << "a second Update changed more";
            weapon = once;
            shownTexts.emplace_back(path, edit.text);
        };
        const std::string top = std::to_string(shown);
        const auto children = tree.Children(ItemAt(w, top));
        ASSERT_EQ(children.size(), kReferenceCategories + 3 + 6);
        for (std::size_t c = 0; c < children.size(); ++c) {
            const std::string path = top + "." + std::to_string(c);
            const std::size_t items = tree.Children(children[c]).size();
            for (std::size_t i = 0; i < std::max<std::size_t>(items, 1); ++i) {
                const std::string item = items == 0 ? path : path + "." + std::to_string(i);
                const std::string old = TextAt(w, item);
                if (items == 0 && c < kReferenceCategories + 3) {
                    break;  // an empty category
                }
                Select(w, item);
                Edit edit;
                do {
                    edit = c < kReferenceCategories ? ReferenceEdit(Entries(w), old, ++n)
                           : items == 0 ? ValueEdit(-1, old.substr(0, old.find(':')), ++n)
                                        : ValueEdit(static_cast<int>(c),
                                                    "Unknown " + std::to_string(i), ++n);
                } while (edit.text == old);
                update(item, edit);
            }
        }
    });
    EXPECT_GT(shownTexts.size(), 6u + 22 + 26 + 36);

    // Nothing outside this weapon's blocks changed anywhere in the file, holes included.
    FileImage expected = mapBefore;
    expected.Put(meta, weapon.data(), kMainSize);
    expected.Put(second, weapon.data() + kMainSize, kSecondSize);
    EXPECT_EQ(FileImage::FirstDifference(expected, FileImage::Of(kMapFileName)), -1);
    // Every field is read back from where it was written.
    RunEditor([&](HeadlessWindow& w) {
        for (const auto& [path, text] : shownTexts) {
            EXPECT_EQ(TextAt(w, path), text) << path;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(ShownWeapons, Sweep, ::testing::Range(0, 13));

}  // namespace
