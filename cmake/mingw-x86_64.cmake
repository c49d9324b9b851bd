# The 32-bit (i686) or 64-bit (x86_64) Windows program; everything else is shared.
set(TORVEX_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
