#include "tools/map_reader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tools {

MapReader::~MapReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

Status MapReader::Open(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!error && std::filesystem::is_directory(status)) {
        return Failure{"it is a folder"};
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        return Failure{std::strerror(errno)};
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return Failure{error.message()};
    }
    size_ = size;
    return {};
}

std::size_t MapReader::ReadAt(std::uint64_t offset, void* data, std::size_t size) {
    if (file_ == nullptr || offset >= size_) {
        return 0;
    }
    if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
        failed_ = true;
        return 0;
    }
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset));
    const std::size_t got = std::fread(data, 1, want, file_);
    if (got != want) {
        failed_ = true;
    }
    return got;
}

bool MapReader::Read32(std::uint64_t offset, std::uint32_t* value) {
    std::uint8_t bytes[4];
    if (ReadAt(offset, bytes, 4) != 4) {
        return false;
    }
    // The map is little-endian whatever the machine is.
    *value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
             std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    return true;
}

}  // namespace tools
