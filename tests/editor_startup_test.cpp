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

// A map the program cannot open for reading and writing, a folder in its place included.
TEST(StartUp, WithoutAnOpenableMapItShowsOneMessageAndEndsWithStatusOne) {
    for (const int fault : {0, 1, 2}) {
        SCOPED_TRACE(fault);
        MapFolder folder;
        if (fault == 2) {
            std::filesystem::permissions(kMapFileName, std::filesystem::perms::owner_read);
        } else {
            folder.RemoveMap();
            if (fault == 1) {
                std::filesystem::create_directory(kMapFileName);
            }
        }
        const RunOutcome outcome = RunEditor([](HeadlessWindow&) {});
        EXPECT_EQ(outcome.messages, std::vector<std::string>{kMapMessage});
        EXPECT_EQ(outcome.captions, std::vector<std::string>{"torvex"});
        EXPECT_EQ(outcome.exitStatus, 1);
        EXPECT_FALSE(outcome.dialogRan);
    }
}

// Exit, Escape and Return are the scenarios'; the close box is not played there.
TEST(Dialog, TheCloseBoxCancels) {
    MapFolder folder;
    RunEditor([](HeadlessWindow& w) {
        w.UserClose();
        EXPECT_TRUE(w.Ended());
        EXPECT_EQ(w.Result(), platform::kIdCancel);
    });
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
