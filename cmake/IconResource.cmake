# Writes the Windows program's icon resources from its .ico file: the image as icon
# resource 30001 and group icon 1 pointing to it, both language-neutral. A plain ICON
# statement would number the image 1, so both are written out as raw data.
#
#   cmake -DICON=vaskelo.ico -DOUTPUT=vaskelo_icon.rc -P IconResource.cmake
set(IMAGE_ID 30001)
set(GROUP_ID 1)

file(READ "${ICON}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR fileBytes "${hexLength} / 2")

# A little-endian field of `size` bytes at byte `offset`.
function(field offset size out)
  math(EXPR end "${offset} + ${size}")
  if(end GREATER fileBytes)
    message(FATAL_ERROR "${ICON}: cut short")
  endif()
  set(value "")
  foreach(i RANGE 1 ${size})
    math(EXPR at "(${end} - ${i}) * 2")
    string(SUBSTRING "${hex}" ${at} 2 byte)
    string(APPEND value "${byte}")
  endforeach()
  math(EXPR value "0x${value}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

field(0 2 reserved)
field(2 2 type)
field(4 2 count)
if(NOT reserved EQUAL 0 OR NOT type EQUAL 1 OR NOT count EQUAL 1)
  message(FATAL_ERROR "${ICON}: expected an icon file holding one image")
endif()
field(6 2 widthHeight)   # width and height bytes, as they stand
field(8 2 coloursPad)    # colour count and the reserved byte
field(10 2 planes)
field(12 2 bits)
field(14 4 imageBytes)
field(18 4 imageOffset)
math(EXPR imageEnd "${imageOffset} + ${imageBytes}")
if(imageEnd GREATER fileBytes OR NOT imageBytes GREATER 0)
  message(FATAL_ERROR "${ICON}: the image lies outside the file")
endif()
math(EXPR odd "${imageBytes} % 2")
if(odd)
  message(FATAL_ERROR "${ICON}: an image of an odd number of bytes cannot be written as words")
endif()

# The image, word by word; rc data words are little-endian like the file.
set(words "")
math(EXPR lastWord "${imageBytes} / 2 - 1")
foreach(i RANGE 0 ${lastWord})
  math(EXPR at "${imageOffset} + ${i} * 2")
  field(${at} 2 word)
  math(EXPR column "${i} % 12")
  if(column EQUAL 0)
    string(APPEND words "\n ")
  endif()
  math(EXPR word "${word}" OUTPUT_FORMAT HEXADECIMAL)
  string(APPEND words " ${word},")
endforeach()
string(REGEX REPLACE ",$" "" words "${words}")

math(EXPR bytesLow "${imageBytes} & 0xFFFF")
math(EXPR bytesHigh "${imageBytes} >> 16")
get_filename_component(iconName "${ICON}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Made from ${iconName} at build time; edit the icon, not this.
LANGUAGE 0, 0

${IMAGE_ID} 3
BEGIN${words}
END

// The group directory: reserved, type 1, one entry; then the entry with the image's
// id in place of the file offset.
${GROUP_ID} 14
BEGIN
  0, 1, 1, ${widthHeight}, ${coloursPad}, ${planes}, ${bits}, ${bytesLow}, ${bytesHigh}, ${IMAGE_ID}
END
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
