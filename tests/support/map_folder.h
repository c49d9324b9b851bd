#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/file_image.h"

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

// The demo map, built once: building it is slow under the sanitizers.
const FileImage& DemoMap();

// A fresh scratch folder made the working directory for the object's life, optionally with
// the demo map in it as cache003.map.
class MapFolder {
  public:
    explicit MapFolder(bool withDemoMap = true);
    ~MapFolder();
    MapFolder(const MapFolder&) = delete;
    MapFolder& operator=(const MapFolder&) = delete;

    Bytes ReadMap() const;
    void CutMap(std::uint64_t length) const;
    // Overwrites bytes of the map in place.
    void Patch(std::uint64_t offset, const void* data, std::size_t size) const;
    void Patch32(std::uint64_t offset, std::uint32_t value) const { Patch(offset, &value, 4); }
    // Bytes of the map in place, without reading the whole file.
    Bytes ReadAt(std::uint64_t offset, std::size_t size) const;
    void RemoveMap() const;

  private:
    std::string previous_;
    std::string path_;
};

struct ByteRange {
    std::uint64_t begin;
    std::uint64_t end;  // one past the last
    bool operator==(const ByteRange&) const = default;
};

// The runs of bytes that differ between two files of the same length (a length change is a
// run from the shorter length to the longer).
std::vector<ByteRange> DiffRanges(const Bytes& before, const Bytes& after);

std::uint32_t ReadLittle32(const Bytes& bytes);

}  // namespace testing_support
