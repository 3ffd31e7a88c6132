// What the page (shell.html) calls in the game's runtime.
#include <emscripten/emscripten.h>

#include "fixed_function.h"

// Ends the runtime for good after the game's exit(): exit() alone leaves it alive while the
// toolkit's idle timer is pending, and that timer would go on calling the game.
extern "C" EMSCRIPTEN_KEEPALIVE void fizzgridEndRuntime(int status) {
  emscripten_force_exit(status);
}

// The triangles drawn since the page opened: a frame's count tells a test whether each sphere was
// drawn once (the winner's sphere is 39,200 triangles), which the picture alone cannot.
extern "C" EMSCRIPTEN_KEEPALIVE double fizzgridTrianglesDrawn(void) {
  return (double)fixedgl::trianglesDrawn();
}
