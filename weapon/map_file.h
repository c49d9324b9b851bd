#pragma once

#include <cstdint>
#include <cstdio>

// The name of the one file the program edits, relative to the working directory.
inline constexpr char kMapFileName[] = "cache003.map";

// Whether the file's permissions grant nobody writing. Such a map is not opened for update even
// by a superuser, whom the system would let write it.
bool IsMarkedReadOnly(const char* path);

// A binary stream on the map with 64-bit positions. It remembers its first failure: once an
// open, positioning, read or write has failed, every later operation does nothing.
class MapFile {
  public:
    enum class Mode { Read, Update };

    MapFile(const char* path, Mode mode);
    ~MapFile();
    MapFile(const MapFile&) = delete;
    MapFile& operator=(const MapFile&) = delete;

    bool Good() const { return file_ != nullptr && !failed_; }
    // Closes the file now: true when every operation, and the flush of what was written, worked.
    bool Close();

    void SeekTo(std::uint64_t offset);
    void Skip(std::uint64_t length);
    // Reads up to size bytes; bytes before the end of the file land even when the read falls short.
    void Read(void* data, std::size_t size);
    // Writes only inside the file as it was opened: a write that would extend it fails whole.
    void Write(const void* data, std::size_t size);

  private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    std::uint64_t position_ = 0;
    std::uint64_t size_ = 0;
};
