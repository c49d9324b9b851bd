#include "demo/demo_map.h"

#include <cstdio>
#include <cstring>
#include <map>
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

// The map's stretches that hold data, by file offset; everything else stays zero.
class MapImage {
  public:
    void Put(std::uint32_t offset, const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        pieces_[offset].assign(bytes, bytes + size);
    }
    void Put32(std::uint32_t offset, std::uint32_t value) { Put(offset, &value, 4); }
    void PutText(std::uint32_t offset, const char* text, std::size_t field) {
        Bytes bytes(field, 0);
        std::memcpy(bytes.data(), text, std::min(field, std::strlen(text)));
        Put(offset, bytes.data(), bytes.size());
    }
    Status WriteTo(const std::string& path) const;

  private:
    std::map<std::uint32_t, Bytes> pieces_;
};

Status MapImage::WriteTo(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return Failure{"cannot create " + path};
    }
    bool ok = true;
    for (const auto& [offset, bytes] : pieces_) {
        ok = ok && std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
             std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    // The last byte gives the file its full length; the stretches before it stay holes.
    const std::uint8_t zero = 0;
    ok = ok && std::fseek(file, static_cast<long>(kFileSize - 1), SEEK_SET) == 0 &&
         std::fwrite(&zero, 1, 1, file) == 1;
    ok = (std::fclose(file) == 0) && ok;
    return ok ? Status() : Failure{"cannot write " + path};
}

std::uint32_t ClassWord(const char* code) {
    char padded[4] = {' ', ' ', ' ', ' '};
    std::memcpy(padded, code, std::min<std::size_t>(4, std::strlen(code)));
    // The map stores the code as a little-endian number: its first character is the high byte.
    return std::uint32_t(std::uint8_t(padded[0])) << 24 |
           std::uint32_t(std::uint8_t(padded[1])) << 16 |
           std::uint32_t(std::uint8_t(padded[2])) << 8 | std::uint32_t(std::uint8_t(padded[3]));
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
    image.PutText(0x20, "torvex demo", 32);
    image.PutText(0x40, "01.00.00.0001", 32);
    image.Put32(0x60, 1);
    image.Put(tools::kFootSignatureOffset, "toof", 4);
}

std::uint32_t NamesChecksum() {
    std::uint32_t hash = 2166136261u;  // FNV-1a over every name and its terminator
    for (int row = 0; row < kTagCount; ++row) {
        const std::string name(TagNameOfRow(row));
        for (std::size_t i = 0; i <= name.size(); ++i) {
            hash = (hash ^ std::uint8_t(name.c_str()[i])) * 16777619u;
        }
    }
    return hash;
}

void PutIndexAndNames(MapImage& image) {
    std::uint32_t header[9] = {kIndexOffset + tools::kIndexHeaderSize + ADDRESS_MAGIC,
                               TagIdentifier(0),
                               NamesChecksum(),
                               kTagCount,
                               0,
                               0,
                               0,
                               0,
                               ClassWord("tags")};
    image.Put(kIndexOffset, header, sizeof header);
    Bytes entries;
    Bytes names;
    for (int row = 0; row < kTagCount; ++row) {
        const std::string code(ClassOfRow(row));
        tools::TagIndexEntry entry = {{ClassWord(code.c_str()), 0xFFFFFFFFu, 0xFFFFFFFFu},
                                      TagIdentifier(row),
                                      NamePointerOfRow(row),
                                      kTagMetaPointers[row],
                                      {0, 0}};
        for (const Parents& p : kParents) {
            if (code == p.code) {
                entry.classes[1] = ClassWord(p.parent);
                entry.classes[2] = p.grandparent ? ClassWord(p.grandparent) : 0xFFFFFFFFu;
            }
        }
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&entry);
        entries.insert(entries.end(), bytes, bytes + sizeof entry);
        const std::string name(TagNameOfRow(row));
        names.insert(names.end(), name.begin(), name.end());
        names.push_back(0);
    }
    image.Put(kIndexOffset + tools::kIndexHeaderSize, entries.data(), entries.size());
    image.Put(kFirstNameOffset, names.data(), names.size());
}

