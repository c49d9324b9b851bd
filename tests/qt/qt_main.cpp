#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

namespace {

// The offscreen platform says so each time a popup asks it to raise it or grab the keyboard.
void QuietAboutOffscreenLimits(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

// The GUI tests run on real widgets without a display unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(QuietAboutOffscreenLimits);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
