# CLI11 and nlohmann-json are header-only, so a cross build takes the build machine's copies;
# through a folder that holds them alone, as the build machine's include folder would put its
# own C library before the target's.
if(CMAKE_CROSSCOMPILING)
    set(header_only ${CMAKE_CURRENT_BINARY_DIR}/header-only)
    file(MAKE_DIRECTORY ${header_only})
    foreach(library CLI11:CLI/CLI.hpp nlohmann_json:nlohmann/json.hpp)
        string(REPLACE ":" ";" library ${library})
        list(GET library 0 name)
        list(GET library 1 header)
        find_path(TORVEX_HOST_${name} ${header} NO_CMAKE_FIND_ROOT_PATH REQUIRED
            DOC "The build machine's include folder holding ${name}")
        cmake_path(GET header PARENT_PATH folder)
        file(CREATE_LINK ${TORVEX_HOST_${name}}/${folder} ${header_only}/${folder} SYMBOLIC)
        add_library(${name}::${name} INTERFACE IMPORTED)
        target_include_directories(${name}::${name} SYSTEM INTERFACE ${header_only})
    endforeach()
else()
    find_package(CLI11 CONFIG REQUIRED)
    find_package(nlohmann_json CONFIG REQUIRED)
endif()
