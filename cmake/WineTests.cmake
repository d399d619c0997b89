# GoogleTest for the Windows build, and CTest tests that run a test program under Wine.
# Debian's googletest package ships GoogleTest's sources; the cross compiler builds
# them here, as find_package(GTest) would only find the Linux libraries.
set(VASKELO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built for Windows")
if(NOT EXISTS ${VASKELO_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${VASKELO_GOOGLETEST_SOURCE} (Debian package googletest).")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VASKELO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest keeps its own warning flags; the project's warnings-as-errors are for its own code.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")

# One CTest test per test program, so Wine starts once per program rather than once
# per case. Wine can exit 0 without having run a program at all, so a test passes on
# GoogleTest's own summary line and fails on its failure line, whatever the exit code.
# tools/wine-run says "wine-run: skipped" only when asked not to emulate a 32-bit
# program this machine cannot execute. The toolchain file sets the time a test may take.
function(vaskelo_add_wine_test target)
  add_test(NAME ${target} COMMAND ${target} ${ARGN})
  set_tests_properties(${target} PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ tests?\\."
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
    SKIP_REGULAR_EXPRESSION "wine-run: skipped"
    TIMEOUT ${VASKELO_WINE_TEST_TIMEOUT})
endfunction()
