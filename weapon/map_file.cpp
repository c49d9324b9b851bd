#include "weapon/map_file.h"

#include <sys/stat.h>

namespace {

int SeekAbsolute(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET);
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET);
#endif
}

// Some systems open a folder for reading and then give no byte; a map is a regular file.
bool IsRegularFile(std::FILE* file) {
#ifdef _WIN32
    (void)file;
    return true;  // opening a folder already fails here
#else
    struct stat status;
    return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
#endif
}

// Permission bits that grant nobody writing make a file read-only, even to a superuser who
// could open it anyway. Windows refuses to open a file with the read-only attribute for writing,
// but not every program that runs Windows programs does, so the attribute is asked for too.
bool GrantsNoWriting(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 status;
    return _fstat64(_fileno(file), &status) == 0 && (status.st_mode & _S_IWRITE) == 0;
#else
    struct stat status;
    return fstat(fileno(file), &status) == 0 &&
           (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
}

std::uint64_t SizeOf(std::FILE* file) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long long end = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const off_t end = ftello(file);
#endif
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

}  // namespace

bool IsMarkedReadOnly(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    const bool readOnly = GrantsNoWriting(file);
    std::fclose(file);
    return readOnly;
}

MapFile::MapFile(const char* path, Mode mode) {
    file_ = std::fopen(path, mode == Mode::Read ? "rb" : "r+b");
    if (file_ != nullptr &&
        (!IsRegularFile(file_) || (mode == Mode::Update && GrantsNoWriting(file_)))) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (file_ == nullptr) {
        failed_ = true;
        return;
    }
    if (mode == Mode::Update) {
        size_ = SizeOf(file_);
        failed_ = SeekAbsolute(file_, 0) != 0;
    }
}

MapFile::~MapFile() {
    Close();
}

bool MapFile::Close() {
    const bool good = Good();
    if (file_ == nullptr) {
        return false;
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    failed_ = true;
    return good && closed;
}

void MapFile::SeekTo(std::uint64_t offset) {
    if (!Good()) {
        return;
    }
    position_ = offset;
    failed_ = SeekAbsolute(file_, offset) != 0;
}

void MapFile::Skip(std::uint64_t length) {
    SeekTo(position_ + length);
}

void MapFile::Read(void* data, std::size_t size) {
    if (!Good()) {
        return;
    }
    const std::size_t got = std::fread(data, 1, size, file_);
    position_ += got;
    failed_ = got != size;
}

void MapFile::Write(const void* data, std::size_t size) {
    if (!Good()) {
        return;
    }
    if (position_ + size > size_) {
        failed_ = true;
        return;
    }
    const std::size_t put = std::fwrite(data, 1, size, file_);
    position_ += put;
    failed_ = put != size;
}
