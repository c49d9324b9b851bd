// Faults that strike between start-up and Update: the map deleted, made read-only, cut short or
// replaced by a folder, and second-block pointers that lead nowhere. The Update must not crash,
// must show the new value and keep it in memory, and must write nothing but the bytes the same
// edit writes on a sound map, and of those only what still lies in the file: never a file
// created or extended. Once the map is back, the next Update writes the earlier edit too.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "catalogue/supported_map.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/file_image.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

// The Ghost, last in the tree: its blocks lie near the end of the demo map.
const std::uint32_t kMeta = kWeaponList[14].metaOffset;
constexpr std::uint32_t kMagic = 0x7E06AA00;

struct Probe {
    const char* what;
    std::string path;
    std::string typed;  // empty: a reference, changed by choosing entry 1
    std::string text;   // the item's text afterwards
};

const Probe kZooms{"Number of zooms", "12.16", "3", "Number of zooms: 3"};
const Probe kMaxAmmo{"Max ammo", "12.17", "-40", "Max ammo: -40"};
const Probe kReference{"the last reference", "12.4.2", "", ""};
const Probe kClipSize{"Clip size", "12.18", "77", "Clip size: 77"};

FileImage MapNow() {
    return FileImage::Of(kMapFileName);
}

void ExpectMap(const FileImage& expected) {
    EXPECT_EQ(FileImage::FirstDifference(expected, MapNow()), -1) << "first byte that differs";
}

// The demo map, built once: building it is slow under the sanitizers.
const FileImage& DemoMap() {
    static const FileImage image = [] {
        MapFolder folder;
        return MapNow();
    }();
    return image;
}

struct DemoFolder : MapFolder {
    DemoFolder() : MapFolder(false) { EXPECT_TRUE(DemoMap().WriteTo(kMapFileName)); }
};

