#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/result.h"

namespace tools {

// Read-only random access to a map. It never opens the file for writing, so whatever it is
// used for cannot change the map.
class MapReader {
  public:
    // Fails, with the reason, when the path is not a file that can be read.
    Status Open(const std::string& path);

    std::uint64_t Size() const { return size_; }

    // Reads up to size bytes at offset and returns how many of them the file holds; bytes past
    // the end stay as they were. A read that fails before the end marks the reader Failed.
    std::size_t ReadAt(std::uint64_t offset, void* data, std::size_t size);

    // A 32-bit word, false when the file does not hold all four bytes. The map is
    // little-endian, as is every machine Torvex runs on.
    bool Read32(std::uint64_t offset, std::uint32_t* value) {
        return ReadAt(offset, value, 4) == 4;
    }

    // A read failed for another reason than the end of the file.
    bool Failed() const { return failed_; }

  private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, std::fclose};
    std::uint64_t size_ = 0;
    bool failed_ = false;
};

}  // namespace tools
