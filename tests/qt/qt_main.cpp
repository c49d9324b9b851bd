#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/offscreen.h"

// The GUI tests run on real widgets without a display unless told otherwise.
int main(int argc, char** argv) {
    platform::qt::UseOffscreenPlatformQuietly();
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
