# What the build takes from data/, read before project(): the version and release date of the
# changelog's newest entry (fizzgrid_version, fizzgrid_date), which the metainfo's newest release
# and the manual page's header must name, or configuring fails; and the window's icon, the pixels
# that scripts/icon.sh draws from data/fizzgrid.svg, written as the items of _NET_WM_ICON (width,
# height, then 0xAARRGGBB row by row) to generated/fizzgrid_icon.inc for app/desktop.cpp.
set(data ${CMAKE_CURRENT_LIST_DIR}/../data)
set(icon_file ${data}/fizzgrid-48.rgba)
set(metainfo_file ${data}/org.fizzgrid.Fizzgrid.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${data}/changelog ${data}/fizzgrid.6
             ${metainfo_file} ${icon_file})

file(STRINGS ${data}/changelog newest REGEX "^fizzgrid \\(" LIMIT_COUNT 1)
string(REGEX REPLACE "^fizzgrid \\(([0-9.]+)\\).*" "\\1" fizzgrid_version "${newest}")
file(STRINGS ${data}/changelog trailer REGEX "^ -- " LIMIT_COUNT 1) # "... Sun, 06 Dec 2026 ..."
string(REGEX MATCH ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) " trailer "${trailer}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${CMAKE_MATCH_2}" month)
math(EXPR month "${month} + 101") # 1 to 12, after a leading 1 that is cut below
string(SUBSTRING ${month} 1 2 month)
set(fizzgrid_date ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
file(READ ${metainfo_file} metainfo)
string(REGEX MATCH "<release [^>]*>" release "${metainfo}")
file(STRINGS ${data}/fizzgrid.6 page LIMIT_COUNT 1)
if(NOT release STREQUAL "<release version=\"${fizzgrid_version}\" date=\"${fizzgrid_date}\">" OR
   NOT page STREQUAL ".TH FIZZGRID 6 ${fizzgrid_date} \"fizzgrid ${fizzgrid_version}\" \"Games\"")
  message(FATAL_ERROR "data/changelog's newest entry is ${fizzgrid_version} of ${fizzgrid_date}, "
          "but the metainfo's newest release is ${release} and the manual page's header ${page}")
endif()

file(READ ${icon_file} icon HEX)
string(LENGTH "${icon}" digits)
if(NOT digits EQUAL 18432) # 48 by 48 pixels of 4 bytes, each 2 hexadecimal digits
  message(FATAL_ERROR "${icon_file} does not hold 48 by 48 RGBA pixels")
endif()
string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\1\\2\\3," icon "${icon}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/fizzgrid_icon.tmp "48, 48, ${icon}\n")
# Rewritten only when it changes, so that configuring again rebuilds nothing.
configure_file(${CMAKE_CURRENT_BINARY_DIR}/fizzgrid_icon.tmp generated/fizzgrid_icon.inc COPYONLY)
