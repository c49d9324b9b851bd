#include "platform/headless/headless_backend.h"

namespace platform::headless {

namespace {

// What a control of that id holds, or nothing for a control of another kind.
template <class Map, class Value = typename Map::mapped_type>
Value Held(const Map& map, int id) {
    const auto it = map.find(id);
    return it == map.end() ? Value() : it->second;
}

template <class Map, class Value>
void Change(Map& map, int id, const Value& value) {
    if (const auto it = map.find(id); it != map.end()) {
        it->second = value;
    }
}

template <class Map>
auto* Control(Map& map, int id) {
    const auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
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

// Dialog units of an 8-point "MS Sans Serif" dialog: base units 6 by 13 pixels.
HeadlessWindow::HeadlessWindow(Dialog& dialog, const DialogTemplate& dialogTemplate)
    : dialog_(dialog),
      template_(dialogTemplate),
      clientSize_{dialogTemplate.cx * 6 / 4, dialogTemplate.cy * 13 / 8} {
    for (const ControlTemplate& c : template_.Controls()) {
        if (c.kind == ControlKind::Tree) {
            trees_[c.id].onSelChanged = [this, id = c.id] {
                long result = 0;
                dialog_.HandleNotify(id, Notification::TreeSelChanged, &result);
            };
        } else if (c.kind == ControlKind::Combo) {
            combos_[c.id];
        } else {
            texts_[c.id] = c.text ? c.text : "";
        }
        if (c.kind == ControlKind::CheckBox) {
            checks_[c.id] = 0;
        } else if (c.kind == ControlKind::Edit) {
            limits_[c.id] = 30000;  // the edit box's own default
        }
    }
}

TreeControl* HeadlessWindow::Tree(int id) {
    return Control(trees_, id);
}

ComboControl* HeadlessWindow::Combo(int id) {
    return Control(combos_, id);
}

std::string HeadlessWindow::GetItemText(int id) const {
    return Held(texts_, id);
}

// Text set by the program is not held to the limit, as with the native edit box.
void HeadlessWindow::SetItemText(int id, const std::string& text) {
    Change(texts_, id, text);
}

int HeadlessWindow::GetCheck(int id) const {
    return Held(checks_, id);
}

void HeadlessWindow::SetCheck(int id, int state) {
    Change(checks_, id, state);
}

void HeadlessWindow::LimitText(int id, int maxChars) {
    Change(limits_, id, maxChars);
}

int HeadlessWindow::TextLimit(int id) const {
    return Held(limits_, id);
}

std::unique_ptr<PaintContext> HeadlessWindow::BeginPaint() {
    return std::make_unique<RecordingPaint>(*this);
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
    const ControlTemplate* c = template_.Find(id);
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
    HeadlessCombo* combo = Control(combos_, comboId);
    if (combo == nullptr || index < 0 || index >= combo->GetCount()) {
        return false;
    }
    focus_ = comboId;
    combo->SetCurSel(index);
    dialog_.HandleCommand(comboId, Notification::ComboSelChange);
    return true;
}

void HeadlessWindow::UserType(int editId, const std::string& text) {
    if (!texts_.count(editId)) {
        return;
    }
    focus_ = editId;
    texts_[editId] = text.substr(0, static_cast<std::size_t>(TextLimit(editId)));
}

void HeadlessWindow::UserPressEnter() {
    const ControlTemplate* focused = template_.Find(focus_);
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
        if (const ControlTemplate* first = dialogTemplate.FirstTabStop(); focusFirst && first) {
            window.SetFocus(first->id);
        }
        if (driver_) {
            driver_(window);
        }
    }
    window_ = nullptr;
    return window.Ended() ? window.Result() : kIdCancel;
}

void HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text) {
    if (sink_) {
        sink_(caption, text);
    }
}

}  // namespace platform::headless
