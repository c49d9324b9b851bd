// ui_driver: starts torvex.exe in the working directory and acts on its dialog as a user does,
// with the input messages of mouse clicks and key strokes sent to the native controls, which
// then notify the dialog themselves. It reads the action lines of "torvex-cli session" from
// stdin and answers in the same words, so one script can run on both backends and the outputs
// be compared. Two looks of its own (focus, screenshot) go beyond the session's.
//
// Usage: ui_driver TORVEX_EXE < actions
// stdout: what the actions print; "message TEXT" for each message box, answered with OK.
// stderr: "error ..." for a malformed action, and a closing report of "driver: ..." lines.
// Exit status: 2 after a malformed action, else the program's own exit status once it ended
// (0 when the script left it running and the driver ended it).
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_api.h"
#include "res/resource.h"

namespace {

constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kActionTimeoutMs = 30000;
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

// WM_GETTEXT itself, not GetWindowText: for another process's window that reads only the
// caption the system keeps, not an edit box's contents.
std::string WindowText(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Utf8(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Utf8(name);
}

bool IsPlainVerb(const std::string& verb) {
    static const char* const kPlain[] = {"check", "update", "exit",    "escape", "enter",
                                         "close", "tree",   "entries", "panel",  "focus"};
    for (const char* plain : kPlain) {
        if (verb == plain) {
            return true;
        }
    }
    return false;
}

bool ParsePath(const std::string& text, std::vector<int>& path) {
    path.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        const std::string part = text.substr(start, dot == std::string::npos ? dot : dot - start);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        path.push_back(std::stoi(part));
        if (dot == std::string::npos) {
            return true;
        }
        start = dot + 1;
    }
}

// A scratch block inside the program's address space, for the tree view's messages, whose
// structures the system does not carry from one process to another.
class RemoteBlock {
  public:
    RemoteBlock(HANDLE process, std::size_t size) : process_(process), size_(size) {
        address_ = VirtualAllocEx(process_, nullptr, size_, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const {
        return WriteProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        return ReadProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
    }

  private:
    HANDLE process_;
    std::size_t size_;
    void* address_ = nullptr;
};

struct BoxSeen {
    std::string caption;
    std::string text;
    std::string buttons;
};

class Driver {
  public:
    bool Start(const std::wstring& exe);
    void Perform(const std::string& line);
    void Finish();
    bool Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    int Errors() const { return errors_; }
    DWORD ExitStatus() const;

    struct Found {
        HWND dialog = nullptr;
        std::vector<HWND> boxes;
    };

  private:
    Found FindWindows();
    bool WaitForDialogOrBox(DWORD timeoutMs);
    void Sync();
    bool TakeMarker();
    void AnswerBoxes();
    void Fail(const std::string& what);

    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    HTREEITEM ItemAt(const std::vector<int>& path) const;
    HTREEITEM Next(HTREEITEM item, UINT relation) const;
    std::string ItemText(HTREEITEM item) const;
    bool ItemRect(HTREEITEM item, RECT& rect) const;
    void PrintSubtree(HTREEITEM parent, int depth) const;
    std::string EntryText(int index) const;
    HWND Focus() const;

    void Click(HWND control, POINT at) const;
    void ClickCentre(HWND control) const;
    void Key(HWND target, UINT key) const;
    void TypeCharacter(HWND target, wchar_t character) const;

    void Select(const std::string& pathText);
    void Type(const std::string& text);
    void Choose(const std::string& indexText);
    void PrintPanel();
    void PrintEntries();
    void Screenshot(const std::string& file);

    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
    HWND tree_ = nullptr;
    bool dialogShown_ = false;
    std::vector<BoxSeen> boxes_;
    int errors_ = 0;
    DWORD marker_ = 0;
    std::unique_ptr<RemoteBlock> scratch_;
};

bool Driver::Start(const std::wstring& exe) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        std::cerr << "driver: cannot start " << Utf8(exe) << " (error " << GetLastError() << ")\n";
        return false;
    }
    scratch_ = std::make_unique<RemoteBlock>(process_.hProcess, 64 * 1024);
    if (!WaitForDialogOrBox(kStartTimeoutMs)) {
        std::cerr << "driver: neither the dialog nor a message box appeared\n";
        return false;
    }
    AnswerBoxes();
    return true;
}

DWORD Driver::ExitStatus() const {
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    return status;
}

struct WindowSearch {
    DWORD pid;
    Driver::Found found;
};

// The program's dialog windows: its main dialog, and the message boxes that are up.
BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || ClassOf(window) != "#32770") {
        return TRUE;
    }
    if (GetDlgItem(window, IDC_WEAPON_TREE) != nullptr) {
        search->found.dialog = window;
    } else if (IsWindowVisible(window)) {
        search->found.boxes.push_back(window);
    }
    return TRUE;
}

