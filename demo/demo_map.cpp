#include "demo/demo_map.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

#include "catalogue/supported_map.h"
#include "catalogue/tag_catalogue.h"
#include "catalogue/tag_class.h"
#include "tools/tag_index.h"
#include "weapon/tag_reference.h"
#include "weapon/weapon_layout.h"

namespace demo {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The tag index lies right before the names.
constexpr std::uint32_t kIndexOffset =
    kFirstNameOffset - tools::kIndexHeaderSize - kTagCount * tools::kIndexEntrySize;

// Writes the map's stretches that hold data at their offsets; everything else stays a hole.
class MapImage {
  public:
    explicit MapImage(std::FILE* file) : file_(file) {}
    void Put(std::uint32_t offset, const void* data, std::size_t size) {
        ok_ = ok_ && std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
              std::fwrite(data, 1, size, file_) == size;
    }
    void Put32(std::uint32_t offset, std::uint32_t value) { Put(offset, &value, 4); }
    bool Ok() const { return ok_; }

  private:
    std::FILE* file_;
    bool ok_ = true;
};

// The map stores a class code as a little-endian number: its first character is the high byte.
std::uint32_t ClassWord(std::string_view code) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        word = word << 8 | std::uint8_t(i < code.size() ? code[i] : ' ');
    }
    return word;
}

struct Parents {
    const char* code;
    const char* parent;
    const char* grandparent;
};
constexpr Parents kParents[] = {
    {"weap", "item", "obje"},  {"eqip", "item", "obje"},  {"vehi", "unit", "obje"},
    {"bipd", "unit", "obje"},  {"proj", "obje", nullptr}, {"scen", "obje", nullptr},
    {"soso", "shdr", nullptr}, {"sotr", "shdr", nullptr}, {"schi", "shdr", nullptr},
    {"sgla", "shdr", nullptr}, {"smet", "shdr", nullptr}, {"spla", "shdr", nullptr},
};

void PutHeader(MapImage& image) {
    image.Put(tools::kHeadSignatureOffset, "daeh", 4);
    image.Put32(4, 5);
    image.Put32(8, kFileSize);
    image.Put32(tools::kIndexOffsetField, kIndexOffset);
    image.Put32(0x14, kFileSize - kIndexOffset);
    const char name[32] = "torvex demo";
    const char version[32] = "01.00.00.0001";
    image.Put(0x20, name, sizeof name);
    image.Put(0x40, version, sizeof version);
    image.Put32(0x60, 1);
    image.Put(tools::kFootSignatureOffset, "toof", 4);
}

void PutIndexAndNames(MapImage& image) {
    std::vector<tools::TagIndexEntry> entries(kTagCount);
    std::string names;
    for (int row = 0; row < kTagCount; ++row) {
        const std::string_view code = ClassOfRow(row);
        tools::TagIndexEntry& entry = entries[row];
        entry = {{ClassWord(code), kNoTag, kNoTag},
                 TagIdentifier(row),
                 NamePointerOfRow(row),
                 kTagMetaPointers[row]};
        for (const Parents& p : kParents) {
            if (code == p.code) {
                entry.classes[1] = ClassWord(p.parent);
                entry.classes[2] = p.grandparent ? ClassWord(p.grandparent) : kNoTag;
            }
        }
        names += TagNameOfRow(row);
        names += '\0';
    }
    std::uint32_t checksum = 2166136261u;  // FNV-1a over every name and its terminator
    for (const char c : names) {
        checksum = (checksum ^ std::uint8_t(c)) * 16777619u;
    }
    std::uint32_t header[9] = {kIndexOffset + tools::kIndexHeaderSize + ADDRESS_MAGIC,
                               TagIdentifier(0), checksum, kTagCount};
    header[8] = ClassWord("tags");
    image.Put(kIndexOffset, header, sizeof header);
    image.Put(kIndexOffset + tools::kIndexHeaderSize, entries.data(),
              entries.size() * sizeof entries[0]);
    image.Put(kFirstNameOffset, names.data(), names.size());
}

// A small fixed generator, so every build writes the same values.
struct Values {
    std::uint32_t state;
    std::uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state ^ (state >> 13);
    }
};

std::vector<int> RowsOfClass(const char* code) {
    std::vector<int> rows;
    for (int row = 0; row < kSearchedRowCount; ++row) {
        if (ClassOfRow(row) == code) {
            rows.push_back(row);
        }
    }
    return rows;
}

TagReference Reference(int weapon, int slot, Values& values) {
    const TagClass& known = kTagClasses[(slot * 5 + weapon * 3) % kTagClassCount];
    // Shaders have no catalogue rows of their own class: they point at shader rows.
    const char* rowClass = std::strcmp(known.referenceClass, "shdr") == 0
                               ? (slot % 2 ? "soso" : "sotr")
                               : known.referenceClass;
    TagReference ref{0, 0, (slot % 4 == 3) ? values.Next() : 0u, 0};
    std::memcpy(&ref.classCode, known.storedBytes, 4);
    if (slot == 5 && weapon % 2 == 0) {  // a shader class the editor does not list
        rowClass = "sotr";
        std::memcpy(&ref.classCode, "rtos", 4);
    } else if (slot == 9 && weapon % 3 == 0) {  // capitals: no known class
        std::memcpy(&ref.classCode, "EDOM", 4);
        rowClass = "mode";
    } else if (slot == 13 && weapon % 4 == 1) {
        ref.classCode = 0xFFFFFFFFu;  // no class
    }
    const std::vector<int> rows = RowsOfClass(rowClass);
    const int row = rows[(weapon * 7 + slot * 3) % rows.size()];
    ref.tagId = TagIdentifier(row);
    ref.namePointer = NamePointerOfRow(row);
    if (slot == 17) {  // a reference to no tag
        ref.tagId = kNoTag;
        ref.namePointer = 0;
    } else if (slot == 21 && weapon % 5 == 2) {  // one byte into a name: no catalogue name
        ref.namePointer += 1;
    }
    return ref;
}

