// Faults that strike between start-up and Update: the map deleted, made read-only, cut short or
// replaced by a folder, and second-block pointers that lead nowhere. The update must not crash,
// must show the new value in the tree and keep it in memory, and must write nothing but the
// record's own field positions: never a file created or extended.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

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
namespace fs = std::filesystem;

// The last weapon of the tree; its blocks lie near the end of the demo map.
constexpr int kShown = 12;
constexpr int kEntry = 14;
const std::string kWeaponPath = std::to_string(kShown);

struct Patch {
    std::uint64_t at;
    std::uint32_t value;
    std::uint32_t size;
};

FileImage Patched(FileImage image, const std::vector<Patch>& patches) {
    for (const Patch& p : patches) {
        image.Put(p.at, &p.value, p.size);
    }
    return image;
}

FileImage CutTo(FileImage image, std::uint64_t length) {
    image.CutTo(length);
    return image;
}

FileImage MapNow() {
    return FileImage::Of(kMapFileName);
}

// Compares every byte of the map, holes included, with what it should hold.
void ExpectMap(const FileImage& expected) {
    EXPECT_EQ(FileImage::FirstDifference(expected, MapNow()), -1) << "first byte that differs";
}

// One field the user edits while the fault is in place: how, the item text it should then
// show, and the bytes it may write.
struct Probe {
    const char* what;
    std::string path;
    std::string typed;  // empty: a reference, changed by choosing `entry`
    int entry = 0;
    std::string text;
    std::vector<Patch> patches;
};

Probe NamedProbe(const WeaponStruct& record, const char* label, std::int16_t value) {
    int element = 0;
    while (std::string(record.GetNamedShortLabel(element)) != label) {
        ++element;
    }
    const FieldPlace place = PlaceOf(FieldKind::NamedShort, element);
    // Named values follow the sixteen categories in the order of their elements.
    return {label,
            kWeaponPath + "." + std::to_string(kTagClassCount + 3 + element),
            std::to_string(value),
            0,
            std::string(label) + ": " + std::to_string(value),
            {{FileOffsetOf(record, place), static_cast<std::uint16_t>(value), 2}}};
}

// The first reference in the second block of a class the tree shows, pointed at the first row
// its list offers that names another tag.
Probe SecondBlockReferenceProbe(const WeaponStruct& record) {
    for (int c = 0; c < kTagClassCount; ++c) {
        const std::vector<int> slots = SlotsOfClass(record, kTagClasses[c].storedBytes);
        for (std::size_t position = 0; position < slots.size(); ++position) {
            const FieldPlace place = PlaceOf(FieldKind::TagRef, slots[position]);
            if (!place.second) {
                continue;
            }
            int row = 0;
            int entry = 0;
            for (;; ++row) {
                if (std::string(kTagPaths[row]).ends_with(kTagClasses[c].listClass)) {
                    if (kTagIdentifiers[row] != record.GetTagRef(slots[position])->tagId) {
                        break;
                    }
                    ++entry;
                }
            }
            const std::uint64_t at = FileOffsetOf(record, place);
            return {"a reference",
                    kWeaponPath + "." + std::to_string(c) + "." + std::to_string(position),
                    "",
                    entry,
                    NameOfRow(row),
                    {{at + kNamePointerAt, kTagNameOffsets[row] + ADDRESS_MAGIC, 4},
                     {at + kTagIdAt, kTagIdentifiers[row], 4}}};
        }
    }
    ADD_FAILURE() << "no reference of a shown class in the second block";
    return {};
}

void Perform(HeadlessWindow& w, const Probe& probe) {
    Select(w, probe.path);
    if (probe.typed.empty()) {
        ASSERT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, probe.entry));
    } else {
        w.UserType(IDC_VALUE_EDIT, probe.typed);
    }
    w.UserClick(IDC_UPDATE_BUTTON);
}

struct Fault {
    const char* what;
    std::function<void(const MapFolder&, const WeaponStruct&)> strike;
    // What the map is after the update under the fault, given the map before and the probe.
    std::function<void(const MapFolder&, const FileImage&, const Probe&, const WeaponStruct&)>
        check;
    // What a changed reference shows when its name cannot be read then; empty: it can be.
    std::vector<std::string> unreadableName = {};
};

// The demo map, built once: building it is slow under the sanitizers.
const FileImage& DemoMap() {
    static const FileImage image = [] {
        MapFolder folder;
        return MapNow();
    }();
    return image;
}

