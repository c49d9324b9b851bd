#include "platform/headless/headless_controls.h"

#include <algorithm>

namespace platform::headless {

TreeItem HeadlessTree::InsertItem(const std::string& text, TreeItem parent, TreeItem after) {
    if (parent != kTreeRoot && !IsItem(parent)) {
        return kNoTreeItem;
    }
    (void)after;  // the program only ever appends
    const TreeItem parentItem = parent == kTreeRoot ? kNoTreeItem : parent;
    nodes_.push_back(Node{text, parentItem, {}});
    nodes_[parentItem].children.push_back(nodes_.size() - 1);
    return nodes_.size() - 1;
}

TreeItem HeadlessTree::GetChildItem(TreeItem item) const {
    if (item != kTreeRoot && item != kNoTreeItem && !IsItem(item)) {
        return kNoTreeItem;
    }
    const std::vector<TreeItem>& children = ChildList(item);
    return children.empty() ? kNoTreeItem : children.front();
}

TreeItem HeadlessTree::GetNextSiblingItem(TreeItem item) const {
    if (!IsItem(item)) {
        return kNoTreeItem;
    }
    const std::vector<TreeItem>& siblings = ChildList(nodes_[item].parent);
    const auto next = std::find(siblings.begin(), siblings.end(), item) + 1;
    return next < siblings.end() ? *next : kNoTreeItem;
}

TreeItem HeadlessTree::GetParentItem(TreeItem item) const {
    return IsItem(item) ? nodes_[item].parent : kNoTreeItem;
}

std::string HeadlessTree::GetItemText(TreeItem item) const {
    return IsItem(item) ? nodes_[item].text : std::string();
}

bool HeadlessTree::SetItemText(TreeItem item, const std::string& text) {
    if (IsItem(item)) {
        nodes_[item].text = text;
    }
    return IsItem(item);
}

// Selecting the item that is already selected changes nothing and notifies nobody.
bool HeadlessTree::SelectItem(TreeItem item) {
    if (item != kNoTreeItem && !IsItem(item)) {
        return false;
    }
    if (item == selected_) {
        return true;
    }
    selected_ = item;
    if (onSelChanged) {
        onSelChanged();
    }
    return true;
}

TreeItem HeadlessTree::ItemAtPath(const std::vector<int>& path) const {
    TreeItem item = kNoTreeItem;
    for (int position : path) {
        const std::vector<TreeItem>& children = ChildList(item);
        if (position < 0 || position >= static_cast<int>(children.size())) {
            return kNoTreeItem;
        }
        item = children[position];
    }
    return item;
}

}  // namespace platform::headless
