#include <gtest/gtest.h>

#include "app/editor_dialog.h"
#include "res/resource.h"
#include "tests/support/editor_run.h"
#include "tests/support/map_folder.h"

namespace {

using namespace testing_support;

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
