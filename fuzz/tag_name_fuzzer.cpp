// ReadTagName on arbitrary files and pointers. The input's bytes stand in a sparse map around a
// catalogue name's offset, the file may end anywhere or be missing, and the pointer is a row's
// name pointer, one near it, or any word. The answer must be "NULL" for no name, else exactly the
// bytes the file holds there, up to the name's length or the first zero byte.

#include <algorithm>
#include <cstdio>
#include <string>

#include "catalogue/tag_catalogue.h"
#include "fuzz/fuzz_support.h"
#include "weapon/map_file.h"
#include "weapon/weapon_struct.h"

namespace {

// Found by a plain scan of the searched rows.
std::string Expected(std::uint32_t pointer, const fuzz::FileImage& file) {
    for (int row = 0; pointer != 0 && file.Exists() && row < kSearchedRowCount; ++row) {
        if (kTagNameOffsets[row] + ADDRESS_MAGIC == pointer) {
            // A 100-byte buffer that stays terminated, and never past the end of the file.
            const std::uint64_t end = std::min<std::uint64_t>(
                {kTagNameOffsets[row + 1], kTagNameOffsets[row] + 99ull, file.Size()});
            std::string name;
            for (std::uint64_t at = kTagNameOffsets[row]; at < end && file.At(at) != 0; ++at) {
                name += static_cast<char>(file.At(at));
            }
            return name;
        }
    }
    return "NULL";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.Byte();
    const std::uint32_t name = kTagNameOffsets[in.Short() % kTagCount];
    const auto nudge = static_cast<std::int8_t>(in.Byte());
    const std::uint8_t back = in.Byte();
    const std::uint32_t word = in.Word();
    // A row's own name, one near it, or any word.
    const std::uint32_t pointers[] = {name + ADDRESS_MAGIC, name + ADDRESS_MAGIC,
                                      name + ADDRESS_MAGIC + nudge, word};
    const std::uint32_t pointer = pointers[mode & 3];
    // The bytes go a little before the name, so that they cover it and what follows; the file
    // may be cut into them.
    const fuzz::Bytes bytes = in.Rest();
    const std::uint64_t start = name - back % 64;
    const std::uint64_t end = start + bytes.size();
    std::remove(kMapFileName);
    if ((mode & 0xF0) != 0xF0) {
        fuzz::WriteMap(bytes, start, mode & 4 ? (end > back ? end - back : 0) : end);
    }
    const std::string answer = WeaponStruct::ReadTagName(pointer);
    const std::string expected = Expected(pointer, fuzz::FileImage::Of(kMapFileName));
    if (answer != expected) {
        fuzz::Fail("ReadTagName gave \"" + answer + "\" where the file holds \"" + expected + "\"");
    }
    return 0;
}
