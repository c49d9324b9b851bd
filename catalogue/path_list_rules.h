#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

// The rules a catalogue path list keeps, one path a line in row order: the tag's name as the map
// holds it, a full stop and its class code. The editor finds weapons by row and writes names at
// fixed file offsets, so a list that is merely plausible is not enough: its classes, weapon rows
// and packed name offsets must agree with the supported map (catalogue/supported_map.h).
//
// The rules, in the order they are tried: row-count, path-syntax, characters, class-counts,
// fixed-rows, weapons, name-packing, name-lengths, unique. A list that breaks one fails with
// "rule: detail" for the first broken rule, its first problem.
Status CheckPathList(const std::vector<std::string>& paths);

// The list a file holds, when it keeps the rules: first plain ASCII ("encoding") and every line,
// the last one too, ending in a bare line feed ("line-ends"), then the rules above.
Result<std::vector<std::string>> ReadPathList(std::string_view text);

// A path's name (before its last full stop) and class code (after it; "" without one).
std::string_view NameOfPath(std::string_view path);
std::string_view ClassOfPath(std::string_view path);
