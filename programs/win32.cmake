# The Windows program, Vaskelo.exe: start-up, the Win32 window and the resources
# (version information and icon). Included by this folder's CMakeLists.txt.
set(VASKELO_RC_DIR ${CMAKE_CURRENT_BINARY_DIR}/resources)

if(PROJECT_VERSION_PATCH STREQUAL "")
  set(VASKELO_VERSION_PATCH 0)
else()
  set(VASKELO_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
configure_file(resources/vaskelo.rc.in ${VASKELO_RC_DIR}/vaskelo.rc @ONLY)

add_custom_command(
  OUTPUT ${VASKELO_RC_DIR}/vaskelo_icon.rc
  COMMAND ${CMAKE_COMMAND} -DICON=${PROJECT_SOURCE_DIR}/ui/resources/vaskelo.ico
          -DOUTPUT=${VASKELO_RC_DIR}/vaskelo_icon.rc -P ${PROJECT_SOURCE_DIR}/cmake/IconResource.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/ui/resources/vaskelo.ico ${PROJECT_SOURCE_DIR}/cmake/IconResource.cmake
  COMMENT "Writing the icon resources from vaskelo.ico")
# Compiled here rather than as an RC source, which would hand windres the project's
# C++ warning options.
add_custom_command(
  OUTPUT ${VASKELO_RC_DIR}/vaskelo_res.o
  COMMAND ${CMAKE_RC_COMPILER} -I ${VASKELO_RC_DIR} -O coff -i ${VASKELO_RC_DIR}/vaskelo.rc
          -o ${VASKELO_RC_DIR}/vaskelo_res.o
  DEPENDS ${VASKELO_RC_DIR}/vaskelo.rc ${VASKELO_RC_DIR}/vaskelo_icon.rc
  COMMENT "Compiling the Windows resources")

add_executable(vaskelo WIN32 win_main.cpp ${VASKELO_RC_DIR}/vaskelo_res.o)
set_target_properties(vaskelo PROPERTIES OUTPUT_NAME Vaskelo)
target_link_libraries(vaskelo PRIVATE vaskelo_win32)
# wWinMain as the entry point; a GUI program, no console window; no symbols in a release.
target_link_options(vaskelo PRIVATE -municode -mwindows $<$<CONFIG:Release>:-s>)
install(TARGETS vaskelo RUNTIME DESTINATION .)
