#include "weapon/weapon_struct.h"

#include <cstring>

#include "catalogue/tag_catalogue.h"
#include "weapon/map_file.h"
#include "weapon/weapon_layout_walker.h"

namespace {

// A pointer below the magic names no file offset; the second block is then left alone.
bool PointsIntoFile(std::uint32_t pointer) {
    return pointer >= ADDRESS_MAGIC;
}

// Whether every field moved: the editor's own reads and writes ignore it, as they report nothing.
bool Walk(WeaponStruct& record, const char* path, MapFile::Mode mode,
          WeaponLayoutWalker::Direction direction) {
    MapFile file(path, mode);
    WeaponLayoutWalker walker(record, file, direction);
    file.SeekTo(record.GetMetaOffset());
    walker.WalkBlock(kMainBlock, true);
    // Taken only now: when reading, the main block has just filled it.
    const std::uint32_t blockPointer = record.GetBlockPointer();
    const bool second = PointsIntoFile(blockPointer);
    if (second) {
        file.SeekTo(blockPointer - ADDRESS_MAGIC);
    }
    walker.WalkBlock(kSecondBlock, second);
    return file.Close();
}

}  // namespace

WeaponStruct::WeaponStruct(std::uint32_t metaOffset) : metaOffset(metaOffset) {
    ResetCounts();
    for (TagReference*& slot : tagRefs) {
        slot = new TagReference{};  // lives as long as the process; copies share it
    }
    ReadFromMap();
}

void WeaponStruct::ResetCounts() {
    namedLongCount = namedShortCount = namedFloatCount = namedDoubleCount = 0;
    unknownLongCount = unknownShortCount = unknownFloatCount = unknownDoubleCount = 0;
    tagRefCount = 0;
}

void WeaponStruct::ReadFromMap() {
    Walk(*this, kMapFileName, MapFile::Mode::Read, WeaponLayoutWalker::Direction::Read);
}

bool WeaponStruct::ReadFromFile(const char* path) {
    ResetCounts();
    return Walk(*this, path, MapFile::Mode::Read, WeaponLayoutWalker::Direction::Read);
}

void WeaponStruct::WriteToMap() {
    ResetCounts();
    Walk(*this, kMapFileName, MapFile::Mode::Update, WeaponLayoutWalker::Direction::Write);
}

bool WeaponStruct::WriteToMapChecked() {
    ResetCounts();
    return Walk(*this, kMapFileName, MapFile::Mode::Update, WeaponLayoutWalker::Direction::Write);
}

std::string WeaponStruct::ReadTagName(std::uint32_t namePointer) {
    if (namePointer == 0) {
        return "NULL";
    }
    const int row = FindRowByNameOffset(namePointer - ADDRESS_MAGIC);
    if (row < 0) {
        return "NULL";
    }
    char buffer[100] = {};
    std::size_t length = kTagNameOffsets[row + 1] - kTagNameOffsets[row];
    if (length > sizeof buffer - 1) {
        length = sizeof buffer - 1;  // the last byte stays the terminator, whatever the file holds
    }
    MapFile file(kMapFileName, MapFile::Mode::Read);
    if (!file.Good()) {
        return "NULL";
    }
    file.SeekTo(kTagNameOffsets[row]);
    file.Read(buffer, length);
    return std::string(buffer);
}
