// Taps and clicks on the board turned into the game's own keys, for the page (shell.html).
//
// The page calls fizzgridPhase when a finger or button goes down on the canvas and fizzgridTap
// when it comes up, if it has not strayed. A tap delivers to the game's handlers (game/input.h)
// the keys a player would press: the arrows to the tapped tile through special, Enter on the
// cursor's tile through keyboard, Space after a win; each handler draws its own frame. Reads the
// game state and the back-end's frame matrices; writes nothing of its own.
#include <GL/glut.h>
#include <emscripten/emscripten.h>

#include "webgl.h"
#include "game/input.h"
#include "game/state.h"
#include "render/board.h"

namespace {

// The world point p in window coordinates (buffer pixels from the bottom-left corner), with its
// distance along the eye's axis in window[2]; false when it lies behind the eye.
bool toWindow(const float modelview[16], const float projection[16], const int viewport[4],
              const float p[3], float window[3]) {
  float eye[4], clip[4];
  for (int row = 0; row < 4; row++)
    eye[row] = modelview[row] * p[0] + modelview[4 + row] * p[1] + modelview[8 + row] * p[2] +
               modelview[12 + row];
  for (int row = 0; row < 4; row++)
    clip[row] = projection[row] * eye[0] + projection[4 + row] * eye[1] +
                projection[8 + row] * eye[2] + projection[12 + row] * eye[3];
  if (clip[3] <= 0) return false;
  window[0] = viewport[0] + (clip[0] / clip[3] + 1) * viewport[2] / 2;
  window[1] = viewport[1] + (clip[1] / clip[3] + 1) * viewport[3] / 2;
  window[2] = clip[3];
  return true;
}

// Whether (px, py) lies in the convex quadrilateral q, its corners in order either way round.
bool inside(const float q[4][3], float px, float py) {
  int side = 0;
  for (int k = 0; k < 4; k++) {
    const float *a = q[k], *b = q[(k + 1) % 4];
    float cross = (b[0] - a[0]) * (py - a[1]) - (b[1] - a[1]) * (px - a[0]);
    int now = cross > 0 ? 1 : cross < 0 ? -1 : 0;
    if (now != 0 && side != 0 && now != side) return false;
    if (now != 0) side = now;
  }
  return true;
}

// The cell whose tile's top face, where the last frame drew it, holds the window point (px, py).
// Where a raised tile's face overlaps its lower neighbour's on screen, the raised one, which is
// drawn over it: the nearer to the eye (the camera looks down on the board, within 0.07 rad of
// straight down even in a wave's sway, so a face 3 units higher is nearer at every point of it).
// False in a gap or off the board.
bool cellAt(float px, float py, int *cellX, int *cellY) {
  float modelview[16], projection[16];
  int viewport[4];
  fixedgl::frameMatrices(modelview, projection, viewport);
  bool found = false;
  float nearest = 0;
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++) {
      float corner[3], size, face[4][3];
      tileTopFace(x, y, corner, &size);
      const float offsets[4][2] = {{0, 0}, {size, 0}, {size, size}, {0, size}};
      bool seen = true;
      for (int k = 0; k < 4 && seen; k++) {
        const float p[3] = {corner[0] + offsets[k][0], corner[1] + offsets[k][1], corner[2]};
        seen = toWindow(modelview, projection, viewport, p, face[k]);
      }
      if (!seen || !inside(face, px, py) || (found && face[0][2] >= nearest)) continue;
      found = true;
      nearest = face[0][2];
      *cellX = x;
      *cellY = y;
    }
  return found;
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int fizzgridPhase(void) { return gamePhase; }

// A tap or click by a finger or button that went down at (downX, downY) while the game's phase was
// phaseAtDown, and came up at (upX, upY), in buffer pixels from the canvas's bottom-left corner.
// One that went down in another phase (before a wave, or before the winner's screen) does nothing,
// as does any during a wave, and one that ends on another tile than it began on, or off the tiles.
extern "C" EMSCRIPTEN_KEEPALIVE void fizzgridTap(float downX, float downY, float upX, float upY,
                                                 int phaseAtDown) {
  if (gamePhase != phaseAtDown) return;
  int x = (int)upX, y = (int)upY; // the pointer's position that comes with each key, never read
  if (gamePhase == PHASE_PLAYER1_WON || gamePhase == PHASE_PLAYER2_WON) {
    keyboard(' ', x, y);
    return;
  }
  int cellX, cellY, endX, endY;
  if (gamePhase != PHASE_AWAIT_MOVE || !cellAt(downX, downY, &cellX, &cellY) ||
      !cellAt(upX, upY, &endX, &endY) || endX != cellX || endY != cellY)
    return;
  if (cellX == cursorX && cellY == cursorY) {
    keyboard('\r', x, y);
    return;
  }
  for (int steps = cellX - cursorX; steps != 0; steps += steps < 0 ? 1 : -1)
    special(steps < 0 ? GLUT_KEY_LEFT : GLUT_KEY_RIGHT, x, y);
  for (int steps = cellY - cursorY; steps != 0; steps += steps < 0 ? 1 : -1)
    special(steps < 0 ? GLUT_KEY_DOWN : GLUT_KEY_UP, x, y);
}
