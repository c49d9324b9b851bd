#pragma once

#include <string>

#include "platform/backend.h"

// The Windows backend: the dialog runs from its compiled resource template on the system's own
// dialog manager and common controls.
namespace platform::win32 {

class Win32Window;

class Win32Backend : public Backend {
  public:
    Win32Backend();

    int RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    DialogWindow* ActiveWindow() const override;
    std::string ExecutableName() const override;
    Icon LoadIcon(int resourceId) override;

  private:
    Win32Window* active_ = nullptr;  // the running modal dialog, owner of message boxes
};

}  // namespace platform::win32
