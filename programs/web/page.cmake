# Run as `cmake -DPAGE=index.html -DWINDOW=still-window.html -DOUT=... -P page.cmake`:
# writes the page with the window's markup where its marker stands.
cmake_minimum_required(VERSION 3.25)
file(READ ${PAGE} page)
file(READ ${WINDOW} window)
set(marker "<!-- the window -->")
string(FIND "${page}" "${marker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PAGE} has no ${marker}")
endif()
string(REPLACE "${marker}" "${window}" page "${page}")
file(WRITE ${OUT}.new "${page}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
