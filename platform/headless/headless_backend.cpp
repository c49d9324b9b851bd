#include "platform/headless/headless_backend.h"

namespace platform::headless {

namespace {

// Dialog units of an 8-point "MS Sans Serif" dialog: base units 6 by 13 pixels.
Size PixelsOf(const DialogTemplate& t) {
    return {t.cx * 6 / 4, t.cy * 13 / 8};
}

}  // namespace

class RecordingPaint : public PaintContext {
  public:
    explicit RecordingPaint(HeadlessWindow& window) : window_(window) {}
    void EraseIconBackground() override { ++window_.erases_; }
    void DrawIcon(int x, int y, Icon icon) override { window_.drawn_.push_back({x, y, icon}); }

  private:
    HeadlessWindow& window_;
};

HeadlessWindow::HeadlessWindow(Dialog& dialog, const DialogTemplate& dialogTemplate)
    : dialog_(dialog), template_(dialogTemplate), clientSize_(PixelsOf(dialogTemplate)) {
    for (int i = 0; i < template_.controlCount; ++i) {
        const ControlTemplate& c = template_.controls[i];
        switch (c.kind) {
            case ControlKind::Tree: {
                HeadlessTree& tree = trees_[c.id];
                const int id = c.id;
                tree.onSelChanged = [this, id] {
                    long result = 0;
                    dialog_.HandleNotify(id, Notification::TreeSelChanged, &result);
                };
                break;
            }
            case ControlKind::Combo:
                combos_[c.id];
                break;
            case ControlKind::CheckBox:
                checks_[c.id] = 0;
                texts_[c.id] = c.text ? c.text : "";
                break;
            case ControlKind::Edit:
                limits_[c.id] = 30000;  // the edit box's own default
                texts_[c.id] = "";
                break;
            default:
                texts_[c.id] = c.text ? c.text : "";
                break;
        }
    }
}

TreeControl* HeadlessWindow::Tree(int id) {
    auto it = trees_.find(id);
    return it == trees_.end() ? nullptr : &it->second;
}

ComboControl* HeadlessWindow::Combo(int id) {
    auto it = combos_.find(id);
    return it == combos_.end() ? nullptr : &it->second;
}

HeadlessTree& HeadlessWindow::TreeControlOf(int id) {
    return trees_.at(id);
}
HeadlessCombo& HeadlessWindow::ComboControlOf(int id) {
    return combos_.at(id);
}

std::string HeadlessWindow::GetItemText(int id) const {
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

// Text set by the program is not held to the limit, as with the native edit box.
void HeadlessWindow::SetItemText(int id, const std::string& text) {
    if (texts_.count(id)) {
        texts_[id] = text;
    }
}

int HeadlessWindow::GetCheck(int id) const {
    auto it = checks_.find(id);
    return it == checks_.end() ? 0 : it->second;
}

void HeadlessWindow::SetCheck(int id, int state) {
    if (checks_.count(id)) {
        checks_[id] = state;
    }
}

void HeadlessWindow::LimitText(int id, int maxChars) {
    if (limits_.count(id)) {
        limits_[id] = maxChars;
    }
}

int HeadlessWindow::TextLimit(int id) const {
    auto it = limits_.find(id);
    return it == limits_.end() ? 0 : it->second;
}

void HeadlessWindow::SetIcon(Icon icon, bool big) {
    (big ? bigIcon_ : smallIcon_) = icon;
}

std::unique_ptr<PaintContext> HeadlessWindow::BeginPaint() {
    return std::make_unique<RecordingPaint>(*this);
}

void HeadlessWindow::EndDialog(int result) {
    ended_ = true;
    result_ = result;
}

bool HeadlessWindow::UserSelectItem(TreeItem item) {
    for (auto& [id, tree] : trees_) {
        if (tree.IsItem(item)) {
            focus_ = id;
            return tree.SelectItem(item);
        }
    }
    return false;
}

void HeadlessWindow::UserClick(int id) {
    const ControlTemplate* c = Control(id);
    if (c == nullptr || ended_) {
        return;
    }
    focus_ = id;
    if (c->kind == ControlKind::CheckBox) {
        checks_[id] = checks_[id] == 0 ? 1 : 0;  // an automatic check box toggles itself
    }
    dialog_.HandleCommand(id, Notification::ButtonClicked);
}

bool HeadlessWindow::UserChooseEntry(int comboId, int index) {
    auto it = combos_.find(comboId);
    if (it == combos_.end() || index < 0 || index >= it->second.GetCount()) {
        return false;
    }
    focus_ = comboId;
    it->second.SetCurSel(index);
    dialog_.HandleCommand(comboId, Notification::ComboSelChange);
    return true;
}

void HeadlessWindow::UserType(int editId, const std::string& text) {
    if (!texts_.count(editId)) {
        return;
    }
    focus_ = editId;
    const std::size_t limit = static_cast<std::size_t>(TextLimit(editId));
    texts_[editId] = text.substr(0, limit);
}

void HeadlessWindow::UserPressEscape() {
    dialog_.HandleCommand(kIdCancel, Notification::ButtonClicked);
}

void HeadlessWindow::UserClose() {
    dialog_.HandleCommand(kIdCancel, Notification::ButtonClicked);
}

void HeadlessWindow::UserPressEnter() {
    const ControlTemplate* focused = Control(focus_);
    if (focused != nullptr && focused->kind == ControlKind::PushButton) {
        UserClick(focus_);
        return;
    }
    dialog_.HandleCommand(kIdOk, Notification::ButtonClicked);
}

HeadlessBackend::HeadlessBackend(std::string executableName)
    : executableName_(std::move(executableName)) {}

int HeadlessBackend::RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) {
    HeadlessWindow window(dialog, dialogTemplate);
    window_ = &window;
    dialog.Attach(&window);
    const bool focusFirst = dialog.HandleInitDialog();
    if (!window.Ended()) {
        if (focusFirst) {
            for (int i = 0; i < dialogTemplate.controlCount; ++i) {
                if (dialogTemplate.controls[i].style & style::kTabStop) {
                    window.SetFocus(dialogTemplate.controls[i].id);
                    break;
                }
            }
        }
        if (driver_) {
            driver_(window);
        }
    }
    window_ = nullptr;
    dialog.Attach(nullptr);
    return window.Ended() ? window.Result() : kIdCancel;
}

void HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text) {
    if (sink_) {
        sink_(caption, text);
    }
}

}  // namespace platform::headless
