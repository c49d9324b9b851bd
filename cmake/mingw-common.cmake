# Cross-builds the Windows programs with Debian's MinGW-w64 for the processor the including
# toolchain file names in TORVEX_MINGW_CPU (i686 or x86_64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TORVEX_MINGW_CPU})

set(TORVEX_MINGW_TRIPLET ${TORVEX_MINGW_CPU}-w64-mingw32)
set(CMAKE_C_COMPILER ${TORVEX_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${TORVEX_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${TORVEX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TORVEX_MINGW_TRIPLET})
# Build tools (Python, the host compiler) come from the build machine; headers and libraries
# only from the target's tree.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C standard's printf ("%f", "%X") instead of the old system runtime's, and every runtime
# library linked in, so the program needs nothing beyond the system's own DLLs.
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -s")
