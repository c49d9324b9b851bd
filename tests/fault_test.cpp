// Faults that strike between start-up and Update: the map deleted, made read-only, cut short or
// replaced by a folder, and second-block pointers that lead nowhere. The Update must not crash,
// must show what it shows on a sound map, and may write only the bytes the same edit writes on a
// sound map that still lie in the file: never a file created or extended. Once the map is back,
// the next Update writes the earlier edit too.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "catalogue/supported_map.h"
#include "demo/demo_map.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/file_image.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

// The Ghost, last in the tree: its blocks lie near the end of the demo map.
const std::uint32_t kMeta = kWeaponList[14].metaOffset;
const std::uint64_t kSecond = kMeta + demo::kSecondBlockDistance;

struct Probe {
    std::string path;
    std::string typed;  // empty: a reference, pointed at the list's second entry
};
const Probe kZooms{"12.16", "3"}, kMaxAmmo{"12.17", "-40"}, kClipSize{"12.18", "77"};
const Probe kReference{"12.4.2", ""};  // the weapon's last reference

void ExpectMap(const FileImage& expected) {
    EXPECT_EQ(FileImage::FirstDifference(expected, FileImage::Of(kMapFileName)), -1)
        << "a byte that differs";
}

void Perform(HeadlessWindow& w, const Probe& probe) {
    Select(w, probe.path);
    if (probe.typed.empty()) {
        ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, 1));
    } else {
        w.UserType(IDC_VALUE_EDIT, probe.typed);
    }
    w.UserClick(IDC_UPDATE_BUTTON);
}

// What an edit does on a sound map: the item's text, and the runs of bytes that change.
struct Effect {
    std::string text;
    std::vector<std::pair<std::uint64_t, Bytes>> runs;
};

const Effect& EffectOf(const Probe& probe) {
    static std::map<std::string, Effect> learned;
    if (!learned.contains(probe.path)) {
        MapFolder folder;
        const Bytes before = folder.ReadMap();
        Effect& effect = learned[probe.path];
        RunEditor([&](HeadlessWindow& w) {
            Perform(w, probe);
            effect.text = TextAt(w, probe.path);
        });
        const Bytes after = folder.ReadMap();
        EXPECT_EQ(after.size(), before.size()) << probe.path << " resized a sound map";
        const std::size_t common = std::min(before.size(), after.size());
        for (std::size_t end = 0; end < common; ++end) {
            const std::size_t begin = end;
            while (end < common && after[end] != before[end]) {
                ++end;
            }
            if (end > begin) {
                effect.runs.emplace_back(begin, Bytes(after.begin() + begin, after.begin() + end));
            }
        }
        EXPECT_FALSE(effect.runs.empty()) << probe.path << " wrote nothing on a sound map";
    }
    return learned[probe.path];
}

// The map with the runs of these edits that end within `length`, cut there.
FileImage With(FileImage image, const std::vector<Probe>& probes, std::uint64_t length = ~0ull) {
    for (const Probe& probe : probes) {
        for (const auto& [at, bytes] : EffectOf(probe).runs) {
            if (at + bytes.size() <= length) {
                image.Put(at, bytes.data(), bytes.size());
            }
        }
    }
    image.CutTo(std::min(length, image.Size()));
    return image;
}

