#pragma once

#include <string>

#include "core/result.h"
#include "mods/patch_fields.h"

namespace mods {

// A patch file's JSON, whichever way an editor or a shell saved it: UTF-8 with or without a
// byte-order mark, or UTF-16 of either order with one, lines ending in CR LF or LF. A failure
// names the file and what is wrong with it.
Result<Json> ReadJsonFile(const std::string& path);

}  // namespace mods
