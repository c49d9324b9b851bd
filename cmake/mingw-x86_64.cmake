# The 64-bit Windows programs, built only for the tests on machines that run no 32-bit code:
# never packed.
set(TORVEX_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
