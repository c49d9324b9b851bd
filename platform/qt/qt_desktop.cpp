#include <QApplication>

#include "platform/qt/qt_backend.h"
#include "platform/win_app.h"

// The start-up objects (the application object, the map stream and the fifteen weapon
// records) were built by static construction before main; this runs the application.
int main(int argc, char** argv) {
    // The program takes no command line: Qt sees the program's name and nothing else.
    char* programName[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, programName);

    platform::qt::QtBackend backend;
    platform::SetBackend(&backend);
    const int status = platform::RunApplication();
    platform::SetBackend(nullptr);
    return status;
}
