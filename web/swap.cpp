// The toolkit's pacing and swap in the page: glutIdleFunc and glutSwapBuffers in place of
// Emscripten's GLUT's (the linker takes these over its library's, as it takes the GL calls).
//
// Emscripten's GLUT runs the idle callback on a 4 ms timer, about 225 times a second, and its swap
// does nothing: the browser shows only the last frame drawn before each animation frame, so most
// frames of a wave never reached the screen, and a page that drew only at a flush showed nothing
// without one. Here the idle callback runs in animation frames (requestAnimationFrame), at most
// once in each, so each tick's frame is the one shown, and not at all in a hidden tab, which gets
// none. The frame goes to WebGL at glutSwapBuffers, as a double-buffered window shows it at the
// swap.
//
// Pace: the game counts a wave in ticks (19), so ticks are spaced by the animation frames' own
// times, about 60 a second whatever the screen's rate: every frame of a 60 Hz screen ticks, every
// other one of a 120 Hz screen, two of three at 90 Hz, and a wave lasts about a third of a second
// on all of them.
//
// Rest: once a tick draws nothing (a move awaited or a winner shown, the camera at rest), the game
// has nothing to tick until an event changes it, and every such event (a key or a tap that the
// game takes) draws a frame outside a tick, as a resize and a restored context do. So the loop
// stops asking for animation frames there, and a frame handed over outside a tick starts it
// again: a page at rest runs no code of its own. A key refused changes nothing and draws nothing.
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include "webgl.h"

namespace {

// The ticks' period, in ms: a 60 Hz frame (16.7 ms) a little shortened, so that every frame of a
// screen at up to 61 Hz ticks; faster screens get about 61 ticks a second.
const double TICK_MS = 16.4;
// A 60 Hz screen's jitter, in ms: the frame after the first tick since a rest ticks from
// TICK_MS - JITTER_MS after it on (one 16.4 ms after the last must tick); the ticks after it keep
// the time that late frames owe them, which widens the margin.
const double JITTER_MS = 2;
// The least time between two ticks, in ms: more than a 120 Hz frame (8.3 ms), so that no two
// frames in a row tick there; less than a 100 Hz frame (10 ms), so that 90 and 100 Hz screens,
// which must tick in some frames in a row, reach 60 ticks a second.
const double MIN_GAP_MS = 9.5;

void (*idleCallback)(void);
bool looping;         // an animation frame is asked for, whose callback goes on with the loop
bool ticking;         // inside the idle callback
bool drewInTick;      // the tick under way has handed over a frame
bool fromRest = true; // the next tick is the loop's first since it started
double nextTickMs;    // when the next tick is due, on the animation frames' clock (ms)
double lastTickMs;

// Asks the browser to call onFrame with the next animation frame's time (ms since the page
// opened). Once the game has ended (exit) or aborted, the frame calls nothing: the runtime is
// never entered again.
typedef void (*FrameCallback)(double time);
EM_JS(void, askAnimationFrame, (FrameCallback onFrame), {
  requestAnimationFrame(function(time) {
    if (ABORT || (typeof runtimeExited != 'undefined' && runtimeExited)) return;
    wasmTable.get(onFrame)(time);
  });
});

void onAnimationFrame(double time) {
  if (idleCallback == nullptr) {
    looping = false;
    return;
  }
  if (fromRest || (time >= nextTickMs && time - lastTickMs >= MIN_GAP_MS)) {
    // The first tick since a rest owes nothing. After it, a frame that comes late keeps the time
    // owed, so that frames of 6.9 ms (144 Hz) still give 60 ticks a second, but never more than a
    // tick's: a stall (a hidden tab, a slow frame) is not made up by a burst of ticks.
    if (fromRest)
      nextTickMs = time + TICK_MS - JITTER_MS;
    else
      nextTickMs = nextTickMs + TICK_MS > time ? nextTickMs + TICK_MS : time;
    fromRest = false;
    lastTickMs = time;
    ticking = true;
    drewInTick = false;
    idleCallback();
    ticking = false;
    if (!drewInTick) {
      looping = false; // at rest: the next frame handed over outside a tick starts the loop again
      fromRest = true;
      return;
    }
  }
  askAnimationFrame(onAnimationFrame);
}

void startLoop(void) {
  if (looping || idleCallback == nullptr) return;
  looping = true;
  askAnimationFrame(onAnimationFrame);
}

} // namespace

void glutIdleFunc(void (*callback)(void)) {
  idleCallback = callback;
  startLoop();
}

void glutSwapBuffers(void) {
  if (fixedgl::recordingList()) fixedgl::unsupported("glutSwapBuffers inside a display list");
  fixedgl::drawPending();
  if (ticking)
    drewInTick = true;
  else
    startLoop(); // an event changed the game (a key, a tap, a resize): it may have ticks to run
}
