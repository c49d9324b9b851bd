#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace testing_support {

using platform::headless::HeadlessWindow;

// Runs the whole program in the working directory, in-process: static start-up (the fifteen
// records read the map), the application object, the modal dialog. `user` acts on the open
// dialog as the user does; message boxes are answered OK, and their texts returned in order.
// A map it cannot open ends the test's process, as it ends the program's.
std::vector<std::string> RunEditor(const std::function<void(HeadlessWindow&)>& user);

// Helpers for the user's side of a scenario. Paths are dot-separated child positions.
std::string TextAt(HeadlessWindow& window, const std::string& path);
void Select(HeadlessWindow& window, const std::string& path);

}  // namespace testing_support
