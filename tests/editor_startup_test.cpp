#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/editor_dialog.h"
#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/field_position.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"

namespace {

using namespace testing_support;

constexpr const char* kShownWeapons[] = {
    "Assault Rifle", "Pistol",        "Shotgun", "Plasma Rifle", "Rocket Launcher",
    "Sniper Rifle",  "Plasma Pistol", "Needler", "Ball",         "Flag",
    "Warthog",       "Scorpion",      "Ghost"};
constexpr char kMapMessage[] = "Can't open map, make sure cache003.map is in this directory";

TEST(StartUp, WithoutAnOpenableMapItShowsOneMessageAndEndsWithStatusOne) {
    struct Case {
        const char* what;
        void (*prepare)(const MapFolder&);
    };
    const Case cases[] = {
        {"no map", [](const MapFolder& f) { f.RemoveMap(); }},
        {"a folder named like the map",
         [](const MapFolder& f) {
             f.RemoveMap();
             std::filesystem::create_directory(kMapFileName);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapFolder folder;
        c.prepare(folder);
        const RunOutcome outcome = RunEditor([](HeadlessWindow&) {});
        EXPECT_EQ(outcome.messages, std::vector<std::string>{kMapMessage});
        EXPECT_EQ(outcome.captions, std::vector<std::string>{"torvex"});
        EXPECT_EQ(outcome.exitStatus, 1);
        EXPECT_FALSE(outcome.dialogRan);
    }
}

TEST(StartUp, ReadOnlyMapIsRefused) {
    MapFolder folder;
    std::filesystem::permissions(kMapFileName, std::filesystem::perms::owner_read);
    const RunOutcome outcome = RunEditor([](HeadlessWindow&) {});
    EXPECT_EQ(outcome.messages, std::vector<std::string>{kMapMessage});
    EXPECT_EQ(outcome.exitStatus, 1);
}

TEST(StartUp, ShowsThirteenWeaponsEachWithTwentyTwoChildren) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        auto& tree = w.TreeControlOf(IDC_WEAPON_TREE);
        const auto roots = tree.Children(platform::kNoTreeItem);
        ASSERT_EQ(roots.size(), 13u);
        for (std::size_t i = 0; i < roots.size(); ++i) {
            SCOPED_TRACE(kShownWeapons[i]);
            EXPECT_EQ(tree.GetItemText(roots[i]), kShownWeapons[i]);
            const auto children = tree.Children(roots[i]);
            ASSERT_EQ(children.size(), 22u);
            for (int c = 0; c < kTagClassCount; ++c) {
                EXPECT_EQ(tree.GetItemText(children[c]), kTagClasses[c].categoryName);
            }
            EXPECT_EQ(tree.GetItemText(children[13]), "Unknown shorts");
            EXPECT_EQ(tree.GetItemText(children[14]), "Unknown longs");
            EXPECT_EQ(tree.GetItemText(children[15]), "Unknown floats");
            const char* labels[] = {"Number of zooms: ",      "Max ammo: ", "Clip size: ",
                                    "Projectiles per shot: ", "Zoom 1: ",   "Zoom 2: "};
            for (int n = 0; n < 6; ++n) {
                EXPECT_TRUE(tree.GetItemText(children[16 + n]).starts_with(labels[n]))
                    << tree.GetItemText(children[16 + n]);
            }
            EXPECT_EQ(tree.Children(children[13]).size(), 22u);
            EXPECT_EQ(tree.Children(children[14]).size(), 26u);
            EXPECT_EQ(tree.Children(children[15]).size(), 36u);
        }
    });
}

TEST(StartUp, DialogStartsEmptyWithFocusOnExitAndTheEditBoxLimited) {
    MapFolder folder;
    const RunOutcome outcome = RunEditor([](HeadlessWindow& w) {
        EXPECT_EQ(w.Focus(), platform::kIdCancel);
        EXPECT_EQ(w.GetCheck(IDC_SHOW_ALL_CHECK), 0);
        EXPECT_EQ(EditText(w), "");
        EXPECT_TRUE(Entries(w).empty());
        EXPECT_EQ(w.TextLimit(IDC_VALUE_EDIT), 8);
        EXPECT_EQ(w.BigIcon(), platform::Icon{IDI_APP_ICON});
        EXPECT_EQ(w.SmallIcon(), platform::Icon{IDI_APP_ICON});
        w.UserType(IDC_VALUE_EDIT, "123456789");
        EXPECT_EQ(EditText(w), "12345678");
    });
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(outcome.exitStatus, -1);
}

