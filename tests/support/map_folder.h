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

  private:
    std::string previous_;
    std::string path_;
};

}  // namespace testing_support
