#include "cli/program.h"

#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/messages.h"
#include "platform/win_app.h"
#include "tools/map_check.h"
#include "weapon/map_file.h"

namespace cli {

void RunEditor(const platform::headless::HeadlessBackend::Driver& driver) {
    platform::headless::HeadlessBackend backend("torvex-cli");
    backend.SetMessageSink([](const std::string&, const std::string& text) {
        std::cout << "message " << text << std::endl;
    });
    // The editor has opened the map by now, so it is there and writable; but on a map too short
    // for the weapons it would show zeros and write nothing, and say nothing of it.
    backend.SetDriver([&driver](platform::headless::HeadlessWindow& window) {
        if (const Status inside = tools::WeaponsInFile(kMapFileName); !inside) {
            platform::CurrentBackend().ExitProcess(
                message::Refuse(std::cerr, message::MapCutShort(kMapFileName, inside.Error()), 1));
            return;
        }
        driver(window);
    });
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
