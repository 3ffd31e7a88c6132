# Hardening as Debian builds its own packages: stack protector (strong), fortified libc calls,
# stack-clash protection, control-flow protection (CET on x86, branch protection on arm64), and a
# position-independent executable with read-only relocations bound at start-up. Prepended to the
# flags that CMake read from CXXFLAGS and LDFLAGS, so that the user's flags come after and win.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(hardening -fstack-protector-strong -fstack-clash-protection)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i[3-6]86)$")
  list(APPEND hardening -fcf-protection)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  list(APPEND hardening -mbranch-protection=standard)
endif()
# Fortified calls need the optimiser, which every build type but Debug runs. The sanitizers do not
# intercept the fortified libc calls: a sanitized build goes without.
if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug" AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
  list(APPEND hardening -D_FORTIFY_SOURCE=2)
endif()
foreach(flag IN LISTS hardening)
  string(MAKE_C_IDENTIFIER "compiler_takes${flag}" takes)
  check_cxx_compiler_flag(${flag} ${takes})
  if(${takes})
    string(PREPEND CMAKE_CXX_FLAGS "${flag} ")
  endif()
endforeach()
string(PREPEND CMAKE_EXE_LINKER_FLAGS "-Wl,-z,relro -Wl,-z,now ")
