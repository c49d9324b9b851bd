#include "platform/backend.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
Backend* g_backend = nullptr;
}

Backend& CurrentBackend() {
    return *g_backend;
}
void SetBackend(Backend* backend) {
    g_backend = backend;
}

void Backend::ExitProcess(int status) {
    if (!exitHook_) {
        std::fflush(nullptr);
        std::exit(status);
    }
    if (DialogWindow* window = ActiveWindow()) {
        window->EndDialog(status);
    }
    exitHook_(status);
}

int ComboList::AddString(const std::string& text) {
    entries_.push_back(text);
    ++revision_;
    return GetCount() - 1;
}

int ComboList::DeleteString(int index) {
    if (index < 0 || index >= GetCount()) {
        return kComboError;
    }
    entries_.erase(entries_.begin() + index);
    ++revision_;
    if (selected_ == index) {
        selected_ = kComboError;
    } else if (selected_ > index) {
        --selected_;
    }
    return GetCount();
}

int ComboList::SetCurSel(int index) {
    selected_ = index >= 0 && index < GetCount() ? index : kComboError;
    return selected_;
}

std::string ComboList::GetLBText(int index) const {
    return index >= 0 && index < GetCount() ? entries_[index] : std::string();
}

}  // namespace platform
