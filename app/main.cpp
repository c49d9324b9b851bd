#include "platform/desktop.h"

// The start-up objects (the application object, the map stream and the fifteen weapon
// records) were built by static construction before main; this runs the application.
int main(int argc, char** argv) {
    return platform::RunDesktopApplication(argc, argv);
}
