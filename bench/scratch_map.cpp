#include "bench/scratch_map.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "demo/demo_map.h"
#include "weapon/map_file.h"

namespace fs = std::filesystem;

ScratchMap::ScratchMap() : previous_(fs::current_path().string()) {
    std::string pattern = (fs::temp_directory_path() / "torvex-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    fs::current_path(path_);
    if (const Status written = demo::WriteDemoMap(kMapFileName); !written) {
        std::fprintf(stderr, "%s\n", written.Error().c_str());
        std::abort();
    }
}

ScratchMap::~ScratchMap() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}
