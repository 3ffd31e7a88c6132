# Read by cpack before each package it makes. The Debian generator reads the game's library
# dependencies off the binary with file and dpkg-shlibdeps, which a player's build (scripts/play.sh)
# does not install; fetch them the way the project's scripts fetch everything (apt-get as root,
# sudo otherwise), so that `cpack -G DEB` works in any build tree on a fresh Debian machine.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(FIZZGRID_FILE file)
  find_program(FIZZGRID_SHLIBDEPS dpkg-shlibdeps)
  if(NOT FIZZGRID_FILE OR NOT FIZZGRID_SHLIBDEPS)
    execute_process(
      COMMAND bash -c [[source scripts/packages.sh && bash scripts/install-deps.sh "${PACKAGE_PACKAGES[@]}"]]
      WORKING_DIRECTORY "${CMAKE_CURRENT_LIST_DIR}/.." RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "Could not install the packaging tools: apt-get install dpkg-dev file")
    endif()
  endif()
endif()
