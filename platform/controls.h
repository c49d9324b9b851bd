#pragma once

#include <string>

#include "platform/backend.h"

// The dialog's control members. They hold no window of their own until data exchange attaches
// them to the dialog's native control; every call then goes to that control.
namespace platform {

class TreeCtrl {
  public:
    bool IsAttached() const { return control_ != nullptr; }
    void Attach(TreeControl* control) { control_ = control; }

    TreeItem InsertItem(const std::string& text, TreeItem parent = kTreeRoot,
                        TreeItem after = kTreeLast) {
        return control_->InsertItem(text, parent, after);
    }
    TreeItem GetChildItem(TreeItem item) const { return control_->GetChildItem(item); }
    TreeItem GetNextSiblingItem(TreeItem item) const { return control_->GetNextSiblingItem(item); }
    TreeItem GetParentItem(TreeItem item) const { return control_->GetParentItem(item); }
    TreeItem GetSelectedItem() const { return control_->GetSelectedItem(); }
    std::string GetItemText(TreeItem item) const { return control_->GetItemText(item); }
    bool SetItemText(TreeItem item, const std::string& text) {
        return control_->SetItemText(item, text);
    }
    bool SelectItem(TreeItem item) { return control_->SelectItem(item); }

  private:
    TreeControl* control_ = nullptr;
};

class ComboBox {
  public:
    bool IsAttached() const { return control_ != nullptr; }
    void Attach(ComboControl* control) { control_ = control; }

    int AddString(const std::string& text) { return control_->AddString(text); }
    int DeleteString(int index) { return control_->DeleteString(index); }
    int GetCount() const { return control_->GetCount(); }
    int GetCurSel() const { return control_->GetCurSel(); }
    int SetCurSel(int index) { return control_->SetCurSel(index); }
    std::string GetLBText(int index) const { return control_->GetLBText(index); }

  private:
    ComboControl* control_ = nullptr;
};

}  // namespace platform
