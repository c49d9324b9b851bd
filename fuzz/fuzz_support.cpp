#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "catalogue/tag_catalogue.h"

namespace fuzz {

namespace {
std::string g_scratch;
}

void EnterScratchFolder() {
    g_scratch = (std::filesystem::temp_directory_path() / "torvex-fuzz-XXXXXX").string();
    if (mkdtemp(g_scratch.data()) == nullptr || chdir(g_scratch.c_str()) != 0) {
        Fail("cannot make a scratch folder");
    }
    // A run that ends normally takes its folder along; one that fails leaves it to look at.
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(g_scratch, ignored);
    });
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "\n*** %s\n", what.c_str());
    std::abort();
}

std::vector<Step> WalkSteps(std::uint32_t metaOffset, std::uint32_t blockPointer) {
    std::vector<Step> steps;
    std::map<FieldKind, int> counts;
    auto walk = [&](const auto& rows, std::uint64_t base, bool second) {
        for (const LayoutRow& row : rows) {
            if (row.kind == FieldKind::Gap) {
                continue;
            }
            for (int i = 0; i < row.count; ++i) {
                const auto size = static_cast<std::uint32_t>(FieldSize(row.kind));
                const int index = row.kind == FieldKind::BlockPointer ? 0 : counts[row.kind]++;
                steps.push_back(
                    {row.kind, index, base + row.offset + std::uint64_t{size} * i, size, second});
            }
        }
    };
    walk(kMainBlock, metaOffset, false);
    if (blockPointer >= ADDRESS_MAGIC) {
        walk(kSecondBlock, blockPointer - ADDRESS_MAGIC, true);
    }
    return steps;
}

std::array<std::uint8_t, 16> FieldBytes(const WeaponStruct& record, FieldKind kind, int index) {
    std::array<std::uint8_t, 16> bytes{};
    auto put = [&bytes](auto value) { std::memcpy(bytes.data(), &value, sizeof value); };
    switch (kind) {
        case FieldKind::UnknownShort:
            put(record.GetUnknownShort(index));
            break;
        case FieldKind::UnknownLong:
            put(record.GetUnknownLong(index));
            break;
        case FieldKind::UnknownFloat:
            put(record.GetUnknownFloat(index));
            break;
        case FieldKind::NamedShort:
            put(record.GetNamedShort(index));
            break;
        case FieldKind::NamedFloat:
            put(record.GetNamedFloat(index));
            break;
        case FieldKind::TagRef:
            put(*record.GetTagRef(index));
            break;
        case FieldKind::BlockPointer:
            put(record.GetBlockPointer());
            break;
        case FieldKind::Gap:
            break;
    }
    return bytes;
}

void SetFieldBytes(WeaponStruct& record, FieldKind kind, int index, const std::uint8_t* bytes) {
    auto get = [bytes](auto value) {
        std::memcpy(&value, bytes, sizeof value);
        return value;
    };
    switch (kind) {
        case FieldKind::UnknownShort:
            record.SetUnknownShort(get(std::int16_t{}), index);
            break;
        case FieldKind::UnknownLong:
            record.SetUnknownLong(get(std::int32_t{}), index);
            break;
        case FieldKind::UnknownFloat:
            record.SetUnknownFloat(get(float{}), index);
            break;
        case FieldKind::NamedShort:
            record.SetNamedShort(get(std::int16_t{}), index);
            break;
        case FieldKind::NamedFloat:
            record.SetNamedFloat(get(float{}), index);
            break;
        case FieldKind::TagRef:
            std::memcpy(record.GetTagRef(index), bytes, sizeof(TagReference));
            break;
        case FieldKind::BlockPointer:
        case FieldKind::Gap:
            break;  // the record has no setter for its pointer
    }
}

void ReleaseBuffers(WeaponStruct& record) {
    for (int i = 0; i < WeaponStruct::kTagRefCapacity; ++i) {
        delete record.GetTagRef(i);
    }
}

}  // namespace fuzz
