#pragma once

#include "weapon/map_file.h"
#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

// Walks the weapon layout over a record and a stream, moving every field in one direction.
// Counts advance for every field whether or not its bytes moved, so a failed or skipped walk
// still leaves the record's counts at their totals.
class WeaponLayoutWalker {
  public:
    enum class Direction { Read, Write };

    WeaponLayoutWalker(WeaponStruct& record, MapFile& file, Direction direction)
        : record_(record), file_(file), direction_(direction) {}

    // moveBytes false: count and label the fields but touch no byte of the file.
    template <std::size_t N>
    void WalkBlock(const LayoutRow (&rows)[N], bool moveBytes) {
        for (const LayoutRow& row : rows) {
            WalkRow(row, moveBytes);
        }
    }

  private:
    void WalkRow(const LayoutRow& row, bool moveBytes);
    void* Destination(const LayoutRow& row);
    void Move(void* data, std::size_t size);

    WeaponStruct& record_;
    MapFile& file_;
    Direction direction_;
};
