#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

class Dialog;

// The application object. The program has one; RunApplication runs its InitInstance.
class WinApp {
  public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    virtual bool InitInstance() { return false; }
    Icon LoadIcon(int resourceId) const;

    Dialog* m_pMainWnd = nullptr;
};

WinApp* AfxGetApp();
// The executable's name without extension; the caption of the program's message boxes.
std::string AfxGetAppName();
// A modal box with an OK button, captioned with the application's name.
void AfxMessageBox(const std::string& text);
// Runs the application object's InitInstance; the process's exit status when it returns.
int RunApplication();

}  // namespace platform
