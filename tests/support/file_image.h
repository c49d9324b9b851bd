#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// A whole-file picture of a large sparse map that is cheap to take and compare, so a test or a
// fuzzer can check every byte of the file after each write. Free of GoogleTest.
namespace testing_support {

// A file's bytes as its data extents hold them: holes and everything past the end read as zero.
// Taking one reads only the extents, so a 44 MB sparse map costs a few pages.
class FileImage {
  public:
    static FileImage Of(const char* path);
    // Writes the picture as a fresh file, sparse again: the holes stay holes. False on failure.
    bool WriteTo(const char* path) const;
    // Ends the image at `length`, as a file cut short there.
    void CutTo(std::uint64_t length);

    std::uint64_t Size() const { return size_; }
    std::uint8_t At(std::uint64_t offset) const;
    void Put(std::uint64_t offset, const void* data, std::size_t size);

    // An offset where the two differ outside `allowed` ranges ([begin, end)), or -1.
    // Sizes and existence must agree.
    static long long FirstDifference(
        const FileImage& a, const FileImage& b,
        const std::vector<std::pair<std::uint64_t, std::uint64_t>>& allowed = {});

  private:
    bool exists_ = false;
    std::uint64_t size_ = 0;
    std::map<std::uint64_t, std::vector<std::uint8_t>>
        extents_;  // by start offset; never overlapping
};

}  // namespace testing_support
