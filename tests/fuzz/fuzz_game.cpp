// libFuzzer target: bytes become keys and idle ticks; a broken rule aborts with its name.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "gl_double.h"
#include "play.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  gl::recording = false;
  startPlay();
  for (size_t i = 0; i < size; i++) {
    if (const char *broke = playByte(data[i])) {
      fprintf(stderr, "event %zu of %zu broke a rule: %s\n", i, size, broke);
      abort();
    }
  }
  return 0;
}
