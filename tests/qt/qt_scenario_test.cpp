#include <gtest/gtest.h>

#include <sstream>

#include "cli/session.h"
#include "res/resource.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/editor_run.h"
#include "tests/support/map_folder.h"
#include "tests/support/user_locale.h"

// The editor's scenarios played twice, once on the in-memory controls (as torvex-cli session
// plays its action lines) and once through mouse and keyboard on the real widgets: both must
// leave the same tree and the same map bytes. The widgets play in a German user's locale, as
// QApplication takes it from the environment, the in-memory controls in the C locale.
namespace {

using namespace qt_testing;
using testing_support::Bytes;
using testing_support::MapFolder;

struct Result {
    std::string tree;
    Bytes map;
    std::vector<std::string> messages;
    std::vector<std::string> entries;
    std::string edit;
};

Result PlayHeadless(const std::vector<std::string>& actions) {
    MapFolder folder;
    Result result;
    std::ostringstream out, err;
    const auto outcome = testing_support::RunEditor([&](testing_support::HeadlessWindow& w) {
        cli::Session session(w, out, err);
        for (const std::string& action : actions) {
            session.Perform(action);
        }
        cli::PrintTree(w.TreeControlOf(IDC_WEAPON_TREE), out);
        result.entries = testing_support::Entries(w);
        result.edit = testing_support::EditText(w);
    });
    result.messages = outcome.messages;
    EXPECT_EQ(err.str(), "");
    result.tree = out.str();
    result.map = folder.ReadMap();
    return result;
}

void DumpQt(QTreeWidgetItem* item, int depth, std::string& out) {
    for (int i = 0; i < item->childCount(); ++i) {
        out +=
            std::string(2 * depth, ' ') + platform::qt::ToProgram(item->child(i)->text(0)) + '\n';
        DumpQt(item->child(i), depth + 1, out);
    }
}

Result PlayQt(const std::vector<std::string>& actions) {
    MapFolder folder;
    testing_support::UserLocale german(testing_support::kGermanLocale);
    Result result;
    const QtRunOutcome outcome = RunEditor([&](User& user) {
        for (const std::string& action : actions) {
            const std::string verb = action.substr(0, action.find(' '));
            const std::string rest = action.substr(verb.size() + (verb.size() < action.size()));
            if (verb == "select") {
                user.Select(rest);
            } else if (verb == "type") {
                user.Type(rest);
            } else if (verb == "choose") {
                user.Choose(std::stoi(rest));
            } else if (verb == "check") {
                user.Click(user.ShowAll());
            } else {
                ASSERT_EQ(verb, "update");
                user.Click(user.Update());
            }
        }
        DumpQt(user.Tree().invisibleRootItem(), 0, result.tree);
        result.entries = user.Entries();
        result.edit = user.EditText();
    });
    for (const MessageBoxSeen& box : outcome.messageBoxes) {
        result.messages.push_back(box.text);
    }
    result.map = folder.ReadMap();
    return result;
}

TEST(QtScenarios, RealWidgetsLeaveTheSameTreeAndMapAsTheInMemoryControls) {
    const struct {
        const char* what;
        std::vector<std::string> actions;
        const char* text;  // what a line of the tree must then end with ("": no look)
    } scenarios[] = {
        {"Max ammo keeps 16 bits", {"select 1.17", "type 40000", "update"}, "Max ammo: -25536"},
        {"text after the number",
         {"select 1.19", "type 12abc", "update"},
         "Projectiles per shot: 12"},
        {"unknown float in the second block",
         {"select 1.15.20", "type 2.5", "update"},
         "Unknown 20: 2.500000"},
        {"a reference to the third entry of its class", {"select 1.7.1", "choose 2", "update"}, ""},
        {"a reference to no tag under show all",
         {"select 4.7.0", "check", "choose 1805", "update"},
         "NULL"},
        {"two weapons, and Update on a weapon item",
         {"select 4.18", "type 7", "update", "select 0.13.3", "type -2", "update", "select 3",
          "update"},
         "Unknown 3: -2"},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.what);
        const Result memory = PlayHeadless(s.actions);
        const Result widgets = PlayQt(s.actions);
        EXPECT_EQ(widgets.messages, memory.messages);
        EXPECT_EQ(widgets.entries, memory.entries);
        EXPECT_EQ(widgets.edit, memory.edit);
        EXPECT_TRUE(widgets.tree == memory.tree);
        EXPECT_EQ(testing_support::DiffRanges(memory.map, widgets.map),
                  std::vector<testing_support::ByteRange>{});
        // Both could be wrong the same way: the item reads as the program's formats say.
        if (*s.text != '\0') {
            EXPECT_NE(widgets.tree.find(std::string(s.text) + "\n"), std::string::npos) << s.text;
        }
    }
}

}  // namespace
