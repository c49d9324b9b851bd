#include "editor/remembered_selection.h"

platform::TreeItem g_selectedItem = platform::kNoTreeItem;
platform::TreeItem g_parentItem = platform::kNoTreeItem;
platform::TreeItem g_grandparentItem = platform::kNoTreeItem;

void ForgetSelection() {
    g_selectedItem = g_parentItem = g_grandparentItem = platform::kNoTreeItem;
}
