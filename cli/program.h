#pragma once

#include <functional>

#include "app/editor_app.h"
#include "platform/headless/headless_backend.h"

namespace cli {

// The program's start-up objects, built by static construction before main, as the editor's
// own programs build them.
StartUp& Program();

// Runs the application on the headless backend; the driver acts as the user. Message boxes
// print "message <text>" on stdout. A start-up failure ends the process with its status.
void RunEditor(const platform::headless::HeadlessBackend::Driver& driver);

}  // namespace cli
