#include <gtest/gtest.h>

#include <filesystem>

#include "app/editor_dialog.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/map_folder.h"
#include "weapon/map_file.h"

namespace {

using namespace testing_support;

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
