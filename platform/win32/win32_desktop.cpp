#include "platform/desktop.h"
#include "platform/win32/win32_backend.h"
#include "platform/win_app.h"

namespace platform {

int RunDesktopApplication(int, char**) {
    win32::Win32Backend backend;
    SetBackend(&backend);
    return RunApplication();
}

}  // namespace platform
