#include "tests/support/map_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "demo/demo_map.h"
#include "weapon/map_file.h"

namespace testing_support {

namespace fs = std::filesystem;

MapFolder::MapFolder(bool withDemoMap) : previous_(fs::current_path().string()) {
    std::string pattern = (fs::temp_directory_path() / "torvex-test-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr) {
        ADD_FAILURE() << "cannot make a scratch folder";
        return;
    }
    path_ = made;
    fs::current_path(path_);
    if (withDemoMap) {
        EXPECT_TRUE(DemoMap().WriteTo(kMapFileName));
    }
}

const FileImage& DemoMap() {
    static const FileImage image = [] {
        MapFolder folder(false);
        const Status written = demo::WriteDemoMap(kMapFileName);
        EXPECT_TRUE(written) << written.Error();
        return FileImage::Of(kMapFileName);
    }();
    return image;
}

MapFolder::~MapFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    // A test may have taken write permission away; give it back so the folder can go.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(fs::path(path_) / kMapFileName, fs::perms::owner_all, fs::perm_options::add,
                    ignored);
    fs::remove_all(path_, ignored);
}

Bytes MapFolder::ReadMap() const {
    // One read of the whole file: byte-wise stream iteration takes seconds under the sanitizers.
    const fs::path map = fs::path(path_) / kMapFileName;
    Bytes bytes(fs::file_size(map));
    std::ifstream(map, std::ios::binary)
        .read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void MapFolder::CutMap(std::uint64_t length) const {
    fs::resize_file(fs::path(path_) / kMapFileName, length);
}

void MapFolder::Patch(std::uint64_t offset, const void* data, std::size_t size) const {
    std::fstream file(fs::path(path_) / kMapFileName,
                      std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    ASSERT_TRUE(file.good()) << "cannot patch the map at " << offset;
}

}  // namespace testing_support
