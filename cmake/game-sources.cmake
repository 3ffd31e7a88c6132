# The game's own sources, everything but main and the platforms' rooms (x11/, web/): the same files
# make the native game (CMakeLists.txt) and the browser's (web/CMakeLists.txt). Paths are relative
# to the project's root; FIZZGRID_ROOT names it for the includer.
set(FIZZGRID_GAME_SOURCES
  app/frame.cpp
  game/state.cpp
  game/bursts.cpp
  game/input.cpp
  game/sequencer.cpp
  render/primitives.cpp
  render/sphere.cpp
  render/board.cpp)
list(TRANSFORM FIZZGRID_GAME_SOURCES PREPEND ${FIZZGRID_ROOT}/)
