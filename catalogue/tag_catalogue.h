#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/supported_map.h"

// The compiled-in description of every tag of the supported map, compiled from the path list by
// gen_catalogue_rows. The program never reads the map's own tag index: identifiers, paths and
// file positions all come from here.

extern const std::uint32_t kTagIdentifiers[kTagCount];
extern const char* const kTagPaths[kTagCount];
extern const std::uint32_t kTagNameOffsets[kTagCount + 1];
extern const std::uint32_t kTagMetaPointers[kTagCount];
extern const std::uint32_t kTagMetaOffsets[kTagCount - 1];

// Row of a searched row's identifier, or -1.
int FindRowById(std::uint32_t identifier);

// Row of the searched row whose name starts exactly at this file offset, or -1.
int FindRowByNameOffset(std::uint32_t fileOffset);

// "NULL" for no tag, the row's path, or "Unknown Path".
std::string PathForId(std::uint32_t identifier);

// A row's path split at its last full stop: the tag's name as the map holds it, and its class.
std::string_view TagNameOfRow(int row);
std::string_view ClassOfRow(int row);

// The name pointer the map stores for a row's name.
std::uint32_t NamePointerOfRow(int row);
