#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"

// In-memory controls with the native controls' semantics, for tests and the scripted CLI.
namespace platform::headless {

class HeadlessTree : public TreeControl {
  public:
    // Called after every change of selection, by the program or the user.
    std::function<void()> onSelChanged;

    TreeItem InsertItem(const std::string& text, TreeItem parent, TreeItem after) override;
    TreeItem GetChildItem(TreeItem item) const override;
    TreeItem GetNextSiblingItem(TreeItem item) const override;
    TreeItem GetParentItem(TreeItem item) const override;
    TreeItem GetSelectedItem() const override { return selected_; }
    std::string GetItemText(TreeItem item) const override;
    bool SetItemText(TreeItem item, const std::string& text) override;
    bool SelectItem(TreeItem item) override;

    bool IsItem(TreeItem item) const { return item >= 1 && item < nodes_.size(); }
    // The item at a path of 0-based child positions from the root, or kNoTreeItem.
    TreeItem ItemAtPath(const std::vector<int>& path) const;
    // The root, or no item, stands for the top level.
    std::vector<TreeItem> Children(TreeItem item) const { return ChildList(item); }

  private:
    struct Node {
        std::string text;
        TreeItem parent = kNoTreeItem;
        std::vector<TreeItem> children;
    };
    const std::vector<TreeItem>& ChildList(TreeItem item) const {
        return nodes_[item == kTreeRoot ? kNoTreeItem : item].children;
    }

    // Item handle h is nodes_[h]; nodes_[0], where no item's handle leads, holds the top level.
    std::vector<Node> nodes_ = {Node()};
    TreeItem selected_ = kNoTreeItem;
};

using HeadlessCombo = ComboList;

}  // namespace platform::headless
