# Shared part of the MinGW-w64 toolchain files: the caller sets VASKELO_MINGW_TRIPLE and
# VASKELO_WINEARCH. The posix thread flavour of the compiler is used for its complete C++
# thread support; -static links libgcc, libstdc++ and winpthread into each program, so a
# Vaskelo.exe needs nothing beside the system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VASKELO_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${VASKELO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VASKELO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VASKELO_MINGW_TRIPLE}-windres)
set(VASKELO_OBJDUMP ${VASKELO_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VASKELO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine, in a prefix of this build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run ${VASKELO_WINEARCH} ${CMAKE_BINARY_DIR}/wineprefix)
