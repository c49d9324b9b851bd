#pragma once

#include <functional>

#include "platform/headless/headless_backend.h"

namespace cli {

// Runs the application on the headless backend; the driver acts as the user. Message boxes
// print "message <text>" on stdout. A start-up failure ends the process with its status.
void RunEditor(const platform::headless::HeadlessBackend::Driver& driver);

}  // namespace cli
