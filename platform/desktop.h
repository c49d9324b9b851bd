#pragma once

// The desktop backend of this build (Qt on Linux, the native controls on Windows) defines this:
// it sets itself up as the backend and runs the application object. The program takes no
// command line; argv[0] is all a backend may look at.
namespace platform {

int RunDesktopApplication(int argc, char** argv);

}  // namespace platform
