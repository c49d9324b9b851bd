#include "tests/support/file_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace testing_support {

FileImage FileImage::Of(const char* path) {
    FileImage image;
    const int fd = open(path, O_RDONLY);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0) {
            close(fd);
        }
        return image;
    }
    image.exists_ = true;
    image.size_ = static_cast<std::uint64_t>(info.st_size);
    off_t start = 0;
    while (true) {
        start = lseek(fd, start, SEEK_DATA);
        if (start < 0) {
            break;  // ENXIO: no data after this point
        }
        off_t end = lseek(fd, start, SEEK_HOLE);
        if (end < 0) {
            end = info.st_size;
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - start));
        if (pread(fd, bytes.data(), bytes.size(), start) != static_cast<ssize_t>(bytes.size())) {
            image.exists_ = false;  // changed while being read: equal to no other picture
            image.size_ = ~std::uint64_t{0};
            break;
        }
        image.extents_[static_cast<std::uint64_t>(start)] = std::move(bytes);
        start = end;
    }
    close(fd);
    return image;
}

std::uint8_t FileImage::At(std::uint64_t offset) const {
    auto it = extents_.upper_bound(offset);
    if (it == extents_.begin()) {
        return 0;
    }
    --it;
    const std::uint64_t inside = offset - it->first;
    return inside < it->second.size() ? it->second[inside] : 0;
}

void FileImage::Put(std::uint64_t offset, const void* data, std::size_t size) {
    // A byte inside a run changes there; any other gets a one-byte run of its own, so runs
    // never overlap and At finds every byte in the last run starting at or before it.
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint64_t at = offset + i;
        auto it = extents_.upper_bound(at);
        if (it != extents_.begin()) {
            --it;
            if (at - it->first < it->second.size()) {
                it->second[at - it->first] = bytes[i];
                continue;
            }
        }
        extents_[at] = std::vector<std::uint8_t>{bytes[i]};
    }
}

long long FileImage::FirstDifference(
    const FileImage& a, const FileImage& b,
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& allowed) {
    if (a.exists_ != b.exists_ || a.size_ != b.size_) {
        return static_cast<long long>(std::min(a.size_, b.size_));
    }
    // Every byte that either side holds in a run; elsewhere both read zero. A run the other side
    // holds alike, as an edit in place leaves most of them, is passed whole.
    for (const auto* sides : {&a.extents_, &b.extents_}) {
        const auto& other = sides == &a.extents_ ? b.extents_ : a.extents_;
        for (const auto& [start, bytes] : *sides) {
            if (const auto same = other.find(start); same != other.end() && same->second == bytes) {
                continue;
            }
            for (std::uint64_t at = start; at < std::min(start + bytes.size(), a.size_); ++at) {
                if (a.At(at) != b.At(at) &&
                    std::none_of(allowed.begin(), allowed.end(),
                                 [at](const auto& r) { return at >= r.first && at < r.second; })) {
                    return static_cast<long long>(at);
                }
            }
        }
    }
    return -1;
}

bool FileImage::WriteTo(const char* path) const {
    const int fd = open(path, O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    for (const auto& [start, bytes] : extents_) {
        ok = ok && pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(start)) ==
                       static_cast<ssize_t>(bytes.size());
    }
    ok = ok && ftruncate(fd, static_cast<off_t>(size_)) == 0;
    return close(fd) == 0 && ok;
}

void FileImage::CutTo(std::uint64_t length) {
    size_ = length;
    for (auto it = extents_.begin(); it != extents_.end();) {
        if (it->first >= length) {
            it = extents_.erase(it);
            continue;
        }
        if (it->first + it->second.size() > length) {
            it->second.resize(length - it->first);
        }
        ++it;
    }
}

}  // namespace testing_support
