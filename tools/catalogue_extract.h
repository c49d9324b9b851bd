#pragma once

#include <string>
#include <vector>

#include "core/result.h"
#include "tools/map_reader.h"

namespace tools {

// The path list of a map's own header and tag index, one path a line, checked by the
// catalogue's rules; a failure reads "rule: detail", naming the first rule the map breaks.
Result<std::vector<std::string>> ExtractCatalogue(MapReader& reader);

}  // namespace tools
