#include "tests/support/editor_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/editor_app.h"
#include "platform/win_app.h"
#include "res/resource.h"

namespace testing_support {

RunOutcome RunEditor(const std::function<void(HeadlessWindow&)>& user) {
    RunOutcome outcome;
    platform::headless::HeadlessBackend backend("torvex");
    backend.SetMessageSink([&](const std::string& caption, const std::string& text) {
        outcome.captions.push_back(caption);
        outcome.messages.push_back(text);
    });
    backend.SetExitHook([&](int status) { outcome.exitStatus = status; });
    backend.SetDriver([&](HeadlessWindow& window) {
        outcome.dialogRan = true;
        user(window);
    });
    platform::SetBackend(&backend);
    {
        StartUp startUp;
        platform::RunApplication();
    }
    platform::SetBackend(nullptr);
    return outcome;
}

platform::TreeItem ItemAt(HeadlessWindow& window, const std::string& path) {
    std::vector<int> positions;
    std::istringstream parts(path);
    for (std::string part; std::getline(parts, part, '.');) {
        positions.push_back(std::stoi(part));
    }
    return window.TreeControlOf(IDC_WEAPON_TREE).ItemAtPath(positions);
}

std::string TextAt(HeadlessWindow& window, const std::string& path) {
    const platform::TreeItem item = ItemAt(window, path);
    EXPECT_NE(item, platform::kNoTreeItem) << "no item at " << path;
    return window.TreeControlOf(IDC_WEAPON_TREE).GetItemText(item);
}

void Select(HeadlessWindow& window, const std::string& path) {
    const platform::TreeItem item = ItemAt(window, path);
    ASSERT_NE(item, platform::kNoTreeItem) << "no item at " << path;
    window.UserSelectItem(item);
}

std::vector<std::string> Entries(HeadlessWindow& window) {
    return window.ComboControlOf(IDC_VALUE_COMBO).Entries();
}

std::string EditText(HeadlessWindow& window) {
    return window.GetItemText(IDC_VALUE_EDIT);
}

int SelectedEntry(HeadlessWindow& window) {
    return window.ComboControlOf(IDC_VALUE_COMBO).GetCurSel();
}

void TypeAndUpdate(HeadlessWindow& window, const std::string& text) {
    window.UserType(IDC_VALUE_EDIT, text);
    window.UserClick(IDC_UPDATE_BUTTON);
}

}  // namespace testing_support
