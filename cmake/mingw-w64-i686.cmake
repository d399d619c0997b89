# Cross-compiles the Windows program for 32-bit x86 with MinGW-w64 (Debian's
# g++-mingw-w64-i686); test programs run under 32-bit Wine, emulated where this machine
# cannot execute 32-bit programs, which takes several times as long: so the tests get
# more time rather than fewer checks.
set(VASKELO_MINGW_TRIPLE i686-w64-mingw32)
set(VASKELO_MINGW_PROCESSOR x86)
set(VASKELO_WINEARCH win32)
set(VASKELO_WINE_TEST_TIMEOUT 1200)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
