# How Torvex is installed and packaged: a Debian package from a Linux build, a zip of the
# Windows program from a Windows build. scripts/package makes both into build/packages.
include(GNUInstallDirs)

# The Windows program ships under the file name its own version block states.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/torvex.rc original_filename
    REGEX "VALUE \"OriginalFilename\"")
if(NOT original_filename MATCHES "\"OriginalFilename\", \"([^\"]+)\"")
    message(FATAL_ERROR "res/torvex.rc names no OriginalFilename")
endif()
set(TORVEX_WINDOWS_FILE_NAME ${CMAKE_MATCH_1})

# Packaging installs what scripts/package built, not every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# What the packages hold, for scripts/package to build before it packs.
add_custom_target(torvex_package_files)
if(WIN32)
    add_dependencies(torvex_package_files torvex torvex-cli)
elseif(TORVEX_BUILD_QT)
    add_dependencies(torvex_package_files torvex torvex-cli torvex_icon_pngs torvex_docs)
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Torvex developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the weapon definitions inside a game map")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
    # torvex-VERSION-win32.zip: the programs, their README and licence in one folder.
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Torvex developers <torvex@example.org>"
        CACHE STRING "The Debian package's maintainer, as name and address")
    # Not "games": that section is for games themselves, installed in /usr/games.
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The libraries come from dpkg-shlibdeps; the window's font stand-in is a data package.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
    # The summary above is the first line; this follows it. The AppStream metainfo takes both.
    set(CPACK_PACKAGE_DESCRIPTION
        "Torvex edits, in place, the weapon definitions inside one game map cache
file, cache003.map, in the folder it is started from: a tree of thirteen
weapons with their tag references, named values and unnamed values, a panel
to type a number or pick a tag, and Update, which writes the weapon back.
.
The window is torvex (Qt 6); torvex-cli runs the same editor without a
window, for scripted sessions and single edits, checks that a map is the one
the program supports, and writes a demo map.")
endif()

include(CPack)