std::uint64_t SecondBlock() {
    std::uint32_t pointer = 0;
    for (int i = 0; i < 4; ++i) {
        pointer |= std::uint32_t{DemoMap().At(kMeta + 0x4F4 + i)} << 8 * i;
    }
    return pointer - kMagic;
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

// What an edit writes on a sound map: the runs of bytes that change, and the item's text.
struct Written {
    std::vector<std::pair<std::uint64_t, Bytes>> runs;
    std::string text;
};

const Written& WrittenBy(const Probe& probe) {
    static std::map<std::string, Written> learned;
    if (!learned.contains(probe.path)) {
        DemoFolder folder;
        const Bytes before = folder.ReadMap();
        Written& written = learned[probe.path];
        RunEditor([&](HeadlessWindow& w) {
            Perform(w, probe);
            written.text = TextAt(w, probe.path);
        });
        const Bytes after = folder.ReadMap();
        for (const ByteRange& r : DiffRanges(before, after)) {
            written.runs.emplace_back(r.begin,
                                      Bytes(after.begin() + r.begin, after.begin() + r.end));
        }
    }
    return learned[probe.path];
}

// The map with the runs of these edits that end within `length`, cut there.
FileImage With(FileImage image, const std::vector<Probe>& probes, std::uint64_t length = ~0ull) {
    for (const Probe& probe : probes) {
        for (const auto& [at, bytes] : WrittenBy(probe).runs) {
            if (at + bytes.size() <= length) {
                image.Put(at, bytes.data(), bytes.size());
            }
        }
    }
    image.CutTo(std::min(length, image.Size()));
    return image;
}

TEST(Fault, ProbesWriteWhereTheirFieldsLie) {
    const std::uint64_t second = SecondBlock();
    const std::pair<const Probe*, std::uint64_t> starts[] = {
        {&kZooms, kMeta + 0x3DA}, {&kMaxAmmo, second + 0x008}, {&kReference, second + 0x214 + 4}};
    for (const auto& [probe, at] : starts) {
        ASSERT_FALSE(WrittenBy(*probe).runs.empty()) << probe->what;
        EXPECT_GE(WrittenBy(*probe).runs.front().first, at) << probe->what;
        EXPECT_LE(WrittenBy(*probe).runs.back().first, at + 8) << probe->what;
    }
}

struct Fault {
    const char* what;
    std::function<void(const MapFolder&)> strike;
    std::function<FileImage(const Probe&)> expected;  // the map after the probe's Update
    bool namesUnreadable = false;                     // a changed reference then shows "NULL"
};

// The fault strikes after start-up, the probe is edited, then the map is put back and Clip size
// is edited: the update writes the whole record, so the probe's value, kept in memory all
// along, must now reach the map too.
void RunFault(const Fault& fault) {
    for (const Probe& probe : {kZooms, kMaxAmmo, kReference}) {
        SCOPED_TRACE(std::string(fault.what) + ", " + probe.what);
        WrittenBy(probe), WrittenBy(kClipSize);  // learned before the editor under test starts
        const FileImage expected = fault.expected(probe);
        DemoFolder folder;
        const RunOutcome outcome = RunEditor([&](HeadlessWindow& w) {
            fault.strike(folder);
            Perform(w, probe);
            const bool reference = probe.typed.empty();
            EXPECT_EQ(TextAt(w, probe.path), !reference              ? probe.text
                                             : fault.namesUnreadable ? "NULL"
                                                                     : WrittenBy(probe).text);
            ExpectMap(expected);
            std::error_code ignored;
            if (fs::is_directory(kMapFileName, ignored)) {
                fs::remove(kMapFileName);
            }
            fs::permissions(kMapFileName, fs::perms::owner_write, fs::perm_options::add, ignored);
            ASSERT_TRUE(DemoMap().WriteTo(kMapFileName));
            Perform(w, kClipSize);
            EXPECT_EQ(TextAt(w, kClipSize.path), kClipSize.text);
        });
        EXPECT_TRUE(outcome.messages.empty());
        ExpectMap(With(DemoMap(), {probe, kClipSize}));
    }
}

TEST(Fault, AMapThatCannotBeWrittenIsLeftAsItWas) {
    const auto none = [](const Probe&) { return FileImage(); };
    const auto unchanged = [](const Probe&) { return DemoMap(); };
    const Fault faults[] = {
        {"deleted", [](const MapFolder& f) { f.RemoveMap(); }, none, true},
        // A folder is no map: a name read from it answers as a missing map does.
        {"replaced by a folder",
         [](const MapFolder& f) {
             f.RemoveMap();
             fs::create_directory(kMapFileName);
         },
         none, true},
        // A map nobody may write stays unwritten, even for a superuser who could write it.
        {"made read-only",
         [](const MapFolder&) { fs::permissions(kMapFileName, fs::perms::owner_read); }, unchanged},
    };
    for (const Fault& fault : faults) {
        RunFault(fault);
    }
}

// A field that would reach past the end is not written, nor anything after it in the walk; in
// the demo map the second block follows the main block, so a field is written when it fits.
TEST(Fault, AMapCutShortIsNeitherExtendedNorWrittenPastItsEnd) {
    const std::uint64_t second = SecondBlock();
    const std::pair<const char*, std::uint64_t> cuts[] = {
        {"before the weapon", kMeta},
        {"inside the main block, after Number of zooms", kMeta + 0x3DC},
        {"through Max ammo", second + 0x009},
        {"right after the second block", second + 0x224},
    };
    for (const auto& [what, length] : cuts) {
        RunFault({what, [length](const MapFolder& f) { f.CutMap(length); },
                  [length](const Probe& p) { return With(DemoMap(), {p}, length); }});
    }
}

// A second block below the magic or past the end of the file is neither read nor written; one
// that goes bad after start-up is written where it was read, the pointer word restored.
TEST(Fault, ASecondBlockPointerLeadingNowhereWritesNoSecondBlock) {
    const std::uint64_t size = DemoMap().Size();
    WrittenBy(kMaxAmmo), WrittenBy(kZooms);
    const struct {
        const char* what;
        bool afterStartUp;
        std::uint32_t pointer;
    } cases[] = {
        {"below the magic", false, 0x10},
        {"at the end of the file", false, static_cast<std::uint32_t>(size + kMagic)},
        {"straddling the end of the file", false, static_cast<std::uint32_t>(size - 4 + kMagic)},
        {"at the top of the address space", false, 0xFFFFFFFF},
        {"below the magic after start-up", true, 0x10},
        {"past the end after start-up", true, 0xFFFFFFF0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DemoFolder folder;
        FileImage bad = DemoMap();
        bad.Put(kMeta + 0x4F4, &c.pointer, 4);
        if (!c.afterStartUp) {
            folder.Patch32(kMeta + 0x4F4, c.pointer);
        }
        RunEditor([&](HeadlessWindow& w) {
            if (c.afterStartUp) {
                folder.Patch32(kMeta + 0x4F4, c.pointer);
                Perform(w, kMaxAmmo);
                EXPECT_EQ(TextAt(w, kMaxAmmo.path), kMaxAmmo.text);
                ExpectMap(With(DemoMap(), {kMaxAmmo}));
                return;
            }
            // The second block was never read: its fields keep the record's first zero.
            EXPECT_EQ(TextAt(w, kMaxAmmo.path), "Max ammo: 0");
            Perform(w, kMaxAmmo);
            EXPECT_EQ(TextAt(w, kMaxAmmo.path), kMaxAmmo.text);
            ExpectMap(bad);
            Perform(w, kZooms);
            ExpectMap(With(bad, {kZooms}));
        });
    }
}

}  // namespace
