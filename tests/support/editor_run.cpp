#include "tests/support/editor_run.h"

#include <gtest/gtest.h>

#include "app/editor_app.h"
#include "cli/session.h"
#include "platform/win_app.h"
#include "res/resource.h"

namespace testing_support {
namespace {

platform::TreeItem ItemAt(HeadlessWindow& window, const std::string& path) {
    return window.TreeControlOf(IDC_WEAPON_TREE).ItemAtPath(cli::ParseItemPath(path));
}

}  // namespace

std::vector<std::string> RunEditor(const std::function<void(HeadlessWindow&)>& user) {
    std::vector<std::string> messages;
    platform::headless::HeadlessBackend backend("torvex");
    backend.SetMessageSink(
        [&](const std::string&, const std::string& text) { messages.push_back(text); });
    backend.SetDriver(user);
    platform::SetBackend(&backend);
    {
        StartUp startUp;
        platform::RunApplication();
    }
    platform::SetBackend(nullptr);
    return messages;
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

}  // namespace testing_support
