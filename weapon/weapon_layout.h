#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

// The fixed layout of a weapon's data: which bytes of the main block and the second block the
// program knows, in file order. The reader and the writer walk this one table.

enum class FieldKind : std::uint8_t {
    Gap,
    UnknownShort,
    UnknownLong,
    UnknownFloat,
    TagRef,
    BlockPointer,
    NamedShort,
    NamedFloat,
};

struct LayoutRow {
    std::uint16_t offset;
    FieldKind kind;
    std::uint16_t count;  // consecutive fields; for a gap, its length in bytes
    const char* label = nullptr;
};

inline constexpr char kLabelNumberOfZooms[] = "Number of zooms";
inline constexpr char kLabelZoom1[] = "Zoom 1";
inline constexpr char kLabelZoom2[] = "Zoom 2";
inline constexpr char kLabelMaxAmmo[] = "Max ammo";
inline constexpr char kLabelClipSize[] = "Clip size";
inline constexpr char kLabelProjectilesPerShot[] = "Projectiles per shot";

constexpr std::size_t FieldSize(FieldKind kind) {
    switch (kind) {
        case FieldKind::UnknownShort:
        case FieldKind::NamedShort:
            return 2;
        case FieldKind::TagRef:
            return 16;
        case FieldKind::Gap:
            return 1;
        default:
            return 4;
    }
}

constexpr std::size_t RowSize(const LayoutRow& row) {
    return FieldSize(row.kind) * row.count;
}

using enum FieldKind;

inline constexpr LayoutRow kMainBlock[] = {
    {0x000, UnknownShort, 2},
    {0x004, UnknownFloat, 1},
    {0x008, Gap, 24},
    {0x020, UnknownFloat, 1},
    {0x024, UnknownLong, 1},
    {0x028, TagRef, 2},
    {0x048, Gap, 40},
    {0x070, TagRef, 4},
    {0x0B0, Gap, 84},
    {0x104, UnknownFloat, 1},
    {0x108, Gap, 4},
    {0x10C, UnknownShort, 2},
    {0x110, Gap, 48},
    {0x140, UnknownLong, 2},
    {0x148, Gap, 4},
    {0x14C, UnknownLong, 2},
    {0x154, Gap, 4},
    {0x158, UnknownLong, 2},
    {0x160, Gap, 16},
    {0x170, UnknownLong, 2},
    {0x178, Gap, 8},
    {0x180, UnknownShort, 2},
    {0x184, UnknownFloat, 1},
    {0x188, Gap, 192},
    {0x248, TagRef, 2},
    {0x268, Gap, 128},
    {0x2E8, TagRef, 2},
    {0x308, UnknownLong, 1},
    {0x30C, Gap, 36},
    {0x330, UnknownShort, 3},
    {0x336, Gap, 2},
    {0x338, UnknownFloat, 1},
    {0x33C, TagRef, 1},
    {0x34C, UnknownFloat, 6},
    {0x364, Gap, 16},
    {0x374, TagRef, 4},
    {0x3B4, Gap, 8},
    {0x3BC, TagRef, 1},
    {0x3CC, UnknownFloat, 3},
    {0x3D8, UnknownShort, 1},
    {0x3DA, NamedShort, 1, kLabelNumberOfZooms},
    {0x3DC, NamedFloat, 1, kLabelZoom1},
    {0x3E0, NamedFloat, 1, kLabelZoom2},
    {0x3E4, UnknownLong, 1},
    {0x3E8, UnknownFloat, 1},
    {0x3EC, UnknownLong, 1},
    {0x3F0, UnknownFloat, 1},
    {0x3F4, Gap, 36},
    {0x418, UnknownFloat, 2},
    {0x420, TagRef, 2},
    {0x440, Gap, 28},
    {0x45C, TagRef, 2},
    {0x47C, Gap, 4},
    {0x480, TagRef, 4},
    {0x4C0, Gap, 12},
    {0x4CC, UnknownFloat, 2},
    {0x4D4, Gap, 16},
    {0x4E4, UnknownLong, 2},
    {0x4EC, Gap, 4},
    {0x4F0, UnknownLong, 1},
    {0x4F4, BlockPointer, 1},
    {0x4F8, Gap, 4},
    {0x4FC, UnknownLong, 2},
};

inline constexpr LayoutRow kSecondBlock[] = {
    {0x000, UnknownLong, 1},
    {0x004, UnknownShort, 2},
    {0x008, NamedShort, 1, kLabelMaxAmmo},
    {0x00A, NamedShort, 1, kLabelClipSize},
    {0x00C, Gap, 8},
    {0x014, UnknownFloat, 1},
    {0x018, UnknownShort, 1},
    {0x01A, Gap, 30},
    {0x038, TagRef, 2},
    {0x058, Gap, 12},
    {0x064, UnknownLong, 4},
    {0x074, Gap, 8},
    {0x07C, TagRef, 1},
    {0x08C, Gap, 4},
    {0x090, UnknownFloat, 4},
    {0x0A0, Gap, 12},
    {0x0AC, UnknownShort, 4},
    {0x0B4, Gap, 4},
    {0x0B8, UnknownShort, 2},
    {0x0BC, Gap, 4},
    {0x0C0, UnknownFloat, 3},
    {0x0CC, Gap, 28},
    {0x0E8, TagRef, 1},
    {0x0F8, UnknownShort, 1},
    {0x0FA, NamedShort, 1, kLabelProjectilesPerShot},
    {0x0FC, Gap, 12},
    {0x108, UnknownLong, 2},
    {0x110, Gap, 16},
    {0x120, TagRef, 1},
    {0x130, UnknownFloat, 2},
    {0x138, Gap, 68},
    {0x17C, UnknownFloat, 6},
    {0x194, UnknownLong, 2},
    {0x19C, Gap, 4},
    {0x1A0, UnknownShort, 2},
    {0x1A4, Gap, 32},
    {0x1C4, TagRef, 6},
};

inline constexpr std::size_t kMainBlockSize = 0x504;
inline constexpr std::size_t kSecondBlockSize = 0x224;
inline constexpr std::size_t kBlockPointerOffset = 0x4F4;

// Offset of a field in its block: the first row of that kind, skipping `index` fields of it.
// -1 when the block has no such field.
constexpr long FieldOffset(const LayoutRow* rows, std::size_t n, FieldKind kind, int index) {
    for (std::size_t i = 0; i < n; ++i) {
        if (rows[i].kind != kind) {
            continue;
        }
        if (index < rows[i].count) {
            return rows[i].offset + static_cast<long>(FieldSize(kind)) * index;
        }
        index -= rows[i].count;
    }
    return -1;
}