Driver::Found Driver::FindWindows() {
    WindowSearch search{process_.dwProcessId, {}};
    EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found.dialog != nullptr) {
        dialog_ = search.found.dialog;
        tree_ = Control(IDC_WEAPON_TREE);
        dialogShown_ = dialogShown_ || IsWindowVisible(dialog_);
    }
    return search.found;
}

bool Driver::WaitForDialogOrBox(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        const Found found = FindWindows();
        if (!found.boxes.empty() || (found.dialog != nullptr && IsWindowVisible(found.dialog))) {
            if (found.boxes.empty()) {
                Sync();  // the dialog's first messages are all handled
            }
            return true;
        }
        if (Ended()) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

// Waits until the program has handled every input message posted so far. Posted messages are
// taken from the queue in order, so the program has done with the input once it has taken a
// marker posted after it: a harmless tree view setting (the insert mark's colour, which the
// program never shows) that the driver then reads back. A second marker covers what handling
// the input posted in turn. A message box's own message loop takes the markers too, so a box
// that an action raised is up by then.
void Driver::Sync() {
    for (int round = 0; round < 2; ++round) {
        if (!TakeMarker()) {
            return;
        }
    }
}

bool Driver::TakeMarker() {
    if (Ended() || tree_ == nullptr) {
        return false;
    }
    marker_ = marker_ % 0x00FFFFFF + 1;
    PostMessageW(tree_, TVM_SETINSERTMARKCOLOR, 0, static_cast<LPARAM>(marker_));
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kActionTimeoutMs) {
        if (Ended()) {
            return false;
        }
        DWORD_PTR value = 0;
        if (SendMessageTimeoutW(tree_, TVM_GETINSERTMARKCOLOR, 0, 0, SMTO_NORMAL, 2000, &value) &&
            value == marker_) {
            return true;
        }
        if (!IsWindow(tree_)) {
            // The dialog has ended; the process follows.
            WaitForSingleObject(process_.hProcess, kActionTimeoutMs);
            return false;
        }
        Sleep(5);
    }
    std::cerr << "driver: the program did not take its input within " << kActionTimeoutMs / 1000
              << " s\n";
    return false;
}

// Reports every message box that is up and answers it with its OK button, as a user clicks it.
void Driver::AnswerBoxes() {
    for (int round = 0; round < 10 && !Ended(); ++round) {
        const Found found = FindWindows();
        if (found.boxes.empty()) {
            return;
        }
        for (HWND box : found.boxes) {
            BoxSeen seen{WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId)), ""};
            HWND ok = nullptr;
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if (ClassOf(child) == "Button") {
                    if (!seen.buttons.empty()) {
                        seen.buttons += ',';
                    }
                    seen.buttons += WindowText(child);
                    if (GetDlgCtrlID(child) == IDOK) {
                        ok = child;
                    }
                }
            }
            boxes_.push_back(seen);
            std::cout << "message " << seen.text << '\n';
            if (ok == nullptr) {
                Fail("a message box without an OK button");
                return;
            }
            ClickCentre(ok);
            // The box's owner may be gone with the process; wait on the box itself too.
            const DWORD start = GetTickCount();
            while (IsWindow(box) && IsWindowVisible(box) && !Ended() &&
                   GetTickCount() - start < kActionTimeoutMs) {
                Sleep(10);
            }
        }
        Sync();
    }
}

void Driver::Fail(const std::string& what) {
    std::cerr << "error " << what << '\n';
    ++errors_;
}

HTREEITEM Driver::Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM Driver::ItemAt(const std::vector<int>& path) const {
    HTREEITEM item = nullptr;
    for (std::size_t level = 0; level < path.size(); ++level) {
        item = level == 0 ? Next(nullptr, TVGN_ROOT) : Next(item, TVGN_CHILD);
        for (int i = 0; i < path[level] && item != nullptr; ++i) {
            item = Next(item, TVGN_NEXT);
        }
        if (item == nullptr) {
            return nullptr;
        }
    }
    return item;
}

