#pragma once

#include <span>
#include <string>

#include "platform/backend.h"
#include "platform/dialog_template.h"

namespace platform {

class DataExchange;
class Dialog;

enum class MessageKind { Paint, QueryDragIcon, Notify, Command };

// One row of a dialog's message map: which message, from which control, goes to which member.
struct MessageMapEntry {
    MessageKind kind;
    int controlId = 0;
    Notification code = {};
    void (Dialog::*onVoid)() = nullptr;
    void (Dialog::*onNotify)(long* result) = nullptr;
    Icon (Dialog::*onQueryIcon)() = nullptr;
};

template <class D>
constexpr MessageMapEntry OnPaintEntry(void (D::*handler)()) {
    return {.kind = MessageKind::Paint, .onVoid = static_cast<void (Dialog::*)()>(handler)};
}
template <class D>
constexpr MessageMapEntry OnQueryDragIconEntry(Icon (D::*handler)()) {
    return {.kind = MessageKind::QueryDragIcon,
            .onQueryIcon = static_cast<Icon (Dialog::*)()>(handler)};
}
template <class D>
constexpr MessageMapEntry OnNotifyEntry(Notification code, int id, void (D::*handler)(long*)) {
    return {MessageKind::Notify, id, code, nullptr, static_cast<void (Dialog::*)(long*)>(handler)};
}
template <class D>
constexpr MessageMapEntry OnCommandEntry(Notification code, int id, void (D::*handler)()) {
    return {MessageKind::Command, id, code, static_cast<void (Dialog::*)()>(handler)};
}

// A modal dialog built from a template. The backend delivers the initialisation and every
// message through the public entry points; the message map routes them to the handlers.
class Dialog {
  public:
    explicit Dialog(const DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int DoModal();
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result) { window_->EndDialog(result); }

    const DialogTemplate& Template() const { return template_; }
    DialogWindow* Window() const { return window_; }

    // Entry points for the backend.
    void Attach(DialogWindow* window) { window_ = window; }
    bool HandleInitDialog() { return OnInitDialog(); }
    // Returns whether anything handled it. IDOK and IDCANCEL commands that the map does not
    // take end the dialog through OnOK and OnCancel.
    bool HandleCommand(int controlId, Notification code);
    bool HandleNotify(int controlId, Notification code, long* result);
    void HandlePaint();
    Icon HandleQueryDragIcon();

  protected:
    virtual void DoDataExchange(DataExchange*) {}
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(kIdCancel); }
    virtual std::span<const MessageMapEntry> GetMessageMap() const { return {}; }

    void SetIcon(Icon icon, bool big) { window_->SetIcon(icon, big); }
    bool IsIconic() const { return window_->IsIconic(); }

  private:
    const MessageMapEntry* FindEntry(MessageKind kind, int controlId, Notification code) const;

    const DialogTemplate& template_;
    DialogWindow* window_ = nullptr;
};

}  // namespace platform
