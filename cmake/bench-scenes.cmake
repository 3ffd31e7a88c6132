# What the two builds of the benchmark scenes share, the native programs (bench/CMakeLists.txt) and
# the browser's benchmark page (web/CMakeLists.txt); included where their targets are defined, after
# FIZZGRID_ROOT and the fizzgrid_game target. It defines:
# - the game that bench/scenes.cpp plays for the README's progress and wave pictures, read from
#   tests/games.txt, where the end-to-end and web tests play it too: the last `place` line before
#   `show progress`, and the tick of its step `wave TICK wave`, which must follow the same line.
#   Written to generated/progress_game.h in the includer's build folder (PROGRESS_MOVES, the cells
#   as {x, y} pairs, and WAVE_TICKS); configuring fails unless the file has them.
# - renamed_main: the game's own main compiled as runFizzgridMain, so that a benchmark program
#   opens the game's own window (or canvas) and sets its GL state as the game does.
set(games_file ${FIZZGRID_ROOT}/tests/games.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${games_file})
file(STRINGS ${games_file} steps REGEX "^(place|wave|show) ")
set(moves "")
set(progress_moves "")
set(wave_ticks "")
foreach(step IN LISTS steps)
  if(step MATCHES "^place ([0-7],[0-7]( [0-7],[0-7])*)$")
    set(moves "${CMAKE_MATCH_1}")
  elseif(step MATCHES "^place ")
    message(FATAL_ERROR "tests/games.txt: '${step}' is not a list of cells X,Y from 0 to 7")
  elseif(step MATCHES "^wave ([0-9]+) wave ")
    set(wave_ticks ${CMAKE_MATCH_1})
    set(wave_moves "${moves}")
  elseif(step MATCHES "^show progress ")
    set(progress_moves "${moves}")
  endif()
endforeach()
if("${progress_moves}" STREQUAL "")
  message(FATAL_ERROR "tests/games.txt has no line 'place X,Y ...' before 'show progress ...': "
          "the benchmarks and the README's pictures play that game")
endif()
if("${wave_ticks}" STREQUAL "" OR NOT "${wave_moves}" STREQUAL "${progress_moves}")
  message(FATAL_ERROR "tests/games.txt has no line 'wave TICK wave ...' after the moves of "
          "'show progress': the wave picture is that game's last wave, TICK ticks in")
endif()
string(REGEX REPLACE "([0-7]),([0-7])" "{\\1, \\2}," progress_moves "${progress_moves}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/progress_game.tmp
     "// Generated from tests/games.txt by cmake/bench-scenes.cmake.\n"
     "#define PROGRESS_MOVES ${progress_moves}\n#define WAVE_TICKS ${wave_ticks}\n")
# Rewritten only when it changes, so that configuring again rebuilds nothing.
configure_file(${CMAKE_CURRENT_BINARY_DIR}/progress_game.tmp generated/progress_game.h COPYONLY)
set_property(SOURCE ${FIZZGRID_ROOT}/bench/scenes.cpp APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_CURRENT_BINARY_DIR}/generated)

add_library(renamed_main OBJECT ${FIZZGRID_ROOT}/app/main.cpp)
target_compile_definitions(renamed_main PRIVATE main=runFizzgridMain)
target_link_libraries(renamed_main PRIVATE fizzgrid_game)
