# Run as `cmake -DSITE=... -DSOURCE=sw.js -P worker.cmake` once the rest of the site
# is in place: writes SITE/sw.js with the list of the site's files to keep, and a
# digest of their contents (and of the worker's own source) as its cache's name.
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
if(NOT "index.html" IN_LIST files)
  message(FATAL_ERROR "${SITE} has no index.html: the page is not built yet")
endif()
file(SHA256 ${SOURCE} digest)
set(sums "${digest}  sw.js\n")
# The start address "./" is what a visitor opens; it is kept beside index.html.
set(list "\"./\"")
foreach(file ${files})
  if(NOT file MATCHES "^[A-Za-z0-9._/-]+$")
    message(FATAL_ERROR "${SITE}/${file}: a site file's name is letters, digits, '.', '_', '-' and '/' only")
  endif()
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND sums "${digest}  ${file}\n")
  string(APPEND list ", \"${file}\"")
endforeach()
string(SHA256 digest "${sums}")
string(SUBSTRING ${digest} 0 16 VASKELO_WEB_DIGEST)
set(VASKELO_WEB_FILES "${list}")
# configure_file leaves sw.js alone when it would not change.
configure_file(${SOURCE} ${SITE}/sw.js @ONLY)
