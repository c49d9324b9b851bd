#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

// User actions on the headless dialog, one a line, as torvex-cli session reads them.
namespace cli {

class Session {
  public:
    Session(platform::headless::HeadlessWindow& window, std::ostream& out, std::ostream& err)
        : window_(window), out_(out), err_(err) {}

    // Performs one action line. A malformed action, or one that names no item or entry, is
    // reported on err and changes nothing.
    void Perform(const std::string& rawLine);
    int Errors() const { return errors_; }
    bool Ended() const { return window_.Ended(); }

  private:
    bool Fail(const std::string& what);
    platform::TreeItem ItemAt(const std::string& path, bool report);

    platform::headless::HeadlessWindow& window_;
    std::ostream& out_;
    std::ostream& err_;
    int errors_ = 0;
};

// A whole text that is a decimal number, and nothing else.
bool ParseNumber(const std::string& text, int& value);

// Dot-separated 0-based positions from the root ("1.17"); empty when malformed.
std::vector<int> ParseItemPath(const std::string& path);

// One line per item, depth first in tree order, two blanks of indent per level.
void PrintTree(const platform::headless::HeadlessTree& tree, std::ostream& out);

// Four lines: entries N, selected I TEXT, edit TEXT, check 0|1.
void PrintPanel(platform::headless::HeadlessWindow& window, std::ostream& out);

}  // namespace cli
