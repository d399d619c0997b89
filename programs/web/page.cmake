# Run as `cmake -DPAGE=index.html -DWINDOW=still-window.html -DSTYLE=vaskelo.css
# -DWINDOW_STYLE=still-window.css -DSTART=start.js -DFIT=fit.js -DSITE=... -P page.cmake`:
# writes the site's page with the window's markup where its marker stands, its style
# sheet with the rules that place the window's parts there, and its start script after
# the rule that fits the window to a phone.
cmake_minimum_required(VERSION 3.25)
function(write_if_changed path text)
  file(WRITE ${path}.new "${text}")
  file(COPY_FILE ${path}.new ${path} ONLY_IF_DIFFERENT)
  file(REMOVE ${path}.new)
endfunction()

file(READ ${PAGE} page)
file(READ ${WINDOW} window)
set(marker "<!-- the window -->")
string(FIND "${page}" "${marker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PAGE} has no ${marker}")
endif()
string(REPLACE "${marker}" "${window}" page "${page}")
write_if_changed(${SITE}/index.html "${page}")

file(READ ${STYLE} style)
file(READ ${WINDOW_STYLE} window_style)
write_if_changed(${SITE}/vaskelo.css "${style}\n/* The window as the page carries it, until the program takes it over. */\n${window_style}")

file(READ ${FIT} fit)
file(READ ${START} start)
write_if_changed(${SITE}/start.js "${fit}${start}")
