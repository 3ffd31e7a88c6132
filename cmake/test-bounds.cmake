# Read by ctest before any test is defined: every test is bounded to 120 s times
# FIZZGRID_TIMEOUT_MULTIPLIER from ctest's own environment (a whole number, default 1), so that a
# slow machine or an emulator scales the bounds without configuring again. Tests declare no TIMEOUT
# of their own: it would take the place of this one.
set(multiplier "$ENV{FIZZGRID_TIMEOUT_MULTIPLIER}")
if(multiplier STREQUAL "")
  set(multiplier 1)
elseif(NOT multiplier MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "FIZZGRID_TIMEOUT_MULTIPLIER is ${multiplier}, not a whole number")
endif()
math(EXPR fizzgrid_test_bound "120 * ${multiplier}")
macro(add_test name)
  _add_test(${ARGV})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${fizzgrid_test_bound})
endmacro()
