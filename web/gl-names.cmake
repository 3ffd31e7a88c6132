# Run at link time (cmake -P) by web/CMakeLists.txt: fails unless every GL, GLU and GLUT name that
# the game's objects (OBJECTS, a list) leave undefined is defined by the back-end (BACKEND, its
# archive) or, for GLUT, by the toolkit (TOOLKIT, Emscripten's library_glut.js). Emscripten
# defines every GL name itself, as WebGL's own call or a stub, so a GL call of the game that the
# back-end does not define would reach WebGL unseen. NM lists the symbols.
string(REPLACE "," ";" OBJECTS "${OBJECTS}")
execute_process(COMMAND ${NM} -u ${OBJECTS} OUTPUT_VARIABLE used RESULT_VARIABLE failed)
execute_process(COMMAND ${NM} --defined-only ${BACKEND} OUTPUT_VARIABLE backend
                RESULT_VARIABLE failedToo)
file(READ ${TOOLKIT} toolkit)
if(failed OR failedToo OR NOT toolkit MATCHES "\n  glutInit:")
  message(FATAL_ERROR "Cannot list the game's GL names with ${NM}, or read ${TOOLKIT}")
endif()
string(REGEX MATCHALL "U gl[A-Za-z0-9_]+" calls "${used}")
foreach(call IN LISTS calls)
  string(SUBSTRING "${call}" 2 -1 name)
  if(NOT backend MATCHES " T ${name}\n" AND
     NOT (name MATCHES "^glut" AND toolkit MATCHES "\n  ${name}:"))
    list(APPEND missing ${name})
  endif()
endforeach()
if(missing)
  list(REMOVE_DUPLICATES missing)
  message(FATAL_ERROR "GL names that the game calls and the back-end does not define: ${missing}")
endif()
