// Byte-driven play with the rules checked after every key and tick.
#include "support.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"

namespace {

enum Event { LEFT, UP, RIGHT, DOWN, ENTER, SPACE, OTHER_KEY, TICKS }; // byte & 7

struct State {
  int orbs[8][8], owner[8][8], flag[8][8];
  int player, phase, step, x, y, angle, back;
};

State now() {
  State s{{}, {}, {}, currentPlayer, gamePhase, burstStep, cursorX, cursorY, swingAngle, swingBack};
  memcpy(s.orbs, orbCount, sizeof s.orbs);
  memcpy(s.owner, cellOwner, sizeof s.owner);
  memcpy(s.flag, burstFlag, sizeof s.flag);
  return s;
}

// The board after an event; after a tick, what each cell gave and received.
const char *brokenBoard(const State &was, const State &is, bool tick) {
  bool burst = was.phase == PHASE_BURST_GROW && is.phase == PHASE_BURST_SHRINK;
  int ownedBy[3] = {};
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      int critical = (x > 0) + (x < 7) + (y > 0) + (y < 7); // its neighbours on the board
      int received = (x > 0 && was.flag[x - 1][y]) + (x < 7 && was.flag[x + 1][y]) +
                     (y > 0 && was.flag[x][y - 1]) + (y < 7 && was.flag[x][y + 1]); // bursting
      ownedBy[is.owner[x][y]]++;
      int moved = burst ? received - was.flag[x][y] * critical : 0;
      if (tick && is.orbs[x][y] != was.orbs[x][y] + moved)
        return "orbs move only in bursts: a critical mass out, an orb in per bursting neighbour";
      if (burst && is.owner[x][y] != (received ? was.player : was.owner[x][y]))
        return "the cells that a burst gives orbs to, and only those, become the mover's";
      if (is.phase != PHASE_AWAIT_MOVE) continue;
      if (is.orbs[x][y] >= critical || is.flag[x][y]) return "at rest, no cell is set to burst";
      if ((is.orbs[x][y] > 0) != (is.owner[x][y] > 0)) return "at rest, cells with orbs are owned";
    }
  }
  if (is.phase == PHASE_PLAYER1_WON && ownedBy[2]) return "player 1 wins when 2 owns no cell";
  if (is.phase == PHASE_PLAYER2_WON && ownedBy[1]) return "player 2 wins when 1 owns no cell";
  bool waveOver = was.phase == PHASE_BURST_SHRINK && is.phase != PHASE_BURST_SHRINK;
  bool won = is.phase == PHASE_PLAYER1_WON || is.phase == PHASE_PLAYER2_WON;
  if (waveOver && won != (!ownedBy[1] || !ownedBy[2])) return "a wave leaving one owner wins";
  if (is.phase != PHASE_BURST_GROW && is.phase != PHASE_BURST_SHRINK && is.step)
    return "burstStep is 0 outside a wave";
  return nullptr;
}

// What one key or tick may change, and the frames it draws.
const char *brokenEvent(Event event, const State &was, int frames) {
  State is = now();
  bool changed = memcmp(&was, &is, sizeof was) != 0;
  bool awaiting = was.phase == PHASE_AWAIT_MOVE;
  bool won = was.phase == PHASE_PLAYER1_WON || was.phase == PHASE_PLAYER2_WON;
  bool steering = event <= DOWN && awaiting;
  int other = was.player == 1 ? 2 : 1;

  if (frames != (changed || steering)) return "a frame for each change and arrow, and no other";
  if (event != TICKS && (is.angle != was.angle || is.back != was.back)) return "keys never sway";
  if (event < SPACE && changed && !awaiting) return "keys wait out a wave or a win";
  if (event == OTHER_KEY && changed) return "keys that are not the game's do nothing";
  if (event == SPACE && changed != won) return "Space starts a new game after a win, only";
  if (event == SPACE && won && is.player != 1) return "player 1 moves first in a new game";
  if (event > DOWN && event != SPACE && (is.x != was.x || is.y != was.y))
    return "only the arrows and a new game move the cursor";
  if (event == ENTER && awaiting && changed == (was.owner[was.x][was.y] == other))
    return "Enter places an orb, unless the cell is the other player's";
  if (event == ENTER && changed && is.orbs[was.x][was.y] != was.orbs[was.x][was.y] + 1)
    return "Enter places one orb, on the cursor cell";
  State steered = was; // the cursor a cell the arrow's way, or stopped at the edge
  steered.x = std::clamp(was.x + (event == RIGHT) - (event == LEFT), 0, 7);
  steered.y = std::clamp(was.y + (event == UP) - (event == DOWN), 0, 7);
  if (steering && memcmp(&is, &steered, sizeof is)) return "an arrow moves the cursor, and only it";
  return brokenBoard(was, is, event == TICKS);
}

} // namespace

void startPlay() {
  setStartingState();
  burstStep = 0;
  gl::calls.clear();
}

const char *playByte(unsigned char byte) {
  Event event = Event(byte & 7);
  for (int tick = 0; tick < (event == TICKS ? (byte >> 3) + 1 : 1); tick++) {
    State was = now();
    gl::calls.clear();
    if (event <= DOWN) special(GLUT_KEY_LEFT + event, 0, 0);
    if (event == ENTER || event == SPACE) keyboard(event == ENTER ? 13 : ' ', 0, 0);
    int other = byte >> 4; // keys that are not the game's: F1 or Page Up onwards, and a letter
    if (event == OTHER_KEY) special((byte & 8 ? GLUT_KEY_PAGE_UP : GLUT_KEY_F1) + other, 0, 0);
    if (event == OTHER_KEY) keyboard("wasdWASDhjkl0x\t\b"[other], 0, 0);
    if (event == TICKS) idle();
    int frames = 0;
    for (const GlCall &call : gl::calls)
      frames += call.name == "glutSwapBuffers";
    if (const char *broke = brokenEvent(event, was, frames)) return broke;
    if (gamePhase != was.phase) break; // a run of ticks stops there, so that keys come between
  }
  return nullptr;
}

// The fuzz build's entry point: a broken rule aborts, with its name, and libFuzzer keeps the input.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  startPlay();
  for (size_t i = 0; i < size; i++) {
    const char *broke = playByte(data[i]);
    if (broke) fprintf(stderr, "%zu: %s\n", i, broke);
    if (broke) abort();
  }
  return 0;
}
