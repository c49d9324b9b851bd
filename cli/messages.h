#pragma once

#include <iosfwd>
#include <string>

// Every text torvex-cli says of its own accord, the editor's message boxes aside: each names its
// subject (the file, the argument, the group) and its reason, and where the user can do something,
// what. They read as one voice because they are written in one place.
namespace cli::message {

// The command line.
std::string NoCommand(const std::string& word);  // "": none given
std::string NotANumber(const std::string& argument, const std::string& text);
std::string TooManyArguments(const std::string& command, const std::string& usage,
                             const std::string& extra);
std::string CommandLine(const std::string& command, const std::string& fault);

// The map.
std::string MapCutShort(const std::string& path, const std::string& where);
std::string MapReadOnly(const std::string& path);

// What a set or ref request names.
std::string NoWeapon(const std::string& weapon);
std::string TakesNoIndex(const std::string& label);
std::string NeedsIndex(const std::string& label);
std::string NoValue(int index, const std::string& category, const std::string& weapon);
std::string UnknownLabel(const std::string& label, const std::string& categories);
std::string NoGroup(const std::string& group, const std::string& weapon);
std::string NotReferences(const std::string& group, const std::string& weapon);
std::string NoReference(int position, const std::string& group, const std::string& weapon);
std::string NoRow(int row, int lastRow);
std::string ValueTooLong(const std::string& value, std::size_t most);

// Session actions.
std::string NoItem(const std::string& path);
std::string NoEntry(const std::string& entry);
std::string NeedsEntryNumber();
std::string TakesNoArgument(const std::string& verb);
std::string UnknownAction(const std::string& line);

// Prints "torvex-cli: TEXT" on err and gives the status back, the one way the commands refuse.
int Refuse(std::ostream& err, const std::string& text, int status);

}  // namespace cli::message
