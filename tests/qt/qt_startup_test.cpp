#include <gtest/gtest.h>

#include <QImageReader>

#include "app/editor_dialog.h"
#include "platform/qt/qt_backend.h"
#include "res/resource.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/map_folder.h"

namespace {

using namespace qt_testing;
using testing_support::MapFolder;

// Which maps are refused is the program's own check, tested on the in-memory controls; here,
// the box that says so, before any dialog.
TEST(QtStartUp, WithoutAMapOneMessageBoxComesBeforeAnyDialog) {
    MapFolder folder(false);
    const QtRunOutcome outcome = RunEditor([](User&) {});
    ASSERT_EQ(outcome.messageBoxes.size(), 1u);
    const MessageBoxSeen& box = outcome.messageBoxes[0];
    EXPECT_EQ(box.text, "Can't open map, make sure cache003.map is in this directory");
    EXPECT_EQ(box.caption, "qt_tests");  // this program's executable
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(box.dialogVisible);
    EXPECT_FALSE(outcome.shown);
    EXPECT_EQ(outcome.exitStatus, 1);
}

// The same start-up with the process really ending: status 1 once the box is answered.
TEST(QtStartUpDeathTest, TheProcessEndsWithStatusOneAfterTheMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    MapFolder folder(false);
    EXPECT_EXIT(RunEditor([](User&) {}, true), testing::ExitedWithCode(1), "");
}

// The icon comes from the binary's resources, the same images as the icon file.
TEST(QtStartUp, TheProgramsIconIsTheIconFileWithBothImages) {
    platform::qt::QtBackend backend;
    const platform::Icon handle = backend.LoadIcon(IDI_APP_ICON);
    ASSERT_NE(handle, platform::Icon{0});
    EXPECT_EQ(backend.LoadIcon(IDI_APP_ICON), handle);
    EXPECT_EQ(backend.LoadIcon(IDI_APP_ICON + 1), platform::Icon{0});
    const QIcon icon = backend.IconOf(handle);

    QImageReader file(QStringLiteral(TORVEX_ICON_FILE));
    ASSERT_EQ(file.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(file.jumpToImage(i));
        const QImage expected = file.read().convertToFormat(QImage::Format_ARGB32);
        SCOPED_TRACE(expected.width());
        const QImage shown =
            icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(shown.size(), expected.size());
        EXPECT_TRUE(shown == expected);
    }
}

// Minimised, the dialog paints its icon itself, centred with the program's rounding; shown
// normally it leaves painting to the default.
TEST(QtStartUp, MinimisedTheDialogPaintsItsIconCentred) {
    MapFolder folder;
    RunEditor([](User& user) {
        QtDialogWindow& window = user.Window();
        const auto paintAlone = [&] {
            QImage image(window.size(), QImage::Format_ARGB32);
            image.fill(Qt::magenta);
            window.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            return image;
        };
        EXPECT_FALSE(window.IsIconic());
        const QImage normal = paintAlone();
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
        EXPECT_TRUE(window.IsIconic());
        const QImage minimised = paintAlone();
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);

        const platform::Size icon = window.IconMetrics();
        const IconPlacement at = PlaceIcon(window.ClientSize(), icon);
        const QImage expected =
            window.windowIcon().pixmap(QSize(icon.width, icon.height)).toImage();
        // Where the icon is opaque, its pixels; nowhere else is anything drawn that the normal
        // paint does not draw.
        int compared = 0;
        for (int y = 0; y < icon.height; ++y) {
            for (int x = 0; x < icon.width; ++x) {
                const QColor pixel = expected.pixelColor(x, y);
                if (pixel.alpha() == 255) {
                    EXPECT_EQ(minimised.pixelColor(at.x + x, at.y + y), pixel) << x << "," << y;
                    ++compared;
                }
            }
        }
        EXPECT_GT(compared, icon.width * icon.height / 4);
        EXPECT_EQ(minimised.pixelColor(0, 0), normal.pixelColor(0, 0));
        EXPECT_NE(minimised, normal);
    });
}

}  // namespace