std::string Driver::ItemText(HTREEITEM item) const {
    constexpr std::size_t kChars = 4096;
    TVITEMW query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = reinterpret_cast<wchar_t*>(scratch_->At(sizeof query));
    query.cchTextMax = kChars;
    std::wstring text(kChars, L'\0');
    if (!scratch_->Write(0, &query, sizeof query) ||
        !SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(scratch_->At(0))) ||
        !scratch_->Read(sizeof query, text.data(), kChars * sizeof(wchar_t))) {
        return std::string();
    }
    text.resize(text.find(L'\0'));
    return Utf8(text);
}

bool Driver::ItemRect(HTREEITEM item, RECT& rect) const {
    // In: the item's handle at the rectangle's start; out: the rectangle of its text.
    if (!scratch_->Write(0, &item, sizeof item) ||
        !SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(scratch_->At(0)))) {
        return false;
    }
    return scratch_->Read(0, &rect, sizeof rect);
}

void Driver::PrintSubtree(HTREEITEM parent, int depth) const {
    for (HTREEITEM item = parent == nullptr ? Next(nullptr, TVGN_ROOT) : Next(parent, TVGN_CHILD);
         item != nullptr; item = Next(item, TVGN_NEXT)) {
        std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ') << ItemText(item)
                  << '\n';
        PrintSubtree(item, depth + 1);
    }
}

// The combo box's own messages are carried between processes in their wide form.
std::string Driver::EntryText(int index) const {
    HWND combo = Control(IDC_VALUE_COMBO);
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return std::string();
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.find(L'\0'));
    return Utf8(text);
}

HWND Driver::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
}

void Driver::Click(HWND control, POINT at) const {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(control, WM_MOUSEMOVE, 0, where);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(control, WM_LBUTTONUP, 0, where);
}

void Driver::ClickCentre(HWND control) const {
    RECT client = {};
    GetClientRect(control, &client);
    Click(control, {(client.left + client.right) / 2, (client.top + client.bottom) / 2});
}

// A stroke of a key that types nothing (arrows, Home, End, Escape, Enter), as the keyboard
// delivers it; the program's message loop lets the dialog manager see Escape and Enter.
void Driver::Key(HWND target, UINT key) const {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, 1 | scan);
    PostMessageW(target, WM_KEYUP, key, 1 | scan | (LPARAM{3} << 30));
}

// A key that types a character (Backspace among them) reaches a control as the character
// message its stroke is translated into. Posting the stroke itself would have the translation
// queue the character behind everything posted after it.
void Driver::TypeCharacter(HWND target, wchar_t character) const {
    PostMessageW(target, WM_CHAR, character, 1);
}

