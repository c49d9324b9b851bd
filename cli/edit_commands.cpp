#include "cli/edit_commands.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "app/editor_dialog.h"
#include "catalogue/supported_map.h"
#include "cli/messages.h"
#include "cli/program.h"
#include "cli/session.h"
#include "core/result.h"
#include "editor/item_text.h"
#include "res/resource.h"

namespace cli {

using namespace std::string_literals;
using platform::TreeItem;
using platform::headless::HeadlessTree;
using platform::headless::HeadlessWindow;

namespace {

TreeItem At(const HeadlessTree& tree, const std::string& path) {
    return tree.ItemAtPath(ParseItemPath(path));
}

// The path ("1.17") of the child of the item at `parentPath` ("": the root) whose text passes
// the test, or "".
template <class Test>
std::string ChildPath(const HeadlessTree& tree, const std::string& parentPath, Test test) {
    const std::vector<TreeItem> children = tree.Children(At(tree, parentPath));
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (test(tree.GetItemText(children[i]))) {
            return (parentPath.empty() ? "" : parentPath + ".") + std::to_string(i);
        }
    }
    return "";
}

std::string ChildPathByText(const HeadlessTree& tree, const std::string& parentPath,
                            const std::string& text) {
    return ChildPath(tree, parentPath, [&](const std::string& child) { return child == text; });
}

// The path of the child that the editor reads as the field, or "".
std::string FieldPath(const HeadlessTree& tree, const std::string& parentPath, FieldRef field) {
    const std::string parentText = tree.GetItemText(At(tree, parentPath));
    return ChildPath(tree, parentPath, [&](const std::string& text) {
        return FieldOfItem(text, parentText) == field;
    });
}

// The item a set request names.
Result<std::string> ValueItemPath(const HeadlessTree& tree, const SetRequest& request) {
    const std::string weaponPath = ChildPathByText(tree, "", request.weapon);
    if (weaponPath.empty()) {
        return Failure{message::NoWeapon(request.weapon)};
    }
    for (const NamedField& named : NamedFields()) {
        if (request.label == named.label) {
            if (request.index >= 0) {
                return Failure{message::TakesNoIndex(request.label)};
            }
            return FieldPath(tree, weaponPath, named.field);
        }
    }
    std::string categories;
    for (const UnnamedCategory& category : kUnnamedCategories) {
        categories += (categories.empty() ? "" : ", ") + std::string(category.text);
        if (request.label == category.text) {
            if (request.index < 0) {
                return Failure{message::NeedsIndex(request.label)};
            }
            const std::string itemPath =
                FieldPath(tree, ChildPathByText(tree, weaponPath, request.label),
                          {category.kind, request.index});
            if (itemPath.empty()) {
                return Failure{message::NoValue(request.index, request.label, request.weapon)};
            }
            return itemPath;
        }
    }
    return Failure{message::UnknownLabel(request.label, categories)};
}

// The reference item a ref request names.
Result<std::string> ReferenceItemPath(const HeadlessTree& tree, const RefRequest& request) {
    const std::string weaponPath = ChildPathByText(tree, "", request.weapon);
    if (weaponPath.empty()) {
        return Failure{message::NoWeapon(request.weapon)};
    }
    const std::string categoryPath = ChildPathByText(tree, weaponPath, request.category);
    if (categoryPath.empty()) {
        return Failure{message::NoGroup(request.category, request.weapon)};
    }
    for (const UnnamedCategory& category : kUnnamedCategories) {
        if (request.category == category.text) {
            return Failure{message::NotReferences(request.category, request.weapon)};
        }
    }
    const std::string path = categoryPath + "." + std::to_string(request.position);
    if (request.position < 0 || At(tree, path) == platform::kNoTreeItem) {
        return Failure{message::NoReference(request.position, request.category, request.weapon)};
    }
    return path;
}

int FindEntry(HeadlessWindow& window, const std::string& prefix) {
    const std::vector<std::string>& entries = window.ComboControlOf(IDC_VALUE_COMBO).Entries();
    const auto found = std::ranges::find_if(
        entries, [&](const std::string& entry) { return entry.starts_with(prefix); });
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

// A request that names nothing the tree shows: status 2.
int Refuse(const Status& status) {
    return message::Refuse(std::cerr, status.Error(), 2);
}

// Runs the editor and hands the dialog to a script. Exit status 2 when the request names
// nothing the tree shows, or an action of the script fails.
int RunScript(const std::function<Status(HeadlessWindow&, Session&)>& script) {
    Status status;
    int actionErrors = 0;
    RunEditor([&](HeadlessWindow& window) {
        Session session(window, std::cout, std::cerr);
        status = script(window, session);
        actionErrors = session.Errors();
        session.Perform("exit");
    });
    return status ? (actionErrors == 0 ? 0 : 2) : Refuse(status);
}

}  // namespace

int RunSet(const SetRequest& request) {
    // The window keeps the first characters of a longer text; a script that asks for more gets
    // a clear refusal rather than another number than it asked for.
    constexpr auto kMost = static_cast<std::size_t>(kValueMaxChars);
    if (request.value.size() > kMost) {
        return Refuse(Failure{message::ValueTooLong(request.value, kMost)});
    }
    return RunScript([&](HeadlessWindow& window, Session& session) -> Status {
        const Result<std::string> path =
            ValueItemPath(window.TreeControlOf(IDC_WEAPON_TREE), request);
        if (!path) {
            return Failure{path.Error()};
        }
        for (const std::string& action :
             {"select " + *path, "type " + request.value, "update"s, "item " + *path}) {
            session.Perform(action);
        }
        return {};
    });
}

int RunRef(const RefRequest& request) {
    return RunScript([&](HeadlessWindow& window, Session& session) -> Status {
        const Result<std::string> path =
            ReferenceItemPath(window.TreeControlOf(IDC_WEAPON_TREE), request);
        if (!path) {
            return Failure{path.Error()};
        }
        session.Perform("select " + *path);
        const std::string prefix = std::to_string(request.row) + ":";
        int entry = FindEntry(window, prefix);
        if (entry < 0 && window.GetCheck(IDC_SHOW_ALL_CHECK) == 0) {
            session.Perform("check");  // the row is of another class: offer all rows
            entry = FindEntry(window, prefix);
        }
        if (entry < 0) {
            // Show all offers every row but the last, and -1 for no tag.
            return Failure{message::NoRow(request.row, kSearchedRowCount - 1)};
        }
        for (const std::string& action :
             {"choose " + std::to_string(entry), "update"s, "item " + *path}) {
            session.Perform(action);
        }
        return {};
    });
}

}  // namespace cli
