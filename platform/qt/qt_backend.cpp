#include "platform/qt/qt_backend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/dialog.h"

namespace platform::qt {

int QtBackend::RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) {
    QtDialogWindow window(dialog, dialogTemplate, *this);
    QtDialogWindow* const outer = window_;
    window_ = &window;
    dialog.Attach(&window);
    // The window stays hidden until the initialisation is over: a start-up that ends the
    // dialog never shows it.
    const bool focusFirst = dialog.HandleInitDialog();
    window.SyncControls();
    window.Run(focusFirst, shownHook_);
    window_ = outer;
    return window.Ended() ? window.Result() : kIdCancel;
}

void QtBackend::ShowMessageBox(const std::string& caption, const std::string& text) {
    QWidget* owner = window_ != nullptr && window_->isVisible() ? window_ : nullptr;
    // The framework's boxes with nothing but OK carry the exclamation mark.
    QMessageBox box(QMessageBox::Warning, FromProgram(caption), FromProgram(text), QMessageBox::Ok,
                    owner);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

std::string QtBackend::ExecutableName() const {
    return ToProgram(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

// Icons live in the binary's resources under their resource id, as the resource script
// names them.
Icon QtBackend::LoadIcon(int resourceId) {
    const Icon handle = static_cast<Icon>(resourceId);
    if (icons_.count(handle) == 0) {
        const QString path = QStringLiteral(":/icon/%1.ico").arg(resourceId);
        const QIcon icon = QFileInfo::exists(path) ? QIcon(path) : QIcon();
        if (icon.isNull()) {
            return 0;
        }
        icons_[handle] = icon;
    }
    return handle;
}

QIcon QtBackend::IconOf(Icon icon) const {
    auto it = icons_.find(icon);
    return it == icons_.end() ? QIcon() : it->second;
}

}  // namespace platform::qt
