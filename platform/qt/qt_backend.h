#pragma once

#include <QIcon>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/backend.h"
#include "platform/qt/qt_dialog_window.h"

// The Qt backend: dialogs as Qt windows, message boxes, the program's icon from its resources.
// A QApplication must exist while it is used.
namespace platform::qt {

class QtBackend : public Backend {
  public:
    using ShownHook = std::function<void(QtDialogWindow&)>;

    // Called once a dialog's window is shown and its messages run: tests and benchmarks act
    // as the user from there.
    void SetShownHook(ShownHook hook) { shownHook_ = std::move(hook); }

    int RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    std::string ExecutableName() const override;
    Icon LoadIcon(int resourceId) override;

    // The icon behind a handle from LoadIcon; a null icon for 0 or an unknown handle.
    QIcon IconOf(Icon icon) const;
    QtDialogWindow* ActiveWindow() const override { return window_; }
    // The style the native-like controls draw with, one for the program's run.
    ControlStyle& Style() { return style_; }

  private:
    ShownHook shownHook_;
    QtDialogWindow* window_ = nullptr;
    std::map<Icon, QIcon> icons_;
    ControlStyle style_;
};

}  // namespace platform::qt
