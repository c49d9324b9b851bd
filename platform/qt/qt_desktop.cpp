#include <QApplication>

#include "platform/desktop.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_backend.h"
#include "platform/win_app.h"

namespace platform {

int RunDesktopApplication(int argc, char** argv) {
    // Qt sees the program's name and nothing else.
    char* programName[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, programName);
    qt::InstallAccessibility();

    qt::QtBackend backend;
    SetBackend(&backend);
    const int status = RunApplication();
    SetBackend(nullptr);
    return status;
}

}  // namespace platform
