# Checks the built Vaskelo.exe as a file, without running it: a Windows GUI program of
# the expected machine type that imports system DLLs only, with the icon and version
# resources Explorer reads, byte for byte.
#
#   cmake -DEXE=Vaskelo.exe -DICON=vaskelo.ico -DOBJDUMP=... -DSTRINGS=... -DMAGIC=010b -P check_program.cmake
cmake_minimum_required(VERSION 3.25)

function(fail)
  message(FATAL_ERROR "${EXE}: ${ARGV}")
endfunction()

function(run out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    fail("'${ARGN}' failed: ${errors}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

find_program(WRESTOOL wrestool REQUIRED)

# The PE header: 32- or 64-bit as built, and the Windows GUI subsystem.
run(headers ${OBJDUMP} -p ${EXE})
if(NOT headers MATCHES "\nMagic[\t ]+${MAGIC}[\t ]")
  fail("not an executable with optional-header magic ${MAGIC}")
endif()
if(NOT headers MATCHES "\nSubsystem[\t ]+00000002[\t ]")
  fail("not a Windows GUI program (subsystem 2)")
endif()

# Imports: the system's own DLLs only; the C++ runtime is linked in. OLEACC and
# OLEAUT32 tell screen readers the names of the band lists and buttons and what
# the result labels are (Active Accessibility).
set(allowed ADVAPI32.DLL COMCTL32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLEACC.DLL OLEAUT32.DLL USER32.DLL)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  fail("no DLL imports found")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(TOUPPER "${dll}" dll)
  if(NOT dll IN_LIST allowed)
    fail("imports ${dll}, which is not a system DLL")
  endif()
endforeach()

# Resources: exactly the icon image, its group and the version information, each in
# its language (0 neutral, 1033 English (United States)).
run(listing ${WRESTOOL} -l ${EXE})
string(REGEX REPLACE "offset=0x[0-9a-f]+ " "" listing "${listing}")
set(expected "--type=3 --name=30001 --language=0 [type=icon size=744]
--type=14 --name=1 --language=0 [type=group_icon size=20]
--type=16 --name=1 --language=1033 [type=version size=")
string(FIND "${listing}" "${expected}" at)
if(NOT at EQUAL 0)
  fail("resources are\n${listing}\nexpected\n${expected}...")
endif()
string(REGEX MATCHALL "\n--type" more "${listing}")
list(LENGTH more count)
if(NOT count EQUAL 2)
  fail("more resources than the icon and the version:\n${listing}")
endif()

get_filename_component(work ${EXE} DIRECTORY)
set(work ${work}/resource-check)
file(MAKE_DIRECTORY ${work})
function(extract type name file)
  execute_process(COMMAND ${WRESTOOL} -x --raw --type=${type} --name=${name} ${EXE}
                  OUTPUT_FILE ${work}/${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    fail("cannot extract resource ${type}/${name}")
  endif()
  file(READ ${work}/${file} hex HEX)
  set(${file} "${hex}" PARENT_SCOPE)
endfunction()

# The icon image is the .ico's one image entry, unchanged; the group points to it by id.
extract(3 30001 image)
file(READ ${ICON} ico HEX)
string(SUBSTRING "${ico}" 44 -1 icoImage)  # after the 6-byte header and 16-byte entry
if(NOT image STREQUAL icoImage)
  fail("icon 30001 differs from the image in ${ICON}")
endif()
extract(14 1 group)
string(SUBSTRING "${ico}" 12 24 icoEntry)  # the entry's first 12 bytes
if(NOT group STREQUAL "000001000100${icoEntry}3175")
  fail("group icon 1 is ${group}")
endif()

# The version's fixed part, after the 40-byte VS_VERSION_INFO header: signature, structure
# version 1.0, file and product version 1.0.0.0, no flags, Windows NT, an application,
# no subtype, no date.
extract(16 1 version)
string(SUBSTRING "${version}" 80 104 fixed)
string(JOIN "" fixedExpected bd04effe 00000100 00000100 00000000 00000100 00000000
       00000000 00000000 04000000 01000000 00000000 00000000 00000000)
if(NOT fixed STREQUAL fixedExpected)
  fail("fixed version information is ${fixed}")
endif()
# The translation closes the resource: English (United States), Unicode.
string(LENGTH "${version}" length)
math(EXPR last "${length} - 8")
string(SUBSTRING "${version}" ${last} 8 translation)
if(NOT translation STREQUAL "0904b004")
  fail("translation is ${translation}")
endif()
# Keys and values in order, as UTF-16 text.
run(texts ${STRINGS} -e l -n 3 ${work}/version)
string(REPLACE "\n" ";" texts "${texts}")
list(REMOVE_ITEM texts "")
set(textsExpected VS_VERSION_INFO StringFileInfo 040904B0
    CompanyName "Vaskelo developers" ProductName Vaskelo FileVersion 1.00 ProductVersion 1.00
    InternalName Vaskelo OriginalFilename Vaskelo.exe VarFileInfo Translation)
if(NOT texts STREQUAL textsExpected)
  fail("version texts are '${texts}'")
endif()
message(STATUS "${EXE}: PE header, imports, icon and version information as expected")
