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
    const Extraction extraction =
        CheckPathRules(ExtractCatalogue(mapPath), TORVEX_PYTHON, TORVEX_PATH_RULES_SCRIPT);
    if (!extraction.readable) {
        err << "torvex-cli: " << extraction.detail << '\n';
        return 2;
    }
    if (!extraction.ok) {
        err << "torvex-cli: " << mapPath << " breaks the catalogue rule \"" << extraction.rule
            << "\": " << extraction.detail << '\n';
        return 1;
    }
    WritePathList(extraction.paths, out);
    return 0;
}

}  // namespace tools
