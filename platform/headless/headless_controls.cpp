#include "platform/headless/headless_controls.h"

namespace platform::headless {

TreeItem HeadlessTree::InsertItem(const std::string& text, TreeItem parent, TreeItem after) {
    if (parent != kTreeRoot && !IsItem(parent)) {
        return kNoTreeItem;
    }
    (void)after;  // the program only ever appends
    const TreeItem parentItem = parent == kTreeRoot ? kNoTreeItem : parent;
    nodes_.push_back(Node{text, parentItem, {}});
    const TreeItem item = nodes_.size();
    if (parentItem == kNoTreeItem) {
        roots_.push_back(item);
    } else {
        nodes_[parentItem - 1].children.push_back(item);
    }
    return item;
}

const std::vector<TreeItem>& HeadlessTree::ChildList(TreeItem item) const {
    return item == kTreeRoot || item == kNoTreeItem ? roots_ : nodes_[item - 1].children;
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
    const std::vector<TreeItem>& siblings = ChildList(nodes_[item - 1].parent);
    for (std::size_t i = 0; i + 1 < siblings.size(); ++i) {
        if (siblings[i] == item) {
            return siblings[i + 1];
        }
    }
    return kNoTreeItem;
}

TreeItem HeadlessTree::GetParentItem(TreeItem item) const {
    return IsItem(item) ? nodes_[item - 1].parent : kNoTreeItem;
}

std::string HeadlessTree::GetItemText(TreeItem item) const {
    return IsItem(item) ? nodes_[item - 1].text : std::string();
}

bool HeadlessTree::SetItemText(TreeItem item, const std::string& text) {
    if (!IsItem(item)) {
        return false;
    }
    nodes_[item - 1].text = text;
    return true;
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

std::vector<TreeItem> HeadlessTree::Children(TreeItem item) const {
    return ChildList(item);
}

}  // namespace platform::headless
