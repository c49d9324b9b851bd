# The 32-bit Windows programs, the ones the zip ships.
set(TORVEX_MINGW_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
