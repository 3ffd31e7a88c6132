// Play from bytes, each a key or a run of ticks, with the rules checked after every key and tick.
#include "support.h"

#include <GL/glut.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"

enum Event { LEFT, UP, RIGHT, DOWN, ENTER, SPACE, OTHER_KEY, TICKS }; // byte & 7

struct State {
  int orbs[8][8], owner[8][8], flag[8][8], player, phase, step, x, y, angle, back;
};

static State now() {
  State s{{}, {}, {}, currentPlayer, gamePhase, burstStep, cursorX, cursorY, swingAngle, swingBack};
  memcpy(s.orbs, orbCount, sizeof s.orbs);
  memcpy(s.owner, cellOwner, sizeof s.owner);
  memcpy(s.flag, burstFlag, sizeof s.flag);
  return s;
}

// The rules that a key or tick keeps, from the state before it: nullptr, or the one it broke.
static const char *broken(Event event, const State &was, int frames) {
  State is = now(), steered = was; // steered: the cursor a cell the arrow's way, kept on the board
  steered.x = std::clamp(was.x + (event == RIGHT) - (event == LEFT), 0, 7);
  steered.y = std::clamp(was.y + (event == UP) - (event == DOWN), 0, 7);
  bool changed = memcmp(&was, &is, sizeof was), awaiting = was.phase == PHASE_AWAIT_MOVE;
  bool steering = event <= DOWN && awaiting, placed = event == ENTER && awaiting && changed;
  bool newGame = event == SPACE && was.phase >= PHASE_PLAYER1_WON;
  bool burst = was.phase == PHASE_BURST_GROW && is.phase == PHASE_BURST_SHRINK;
  if (frames != (changed || steering)) return "a frame for each change and arrow, and no other";
  if (steering && memcmp(&is, &steered, sizeof is)) return "an arrow moves the cursor, and only it";
  if (event != TICKS && !steering && !placed && changed != newGame)
    return "keys do nothing but steer and place while a move is awaited, and Space after a win";
  if (event != TICKS && (is.angle != was.angle || is.back != was.back)) return "keys never sway";
  if ((placed || event == TICKS) && (is.x != was.x || is.y != was.y))
    return "Enter and ticks keep the cursor";
  if (newGame && is.player != 1) return "player 1 moves first in a new game";
  if (event == ENTER && awaiting && changed == (was.owner[was.x][was.y] == 3 - was.player))
    return "Enter places an orb, unless the cell is the other player's";
  int ownedBy[3] = {};
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      int critical = (x > 0) + (x < 7) + (y > 0) + (y < 7); // its neighbours on the board
      int received = (x > 0 && was.flag[x - 1][y]) + (x < 7 && was.flag[x + 1][y]) +
                     (y > 0 && was.flag[x][y - 1]) + (y < 7 && was.flag[x][y + 1]);
      int moved = burst ? received - was.flag[x][y] * critical : placed && x == was.x && y == was.y;
      ownedBy[is.owner[x][y]]++;
      if (is.orbs[x][y] != (newGame ? 0 : was.orbs[x][y] + moved)) // a new game empties the board
        return "orbs: one by Enter on the cursor; a burst's critical mass out, one in per burst";
      if (burst && is.owner[x][y] != (received ? was.player : was.owner[x][y]))
        return "the cells that a burst gives orbs to, and only those, become the mover's";
      if (is.phase != PHASE_AWAIT_MOVE) continue;
      if (is.orbs[x][y] >= critical || is.flag[x][y]) return "at rest, no cell is set to burst";
      if ((is.orbs[x][y] > 0) != (is.owner[x][y] > 0)) return "at rest, cells with orbs are owned";
    }
  }
  bool won = is.phase >= PHASE_PLAYER1_WON, waving = is.phase && !won;
  if (won && ownedBy[5 - is.phase]) return "the winner is the one player left owning cells";
  if (was.phase == PHASE_BURST_SHRINK && !waving && won != (!ownedBy[1] || !ownedBy[2]))
    return "a wave that leaves one player owning cells wins the game, and no other";
  return !waving && is.step ? "burstStep is 0 outside a wave" : nullptr;
}

void startPlay() {
  setStartingState();
  burstStep = 0;
}

const char *playByte(unsigned char byte) {
  Event event = Event(byte & 7);
  for (int tick = 0; tick < (event == TICKS ? (byte >> 3) + 1 : 1); tick++) {
    State was = now();
    glCalls.clear();
    if (event <= DOWN) special(GLUT_KEY_LEFT + event, 0, 0);
    if (event == ENTER || event == SPACE) keyboard(event == ENTER ? 13 : ' ', 0, 0);
    int other = byte >> 4; // keys that are not the game's: F1 or Page Up onwards, and a letter
    if (event == OTHER_KEY) special((byte & 8 ? GLUT_KEY_PAGE_UP : GLUT_KEY_F1) + other, 0, 0);
    if (event == OTHER_KEY) keyboard("wasdWASDhjkl0x\t\b"[other], 0, 0);
    if (event == TICKS) idle();
    int frames = std::count_if(glCalls.begin(), glCalls.end(),
                               [](const GlCall &c) { return c.name == "glutSwapBuffers"; });
    if (const char *rule = broken(event, was, frames)) return rule;
    if (gamePhase != was.phase) break; // a run of ticks stops there, so that keys come between
  }
  return nullptr;
}

// The fuzz build's entry point: a broken rule aborts, with its name, and libFuzzer keeps the input.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  startPlay();
  for (size_t i = 0; i < size; i++)
    if (const char *rule = playByte(data[i])) fprintf(stderr, "%zu: %s\n", i, rule), abort();
  return 0;
}
