#include "tools/map_tool_commands.h"

#include <ostream>

#include "tools/catalogue_extract.h"
#include "tools/map_check.h"
#include "weapon/map_file.h"

namespace tools {

int RunCheck(std::ostream& out) {
    return PrintCheckReport(CheckMap(kMapFileName), kMapFileName, out);
}

int RunCatalogue(const std::string& mapPath, std::ostream& out, std::ostream& err) {
    MapReader reader;
    const Status opened = reader.Open(mapPath);
    if (!opened) {
        err << "torvex-cli: cannot read " << mapPath << ": " << opened.Error() << '\n';
        return 2;
    }
    const Result<std::vector<std::string>> paths = ExtractCatalogue(reader);
    if (reader.Failed()) {
        err << "torvex-cli: cannot read " << mapPath << ": a read failed\n";
        return 2;
    }
    if (!paths) {
        // "rule: detail"
        const std::size_t split = paths.Error().find(": ");
        err << "torvex-cli: " << mapPath << " breaks the catalogue rule \""
            << paths.Error().substr(0, split) << "\": " << paths.Error().substr(split + 2) << '\n';
        return 1;
    }
    for (const std::string& path : *paths) {
        out << path << '\n';
    }
    return 0;
}

}  // namespace tools
