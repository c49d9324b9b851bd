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
    TreeItem GetChildItem(TreeItem item) const override;
    TreeItem GetNextSiblingItem(TreeItem item) const override;
    TreeItem GetParentItem(TreeItem item) const override;
    TreeItem GetSelectedItem() const override;
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

    int AddString(const std::string& text) override;
    int DeleteString(int index) override;
    int GetCount() const override;
    int GetCurSel() const override;
    int SetCurSel(int index) override;
    std::string GetLBText(int index) const override;

  private:
    HWND hwnd_;
};

}  // namespace platform::win32
