// What the page (shell.html) calls in the game's runtime.
#include <emscripten/emscripten.h>

// Ends the runtime for good after the game's exit(): exit() alone leaves it alive while the
// toolkit's idle timer is pending, and that timer would go on calling the game.
extern "C" EMSCRIPTEN_KEEPALIVE void fizzgridEndRuntime(int status) {
  emscripten_force_exit(status);
}
