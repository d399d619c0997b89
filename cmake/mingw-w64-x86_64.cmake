# Cross-compiles the same Windows program for 64-bit x86 with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64). Its tests run under 64-bit Wine, which needs no 32-bit support
# from the host's kernel.
set(VASKELO_MINGW_TRIPLE x86_64-w64-mingw32)
set(VASKELO_MINGW_PROCESSOR AMD64)
set(VASKELO_WINEARCH win64)
set(VASKELO_WINE_TEST_TIMEOUT 600)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
