#include "platform/dialog.h"

#include "platform/data_exchange.h"

namespace platform {

int Dialog::DoModal() {
    const int result = CurrentBackend().RunModal(*this, template_);
    window_ = nullptr;
    return result;
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

// The first exchange attaches the control members and loads the members into the controls.
bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    EndDialog(kIdOk);
}

const MessageMapEntry* Dialog::FindEntry(MessageKind kind, int controlId, Notification code) const {
    for (const MessageMapEntry& entry : GetMessageMap()) {
        const bool any = kind == MessageKind::Paint || kind == MessageKind::QueryDragIcon;
        if (entry.kind == kind && (any || (entry.controlId == controlId && entry.code == code))) {
            return &entry;
        }
    }
    return nullptr;
}

bool Dialog::HandleCommand(int controlId, Notification code) {
    const bool clicked = code == Notification::ButtonClicked;
    if (const MessageMapEntry* entry = FindEntry(MessageKind::Command, controlId, code)) {
        (this->*entry->onVoid)();
    } else if (clicked && controlId == kIdOk) {
        OnOK();
    } else if (clicked && controlId == kIdCancel) {
        OnCancel();
    } else {
        return false;
    }
    return true;
}

bool Dialog::HandleNotify(int controlId, Notification code, long* result) {
    const MessageMapEntry* entry = FindEntry(MessageKind::Notify, controlId, code);
    if (entry != nullptr) {
        (this->*entry->onNotify)(result);
    }
    return entry != nullptr;
}

void Dialog::HandlePaint() {
    if (const MessageMapEntry* entry = FindEntry(MessageKind::Paint, 0, {})) {
        (this->*entry->onVoid)();
    } else {
        window_->DefaultPaint();
    }
}

Icon Dialog::HandleQueryDragIcon() {
    const MessageMapEntry* entry = FindEntry(MessageKind::QueryDragIcon, 0, {});
    return entry != nullptr ? (this->*entry->onQueryIcon)() : 0;
}

}  // namespace platform
