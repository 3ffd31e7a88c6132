// What the page (shell.html) calls in the game's runtime, besides the taps (taps.cpp).
#include <emscripten/emscripten.h>

#include "app/frame.h"
#include "webgl.h"

// Ends the runtime for good after the game's exit(): exit() alone leaves it alive while the
// toolkit's animation-frame loop is pending, and that loop would go on calling the game.
extern "C" EMSCRIPTEN_KEEPALIVE void fizzgridEndRuntime(int status) {
  emscripten_force_exit(status);
}

// The canvas's drawing buffer is now width by height pixels: the game's reshape gets the new size,
// as a resized native window gives it, and the frame is drawn again at that size.
extern "C" EMSCRIPTEN_KEEPALIVE void fizzgridResized(int width, int height) {
  reshape(width, height);
  display();
}

// WebGL's context is back after a loss: the back-end makes its GPU objects again, and the game is
// drawn as it stands.
extern "C" EMSCRIPTEN_KEEPALIVE void fizzgridContextRestored(void) {
  fixedgl::remakeGpuObjects();
  display();
}