// A small fixed generator, so every build writes the same values.
class Values {
  public:
    explicit Values(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ ^ (state_ >> 13);
    }

  private:
    std::uint32_t state_;
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
    std::uint32_t classBytes;
    std::memcpy(&classBytes, known.storedBytes, 4);
    TagReference ref{classBytes, 0, (slot % 4 == 3) ? values.Next() : 0u, 0};

    if (slot == 5 && weapon % 2 == 0) {  // a shader class the editor does not list
        rowClass = "sotr";
        std::memcpy(&ref.classCode, "rtos", 4);
    } else if (slot == 9 && weapon % 3 == 0) {  // capitals: no known class
        std::memcpy(&ref.classCode, "EDOM", 4);
        rowClass = "mode";
    } else if (slot == 13 && weapon % 4 == 1) {
        ref.classCode = 0xFFFFFFFFu;
    }
    const std::vector<int> rows = RowsOfClass(rowClass);
    const int row = rows[(weapon * 7 + slot * 3) % rows.size()];
    ref.tagId = TagIdentifier(row);
    ref.namePointer = NamePointerOfRow(row);
    if (slot == 17) {  // a reference to no tag
        ref.tagId = 0xFFFFFFFFu;
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

// Unnamed values vary: negative shorts, longs of 2^31 and above, fractional floats.
void PutUnknown(FieldKind kind, Values& values, std::uint8_t* at) {
    const std::uint32_t r = values.Next();
    if (kind == FieldKind::UnknownShort) {
        const std::int16_t v = static_cast<std::int16_t>(r % 3 == 0 ? -static_cast<int>(r % 500)
                                                                    : static_cast<int>(r % 3000));
        std::memcpy(at, &v, 2);
    } else if (kind == FieldKind::UnknownLong) {
        const std::uint32_t v = r % 4 == 0 ? 0x80000000u + (r % 7) : r % 100000;
        std::memcpy(at, &v, 4);
    } else {
        const float v = static_cast<float>(static_cast<int>(r % 20001) - 10000) / 64.0f;
        std::memcpy(at, &v, 4);
    }
}

template <std::size_t N>
void FillBlock(const LayoutRow (&rows)[N], int weapon, std::uint32_t blockPointer, Values& values,
               int& slot, std::uint8_t* block) {
    const NamedValues& named = kNamedValues[weapon];
    for (const LayoutRow& row : rows) {
        for (int i = 0; row.kind != FieldKind::Gap && i < row.count; ++i) {
            std::uint8_t* at = block + row.offset + FieldSize(row.kind) * i;
            switch (row.kind) {
                case FieldKind::TagRef: {
                    const TagReference ref = Reference(weapon, slot++, values);
                    std::memcpy(at, &ref, sizeof ref);
                    break;
                }
                case FieldKind::BlockPointer:
                    std::memcpy(at, &blockPointer, 4);
                    break;
                case FieldKind::NamedShort: {
                    const std::int16_t v = row.label == kLabelNumberOfZooms ? named.zooms
                                           : row.label == kLabelMaxAmmo     ? named.maxAmmo
                                           : row.label == kLabelClipSize    ? named.clipSize
                                                                            : named.projectiles;
                    std::memcpy(at, &v, 2);
                    break;
                }
                case FieldKind::NamedFloat: {
                    const float v = row.label == kLabelZoom1 ? named.zoom1 : named.zoom2;
                    std::memcpy(at, &v, 4);
                    break;
                }
                default:
                    PutUnknown(row.kind, values, at);
                    break;
            }
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
    Values values(static_cast<std::uint32_t>(weapon) + 1);
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
    MapImage image;
    PutHeader(image);
    PutIndexAndNames(image);
    for (int weapon = 0; weapon < kWeaponCount; ++weapon) {
        PutWeapon(image, weapon);
    }
    return image.WriteTo(path);
}

}  // namespace demo
