#include "cli/messages.h"

#include "core/program_voice.h"

namespace cli::message {

std::string NoCommand(const std::string& word) {
    if (word.empty()) {
        return std::string("a command is required; ") + kCliProgram + " --help lists them";
    }
    return Given(word) + (word.starts_with('-') ? " is no option" : " is no command") + "; " +
           kCliProgram + " --help lists them";
}

std::string NotANumber(const std::string& argument, const std::string& text) {
    return argument + " " + Given(text) + " is not a whole number";
}

std::string TooManyArguments(const std::string& command, const std::string& usage,
                             const std::string& extra) {
    return command + " takes " + usage + "; " + Given(extra) + " is one argument too many";
}

std::string CommandLine(const std::string& command, const std::string& fault) {
    return (command.empty() ? "" : command + ": ") + fault + "; " + kCliProgram +
           (command.empty() ? "" : " " + command) + " --help tells more";
}

std::string MapCutShort(const std::string& path, const std::string& where) {
    return path + " does not hold the weapons: " + where + "; it is cut short or not the map " +
           "this build supports, and " + kCliProgram + " check tells which";
}

std::string MapReadOnly(const std::string& path) {
    return path + " is read-only, so it is left as it is; make it writable or choose another path";
}

std::string NoWeapon(const std::string& weapon) {
    return "no weapon " + Given(weapon) + " in the tree";
}

std::string TakesNoIndex(const std::string& label) {
    return Given(label) + " takes no index";
}

std::string NeedsIndex(const std::string& label) {
    return Given(label) + " needs an index";
}

std::string NoValue(int index, const std::string& category, const std::string& weapon) {
    return "no value " + std::to_string(index) + " under " + Given(category) + " of " +
           Given(weapon);
}

std::string UnknownLabel(const std::string& label, const std::string& categories) {
    return "unknown label " + Given(label) + "; use a named value's label or " + categories;
}

std::string NoGroup(const std::string& group, const std::string& weapon) {
    return "no group " + Given(group) + " under " + Given(weapon);
}

std::string NotReferences(const std::string& group, const std::string& weapon) {
    return Given(group) + " of " + Given(weapon) + " holds values, not references; set " +
           "changes them";
}

std::string NoReference(int position, const std::string& group, const std::string& weapon) {
    return "no reference " + std::to_string(position) + " under " + Given(group) + " of " +
           Given(weapon);
}

std::string NoRow(int row, int lastRow) {
    std::string text = "the list offers no row ";
    text += std::to_string(row);
    text += "; it offers rows 0 to ";
    text += std::to_string(lastRow);
    return text + " and -1 for no tag";
}

std::string ValueTooLong(const std::string& value, std::size_t most) {
    return "the value " + Given(value) + " is longer than the " + std::to_string(most) +
           " characters the edit box takes; the window would keep only " +
           Given(value.substr(0, most));
}

std::string NoItem(const std::string& path) {
    return "no item at path " + Given(path);
}

std::string NoEntry(const std::string& entry) {
    return "no entry " + entry + " in the list";
}

std::string NeedsEntryNumber() {
    return "'choose' needs an entry number";
}

std::string TakesNoArgument(const std::string& verb) {
    return Given(verb) + " takes no argument";
}

std::string UnknownAction(const std::string& line) {
    return "unknown action " + Given(line);
}

int Refuse(std::ostream& err, const std::string& text, int status) {
    PrintAsProgram(err, text);
    return status;
}

}  // namespace cli::message
