// The Windows program's entry: the application object is already built by static
// construction; this sets the backend and runs it.
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_backend.h"
#include "platform/win_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::Win32Backend backend;
    platform::SetBackend(&backend);
    return platform::RunApplication();
}
