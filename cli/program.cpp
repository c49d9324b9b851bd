#include "cli/program.h"

#include <iostream>

#include "platform/win_app.h"

namespace cli {

void RunEditor(const platform::headless::HeadlessBackend::Driver& driver) {
    platform::headless::HeadlessBackend backend("torvex-cli");
    backend.SetMessageSink([](const std::string&, const std::string& text) {
        std::cout << "message " << text << std::endl;
    });
    backend.SetDriver(driver);
    platform::SetBackend(&backend);
    platform::RunApplication();
    platform::SetBackend(nullptr);
}

}  // namespace cli
