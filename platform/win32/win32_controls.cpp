#include "platform/win32/win32_controls.h"

#include <vector>

namespace platform::win32 {

namespace {

HTREEITEM Handle(TreeItem item) {
    return reinterpret_cast<HTREEITEM>(item);
}

HTREEITEM Position(TreeItem item) {
    return item == kTreeRoot ? TVI_ROOT : item == kTreeLast ? TVI_LAST : Handle(item);
}

}  // namespace

TreeItem Win32Tree::InsertItem(const std::string& text, TreeItem parent, TreeItem after) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = Position(parent);
    insert.hInsertAfter = Position(after);
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return static_cast<TreeItem>(
        SendMessageA(hwnd_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

TreeItem Win32Tree::NextItem(UINT relation, TreeItem item) const {
    return static_cast<TreeItem>(
        SendMessageA(hwnd_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(Handle(item))));
}

// The control copies at most the buffer's size less one: a text that fills it may be longer.
std::string Win32Tree::GetItemText(TreeItem item) const {
    if (item == kNoTreeItem) {
        return std::string();
    }
    for (std::size_t size = 256;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        TVITEMA query = {};
        query.mask = TVIF_TEXT;
        query.hItem = Handle(item);
        query.pszText = buffer.data();
        query.cchTextMax = static_cast<int>(size);
        if (!SendMessageA(hwnd_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) {
            return std::string();
        }
        const std::string text(query.pszText);
        if (text.size() + 1 < size) {
            return text;
        }
    }
}

bool Win32Tree::SetItemText(TreeItem item, const std::string& text) {
    TVITEMA change = {};
    change.mask = TVIF_TEXT;
    change.hItem = Handle(item);
    change.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(hwnd_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)) != 0;
}

bool Win32Tree::SelectItem(TreeItem item) {
    return SendMessageA(hwnd_, TVM_SELECTITEM, TVGN_CARET,
                        reinterpret_cast<LPARAM>(Handle(item))) != 0;
}

std::string Win32Combo::GetLBText(int index) const {
    const int length = Send(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

}  // namespace platform::win32