// The user scrolls the item into view, opening its parents, and clicks its text.
void Driver::Select(const std::string& pathText) {
    std::vector<int> path;
    HTREEITEM item = ParsePath(pathText, path) ? ItemAt(path) : nullptr;
    if (item == nullptr) {
        Fail("no item at path '" + pathText + "'");
        return;
    }
    SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT rect = {};
    if (!ItemRect(item, rect)) {
        Fail("item '" + pathText + "' cannot be shown");
        return;
    }
    Click(tree_, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    Sync();
}

// A click into the edit box, End, Backspace over what is there, then the characters.
void Driver::Type(const std::string& text) {
    HWND edit = Control(IDC_VALUE_EDIT);
    Click(edit, {4, 4});
    Key(edit, VK_END);
    const int length = static_cast<int>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    for (int i = 0; i < length; ++i) {
        TypeCharacter(edit, L'\b');
    }
    for (wchar_t c : Wide(text)) {
        TypeCharacter(edit, c);
    }
    Sync();
}

// The user moves to the list and steps to the entry with the arrow keys (Home and End for the
// ends); each step is a selection change the list reports itself.
void Driver::Choose(const std::string& indexText) {
    HWND combo = Control(IDC_VALUE_COMBO);
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    if (indexText.empty() || indexText.find_first_not_of("0123456789") != std::string::npos) {
        Fail("'choose' needs an entry number");
        return;
    }
    const int index = std::stoi(indexText);
    if (index >= count) {
        Fail("no entry " + indexText + " in the list");
        return;
    }
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    int current = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (index == 0 || current < 0) {
        Key(combo, VK_HOME);
        current = 0;
    }
    if (index == count - 1 && index - current > 1) {
        Key(combo, VK_END);
        current = index;
    }
    for (; current < index; ++current) {
        Key(combo, VK_DOWN);
    }
    for (; current > index; --current) {
        Key(combo, VK_UP);
    }
    Sync();
}

void Driver::PrintPanel() {
    HWND combo = Control(IDC_VALUE_COMBO);
    const int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    std::cout << "entries " << SendMessageW(combo, CB_GETCOUNT, 0, 0) << '\n';
    std::cout << "selected " << selected << ' ' << (selected >= 0 ? EntryText(selected) : "")
              << '\n';
    std::cout << "edit " << WindowText(Control(IDC_VALUE_EDIT)) << '\n';
    std::cout << "check "
              << (SendMessageW(Control(IDC_SHOW_ALL_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1
                                                                                              : 0)
              << '\n';
}

void Driver::PrintEntries() {
    const int count = static_cast<int>(SendMessageW(Control(IDC_VALUE_COMBO), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::cout << EntryText(i) << '\n';
    }
}

// The dialog as the screen shows it, frame and all, as a 24-bit bitmap file.
void Driver::Screenshot(const std::string& file) {
    // Paint messages come last in a queue: have every pending one handled before the capture.
    RedrawWindow(dialog_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sync();
    RECT rect = {};
    GetWindowRect(dialog_, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    bool written = false;
    if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
        written = std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(bits, 1, imageBytes, out) == imageBytes;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!written) {
        Fail("cannot write " + file);
    }
}

void Driver::Perform(const std::string& line) {
    const std::size_t blank = line.find(' ');
    const std::string verb = line.substr(0, blank);
    const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (verb == "select") {
        Select(rest);
    } else if (verb == "item") {
        std::vector<int> path;
        HTREEITEM item = ParsePath(rest, path) ? ItemAt(path) : nullptr;
        if (item == nullptr) {
            Fail("no item at path '" + rest + "'");
        } else {
            std::cout << ItemText(item) << '\n';
        }
    } else if (verb == "choose") {
        Choose(rest);
    } else if (verb == "type") {
        Type(rest);
    } else if (verb == "screenshot") {
        Screenshot(rest);
    } else if (!IsPlainVerb(verb)) {
        Fail("unknown action '" + line + "'");
    } else if (blank != std::string::npos) {
        Fail("'" + verb + "' takes no argument");
    } else if (verb == "check") {
        ClickCentre(Control(IDC_SHOW_ALL_CHECK));
        Sync();
    } else if (verb == "update") {
        ClickCentre(Control(IDC_UPDATE_BUTTON));
        Sync();
    } else if (verb == "exit") {
        ClickCentre(Control(IDCANCEL));
        Sync();
    } else if (verb == "escape" || verb == "enter") {
        HWND focus = Focus();
        Key(focus != nullptr ? focus : dialog_, verb == "escape" ? VK_ESCAPE : VK_RETURN);
        Sync();
    } else if (verb == "close") {
        // What a click on the caption's close box sends.
        PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sync();
    } else if (verb == "tree") {
        PrintSubtree(nullptr, 0);
    } else if (verb == "entries") {
        PrintEntries();
    } else if (verb == "panel") {
        PrintPanel();
    } else if (verb == "focus") {
        HWND focus = Focus();
        std::cout << "focus " << (focus != nullptr ? GetDlgCtrlID(focus) : 0) << '\n';
    }
    AnswerBoxes();
}

void Driver::Finish() {
    if (!Ended()) {
        std::cerr << "driver: the script left the program running; ending it\n";
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, kActionTimeoutMs);
    } else {
        std::cerr << "driver: exit status " << ExitStatus() << '\n';
    }
    std::cerr << "driver: dialog shown " << (dialogShown_ ? "yes" : "no") << '\n';
    std::cerr << "driver: message boxes " << boxes_.size() << '\n';
    for (const BoxSeen& box : boxes_) {
        std::cerr << "driver: box caption '" << box.caption << "' text '" << box.text
                  << "' buttons '" << box.buttons << "'\n";
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Plain line ends both ways, as the session on the other backend writes them.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (argc != 2) {
        std::cerr << "usage: ui_driver TORVEX_EXE < actions\n";
        return 2;
    }
    Driver driver;
    if (!driver.Start(argv[1])) {
        driver.Finish();
        return 3;
    }
    std::string line;
    while (!driver.Ended() && std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        driver.Perform(line);
        std::cout.flush();
    }
    const bool ended = driver.Ended();
    driver.Finish();
    std::cout.flush();
    if (driver.Errors() > 0) {
        return 2;
    }
    return ended ? static_cast<int>(driver.ExitStatus()) : 0;
}