// The fault strikes after start-up and each probe is edited; then the map is put back and Clip
// size is edited: the update writes the whole record, so the probe's value, kept in memory all
// along, must now reach the map too.
void RunFault(const std::string& what, const std::function<void(const MapFolder&)>& strike,
              const std::function<FileImage(const Probe&)>& expected,
              bool namesUnreadable = false) {
    for (const Probe& probe : {kZooms, kMaxAmmo, kReference}) {
        SCOPED_TRACE(what + ", " + probe.path);
        const std::string text =
            namesUnreadable && probe.typed.empty() ? "NULL" : EffectOf(probe).text;
        const FileImage map = expected(probe);
        EffectOf(kClipSize);  // learned before the editor under test starts
        MapFolder folder;
        const std::vector<std::string> messages = RunEditor([&](HeadlessWindow& w) {
            strike(folder);
            Perform(w, probe);
            EXPECT_EQ(TextAt(w, probe.path), text);
            ExpectMap(map);
            fs::remove_all(kMapFileName);  // a file, read-only or not, or a folder
            ASSERT_TRUE(DemoMap().WriteTo(kMapFileName));
            Perform(w, kClipSize);
        });
        EXPECT_TRUE(messages.empty());
        ExpectMap(With(DemoMap(), {probe, kClipSize}));
    }
}

TEST(Fault, AMapThatCannotBeWrittenIsLeftAsItWas) {
    const auto none = [](const Probe&) { return FileImage(); };
    RunFault(
        "deleted", [](const MapFolder&) { fs::remove(kMapFileName); }, none, true);
    // A folder is no map: a name read from it answers as a missing map does.
    RunFault(
        "replaced by a folder",
        [](const MapFolder&) { fs::remove(kMapFileName), fs::create_directory(kMapFileName); },
        none, true);
    // A map nobody may write stays unwritten, even for a superuser, who could write it.
    RunFault(
        "made read-only",
        [](const MapFolder&) { fs::permissions(kMapFileName, fs::perms::owner_read); },
        [](const Probe&) { return DemoMap(); });
}

// A field that would reach past the end is not written, nor anything after it in the walk; in
// the demo map the second block follows the main block, so a field is written when it fits.
TEST(Fault, AMapCutShortIsNeitherExtendedNorWrittenPastItsEnd) {
    // Before the weapon, after Number of zooms, through Max ammo, right after the second block.
    for (const std::uint64_t length :
         {std::uint64_t{kMeta}, kMeta + std::uint64_t{0x3DC}, kSecond + 0x009, kSecond + 0x224}) {
        RunFault(
            "cut at " + std::to_string(length), [length](const MapFolder& f) { f.CutMap(length); },
            [length](const Probe& p) { return With(DemoMap(), {p}, length); });
    }
}

// A second block below the magic or past the end of the file is neither read nor written; one
// that goes bad after start-up is written where it was read, the pointer word restored.
TEST(Fault, ASecondBlockPointerLeadingNowhereWritesNoSecondBlock) {
    const auto size = static_cast<std::uint32_t>(DemoMap().Size());
    EffectOf(kMaxAmmo), EffectOf(kZooms);
    // Below the magic, at the end of the file, straddling it, at the top of the address space.
    for (const std::uint32_t pointer :
         {0x10u, size + ADDRESS_MAGIC, size - 4 + ADDRESS_MAGIC, 0xFFFFFFFFu}) {
        SCOPED_TRACE(pointer);
        MapFolder folder;
        folder.Patch32(kMeta + kBlockPointerOffset, pointer);
        const FileImage bad = FileImage::Of(kMapFileName);
        RunEditor([&](HeadlessWindow& w) {
            // The second block was never read: its fields keep the record's first zero.
            EXPECT_EQ(TextAt(w, kMaxAmmo.path), "Max ammo: 0");
            Perform(w, kMaxAmmo);
            EXPECT_EQ(TextAt(w, kMaxAmmo.path), EffectOf(kMaxAmmo).text);
            ExpectMap(bad);
            Perform(w, kZooms);
            ExpectMap(With(bad, {kZooms}));
        });
    }
    for (const std::uint32_t pointer : {0x10u, 0xFFFFFFF0u}) {
        SCOPED_TRACE("after start-up");
        MapFolder folder;
        RunEditor([&](HeadlessWindow& w) {
            folder.Patch32(kMeta + kBlockPointerOffset, pointer);
            Perform(w, kMaxAmmo);
            ExpectMap(With(DemoMap(), {kMaxAmmo}));
        });
    }
}

}  // namespace
