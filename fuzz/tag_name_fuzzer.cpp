// ReadTagName on arbitrary files and pointers. The input's bytes stand in a sparse map around a
// catalogue name's offset, the file may end anywhere or be missing, and the pointer is a row's
// name pointer, one near it, or any word. The answer must be "NULL" for no name, else exactly the
// bytes the file holds there, up to the name's length or the first zero byte.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "catalogue/tag_catalogue.h"
#include "fuzz/fuzz_support.h"
#include "weapon/map_file.h"
#include "weapon/weapon_struct.h"

namespace {

// The searched row whose name starts at this offset, found by a plain scan.
int RowAt(std::uint32_t offset) {
    for (int row = 0; row < kSearchedRowCount; ++row) {
        if (kTagNameOffsets[row] == offset) {
            return row;
        }
    }
    return -1;
}

std::string Expected(std::uint32_t pointer, const fuzz::FileImage& file) {
    const int row = pointer == 0 ? -1 : RowAt(pointer - ADDRESS_MAGIC);
    if (row < 0 || !file.Exists()) {
        return "NULL";
    }
    const std::uint64_t start = kTagNameOffsets[row];
    std::uint64_t length = kTagNameOffsets[row + 1] - start;
    length = std::min<std::uint64_t>(length, 99);  // a 100-byte buffer that stays terminated
    if (start + length > file.Size()) {
        length = start < file.Size() ? file.Size() - start : 0;
    }
    std::string name;
    for (std::uint64_t i = 0; i < length && file.At(start + i) != 0; ++i) {
        name += static_cast<char>(file.At(start + i));
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.Byte();
    const int row = in.Short() % kTagCount;
    const auto nudge = static_cast<std::int8_t>(in.Byte());
    const std::uint8_t back = in.Byte();
    std::uint32_t pointer = in.Word();
    switch (mode & 3) {
        case 0:
        case 1:
            pointer = kTagNameOffsets[row] + ADDRESS_MAGIC;  // a row's own name
            break;
        case 2:
            pointer = kTagNameOffsets[row] + ADDRESS_MAGIC + nudge;  // near one
            break;
        default:
            break;  // any word
    }
    const fuzz::Bytes bytes = in.Rest();
    // The bytes go a little before the row's name so that they cover it and what follows.
    const std::uint64_t start = kTagNameOffsets[row] - back % 64;
    std::uint64_t end = start + bytes.size();
    if (mode & 4) {
        end = end > back ? end - back : 0;  // cut into the name
    }
    std::remove(kMapFileName);
    if ((mode & 0xF0) != 0xF0) {
        const int fd = open(kMapFileName, O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0 ||
            pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(start)) !=
                static_cast<ssize_t>(bytes.size()) ||
            ftruncate(fd, static_cast<off_t>(end)) != 0 || close(fd) != 0) {
            fuzz::Fail("cannot write the map");
        }
    }
    const std::string name = WeaponStruct::ReadTagName(pointer);
    const std::string expected = Expected(pointer, fuzz::FileImage::Of(kMapFileName));
    if (name != expected) {
        fuzz::Fail("ReadTagName gave \"" + name + "\" where the file holds \"" + expected + "\"");
    }
    return 0;
}
