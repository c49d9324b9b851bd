#pragma once

#include <string>

#include "platform/backend.h"
#include "platform/win32/win32_api.h"

// The framework layer's controls as messages to the native common controls.
namespace platform::win32 {

class Win32Tree : public TreeControl {
  public:
    explicit Win32Tree(HWND hwnd) : hwnd_(hwnd) {}

    TreeItem InsertItem(const std::string& text, TreeItem parent, TreeItem after) override;
    // No item and the root both stand for the top level, whose first item is the tree's root.
    TreeItem GetChildItem(TreeItem item) const override {
        const bool top = item == kTreeRoot || item == kNoTreeItem;
        return NextItem(top ? TVGN_ROOT : TVGN_CHILD, top ? kNoTreeItem : item);
    }
    TreeItem GetNextSiblingItem(TreeItem item) const override {
        return item == kNoTreeItem ? kNoTreeItem : NextItem(TVGN_NEXT, item);
    }
    TreeItem GetParentItem(TreeItem item) const override {
        return item == kNoTreeItem ? kNoTreeItem : NextItem(TVGN_PARENT, item);
    }
    TreeItem GetSelectedItem() const override { return NextItem(TVGN_CARET, kNoTreeItem); }
    std::string GetItemText(TreeItem item) const override;
    bool SetItemText(TreeItem item, const std::string& text) override;
    bool SelectItem(TreeItem item) override;

  private:
    TreeItem NextItem(UINT relation, TreeItem item) const;

    HWND hwnd_;
};

class Win32Combo : public ComboControl {
  public:
    explicit Win32Combo(HWND hwnd) : hwnd_(hwnd) {}

    int AddString(const std::string& text) override {
        return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    int DeleteString(int index) override { return Send(CB_DELETESTRING, index); }
    int GetCount() const override { return Send(CB_GETCOUNT); }
    int GetCurSel() const override { return Send(CB_GETCURSEL); }
    int SetCurSel(int index) override { return Send(CB_SETCURSEL, index); }
    std::string GetLBText(int index) const override;

  private:
    int Send(UINT message, int index = 0, LPARAM data = 0) const {
        return static_cast<int>(SendMessageA(hwnd_, message, static_cast<WPARAM>(index), data));
    }

    HWND hwnd_;
};

}  // namespace platform::win32
