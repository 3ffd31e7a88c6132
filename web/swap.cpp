// The toolkit's pacing and swap in the page: glutIdleFunc and glutSwapBuffers in place of
// Emscripten's GLUT's (the linker takes these over its library's, as it takes the GL calls).
//
// Emscripten's GLUT runs the idle callback on a 4 ms timer, about 225 times a second, and its swap
// does nothing: the browser shows only the last frame drawn before each animation frame, so most
// frames of a wave never reached the screen, and a page that drew only at a flush showed nothing
// without one. Here the idle callback runs once per animation frame (requestAnimationFrame), so
// each tick's frame is the one shown, and not at all in a hidden tab, which gets none. The frame
// goes to WebGL at glutSwapBuffers, as a double-buffered window shows it at the swap.
#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "webgl.h"

namespace {

void (*idleCallback)(void);
bool ticking; // an animation frame is asked for
// Frames handed over at glutSwapBuffers from inside a tick, since the page opened.
unsigned long tickFrames;
unsigned long swaps;

EM_BOOL tick(double, void *) {
  // Once the game has ended (exit) or aborted, the runtime must not be entered again.
  bool over =
      EM_ASM_INT({ return ABORT || (typeof runtimeExited != 'undefined' && runtimeExited); });
  if (idleCallback == nullptr || over) {
    ticking = false;
    return EM_FALSE;
  }
  unsigned long before = swaps;
  idleCallback();
  tickFrames += swaps - before;
  return EM_TRUE;
}

} // namespace

void glutIdleFunc(void (*callback)(void)) {
  idleCallback = callback;
  if (callback == nullptr || ticking) return;
  ticking = true;
  emscripten_request_animation_frame_loop(tick, nullptr);
}

void glutSwapBuffers(void) {
  if (fixedgl::recordingList()) fixedgl::unsupported("glutSwapBuffers inside a display list");
  fixedgl::drawPending();
  swaps++;
}

// For the web tests: every frame handed over since the page opened; an unchanged count says that
// nothing was drawn (a tap in a gap, say), which the picture alone cannot tell from a frame that
// looks the same.
extern "C" EMSCRIPTEN_KEEPALIVE double fizzgridFramesDrawn(void) { return (double)swaps; }

// For the web test: the frames that ticks have drawn since the page opened. Read once per
// animation frame, it shows how many ticks drew in each (one at most, one in each during a wave).
extern "C" EMSCRIPTEN_KEEPALIVE double fizzgridTickFrames(void) { return (double)tickFrames; }
