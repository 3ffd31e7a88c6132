// Fuzz target: arbitrary bytes become key presses and idle ticks for the game, which runs against
// the recording double; the board invariants are checked after every event, and a broken one
// aborts, which libFuzzer reports as a crash with the input that caused it.
//
// One byte is one event:
//   0x00-0x3F  idle, (byte + 1) ticks, the invariants checked after each
//   0x40-0x4F  idle until the cascade under way has ended, then one tick more (camera to rest)
//   0x50-0x6F  an arrow key: special(GLUT_KEY_LEFT + byte % 4)
//   0x70-0x7F  another special code (function keys, Home ..., out-of-range values)
//   0x80-0xBF  Enter
//   0xC0-0xDF  Space
//   0xE0-0xFF  the next byte, whatever it is, to keyboard; the quit keys are skipped, since they
//              end the process
#include <GL/glut.h>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "game/state.h"
#include "gl_recorder.h"
#include "invariants.h"

int runFizzgridMain(int argc, char **argv);

namespace {

const unsigned char KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_SPACE = 32;
// Special codes that are not arrows: F1, F12, Page Up, Page Down, Home, End, Insert, the codes
// either side of the arrows (99, 104), and values that no key has.
const int otherSpecialCodes[16] = {1,  12,   104, 105, 106, 107,     108,     99,
                                   -1, -100, 0,   255, 356, INT_MIN, INT_MAX, 1 << 16};
// A cascade can take many waves of 19 ticks each; this bounds one settle event.
const int settleTickLimit = 19 * 200;

// Orbs placed since the last new game, counted here from the Enters the game accepted and the
// Spaces that started a new game; waves only move orbs, so the board must always hold this many.
int orbsPlaced;
// The player whose orb started the move being resolved; 2 at the start of a game, so that
// player 1 is the one to move.
int mover;

[[noreturn]] void broken(const char *invariant, int x = -1, int y = -1) {
  fprintf(stderr,
          "broken invariant: %s (cell %d,%d; phase %d, player %d, burstStep %d, swingAngle %d, "
          "cursor %d,%d, orbs placed %d)\n",
          invariant, x, y, gamePhase, currentPlayer, burstStep, swingAngle, cursorX, cursorY,
          orbsPlaced);
  abort();
}

bool inWave() { return gamePhase == PHASE_BURST_GROW || gamePhase == PHASE_BURST_SHRINK; }

void checkInvariants() {
  BrokenInvariant broke = findBrokenInvariant(orbsPlaced);
  if (broke.what) broken(broke.what, broke.x, broke.y);
}

int otherPlayer(int player) { return player == 1 ? 2 : 1; }

// Checked when a move may have ended: the mover keeps the turn through every wave and a win (only
// the mover can win), and the other player moves next otherwise.
void checkTurn() {
  if (gamePhase == PHASE_AWAIT_MOVE) {
    if (currentPlayer != otherPlayer(mover)) broken("the turn passes once a move is over");
  } else if (currentPlayer != mover) {
    broken("the mover keeps the turn through the waves and the win");
  } else if (!inWave() && gamePhase != PHASE_PLAYER1_WON + mover - 1) {
    broken("only the mover can win");
  }
}

void tick() {
  int framesBefore = glrec::framesSwapped;
  bool wave = inWave();
  glrec::idleFunc();
  if (wave && glrec::framesSwapped != framesBefore + 1)
    broken("every tick of a wave draws a frame");
  if (wave) checkTurn();
  checkInvariants();
}

void pressKey(unsigned char key) {
  if (key == 'q' || key == 'Q' || key == KEY_ESCAPE) return;
  int phase = gamePhase, player = currentPlayer, framesBefore = glrec::framesSwapped;
  int owner = cellOwner[cursorX][cursorY];
  glrec::keyboardFunc(key, 0, 0);
  int frames = glrec::framesSwapped - framesBefore;
  bool won = phase == PHASE_PLAYER1_WON || phase == PHASE_PLAYER2_WON;
  if (phase == PHASE_AWAIT_MOVE && key == KEY_ENTER) {
    bool allowed = owner == 0 || owner == player;
    if (frames != (allowed ? 1 : 0))
      broken("Enter places an orb (one frame) on a free or own cell, and is refused (no frame) "
             "on the other player's");
    if (allowed) {
      orbsPlaced++;
      mover = player;
      checkTurn();
    }
  } else if (won && key == KEY_SPACE) {
    if (frames != 1) broken("Space after a win starts a new game and draws a frame");
    orbsPlaced = 0;
    mover = 2;
    checkTurn();
  } else if (frames != 0) {
    broken("a key that does not apply draws no frame");
  }
  checkInvariants();
}

void pressSpecial(int key) {
  bool arrow = key >= GLUT_KEY_LEFT && key <= GLUT_KEY_DOWN;
  int framesExpected = arrow && gamePhase == PHASE_AWAIT_MOVE ? 1 : 0;
  int framesBefore = glrec::framesSwapped;
  glrec::specialFunc(key, 0, 0);
  if (glrec::framesSwapped - framesBefore != framesExpected)
    broken("an arrow draws one frame while a move is awaited, any other special key none");
  checkInvariants();
}

// A fresh process: zeroed variables, then what main sets. The sphere display lists stay built
// from earlier inputs, as a GL context would keep them; rebuilding the 100-level sphere for every
// input would take most of the run.
void startProcess() {
  burstStep = 0;
  char program[] = "fizzgrid_fuzz";
  char *argv[] = {program, nullptr};
  runFizzgridMain(1, argv);
  if (!glrec::displayFunc || !glrec::reshapeFunc || !glrec::keyboardFunc || !glrec::specialFunc ||
      !glrec::idleFunc)
    broken("main registers all five callbacks");
  orbsPlaced = 0;
  mover = 2;
  checkTurn();
  glrec::reshapeFunc(600, 600);
  glrec::displayFunc();
  checkInvariants();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  glrec::logging = false; // count calls and frames only: no log grows without bound
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  startProcess();
  for (size_t i = 0; i < size; i++) {
    uint8_t event = data[i];
    if (event < 0x40) {
      for (int t = 0; t <= event; t++)
        tick();
    } else if (event < 0x50) {
      for (int t = 0; t < settleTickLimit && inWave(); t++)
        tick();
      tick();
    } else if (event < 0x70) {
      pressSpecial(GLUT_KEY_LEFT + event % 4);
    } else if (event < 0x80) {
      pressSpecial(otherSpecialCodes[event - 0x70]);
    } else if (event < 0xC0) {
      pressKey(KEY_ENTER);
    } else if (event < 0xE0) {
      pressKey(KEY_SPACE);
    } else if (i + 1 < size) {
      pressKey(data[++i]);
    }
  }
  return 0;
}
