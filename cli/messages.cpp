#include "cli/messages.h"

#include <ostream>

namespace cli::message {

namespace {

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace

std::string NoCommand(const std::string& word) {
    if (word.empty()) {
        return std::string("a command is required; ") + kProgram + " --help lists them";
    }
    return Quoted(word) + (word.starts_with('-') ? " is no option" : " is no command") + "; " +
           kProgram + " --help lists them";
}

std::string NotANumber(const std::string& argument, const std::string& text) {
    return argument + " " + Quoted(text) + " is not a whole number";
}

std::string TooManyArguments(const std::string& command, const std::string& usage,
                             const std::string& extra) {
    return command + " takes " + usage + "; " + Quoted(extra) + " is one argument too many";
}

std::string CommandLine(const std::string& command, const std::string& fault) {
    return (command.empty() ? "" : command + ": ") + fault + "; " + kProgram +
           (command.empty() ? "" : " " + command) + " --help tells more";
}

std::string MapCutShort(const std::string& path, const std::string& where) {
    return path + " does not hold the weapons: " + where + "; it is cut short or not the map " +
           "this build supports, and " + kProgram + " check tells which";
}

std::string MapReadOnly(const std::string& path) {
    return path + " is read-only, so it is left as it is; make it writable or choose another path";
}

std::string NoWeapon(const std::string& weapon) {
    return "no weapon " + Quoted(weapon) + " in the tree";
}

std::string TakesNoIndex(const std::string& label) {
    return Quoted(label) + " takes no index";
}

std::string NeedsIndex(const std::string& label) {
    return Quoted(label) + " needs an index";
}

std::string NoValue(int index, const std::string& category, const std::string& weapon) {
    return "no value " + std::to_string(index) + " under " + Quoted(category) + " of " +
           Quoted(weapon);
}

std::string UnknownLabel(const std::string& label, const std::string& categories) {
    return "unknown label " + Quoted(label) + "; use a named value's label or " + categories;
}

std::string NoGroup(const std::string& group, const std::string& weapon) {
    return "no group " + Quoted(group) + " under " + Quoted(weapon);
}

std::string NotReferences(const std::string& group, const std::string& weapon) {
    return Quoted(group) + " of " + Quoted(weapon) + " holds values, not references; set " +
           "changes them";
}

std::string NoReference(int position, const std::string& group, const std::string& weapon) {
    return "no reference " + std::to_string(position) + " under " + Quoted(group) + " of " +
           Quoted(weapon);
}

std::string NoRow(int row, int lastRow) {
    std::string text = "the list offers no row ";
    text += std::to_string(row);
    text += "; it offers rows 0 to ";
    text += std::to_string(lastRow);
    return text + " and -1 for no tag";
}

std::string ValueTooLong(const std::string& value, std::size_t most) {
    return "the value " + Quoted(value) + " is longer than the " + std::to_string(most) +
           " characters the edit box takes; the window would keep only " +
           Quoted(value.substr(0, most));
}

std::string NoItem(const std::string& path) {
    return "no item at path " + Quoted(path);
}

std::string NoEntry(const std::string& entry) {
    return "no entry " + entry + " in the list";
}

std::string NeedsEntryNumber() {
    return "'choose' needs an entry number";
}

std::string TakesNoArgument(const std::string& verb) {
    return Quoted(verb) + " takes no argument";
}

std::string UnknownAction(const std::string& line) {
    return "unknown action " + Quoted(line);
}

int Refuse(std::ostream& err, const std::string& text, int status) {
    err << kProgram << ": " << text << '\n';
    return status;
}

}  // namespace cli::message
