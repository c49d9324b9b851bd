#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "app/editor_app.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/weapon_list.h"
#include "platform/headless/headless_backend.h"
#include "platform/win_app.h"
#include "res/resource.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/map_folder.h"

// The editor's scenarios played twice, once on the in-memory controls and once through mouse
// and keyboard on the real widgets: both must leave the same tree and the same map bytes.
namespace {

using namespace qt_testing;
using platform::headless::HeadlessBackend;
using platform::headless::HeadlessTree;
using platform::headless::HeadlessWindow;
using testing_support::Bytes;
using testing_support::MapFolder;

struct Step {
    enum Kind { Select, Type, Choose, Check, Update } kind;
    std::string text;  // Select: item path; Type: the typed text
    int entry = 0;     // Choose: list position
};

Step SelectItem(std::string path) {
    return {Step::Select, std::move(path)};
}
Step TypeText(std::string text) {
    return {Step::Type, std::move(text)};
}
Step ChooseEntry(int entry) {
    return {Step::Choose, {}, entry};
}
const Step kCheck{Step::Check, {}};
const Step kUpdate{Step::Update, {}};

struct Result {
    std::string tree;
    Bytes map;
    std::vector<std::string> messages;
    std::vector<std::string> entries;
    std::string edit;
};

std::vector<int> Positions(const std::string& path) {
    std::vector<int> positions;
    std::istringstream parts(path);
    std::string part;
    while (std::getline(parts, part, '.')) {
        positions.push_back(std::stoi(part));
    }
    return positions;
}

void DumpHeadless(const HeadlessTree& tree, platform::TreeItem item, int depth, std::string& out) {
    for (platform::TreeItem child : tree.Children(item)) {
        out += std::string(2 * depth, ' ') + tree.GetItemText(child) + '\n';
        DumpHeadless(tree, child, depth + 1, out);
    }
}

void DumpQt(QTreeWidgetItem* item, int depth, std::string& out) {
    for (int i = 0; i < item->childCount(); ++i) {
        out +=
            std::string(2 * depth, ' ') + platform::qt::ToProgram(item->child(i)->text(0)) + '\n';
        DumpQt(item->child(i), depth + 1, out);
    }
}

Result PlayHeadless(const std::vector<Step>& steps) {
    MapFolder folder;
    Result result;
    HeadlessBackend backend("torvex");
    backend.SetMessageSink(
        [&](const std::string&, const std::string& text) { result.messages.push_back(text); });
    backend.SetDriver([&](HeadlessWindow& w) {
        HeadlessTree& tree = w.TreeControlOf(IDC_WEAPON_TREE);
        for (const Step& step : steps) {
            switch (step.kind) {
                case Step::Select:
                    EXPECT_TRUE(w.UserSelectItem(tree.ItemAtPath(Positions(step.text))));
                    break;
                case Step::Type:
                    w.UserType(IDC_VALUE_EDIT, step.text);
                    break;
                case Step::Choose:
                    EXPECT_TRUE(w.UserChooseEntry(IDC_VALUE_COMBO, step.entry));
                    break;
                case Step::Check:
                    w.UserClick(IDC_SHOW_ALL_CHECK);
                    break;
                case Step::Update:
                    w.UserClick(IDC_UPDATE_BUTTON);
                    break;
            }
        }
        DumpHeadless(tree, platform::kTreeRoot, 0, result.tree);
        result.entries = w.ComboControlOf(IDC_VALUE_COMBO).Entries();
        result.edit = w.GetItemText(IDC_VALUE_EDIT);
        w.UserClick(platform::kIdCancel);
    });
    platform::SetBackend(&backend);
    {
        StartUp startUp;
        platform::RunApplication();
    }
    platform::SetBackend(nullptr);
    result.map = folder.ReadMap();
    return result;
}

Result PlayQt(const std::vector<Step>& steps) {
    MapFolder folder;
    Result result;
    const QtRunOutcome outcome = RunEditor([&](User& user) {
        for (const Step& step : steps) {
            switch (step.kind) {
                case Step::Select:
                    user.Select(step.text);
                    break;
                case Step::Type:
                    user.Type(step.text);
                    break;
                case Step::Choose:
                    user.Choose(step.entry);
                    break;
                case Step::Check:
                    user.Click(user.ShowAll());
                    break;
                case Step::Update:
                    user.Click(user.Update());
                    break;
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

struct Scenario {
    const char* what;
    std::vector<Step> steps;
    const char* path;  // an item to look at afterwards
    const char* text;  // what it must read
};

TEST(QtScenarios, RealWidgetsLeaveTheSameTreeAndMapAsTheInMemoryControls) {
    const Scenario scenarios[] = {
        {"Max ammo keeps 16 bits",
         {SelectItem("1.17"), TypeText("40000"), kUpdate},
         "1.17",
         "Max ammo: -25536"},
        {"Zoom 1 rounds to a float",
         {SelectItem("1.20"), TypeText("0.1"), kUpdate},
         "1.20",
         "Zoom 1: 0.100000"},
        {"text after the number",
         {SelectItem("1.19"), TypeText("12abc"), kUpdate},
         "1.19",
         "Projectiles per shot: 12"},
        {"unknown long -1",
         {SelectItem("1.14.0"), TypeText("-1"), kUpdate},
         "1.14.0",
         "Unknown 0: -1"},
        {"unknown float in the second block",
         {SelectItem("1.15.20"), TypeText("2.5"), kUpdate},
         "1.15.20",
         "Unknown 20: 2.500000"},
        {"a reference to the third entry of its class",
         {SelectItem("1.7.1"), ChooseEntry(2), kUpdate},
         "1.7.1",
         nullptr},
        {"a reference to no tag under show all",
         {SelectItem("4.7.0"), kCheck, ChooseEntry(kSearchedRowCount), kUpdate},
         "4.7.0",
         "NULL"},
        {"two weapons, and Update on a weapon item",
         {SelectItem("4.18"), TypeText("7"), kUpdate, SelectItem("0.13.3"), TypeText("-2"), kUpdate,
          SelectItem("3"), kUpdate},
         "0.13.3",
         "Unknown 3: -2"},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        const Result memory = PlayHeadless(s.steps);
        const Result widgets = PlayQt(s.steps);
        EXPECT_EQ(widgets.messages, memory.messages);
        EXPECT_EQ(widgets.entries, memory.entries);
        EXPECT_EQ(widgets.edit, memory.edit);
        EXPECT_TRUE(widgets.tree == memory.tree);
        EXPECT_EQ(testing_support::DiffRanges(memory.map, widgets.map),
                  std::vector<testing_support::ByteRange>{});
        // Both could be wrong the same way: the item reads as the program's formats say.
        if (s.text != nullptr) {
            EXPECT_NE(widgets.tree.find(s.text), std::string::npos) << s.text;
        }
    }
}

// The bytes themselves, once, for the end-to-end request: "Max ammo" of the Pistol set to 24
// is the two bytes 18 00 at offset 8 of the weapon's second block.
TEST(QtScenarios, MaxAmmoTwentyFourWritesItsTwoBytes) {
    const Result memory = PlayQt({SelectItem("1.17"), TypeText("24"), kUpdate});
    MapFolder fresh;
    const Bytes before = fresh.ReadMap();
    const WeaponStruct pistol(kWeaponList[1].metaOffset);
    const std::uint64_t at = pistol.GetBlockPointer() - ADDRESS_MAGIC + 0x008;
    Bytes expected = before;
    expected[at] = 0x18;
    expected[at + 1] = 0x00;
    EXPECT_EQ(testing_support::DiffRanges(expected, memory.map),
              std::vector<testing_support::ByteRange>{});
    EXPECT_NE(memory.tree.find("  Max ammo: 24\n"), std::string::npos);
}

}  // namespace
