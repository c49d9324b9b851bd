// Compile-time proof that the layout table is what the map holds: rows follow one another
// without overlap or hole, the blocks have their sizes, and the field totals match the record.
#include <iterator>

#include "weapon/weapon_layout.h"

namespace {

template <std::size_t N>
constexpr bool Contiguous(const LayoutRow (&rows)[N], std::size_t size) {
    std::size_t at = 0;
    for (const LayoutRow& row : rows) {
        if (row.offset != at || row.count == 0) {
            return false;
        }
        at += RowSize(row);
    }
    return at == size;
}

template <std::size_t N>
constexpr int Count(const LayoutRow (&rows)[N], FieldKind kind) {
    int total = 0;
    for (const LayoutRow& row : rows) {
        if (row.kind == kind) {
            total += kind == FieldKind::Gap ? 1 : row.count;
        }
    }
    return total;
}

constexpr int Both(FieldKind kind) {
    return Count(kMainBlock, kind) + Count(kSecondBlock, kind);
}

static_assert(Contiguous(kMainBlock, kMainBlockSize));
static_assert(Contiguous(kSecondBlock, kSecondBlockSize));
static_assert(Both(FieldKind::Gap) == 36);
static_assert(Both(FieldKind::TagRef) == 35);
static_assert(Both(FieldKind::UnknownLong) == 26);
static_assert(Both(FieldKind::UnknownShort) == 22);
static_assert(Both(FieldKind::UnknownFloat) == 36);
static_assert(Both(FieldKind::NamedShort) == 4);
static_assert(Both(FieldKind::NamedFloat) == 2);
static_assert(Count(kMainBlock, FieldKind::BlockPointer) == 1 &&
              Count(kSecondBlock, FieldKind::BlockPointer) == 0);
static_assert(FieldOffset(kMainBlock, std::size(kMainBlock), FieldKind::BlockPointer, 0) ==
              kBlockPointerOffset);
static_assert(Both(FieldKind::TagRef) + Both(FieldKind::UnknownLong) +
                  Both(FieldKind::UnknownShort) + Both(FieldKind::UnknownFloat) +
                  Both(FieldKind::NamedShort) + Both(FieldKind::NamedFloat) + 1 ==
              126);

}  // namespace
