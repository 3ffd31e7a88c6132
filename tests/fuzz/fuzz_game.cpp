// libFuzzer target: bytes become keys and idle ticks; a broken rule aborts with its name.
#include <cstdio>
#include <cstdlib>

#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  gl::recording = false, startPlay();
  for (size_t i = 0; i < size; i++)
    if (const char *broke = playByte(data[i]))
      fprintf(stderr, "event %zu: %s\n", i, broke), abort();
  return 0;
}
