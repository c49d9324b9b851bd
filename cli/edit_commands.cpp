#include "cli/edit_commands.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "cli/program.h"
#include "cli/session.h"
#include "editor/item_text.h"
#include "res/resource.h"

namespace cli {

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

int Error(const std::string& what) {
    std::cerr << "torvex-cli: " << what << '\n';
    return 2;
}

// The item a set request names, or "" after reporting why there is none.
std::string ValueItemPath(const HeadlessTree& tree, const SetRequest& request) {
    const std::string weaponPath = ChildPathByText(tree, "", request.weapon);
    if (weaponPath.empty()) {
        Error("no weapon '" + request.weapon + "' in the tree");
        return "";
    }
    for (const NamedField& named : NamedFields()) {
        if (request.label == named.label) {
            if (request.index >= 0) {
                Error("'" + request.label + "' takes no index");
                return "";
            }
            return FieldPath(tree, weaponPath, named.field);
        }
    }
    std::string categories;
    for (const UnnamedCategory& category : kUnnamedCategories) {
        categories += (categories.empty() ? "" : ", ") + std::string(category.text);
        if (request.label == category.text) {
            if (request.index < 0) {
                Error("'" + request.label + "' needs an index");
                return "";
            }
            const std::string itemPath =
                FieldPath(tree, ChildPathByText(tree, weaponPath, request.label),
                          {category.kind, request.index});
            if (itemPath.empty()) {
                Error("no value " + std::to_string(request.index) + " under '" + request.label +
                      "'");
            }
            return itemPath;
        }
    }
    Error("unknown label '" + request.label + "'; use a named value's label or " + categories);
    return "";
}

int FindEntry(HeadlessWindow& window, const std::string& prefix) {
    const std::vector<std::string>& entries = window.ComboControlOf(IDC_VALUE_COMBO).Entries();
    const auto found = std::ranges::find_if(
        entries, [&](const std::string& entry) { return entry.starts_with(prefix); });
    return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

// Runs the editor and hands the dialog to a script; returns the script's status.
int RunScript(const std::function<int(HeadlessWindow&, Session&)>& script) {
    int status = 0;
    RunEditor([&](HeadlessWindow& window) {
        Session session(window, std::cout, std::cerr);
        status = script(window, session);
        if (status == 0 && session.Errors() > 0) {
            status = 2;
        }
        session.Perform("exit");
    });
    return status;
}

}  // namespace

int RunSet(const SetRequest& request) {
    if (request.value.size() > 8) {
        return Error("the value '" + request.value +
                     "' is longer than the 8 characters the edit box takes");
    }
    return RunScript([&](HeadlessWindow& window, Session& session) {
        const std::string path = ValueItemPath(window.TreeControlOf(IDC_WEAPON_TREE), request);
        if (path.empty()) {
            return 2;
        }
        session.Perform("select " + path);
        session.Perform("type " + request.value);
        session.Perform("update");
        session.Perform("item " + path);
        return 0;
    });
}

int RunRef(const RefRequest& request) {
    return RunScript([&](HeadlessWindow& window, Session& session) {
        const HeadlessTree& tree = window.TreeControlOf(IDC_WEAPON_TREE);
        const std::string weaponPath = ChildPathByText(tree, "", request.weapon);
        if (weaponPath.empty()) {
            return Error("no weapon '" + request.weapon + "' in the tree");
        }
        const std::string categoryPath = ChildPathByText(tree, weaponPath, request.category);
        if (categoryPath.empty()) {
            return Error("no category '" + request.category + "' under '" + request.weapon + "'");
        }
        const std::string path = categoryPath + "." + std::to_string(request.position);
        if (request.position < 0 || At(tree, path) == platform::kNoTreeItem) {
            return Error("no reference " + std::to_string(request.position) + " under '" +
                         request.category + "' of '" + request.weapon + "'");
        }
        session.Perform("select " + path);
        const std::string prefix = std::to_string(request.row) + ":";
        int entry = FindEntry(window, prefix);
        if (entry < 0 && window.GetCheck(IDC_SHOW_ALL_CHECK) == 0) {
            session.Perform("check");  // the row is of another class: offer all rows
            entry = FindEntry(window, prefix);
        }
        if (entry < 0) {
            return Error("the list offers no row " + std::to_string(request.row));
        }
        session.Perform("choose " + std::to_string(entry));
        session.Perform("update");
        session.Perform("item " + path);
        return 0;
    });
}

}  // namespace cli
