#include "cli/session.h"

#include <charconv>
#include <ostream>

#include "cli/messages.h"
#include "res/resource.h"

namespace cli {

using platform::TreeItem;
using platform::headless::HeadlessTree;
using platform::headless::HeadlessWindow;

namespace {

void PrintSubtree(const HeadlessTree& tree, TreeItem item, int depth, std::ostream& out) {
    for (TreeItem child : tree.Children(item)) {
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << tree.GetItemText(child)
            << '\n';
        PrintSubtree(tree, child, depth + 1, out);
    }
}

}  // namespace

bool ParseNumber(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

std::vector<int> ParseItemPath(const std::string& path) {
    std::vector<int> positions;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = path.find('.', start);
        int position = 0;
        const std::string part = path.substr(start, dot == std::string::npos ? dot : dot - start);
        if (!ParseNumber(part, position) || position < 0) {
            return {};
        }
        positions.push_back(position);
        if (dot == std::string::npos) {
            return positions;
        }
        start = dot + 1;
    }
}

void PrintTree(const HeadlessTree& tree, std::ostream& out) {
    PrintSubtree(tree, platform::kNoTreeItem, 0, out);
}

void PrintPanel(HeadlessWindow& window, std::ostream& out) {
    const auto& combo = window.ComboControlOf(IDC_VALUE_COMBO);
    const int selected = combo.GetCurSel();
    out << "entries " << combo.GetCount() << '\n';
    out << "selected " << selected << ' ' << (selected >= 0 ? combo.GetLBText(selected) : "")
        << '\n';
    out << "edit " << window.GetItemText(IDC_VALUE_EDIT) << '\n';
    out << "check " << (window.GetCheck(IDC_SHOW_ALL_CHECK) ? 1 : 0) << '\n';
}

bool Session::Fail(const std::string& what) {
    err_ << "error " << what << '\n';
    ++errors_;
    return false;
}

TreeItem Session::ItemAt(const std::string& path, bool report) {
    const std::vector<int> positions = ParseItemPath(path);
    const TreeItem item = positions.empty()
                              ? platform::kNoTreeItem
                              : window_.TreeControlOf(IDC_WEAPON_TREE).ItemAtPath(positions);
    if (item == platform::kNoTreeItem && report) {
        Fail(message::NoItem(path));
    }
    return item;
}

void Session::Perform(const std::string& rawLine) {
    // Blank lines are no action. Trailing blanks are dropped, except from typed text, which the
    // edit box takes as it stands.
    if (rawLine.find_first_not_of(" \t") == std::string::npos) {
        return;
    }
    std::string line = rawLine;
    if (!line.starts_with("type ")) {
        line.erase(line.find_last_not_of(" \t") + 1);
    }
    const std::size_t blank = line.find(' ');
    const std::string verb = line.substr(0, blank);
    const bool hasArgument = blank != std::string::npos;
    const std::string rest = hasArgument ? line.substr(blank + 1) : std::string();
    HeadlessTree& tree = window_.TreeControlOf(IDC_WEAPON_TREE);

    // Actions that take an argument.
    if (verb == "select" || verb == "item") {
        if (const TreeItem item = ItemAt(rest, true)) {
            if (verb == "select") {
                window_.UserSelectItem(item);
            } else {
                out_ << tree.GetItemText(item) << '\n';
            }
        }
        return;
    }
    if (verb == "choose") {
        int index = 0;
        if (!ParseNumber(rest, index)) {
            Fail(message::NeedsEntryNumber());
        } else if (!window_.UserChooseEntry(IDC_VALUE_COMBO, index)) {
            Fail(message::NoEntry(rest));
        }
        return;
    }
    if (verb == "type") {
        window_.UserType(IDC_VALUE_EDIT, rest);
        return;
    }

    // Actions without one.
    struct Plain {
        const char* verb;
        void (*run)(HeadlessWindow&, std::ostream&);
    };
    static constexpr Plain kPlain[] = {
        {"check", [](HeadlessWindow& w, std::ostream&) { w.UserClick(IDC_SHOW_ALL_CHECK); }},
        {"update", [](HeadlessWindow& w, std::ostream&) { w.UserClick(IDC_UPDATE_BUTTON); }},
        {"exit", [](HeadlessWindow& w, std::ostream&) { w.UserClick(platform::kIdCancel); }},
        {"escape", [](HeadlessWindow& w, std::ostream&) { w.UserPressEscape(); }},
        {"enter", [](HeadlessWindow& w, std::ostream&) { w.UserPressEnter(); }},
        {"close", [](HeadlessWindow& w, std::ostream&) { w.UserClose(); }},
        {"tree", [](HeadlessWindow& w,
                    std::ostream& out) { PrintTree(w.TreeControlOf(IDC_WEAPON_TREE), out); }},
        {"entries",
         [](HeadlessWindow& w, std::ostream& out) {
             for (const std::string& entry : w.ComboControlOf(IDC_VALUE_COMBO).Entries()) {
                 out << entry << '\n';
             }
         }},
        {"panel", [](HeadlessWindow& w, std::ostream& out) { PrintPanel(w, out); }},
    };
    for (const Plain& action : kPlain) {
        if (verb == action.verb) {
            if (hasArgument) {
                Fail(message::TakesNoArgument(verb));
            } else {
                action.run(window_, out_);
            }
            return;
        }
    }
    Fail(message::UnknownAction(line));
}

}  // namespace cli
