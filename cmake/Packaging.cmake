# What a user installs, made by CPack from the install rules: on Linux a Debian
# package (cpack --preset deb), for Windows a zip of Vaskelo.exe with a short
# Turkish read-me (cpack --preset windows-zip). tools/package makes both.
set(CPACK_PACKAGE_VENDOR "Vaskelo geliştiricileri")
set(CPACK_PACKAGE_CONTACT "Vaskelo geliştiricileri <vaskelo@vaskelo.org>")
set(CPACK_PACKAGE_VERSION ${VASKELO_VERSION_TEXT})
set(CPACK_STRIP_FILES ON)
set(VASKELO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

if(VASKELO_BUILD_WIN32)
  # Needs no installation: the program and its read-me in one folder of the zip.
  install(FILES ${VASKELO_PACKAGING_DIR}/BENIOKU.txt DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(bits win64)
  else()
    set(bits win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Vaskelo)
  set(CPACK_PACKAGE_FILE_NAME "Vaskelo-${VASKELO_VERSION_TEXT}-${bits}")
  include(CPack)
  return()
endif()

if(NOT VASKELO_BUILD_QT)
  return()
endif()

# The licence in Debian's machine-readable copyright format, from the project's own
# LICENSE, and the package's change log, compressed as Debian wants them.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${licence}")
set(holders "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]*\n" "" terms "${licence}")
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(VASKELO_DOC_DIR ${CMAKE_CURRENT_BINARY_DIR}/doc)
file(WRITE ${VASKELO_DOC_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Vaskelo
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: ${holders}
License: Expat
 ${terms}
")
add_custom_command(
  OUTPUT ${VASKELO_DOC_DIR}/changelog.Debian.gz
  COMMAND sh -c "gzip -9nc '${VASKELO_PACKAGING_DIR}/changelog.Debian' > '${VASKELO_DOC_DIR}/changelog.Debian.gz'"
  DEPENDS ${VASKELO_PACKAGING_DIR}/changelog.Debian
  COMMENT "Compressing the package's change log"
  VERBATIM)
add_custom_target(vaskelo_changelog ALL DEPENDS ${VASKELO_DOC_DIR}/changelog.Debian.gz)
install(FILES ${VASKELO_DOC_DIR}/copyright ${VASKELO_DOC_DIR}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vaskelo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vaskelo)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${VASKELO_VERSION_TEXT})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; what Qt loads at run time it cannot see:
# the X11 platform plugin, Qt's Turkish texts, and the fonts the window is drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/StripPackaged.cmake)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins, qt6-translations-l10n")
# On a Wayland desktop the window is native and sharp at every scale only through
# Qt's Wayland plugin. apt installs what is recommended, so desktop users get it;
# the program still runs without it, on X11 or through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "four-band resistor colour code reader (direnç renk kodu okuyucu)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Vaskelo reads the value of a four-band resistor from its colours. Pick the
colour of each band from four drop-down lists and read the resistance and
tolerance, written the way parts lists print them (4,7K, 470 Ohm, 1M; %5,
%10). Each chosen colour is painted onto its band in a picture of the
resistor. The program is in Turkish.

Vaskelo, dört bantlı bir direncin değerini renklerinden okur. Her bandın
rengini dört açılır listeden seçin; direnci ve toleransı parça listelerinde
yazıldığı gibi okuyun (4,7K, 470 Ohm, 1M; %5, %10). Seçilen her renk, direnç
resmindeki bandına boyanır.")
# The package is not uploaded to Debian, so its first change log entry closes no
# request-for-packaging bug; lintian is told so rather than shown a made-up one.
install(FILES ${VASKELO_PACKAGING_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME vaskelo)
include(CPack)
