# What the build takes from data/, read before project(): the version and release date of the
# changelog's newest entry (fizzgrid_version, fizzgrid_date), which the metainfo's newest release
# and the manual page's header must name, or configuring fails; and the window's icon, the pixels
# that scripts/icon.sh draws from data/fizzgrid.svg at the size written there, written as the items
# of _NET_WM_ICON (width, height, then 0xAARRGGBB row by row) to generated/fizzgrid_icon.inc for
# x11/desktop.cpp; configuring fails unless the pixels are of that size.
set(data ${CMAKE_CURRENT_LIST_DIR}/../data)
set(icon_file ${data}/fizzgrid-icon.rgba)
set(icon_script ${CMAKE_CURRENT_LIST_DIR}/../scripts/icon.sh)
set(metainfo_file ${data}/org.fizzgrid.Fizzgrid.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${data}/changelog ${data}/fizzgrid.6
             ${metainfo_file} ${icon_file} ${icon_script})

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

file(STRINGS ${icon_script} size REGEX "^size=[0-9]+ " LIMIT_COUNT 1)
string(REGEX REPLACE "^size=([0-9]+) .*" "\\1" size "${size}")
if(NOT size MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "scripts/icon.sh has no line size=N, the icon's size in pixels")
endif()
file(READ ${icon_file} icon HEX)
string(LENGTH "${icon}" digits)
math(EXPR bytes "${digits} / 2")
math(EXPR expected "${size} * ${size} * 4") # 8-bit red, green, blue, alpha
if(NOT bytes EQUAL expected)
  set(side 0)
  set(square 0)
  while(square LESS bytes) # the side of a square of RGBA pixels of that many bytes, if any
    math(EXPR side "${side} + 1")
    math(EXPR square "${side} * ${side} * 4")
  endwhile()
  set(drawn "${bytes} bytes, no square of RGBA pixels")
  if(square EQUAL bytes)
    set(drawn "${side} by ${side} pixels")
  endif()
  message(FATAL_ERROR "data/fizzgrid-icon.rgba holds ${drawn}, but the game declares a ${size} "
          "by ${size} icon (size= in scripts/icon.sh): draw it again with scripts/icon.sh")
endif()
string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\1\\2\\3," icon "${icon}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/fizzgrid_icon.tmp "${size}, ${size}, ${icon}\n")
# Rewritten only when it changes, so that configuring again rebuilds nothing.
configure_file(${CMAKE_CURRENT_BINARY_DIR}/fizzgrid_icon.tmp generated/fizzgrid_icon.inc COPYONLY)
