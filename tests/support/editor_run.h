#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace testing_support {

using platform::headless::HeadlessWindow;

// What one run of the whole program showed besides its dialog.
struct RunOutcome {
    std::vector<std::string> messages;  // message box texts, in order
    std::vector<std::string> captions;
    int exitStatus = -1;  // -1: the process was not ended early
    bool dialogRan = false;
};

// Runs the whole program in the working directory, in-process: static start-up (the fifteen
// records read the map), the application object, the modal dialog. `user` acts on the open
// dialog as the user does; message boxes are answered OK.
RunOutcome RunEditor(const std::function<void(HeadlessWindow&)>& user);

// Helpers for the user's side of a scenario. Paths are dot-separated child positions.
std::string TextAt(HeadlessWindow& window, const std::string& path);
void Select(HeadlessWindow& window, const std::string& path);

}  // namespace testing_support
