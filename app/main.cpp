#include "platform/desktop.h"
#ifndef _WIN32
#include "app/command_line.h"
#endif

// The start-up objects (the application object, the map stream and the fifteen weapon
// records) were built by static construction before main; this runs the application.
int main(int argc, char** argv) {
#ifndef _WIN32
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv)) {
        return *answered;
    }
#endif
    return platform::RunDesktopApplication(argc, argv);
}
