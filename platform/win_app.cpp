#include "platform/win_app.h"

#include "platform/backend.h"

namespace platform {

namespace {
WinApp* g_app = nullptr;
}

WinApp::WinApp() {
    g_app = this;
}

WinApp::~WinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

Icon WinApp::LoadIcon(int resourceId) const {
    return CurrentBackend().LoadIcon(resourceId);
}

WinApp* AfxGetApp() {
    return g_app;
}

std::string AfxGetAppName() {
    return CurrentBackend().ExecutableName();
}

void AfxMessageBox(const std::string& text) {
    CurrentBackend().ShowMessageBox(AfxGetAppName(), text);
}

int RunApplication() {
    // InitInstance returns FALSE when its dialog has ended: the application ends there too.
    g_app->InitInstance();
    return 0;
}

}  // namespace platform
