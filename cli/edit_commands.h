#pragma once

#include <string>

// The everyday edits, each a short script of the user's actions on the dialog.
namespace cli {

struct SetRequest {
    std::string weapon;
    std::string label;  // a named value's label, or an unnamed category's text
    int index = -1;     // the unnamed value's index; -1 for a named value
    std::string value;
};

struct RefRequest {
    std::string weapon;
    std::string category;  // the category item's text, such as "Models"
    int position = 0;      // which reference under it, from 0
    int row = -1;          // catalogue row; -1 for no tag
};

// Exit statuses: 0 done, 2 when the request names nothing the tree shows.
int RunSet(const SetRequest& request);
int RunRef(const RefRequest& request);

}  // namespace cli