TEST(StartUp, ValueAndReferenceTextsFollowTheirFormats) {
    MapFolder folder;
    const std::uint32_t meta = kWeaponList[1].metaOffset;  // Pistol, the second tree item
    const std::uint32_t second = ReadLittle32(folder.ReadAt(meta + 0x4F4, 4)) - ADDRESS_MAGIC;
    const std::uint16_t allOnes = 0xFFFF;
    folder.Patch(second + 0x008, &allOnes, 2);  // Max ammo
    folder.Patch32(meta + 0x024, 0x80000000u);  // unknown long 0
    const float half = 0.5f;
    folder.Patch(meta + 0x184, &half, 4);  // unknown float 3
    const float tenth = 0.1f;
    folder.Patch(meta + 0x3DC, &tenth, 4);  // Zoom 1
    RunEditor([](HeadlessWindow& w) {
        EXPECT_EQ(TextAt(w, "1.17"), "Max ammo: -1");
        EXPECT_EQ(TextAt(w, "1.14.0"), "Unknown 0: -2147483648");
        EXPECT_EQ(TextAt(w, "1.15.3"), "Unknown 3: 0.500000");
        EXPECT_EQ(TextAt(w, "1.20"), "Zoom 1: 0.100000");
        EXPECT_EQ(TextAt(w, "1.16"), "Number of zooms: 1");
        EXPECT_EQ(TextAt(w, "1.19"), "Projectiles per shot: 1");
    });
}

// References are filed by class in slot order, named from the map; unknown classes are left out.
TEST(StartUp, ReferencesAreFiledByClassAndNamedFromTheMap) {
    MapFolder folder;
    for (int t : {0, 1, 2, 3}) {  // between them every kind of reference the demo map holds
        const WeaponStruct record(kWeaponList[ShownWeaponEntry(t)].metaOffset);
        std::vector<std::vector<std::string>> expected(kTagClassCount);
        for (int i = 0; i < record.GetTagRefCount(); ++i) {
            const TagReference* r = record.GetTagRef(i);
            char bytes[4];
            std::memcpy(bytes, &r->classCode, 4);
            if (const TagClass* c = FindTagClassByStoredClass(StoredClassText(bytes))) {
                const int row =
                    r->namePointer == 0 ? -1 : FindRowByNameOffset(r->namePointer - ADDRESS_MAGIC);
                expected[c - kTagClasses].push_back(row < 0 ? "NULL" : NameOfRow(row));
            }
        }
        RunEditor([&](HeadlessWindow& w) {
            auto& tree = w.TreeControlOf(IDC_WEAPON_TREE);
            const auto categories = tree.Children(ItemAt(w, std::to_string(t)));
            for (int c = 0; c < kTagClassCount; ++c) {
                std::vector<std::string> shown;
                for (auto item : tree.Children(categories[c])) {
                    shown.push_back(tree.GetItemText(item));
                }
                EXPECT_EQ(shown, expected[c])
                    << kShownWeapons[t] << " / " << kTagClasses[c].categoryName;
            }
        });
    }
}

TEST(Dialog, ExitEscapeCloseAndEnterEndIt) {
    MapFolder folder;
    struct Case {
        const char* what;
        void (*act)(HeadlessWindow&);
        int result;
    };
    const Case cases[] = {
        {"Exit", [](HeadlessWindow& w) { w.UserClick(platform::kIdCancel); }, platform::kIdCancel},
        {"Escape", [](HeadlessWindow& w) { w.UserPressEscape(); }, platform::kIdCancel},
        {"close box", [](HeadlessWindow& w) { w.UserClose(); }, platform::kIdCancel},
        {"Enter on Exit", [](HeadlessWindow& w) { w.UserPressEnter(); }, platform::kIdCancel},
        {"Enter in the tree",
         [](HeadlessWindow& w) {
             Select(w, "0");
             w.UserPressEnter();
         },
         platform::kIdOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunEditor([&](HeadlessWindow& w) {
            c.act(w);
            EXPECT_TRUE(w.Ended());
            EXPECT_EQ(w.Result(), c.result);
        });
    }
}

TEST(Dialog, MinimisedItPaintsItsIconCentred) {
    for (const auto& [width, x] : {std::pair{35, 2}, {36, 2}, {37, 3}, {30, 0}}) {
        EXPECT_EQ(PlaceIcon({width, 32}, {32, 32}).x, x) << width;
    }
    EXPECT_EQ(PlaceIcon({100, 41}, {32, 32}).y, 5);
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        w.Paint();
        EXPECT_EQ(w.DefaultPaints(), 1);
        EXPECT_TRUE(w.DrawnIcons().empty());
        w.SetMinimised(true);
        w.SetClientSize({37, 36});
        w.Paint();
        ASSERT_EQ(w.DrawnIcons().size(), 1u);
        EXPECT_EQ(w.IconBackgroundErases(), 1);
        EXPECT_EQ(w.DrawnIcons()[0].x, 3);
        EXPECT_EQ(w.DrawnIcons()[0].y, 2);
        EXPECT_EQ(w.DrawnIcons()[0].icon, platform::Icon{IDI_APP_ICON});
    });
}

}  // namespace
