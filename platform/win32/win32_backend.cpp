#include "platform/win32/win32_backend.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/dialog.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_controls.h"

namespace platform::win32 {

// The paint device context of one WM_PAINT, open for the object's life.
class Win32Paint : public PaintContext {
  public:
    explicit Win32Paint(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd_, &paint_); }
    ~Win32Paint() override { ::EndPaint(hwnd_, &paint_); }
    Win32Paint(const Win32Paint&) = delete;
    Win32Paint& operator=(const Win32Paint&) = delete;

    void EraseIconBackground() override {
        SendMessageA(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc_), 0);
    }
    void DrawIcon(int x, int y, Icon icon) override {
        ::DrawIcon(dc_, x, y, reinterpret_cast<HICON>(icon));
    }

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_ = {};
    HDC dc_ = nullptr;
};

// A control's object is made when the program first asks for it, the dialog's child by then.
template <class Control>
Control* ControlOf(std::map<int, std::unique_ptr<Control>>& controls, HWND dialog, int id) {
    std::unique_ptr<Control>& control = controls[id];
    if (HWND child = control ? nullptr : GetDlgItem(dialog, id)) {
        control = std::make_unique<Control>(child);
    }
    return control.get();
}

// One running dialog: its window handle, its controls, and the routing of its messages.
class Win32Window : public DialogWindow {
  public:
    explicit Win32Window(Dialog& dialog) : dialog_(dialog) {}

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* window = reinterpret_cast<Win32Window*>(lParam);
            SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            window->hwnd_ = hwnd;
            window->dialog_.Attach(window);
            // TRUE: the dialog manager focuses the first tab stop.
            return window->dialog_.HandleInitDialog() ? TRUE : FALSE;
        }
        auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        return window == nullptr ? FALSE : window->Route(message, wParam, lParam);
    }

    HWND Hwnd() const { return hwnd_; }

    TreeControl* Tree(int id) override { return ControlOf(trees_, hwnd_, id); }
    ComboControl* Combo(int id) override { return ControlOf(combos_, hwnd_, id); }
    std::string GetItemText(int id) const override {
        HWND control = GetDlgItem(hwnd_, id);
        if (control == nullptr) {
            return std::string();
        }
        std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1);
        GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
        return std::string(buffer.data());
    }
    void SetItemText(int id, const std::string& text) override {
        SetDlgItemTextA(hwnd_, id, text.c_str());
    }
    int GetCheck(int id) const override { return static_cast<int>(IsDlgButtonChecked(hwnd_, id)); }
    void SetCheck(int id, int state) override {
        CheckDlgButton(hwnd_, id, static_cast<UINT>(state));
    }
    void LimitText(int id, int maxChars) override {
        SendDlgItemMessageA(hwnd_, id, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    }
    void SetIcon(Icon icon, bool big) override {
        SendMessageA(hwnd_, WM_SETICON, big ? ICON_BIG : ICON_SMALL, static_cast<LPARAM>(icon));
    }
    bool IsIconic() const override { return ::IsIconic(hwnd_) != FALSE; }
    Size ClientSize() const override {
        RECT client = {};
        GetClientRect(hwnd_, &client);
        return {client.right - client.left, client.bottom - client.top};
    }
    Size IconMetrics() const override {
        return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    }
    std::unique_ptr<PaintContext> BeginPaint() override {
        return std::make_unique<Win32Paint>(hwnd_);
    }
    void DefaultPaint() override { defaultPaint_ = true; }
    void EndDialog(int result) override { ::EndDialog(hwnd_, result); }

  private:
    // A dialog procedure answers TRUE for what it handled and FALSE for the dialog manager's
    // default processing; WM_QUERYDRAGICON is one of the few that return their value directly.
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_COMMAND:
                return RouteCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header->code != TVN_SELCHANGEDA && header->code != TVN_SELCHANGEDW) {
                    return FALSE;
                }
                long result = 0;
                if (!dialog_.HandleNotify(static_cast<int>(header->idFrom),
                                          Notification::TreeSelChanged, &result)) {
                    return FALSE;
                }
                SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
                return TRUE;
            }
            case WM_PAINT:
                defaultPaint_ = false;
                dialog_.HandlePaint();
                return defaultPaint_ ? FALSE : TRUE;
            case WM_QUERYDRAGICON:
                return static_cast<INT_PTR>(dialog_.HandleQueryDragIcon());
            default:
                return FALSE;
        }
    }

    // BN_CLICKED is 0, which is also what the dialog manager sends for Enter (IDOK) and Escape
    // (IDCANCEL); code 1 is a selection change only when a combo box sends it.
    bool RouteCommand(int id, int code) {
        if (code == BN_CLICKED) {
            return dialog_.HandleCommand(id, Notification::ButtonClicked);
        }
        const ControlTemplate* control = dialog_.Template().Find(id);
        if (code == CBN_SELCHANGE && control != nullptr && control->kind == ControlKind::Combo) {
            return dialog_.HandleCommand(id, Notification::ComboSelChange);
        }
        return false;
    }

    Dialog& dialog_;
    HWND hwnd_ = nullptr;
    bool defaultPaint_ = false;
    std::map<int, std::unique_ptr<Win32Tree>> trees_;
    std::map<int, std::unique_ptr<Win32Combo>> combos_;
};

// The tree view's window class has to be registered before a dialog template can name it.
Win32Backend::Win32Backend() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

int Win32Backend::RunModal(Dialog& dialog, const DialogTemplate& dialogTemplate) {
    Win32Window window(dialog);
    Win32Window* const outer = active_;
    active_ = &window;
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogTemplate.id), nullptr,
                        &Win32Window::DialogProc, reinterpret_cast<LPARAM>(&window));
    active_ = outer;
    return static_cast<int>(result);
}

// As the framework's boxes: owned by the running dialog, with the exclamation icon that an
// OK-only box gets when it names none.
void Win32Backend::ShowMessageBox(const std::string& caption, const std::string& text) {
    HWND owner = active_ != nullptr ? active_->Hwnd() : nullptr;
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

DialogWindow* Win32Backend::ActiveWindow() const {
    return active_;
}

std::string Win32Backend::ExecutableName() const {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    name.erase(0, name.find_last_of("\\/") + 1);
    return name.substr(0, name.rfind('.'));
}

Icon Win32Backend::LoadIcon(int resourceId) {
    return reinterpret_cast<Icon>(
        ::LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)));
}

}  // namespace platform::win32
