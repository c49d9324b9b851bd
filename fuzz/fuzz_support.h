#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/file_image.h"
#include "weapon/weapon_layout.h"
#include "weapon/weapon_struct.h"

// What the fuzz targets share: a scratch working directory, a cheap whole-file picture of a
// large sparse map, and a model of which bytes a weapon's walk reaches.
namespace fuzz {

using Bytes = std::vector<std::uint8_t>;
using testing_support::FileImage;

// Makes a fresh scratch folder the working directory; the fuzzers create cache003.map there.
void EnterScratchFolder();

// Stops with a message: the fuzzer then reports the input as a crash.
[[noreturn]] void Fail(const std::string& what);

// One field in walk order, at its file offset.
struct Step {
    FieldKind kind;
    int index;  // in its record array; 0 for the block pointer
    std::uint64_t at;
    std::uint32_t size;
    bool second;
};

// The fields a record with this meta offset and block pointer walks, in walk order: the main
// block's, then the second block's unless the pointer lies below the magic.
std::vector<Step> WalkSteps(std::uint32_t metaOffset, std::uint32_t blockPointer);

// A field's bytes in the record, and a setter through the record's own accessors.
std::array<std::uint8_t, 16> FieldBytes(const WeaponStruct& record, FieldKind kind, int index);
void SetFieldBytes(WeaponStruct& record, FieldKind kind, int index, const std::uint8_t* bytes);

// Records are meant to live for the whole run; a fuzzer that builds one per input frees the
// tag-reference buffers itself so memory stays flat.
void ReleaseBuffers(WeaponStruct& record);

// Reads input bytes front to back; zeros once they run out.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return used_ >= size_; }
    std::uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
    std::uint16_t Short() { return static_cast<std::uint16_t>(Byte() | Byte() << 8); }
    std::uint32_t Word() { return Short() | std::uint32_t{Short()} << 16; }
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

}  // namespace fuzz
