#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/file_image.h"
#include "weapon/weapon_struct.h"

// What the fuzz targets share: a scratch working directory, failing with a message, and input
// bytes read front to back.
namespace fuzz {

using Bytes = std::vector<std::uint8_t>;
using testing_support::FileImage;

// Stops with a message: the fuzzer then reports the input as a crash.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "\n*** %s\n", what.c_str());
    std::abort();
}

// Makes a fresh scratch folder the working directory; a run that ends normally takes it along,
// one that fails leaves it to look at.
inline void EnterScratchFolder() {
    static std::string scratch =
        (std::filesystem::temp_directory_path() / "torvex-fuzz-XXXXXX").string();
    if (mkdtemp(scratch.data()) == nullptr || chdir(scratch.c_str()) != 0) {
        Fail("cannot make a scratch folder");
    }
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    });
}

// Records are meant to live for the whole run; a fuzzer that builds one per input frees the
// tag-reference buffers itself so memory stays flat.
inline void ReleaseBuffers(WeaponStruct& record) {
    for (int i = 0; i < WeaponStruct::kTagRefCapacity; ++i) {
        delete record.GetTagRef(i);
    }
}

// Reads input bytes front to back; zeros once they run out.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return used_ >= size_; }
    std::uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
    std::uint16_t Short() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
    Bytes Rest() {
        Bytes rest(data_ + std::min(used_, size_), data_ + size_);
        used_ = size_;
        return rest;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

// Writes `bytes` at `at` into a fresh sparse map that then ends at `end`.
inline void WriteMap(const Bytes& bytes, std::uint64_t at, std::uint64_t end) {
    const int fd = open("cache003.map", O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0 ||
        pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at)) !=
            static_cast<ssize_t>(bytes.size()) ||
        ftruncate(fd, static_cast<off_t>(end)) != 0 || close(fd) != 0) {
        Fail("cannot write the map");
    }
}

}  // namespace fuzz
