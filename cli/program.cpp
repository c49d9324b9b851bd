#include "cli/program.h"

#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

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

void WriteOutputAsBytes() {
#ifdef _WIN32
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace cli
