# What the page carries beside the program, made into ${VASKELO_WEB_SITE}: the window's
# fonts, the icons, the manifest that makes it installable, and the service worker that
# opens it offline. vaskelo_web_assets makes the first three; vaskelo_web_site writes
# the worker last, when every other file of the site is there to be listed and hashed.
find_program(VASKELO_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND ${VASKELO_PYTHON3} -c "import fontTools.subset, brotli"
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${VASKELO_PYTHON3} cannot subset fonts to WOFF2: install python3-fonttools and python3-brotli")
endif()

# The fonts the Linux program falls back on, Liberation Sans from fonts-liberation
# (version 1 on Debian 12, version 2 on Debian 13), with the licence its package ships.
if(NOT VASKELO_WEB_FONT_DIR)
  foreach(dir /usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/liberation2)
    if(EXISTS ${dir}/LiberationSans-Regular.ttf AND EXISTS ${dir}/LiberationSans-Bold.ttf)
      set(VASKELO_WEB_FONT_DIR ${dir} CACHE PATH "Folder of LiberationSans-Regular.ttf and -Bold.ttf")
      break()
    endif()
  endforeach()
  if(NOT VASKELO_WEB_FONT_DIR)
    message(FATAL_ERROR "Liberation Sans is not installed: install fonts-liberation")
  endif()
endif()
if(NOT VASKELO_WEB_FONT_LICENSE)
  file(REAL_PATH ${VASKELO_WEB_FONT_DIR}/LiberationSans-Regular.ttf font)
  execute_process(COMMAND dpkg-query -S ${font} OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET)
  string(REGEX REPLACE ":.*" "" owner "${owner}")
  if(NOT status EQUAL 0 OR NOT EXISTS /usr/share/doc/${owner}/copyright)
    message(FATAL_ERROR "No Debian package owns ${font}: set VASKELO_WEB_FONT_LICENSE to its licence file")
  endif()
  set(VASKELO_WEB_FONT_LICENSE /usr/share/doc/${owner}/copyright CACHE FILEPATH "The fonts' licence, as their package ships it")
endif()

# Only the letters the window can show: Basic Latin, Latin-1 and Turkish's six others.
# Every layout feature and the line
# metrics stay, so texts measure as with the whole font; the hinting goes, browsers
# draw without it.
set(letters U+0020-007E,U+00A0-00FF,U+011E,U+011F,U+0130,U+0131,U+015E,U+015F)
set(asset_outputs)
foreach(weight Regular Bold)
  set(subset ${CMAKE_CURRENT_BINARY_DIR}/LiberationSans-${weight}-subset.woff2)
  set(woff2 ${VASKELO_WEB_SITE}/fonts/VaskeloSans-${weight}.woff2)
  add_custom_command(OUTPUT ${woff2}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VASKELO_WEB_SITE}/fonts
    COMMAND ${VASKELO_PYTHON3} -m fontTools.subset ${VASKELO_WEB_FONT_DIR}/LiberationSans-${weight}.ttf
            --unicodes=${letters} --layout-features=* --no-hinting --drop-tables+=FFTM
            --flavor=woff2 --output-file=${subset}
    COMMAND ${VASKELO_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/rename_font.py ${subset} ${woff2} ${weight}
    DEPENDS ${VASKELO_WEB_FONT_DIR}/LiberationSans-${weight}.ttf ${CMAKE_CURRENT_SOURCE_DIR}/rename_font.py
    COMMENT "Subsetting Liberation Sans ${weight} to fonts/VaskeloSans-${weight}.woff2"
    VERBATIM)
  list(APPEND asset_outputs ${woff2})
endforeach()
add_custom_command(OUTPUT ${VASKELO_WEB_SITE}/fonts/LICENSE
  COMMAND ${CMAKE_COMMAND} -E copy ${VASKELO_WEB_FONT_LICENSE} ${VASKELO_WEB_SITE}/fonts/LICENSE
  DEPENDS ${VASKELO_WEB_FONT_LICENSE}
  VERBATIM)
list(APPEND asset_outputs ${VASKELO_WEB_SITE}/fonts/LICENSE)

# The icons: the program's 32 x 32 icon enlarged by whole pixels, for the tab (32),
# the desktop and the home screen (64, 96, 192) and an installed app's splash (512);
# on an opaque square, for a home screen that cuts icons to its own shape (9 times, a
# 288 px square whose corners stay inside the middle 80 % circle of 512) and for an
# iPhone's (5 times in 180).
# The icon is read by the project's own .ico reader, built here for Node.js.
set(VASKELO_WEB_ICON_SIZES 32 64 96 192 512)
add_executable(vaskelo_icon_pixels icon_pixels.cpp)
target_link_libraries(vaskelo_icon_pixels PRIVATE vaskelo_ui_model)
# Compiled at once rather than through fetch(), which this emscripten's loader would
# try on a file path under a Node.js that has fetch.
target_link_options(vaskelo_icon_pixels PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sWASM_ASYNC_COMPILATION=0)
set(icon ${PROJECT_SOURCE_DIR}/ui/resources/vaskelo.ico)
set(pixels ${CMAKE_CURRENT_BINARY_DIR}/vaskelo-icon.rgba)
add_custom_command(OUTPUT ${pixels}
  COMMAND vaskelo_icon_pixels ${icon} ${pixels}
  DEPENDS vaskelo_icon_pixels ${icon}
  COMMENT "Reading the program icon's pixels"
  VERBATIM)
set(VASKELO_WEB_GROUNDED_ICONS vaskelo-maskable-512:512:9 vaskelo-apple-touch-180:180:5)
set(pngs)
set(manifest_icons)
foreach(size ${VASKELO_WEB_ICON_SIZES})
  list(APPEND pngs ${VASKELO_WEB_SITE}/icons/vaskelo-${size}.png)
  list(APPEND manifest_icons "    { \"src\": \"icons/vaskelo-${size}.png\", \"sizes\": \"${size}x${size}\", \"type\": \"image/png\", \"purpose\": \"any\" }")
endforeach()
list(APPEND manifest_icons "    { \"src\": \"icons/vaskelo-maskable-512.png\", \"sizes\": \"512x512\", \"type\": \"image/png\", \"purpose\": \"maskable\" }")
foreach(grounded ${VASKELO_WEB_GROUNDED_ICONS})
  string(REGEX REPLACE ":.*" "" name ${grounded})
  list(APPEND pngs ${VASKELO_WEB_SITE}/icons/${name}.png)
endforeach()
add_custom_command(OUTPUT ${pngs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VASKELO_WEB_SITE}/icons
  COMMAND ${VASKELO_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/icon_png.py ${pixels} ${VASKELO_WEB_SITE}/icons ${VASKELO_WEB_ICON_SIZES}
          ${VASKELO_WEB_GROUNDED_ICONS}
  DEPENDS ${pixels} ${CMAKE_CURRENT_LIST_DIR}/icon_png.py
  COMMENT "Writing the page's icons as PNG"
  VERBATIM)
list(APPEND asset_outputs ${pngs})

# The manifest: name, Turkish description, icons, and a window of its own when installed.
list(JOIN manifest_icons ",\n" VASKELO_WEB_MANIFEST_ICONS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/manifest.webmanifest.in ${CMAKE_CURRENT_BINARY_DIR}/manifest.webmanifest @ONLY)
add_custom_command(OUTPUT ${VASKELO_WEB_SITE}/manifest.webmanifest
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_BINARY_DIR}/manifest.webmanifest ${VASKELO_WEB_SITE}/manifest.webmanifest
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/manifest.webmanifest
  VERBATIM)
list(APPEND asset_outputs ${VASKELO_WEB_SITE}/manifest.webmanifest)

add_custom_target(vaskelo_web_assets ALL DEPENDS ${asset_outputs})

# The worker lists and hashes whatever the site holds, so it runs on every build, after
# everything else; it rewrites sw.js only when the list or a file changed.
add_custom_target(vaskelo_web_site ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${VASKELO_WEB_SITE} -DSOURCE=${CMAKE_CURRENT_LIST_DIR}/sw.js
          -P ${CMAKE_CURRENT_LIST_DIR}/worker.cmake
  BYPRODUCTS ${VASKELO_WEB_SITE}/sw.js
  COMMENT "Writing sw.js with the site's files and their digest"
  VERBATIM)
add_dependencies(vaskelo_web_site vaskelo_web_page vaskelo_web vaskelo_web_assets)

# The download: the whole site in one zip, for any static web host or a folder on a
# computer; tools/package builds it and puts it beside the other packages.
add_custom_target(vaskelo_web_zip
  COMMAND ${VASKELO_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/zip_site.py ${VASKELO_WEB_SITE}
          ${CMAKE_BINARY_DIR}/Vaskelo-${VASKELO_VERSION_TEXT}-web.zip
  BYPRODUCTS ${CMAKE_BINARY_DIR}/Vaskelo-${VASKELO_VERSION_TEXT}-web.zip
  COMMENT "Packing the site into Vaskelo-${VASKELO_VERSION_TEXT}-web.zip"
  VERBATIM)
add_dependencies(vaskelo_web_zip vaskelo_web_site)