struct NamedValues {
    std::int16_t zooms;
    float zoom1;
    float zoom2;
    std::int16_t maxAmmo;
    std::int16_t clipSize;
    std::int16_t projectiles;
};

// In weapon-list order.
constexpr NamedValues kNamedValues[kWeaponCount] = {
    {0, 1.0f, 1.0f, 600, 60, 1}, {1, 2.0f, 2.0f, 120, 12, 1}, {0, 1.0f, 1.0f, 60, 12, 15},
    {0, 1.0f, 1.0f, 0, 0, 1},    {1, 2.0f, 2.0f, 8, 2, 1},    {2, 2.0f, 10.0f, 24, 4, 1},
    {0, 1.0f, 1.0f, 0, 0, 1},    {0, 1.0f, 1.0f, 0, 0, 1},    {0, 1.0f, 1.0f, 0, 0, 1},
    {0, 1.0f, 1.0f, 80, 20, 1},  {0, 1.0f, 1.0f, 0, 0, 1},    {0, 1.0f, 1.0f, 0, 0, 1},
    {0, 1.0f, 1.0f, 0, 0, 1},    {1, 1.5f, 1.5f, 0, 0, 1},    {0, 1.0f, 1.0f, 0, 0, 2},
};

// The bytes of a value field: the weapon's named values, and unnamed ones that vary: negative
// shorts, longs of 2^31 and above, fractional floats.
std::uint32_t FieldValue(const LayoutRow& row, const NamedValues& named, Values& values) {
    if (row.kind == FieldKind::NamedShort) {
        return std::uint16_t(row.label == kLabelNumberOfZooms ? named.zooms
                             : row.label == kLabelMaxAmmo     ? named.maxAmmo
                             : row.label == kLabelClipSize    ? named.clipSize
                                                              : named.projectiles);
    }
    if (row.kind == FieldKind::NamedFloat) {
        return std::bit_cast<std::uint32_t>(row.label == kLabelZoom1 ? named.zoom1 : named.zoom2);
    }
    const std::uint32_t r = values.Next();
    if (row.kind == FieldKind::UnknownShort) {
        return std::uint16_t(r % 3 == 0 ? -static_cast<int>(r % 500) : static_cast<int>(r % 3000));
    }
    if (row.kind == FieldKind::UnknownLong) {
        return r % 4 == 0 ? 0x80000000u + (r % 7) : r % 100000;
    }
    return std::bit_cast<std::uint32_t>(static_cast<float>(static_cast<int>(r % 20001) - 10000) /
                                        64.0f);
}

void FillBlock(std::span<const LayoutRow> rows, int weapon, std::uint32_t blockPointer,
               Values& values, int& slot, std::uint8_t* block) {
    for (const LayoutRow& row : rows) {
        for (int i = 0; row.kind != FieldKind::Gap && i < row.count; ++i) {
            std::uint8_t* at = block + row.offset + FieldSize(row.kind) * i;
            if (row.kind == FieldKind::TagRef) {
                const TagReference ref = Reference(weapon, slot++, values);
                std::memcpy(at, &ref, sizeof ref);
                continue;
            }
            const std::uint32_t value = row.kind == FieldKind::BlockPointer
                                            ? blockPointer
                                            : FieldValue(row, kNamedValues[weapon], values);
            std::memcpy(at, &value, FieldSize(row.kind));
        }
    }
}

void PutWeapon(MapImage& image, int weapon) {
    const std::uint32_t meta = kWeaponList[weapon].metaOffset;
    Bytes data(kWeaponDataSize);
    for (std::uint32_t i = 0; i < kWeaponDataSize; ++i) {
        data[i] = GapPattern(meta + i);
    }
    const std::uint32_t secondBlock = meta + kSecondBlockDistance;
    Values values{(static_cast<std::uint32_t>(weapon) + 1) * 2654435761u + 12345u};
    int slot = 0;
    FillBlock(kMainBlock, weapon, secondBlock + ADDRESS_MAGIC, values, slot, data.data());
    FillBlock(kSecondBlock, weapon, 0, values, slot, data.data() + kSecondBlockDistance);
    image.Put(meta, data.data(), data.size());
}

}  // namespace

std::uint8_t GapPattern(std::uint32_t fileOffset) {
    const auto byte = static_cast<std::uint8_t>(0xA5 ^ (fileOffset * 29u >> 2));
    return byte != 0 ? byte : 0x5A;
}

Status WriteDemoMap(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return Failure{"cannot create " + path + ": " + std::strerror(errno)};
    }
    MapImage image(file);
    PutHeader(image);
    PutIndexAndNames(image);
    for (int weapon = 0; weapon < kWeaponCount; ++weapon) {
        PutWeapon(image, weapon);
    }
    // The last byte gives the file its full length; the stretches before it stay holes.
    image.Put(kFileSize - 1, "", 1);
    const bool closed = std::fclose(file) == 0;
    return closed && image.Ok() ? Status() : Failure{"cannot write " + path};
}

}  // namespace demo
