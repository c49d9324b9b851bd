#include "catalogue/tag_catalogue.h"

#include <algorithm>

#include "catalogue/path_list_rules.h"
#include "catalogue_rows.inc"

// Identifiers carry their row in the low half and are unique (the identifier rule), so
// the first searched row with a given identifier is the one its low half names.
int FindRowById(std::uint32_t identifier) {
    const int row = static_cast<int>(identifier & 0xFFFFu);
    return row < kSearchedRowCount && kTagIdentifiers[row] == identifier ? row : -1;
}

// Names are packed in row order, so their offsets strictly ascend.
int FindRowByNameOffset(std::uint32_t fileOffset) {
    const std::uint32_t* last = kTagNameOffsets + kSearchedRowCount;
    const std::uint32_t* it = std::lower_bound(kTagNameOffsets, last, fileOffset);
    return it != last && *it == fileOffset ? static_cast<int>(it - kTagNameOffsets) : -1;
}

std::string PathForId(std::uint32_t identifier) {
    const int row = FindRowById(identifier);
    return identifier == kNoTag ? "NULL" : row < 0 ? "Unknown Path" : kTagPaths[row];
}

std::string_view TagNameOfRow(int row) {
    return NameOfPath(kTagPaths[row]);
}

std::string_view ClassOfRow(int row) {
    return ClassOfPath(kTagPaths[row]);
}

std::uint32_t NamePointerOfRow(int row) {
    return kTagNameOffsets[row] + ADDRESS_MAGIC;
}
