# Tools the build runs, such as the catalogue's and the dialog script's generators, are built for
# the build machine: in a native build as an ordinary program, in a cross build with the build
# machine's own compiler (TORVEX_HOST_CXX), since the target's programs may not run here.
#
#   torvex_host_tool(NAME SOURCES source... [HEADERS header...])
#
# sets NAME in the caller to what a custom command puts in COMMAND and DEPENDS to run the tool.
# HEADERS are the files the sources include, for the cross build's dependencies.
function(torvex_host_tool name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;HEADERS")
    list(TRANSFORM arg_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ REGEX "^[^/]")
    if(NOT CMAKE_CROSSCOMPILING)
        add_executable(${name} ${arg_SOURCES})
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
        set(${name} ${name} PARENT_SCOPE)
        return()
    endif()
    find_program(TORVEX_HOST_CXX NAMES c++ g++ clang++ REQUIRED
        DOC "The build machine's C++ compiler, for tools run during the build")
    set(tool ${CMAKE_CURRENT_BINARY_DIR}/${name})
    add_custom_command(
        OUTPUT ${tool}
        COMMAND ${TORVEX_HOST_CXX} -std=c++20 -Wall -Wextra -Werror -I${PROJECT_SOURCE_DIR}
                ${arg_SOURCES} -o ${tool}
        DEPENDS ${arg_SOURCES} ${arg_HEADERS}
        COMMENT "Building ${name} for the build machine")
    set(${name} ${tool} PARENT_SCOPE)
endfunction()
