# The Linux programs are built as Debian builds its own packages: with the flags dpkg-buildflags
# gives, every hardening feature on. On Debian 12 that is the stack protector, _FORTIFY_SOURCE,
# format string checks, position-independent programs and read-only relocations bound at start,
# and the source tree's path mapped to ".", so that where a clone lies reaches neither the debug
# information nor the programs' build IDs.
# They go where Debian's own CMake builds put them, ahead of the build type's flags, so a build
# that picks another optimisation (scripts/test-other-catalogue's -O1) keeps it.
find_program(TORVEX_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED
    DOC "Debian's build flags tool (dpkg-dev), which the Linux build takes its flags from")
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${TORVEX_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE ${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(CMAKE_CXX_FLAGS "${CPPFLAGS} ${CXXFLAGS} ${CMAKE_CXX_FLAGS}")
set(CMAKE_EXE_LINKER_FLAGS "${LDFLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
# dpkg-buildflags maps the folder it runs in only while its path holds no character outside a
# safe set (no blank, no @), so the mapping is asked for here too, as one argument whatever the
# path holds.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.")