// A scratch folder holding a fresh demo map.
struct DemoFolder : MapFolder {
    DemoFolder() : MapFolder(false) { EXPECT_TRUE(DemoMap().WriteTo(kMapFileName)); }
};

// The test's map is the demo map, so a fresh one puts back exactly what was there.
void PutMapBack() {
    std::error_code ignored;
    if (fs::is_directory(kMapFileName, ignored)) {
        fs::remove(kMapFileName);
    }
    if (fs::exists(kMapFileName, ignored)) {
        fs::permissions(kMapFileName, fs::perms::owner_read | fs::perms::owner_write);
    }
    ASSERT_TRUE(DemoMap().WriteTo(kMapFileName));
}

// The fault strikes after start-up, the probe is edited, then the map is put back and another
// field is edited: the update writes the whole record, so the probe's value, kept in memory
// all along, must now reach the map too.
void RunFault(const Fault& fault, const Probe& probe) {
    SCOPED_TRACE(std::string(fault.what) + ", " + probe.what);
    DemoFolder folder;
    const FileImage before = MapNow();
    const WeaponStruct record(kWeaponList[kEntry].metaOffset);
    const Probe other = NamedProbe(record, "Clip size", 77);
    const RunOutcome outcome = RunEditor([&](HeadlessWindow& w) {
        fault.strike(folder, record);
        Perform(w, probe);
        const std::string text = TextAt(w, probe.path);
        if (probe.typed.empty() && !fault.unreadableName.empty()) {
            EXPECT_TRUE(std::ranges::count(fault.unreadableName, text) == 1) << text;
        } else {
            EXPECT_EQ(text, probe.text);
        }
        fault.check(folder, before, probe, record);

        PutMapBack();
        ExpectMap(before);
        Perform(w, other);
        EXPECT_EQ(TextAt(w, other.path), other.text);
    });
    EXPECT_TRUE(outcome.messages.empty());
    std::vector<Patch> both = probe.patches;
    both.insert(both.end(), other.patches.begin(), other.patches.end());
    ExpectMap(Patched(before, both));
}

std::vector<Probe> Probes() {
    DemoFolder folder;
    const WeaponStruct record(kWeaponList[kEntry].metaOffset);
    return {NamedProbe(record, "Number of zooms", 3), NamedProbe(record, "Max ammo", -40),
            SecondBlockReferenceProbe(record)};
}

void ExpectNoMapCreated(const MapFolder&, const FileImage&, const Probe&, const WeaponStruct&) {
    EXPECT_FALSE(fs::exists(kMapFileName));
}

TEST(Fault, DeletedOrFolderMapWritesNothingAndCreatesNothing) {
    const Fault faults[] = {
        {"deleted",
         [](const MapFolder& f, const WeaponStruct&) { f.RemoveMap(); },
         ExpectNoMapCreated,
         {"NULL"}},
        {"replaced by a folder",
         [](const MapFolder& f, const WeaponStruct&) {
             f.RemoveMap();
             fs::create_directory(kMapFileName);
         },
         [](const MapFolder&, const FileImage&, const Probe&, const WeaponStruct&) {
             EXPECT_TRUE(fs::is_directory(kMapFileName));
             EXPECT_TRUE(fs::is_empty(kMapFileName));
         },
         // A folder is no map: a name read from it answers as a missing map does.
         {"NULL"}},
    };
    for (const Fault& fault : faults) {
        for (const Probe& probe : Probes()) {
            RunFault(fault, probe);
        }
    }
}

TEST(Fault, ReadOnlyMapIsLeftAsItWas) {
    const std::vector<Probe> probes = Probes();
    const Fault fault{"made read-only",
                      [](const MapFolder&, const WeaponStruct&) {
                          fs::permissions(kMapFileName, fs::perms::owner_read |
                                                            fs::perms::group_read |
                                                            fs::perms::others_read);
                      },
                      [](const MapFolder&, const FileImage& before, const Probe&,
                         const WeaponStruct&) { ExpectMap(before); }};
    // A map nobody may write stays unwritten, even for a superuser who could write it.
    for (const Probe& probe : probes) {
        RunFault(fault, probe);
    }
}

