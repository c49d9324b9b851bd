#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The compiled-in description of every tag of the supported map. The program never reads the
// map's own tag index: identifiers, paths and file positions all come from here.

inline constexpr std::uint32_t ADDRESS_MAGIC = 0x7E06AA00u;

inline constexpr int kTagCount = 1806;
// Searches stop one row short of the end: the last row is held but never matched or listed.
inline constexpr int kSearchedRowCount = 1805;
inline constexpr std::uint32_t kNoTag = 0xFFFFFFFFu;

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
