#pragma once

#include <functional>

#include "platform/headless/headless_backend.h"

namespace cli {

// Runs the application on the headless backend; the driver acts as the user. Message boxes
// print "message <text>" on stdout. A start-up failure ends the process with its status, as does
// a map too short to hold the weapons, status 1.
void RunEditor(const platform::headless::HeadlessBackend::Driver& driver);

// Makes standard output write its bytes as they are, for output that is a file format of its
// own: Windows would otherwise end its lines in a carriage return and a line feed.
void WriteOutputAsBytes();

}  // namespace cli