// The map cut at `length`: fields that still fit are rewritten, a field that would reach past
// the end is not, and nothing after it in the walk is. In the demo map the second block lies
// after the main block, so a field is written exactly when it ends within the file.
Fault CutShort(const char* what, std::uint64_t (*length)(const WeaponStruct&)) {
    return {what, [length](const MapFolder& f, const WeaponStruct& r) { f.CutMap(length(r)); },
            [length](const MapFolder&, const FileImage& before, const Probe& probe,
                     const WeaponStruct& r) {
                const std::uint64_t cut = length(r);
                std::vector<Patch> fitting;
                for (const Patch& p : probe.patches) {
                    if (p.at + p.size <= cut) {
                        fitting.push_back(p);
                    }
                }
                ExpectMap(Patched(CutTo(before, cut), fitting));
            }};
}

std::uint64_t SecondBlockStart(const WeaponStruct& r) {
    return r.GetBlockPointer() - std::uint64_t{ADDRESS_MAGIC};
}

TEST(Fault, MapCutShortIsNeitherExtendedNorWrittenPastItsEnd) {
    const Fault faults[] = {
        CutShort("cut before the weapon",
                 [](const WeaponStruct& r) -> std::uint64_t { return r.GetMetaOffset(); }),
        CutShort("cut inside the main block, after Number of zooms",
                 [](const WeaponStruct& r) -> std::uint64_t {
                     return r.GetMetaOffset() + PlaceOf(FieldKind::NamedShort, 0).offset + 2;
                 }),
        CutShort("cut through Max ammo",
                 [](const WeaponStruct& r) -> std::uint64_t {
                     return SecondBlockStart(r) + PlaceOf(FieldKind::NamedShort, 1).offset + 1;
                 }),
        CutShort("cut right after the second block",
                 [](const WeaponStruct& r) -> std::uint64_t {
                     return SecondBlockStart(r) + kSecondBlockSize;
                 }),
    };
    for (const Fault& fault : faults) {
        for (const Probe& probe : Probes()) {
            RunFault(fault, probe);
        }
    }
}

struct PointerCase {
    const char* what;
    bool afterStartUp;  // written into the map while the editor runs, else before it starts
    std::uint32_t (*pointer)(std::uint64_t mapSize);
};

// A second block that lies below the magic or past the end of the file is neither read nor
// written; one that goes bad after start-up is written where it was read, and the pointer word
// gets back the value the record holds.
TEST(Fault, SecondBlockPointerLeadingNowhereWritesNoSecondBlock) {
    const PointerCase cases[] = {
        {"below the magic", false, [](std::uint64_t) { return 0x10u; }},
        {"at the end of the file", false,
         [](std::uint64_t size) { return static_cast<std::uint32_t>(size + ADDRESS_MAGIC); }},
        {"straddling the end of the file", false,
         [](std::uint64_t size) { return static_cast<std::uint32_t>(size - 4 + ADDRESS_MAGIC); }},
        {"at the top of the address space", false, [](std::uint64_t) { return 0xFFFFFFFFu; }},
        {"below the magic after start-up", true, [](std::uint64_t) { return 0x10u; }},
        {"past the end after start-up", true, [](std::uint64_t) { return 0xFFFFFFF0u; }},
    };
    for (const PointerCase& c : cases) {
        SCOPED_TRACE(c.what);
        DemoFolder folder;
        const WeaponStruct record(kWeaponList[kEntry].metaOffset);
        const Probe maxAmmo = NamedProbe(record, "Max ammo", 33);
        const Probe zooms = NamedProbe(record, "Number of zooms", 3);
        const FileImage before = MapNow();
        const std::uint64_t pointerAt = record.GetMetaOffset() + kBlockPointerOffset;
        const std::uint32_t pointer = c.pointer(before.Size());
        const FileImage bad = Patched(before, {{pointerAt, pointer, 4}});
        if (!c.afterStartUp) {
            folder.Patch32(pointerAt, pointer);
        }
        RunEditor([&](HeadlessWindow& w) {
            if (c.afterStartUp) {
                folder.Patch32(pointerAt, pointer);
                Perform(w, maxAmmo);
                EXPECT_EQ(TextAt(w, maxAmmo.path), maxAmmo.text);
                ExpectMap(Patched(before, maxAmmo.patches));  // the pointer word restored
                return;
            }
            // The second block was never read: its fields keep the record's initial zero.
            EXPECT_EQ(TextAt(w, maxAmmo.path), "Max ammo: 0");
            Perform(w, maxAmmo);
            EXPECT_EQ(TextAt(w, maxAmmo.path), maxAmmo.text);
            ExpectMap(bad);
            Perform(w, zooms);
            EXPECT_EQ(TextAt(w, zooms.path), zooms.text);
            ExpectMap(Patched(bad, zooms.patches));
        });
    }
}

}  // namespace
