// Byte-driven play with the rules checked after every event.
#include "play.h"

#include <GL/glut.h>
#include <cstring>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_double.h"

namespace {

struct State {
  int orbs[8][8], owner[8][8], flag[8][8], player, phase, step, cursorX, cursorY, angle, back;
};

State now() {
  State s;
  memcpy(s.orbs, orbCount, sizeof s.orbs), memcpy(s.owner, cellOwner, sizeof s.owner);
  memcpy(s.flag, burstFlag, sizeof s.flag), s.player = currentPlayer, s.phase = gamePhase;
  s.step = burstStep, s.cursorX = cursorX, s.cursorY = cursorY, s.angle = swingAngle;
  return s.back = swingBack, s;
}

int placed; // orbs placed since the game began: waves only move them
bool inWave(int phase) { return phase == PHASE_BURST_GROW || phase == PHASE_BURST_SHRINK; }
int clamp(int v) { return v < 0 ? 0 : v > 7 ? 7 : v; }

const char *brokenBoard() {
  int orbs = 0, flags = 0, owned[3] = {}, wave = inWave(gamePhase);
  if (gamePhase < 0 || gamePhase > 4 || currentPlayer < 1 || currentPlayer > 2 ||
      burstStep < wave || burstStep > 10 * wave || swingAngle < 740 || swingAngle > 760)
    return "phase 0..4, player 1 or 2, burstStep 1..10 in a wave and 0 otherwise, heading 740..760";
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++) {
      int n = orbCount[x][y], owner = cellOwner[x][y], flag = burstFlag[x][y];
      int critical = (x > 0) + (x < 7) + (y > 0) + (y < 7); // counted, not read from the game
      if (n < 0 || owner < 0 || owner > 2 || (n > 0 && owner == 0)) return "cell out of range";
      if (gamePhase == PHASE_AWAIT_MOVE && (n >= critical || flag || (!n && owner)))
        return "awaiting a move, every cell is below critical mass, unflagged, owned if not empty";
      if ((gamePhase == PHASE_BURST_GROW && flag != (n >= critical)) ||
          (flag && owner != currentPlayer))
        return "a wave flags exactly the cells at critical mass, all of them the mover's";
      orbs += n, flags += flag, owned[owner]++;
    }
  if (orbs != placed || wave > flags) return "waves neither make nor lose orbs, and have bursts";
  if (gamePhase == PHASE_AWAIT_MOVE && placed >= 2 && (!owned[1] || !owned[2]))
    return "a wave that leaves one player alone on the board wins";
  int winner = gamePhase - 2;
  return gamePhase > 2 && (!owned[winner] || owned[3 - winner]) ? "the winner alone owns cells"
                                                                : nullptr;
}

// What one key or tick may change, and the frames it draws.
const char *brokenEvent(int kind, const State &was, int frames) {
  State is = now();
  bool changed = memcmp(&was, &is, sizeof was) != 0, awaiting = was.phase == PHASE_AWAIT_MOVE;
  placed = kind == 5 && changed ? 0 : placed + (kind == 4 && changed);
  if (kind == 7
          ? frames != (inWave(was.phase) || was.angle != 750)
          : frames != (changed || (kind < 4 && awaiting)) || (changed && !awaiting && kind != 5))
    return "an event that does something draws one frame, others none; keys wait out a wave";
  if (kind < 4 && awaiting &&
      (is.cursorX != clamp(was.cursorX + (kind == 2) - (kind == 0)) ||
       is.cursorY != clamp(was.cursorY + (kind == 1) - (kind == 3))))
    return "an arrow moves the cursor one cell its way, stopping at the edge";
  if (kind == 4 && changed != (awaiting && was.owner[was.cursorX][was.cursorY] != 3 - was.player))
    return "Enter places an orb on a free or own cell while a move is awaited";
  if (kind == 4 && changed && is.phase == PHASE_AWAIT_MOVE && is.player == was.player)
    return "a move that bursts nothing passes the turn";
  if (kind == 5 && changed != (was.phase > 2))
    return "Space starts a new game after a win, and only then";
  return brokenBoard();
}

} // namespace

void startPlay() { setStartingState(), burstStep = 0, placed = 0, gl::reset(); }

const char *playByte(unsigned char byte) {
  int kind = byte & 7;
  for (int tick = 0; tick < (kind == 7 ? (byte >> 3) + 1 : 1); tick++) {
    State was = now();
    int frames = gl::frames;
    if (kind < 4) special(GLUT_KEY_LEFT + kind, 0, 0);
    if (kind == 4 || kind == 5) keyboard(kind == 4 ? 13 : ' ', 0, 0);
    if (kind == 6) byte & 8 ? special(byte >> 4, 0, 0) : keyboard('x', 0, 0); // F1..F12 and others
    if (kind == 7) idle();
    gl::calls.clear();
    if (const char *broke = brokenEvent(kind, was, gl::frames - frames)) return broke;
  }
  return nullptr;
}
