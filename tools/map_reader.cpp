#include "tools/map_reader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tools {

Status MapReader::Open(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return Failure{"it is a folder"};
    }
    file_.reset(std::fopen(path.c_str(), "rb"));
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
    if (fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
        failed_ = true;
        return 0;
    }
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset));
    const std::size_t got = std::fread(data, 1, want, file_.get());
    if (got != want) {
        failed_ = true;
    }
    return got;
}

}  // namespace tools
