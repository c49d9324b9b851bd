#pragma once

#include <QtGlobal>
#include <cstdio>

namespace platform::qt {

// For the programs that run the backend without a display, the GUI tests and the benchmarks:
// the offscreen platform unless QT_QPA_PLATFORM names another, and without the line that
// platform logs each time a popup asks it to raise it or grab the keyboard. Call it before the
// application object is made.
inline void UseOffscreenPlatformQuietly() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support"))) {
                std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
            }
        });
}

}  // namespace platform::qt
