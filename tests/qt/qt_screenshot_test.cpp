#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QtTest/QTest>

#include "tests/qt/qt_harness.h"
#include "tests/support/map_folder.h"

namespace {

using namespace qt_testing;

// Pictures of the dialog in its three panel states, to be looked at by a person. What a test
// can check of them: they were written, at the window's size, and each state differs.
TEST(QtScreenshots, DialogInItsThreePanelStates) {
    testing_support::MapFolder folder;
    const QString dir = QStringLiteral(TORVEX_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    struct Shot {
        const char* name;
        const char* select;  // the tree item selected for it
    };
    const Shot shots[] = {
        {"qt-panel-empty", "1"},         // the Pistol's weapon item
        {"qt-panel-value", "1.17"},      // its "Max ammo"
        {"qt-panel-reference", "1.7.0"}  // its first model reference
    };
    std::vector<QImage> images;
    RunEditor([&](User& user) {
        for (const Shot& shot : shots) {
            user.Select(shot.select);
            if (std::string(shot.name) == "qt-panel-value") {
                user.Type("24");
            }
            QTest::qWait(20);
            const QImage image = user.Window().grab().toImage();
            EXPECT_EQ(image.size(), user.Window().size());
            const QString path = dir + "/" + shot.name + ".png";
            EXPECT_TRUE(image.save(path)) << path.toStdString();
            images.push_back(image);
        }
        // The dropped list over the reference panel.
        QtCombo& combo = user.Combo();
        QTest::mouseClick(&combo, Qt::LeftButton);
        QTest::qWait(50);
        QWidget* popup = combo.view()->window();
        ASSERT_TRUE(popup->isVisible());
        QImage composed = user.Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint at = user.Window().mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
        const QImage list = popup->grab().toImage();
        QImage canvas(composed.width(), qMax(composed.height(), at.y() + list.height()),
                      QImage::Format_RGB32);
        canvas.fill(Qt::darkGray);
        QPainter painter(&canvas);
        painter.drawImage(0, 0, composed);
        painter.drawImage(at, list);
        painter.end();
        EXPECT_TRUE(canvas.save(dir + "/qt-panel-reference-dropped.png"));
        QTest::keyClick(combo.view(), Qt::Key_Escape);
    });
    ASSERT_EQ(images.size(), 3u);
    EXPECT_NE(images[0], images[1]);
    EXPECT_NE(images[1], images[2]);
}

}  // namespace
