# Read by cpack before each package it makes.
if(CPACK_GENERATOR STREQUAL "DEB")
  # The Debian generator reads the game's library dependencies off the binary with file and
  # dpkg-shlibdeps, which a player's build (scripts/play.sh) does not install; fetch them the way
  # the project's scripts fetch everything (apt-get as root, sudo otherwise), so that
  # `cpack -G DEB` works in any build tree on a fresh Debian machine.
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
  # The same sources make the same package: every time that CPack writes into it (of the archive
  # members, of the files) is the changelog's last date, unless SOURCE_DATE_EPOCH says otherwise.
  if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    execute_process(COMMAND dpkg-parsechangelog -l data/changelog -S Timestamp
                    WORKING_DIRECTORY "${CMAKE_CURRENT_LIST_DIR}/.." OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "Could not read the date of data/changelog")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
  endif()
endif()
