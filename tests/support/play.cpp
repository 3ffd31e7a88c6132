// Byte-driven play with the rules checked after every key and tick.
#include "support.h"

#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"

namespace {

struct State {
  int orbs[8][8], owner[8][8], flag[8][8], player, phase, step, x, y, angle, back;
};

State now() {
  State s{{}, {}, {}, currentPlayer, gamePhase, burstStep, cursorX, cursorY, swingAngle, swingBack};
  memcpy(s.orbs, orbCount, sizeof s.orbs), memcpy(s.owner, cellOwner, sizeof s.owner);
  return memcpy(s.flag, burstFlag, sizeof s.flag), s;
}

int placed; // orbs placed since the game began: waves only move them

const char *brokenBoard(const State &s) {
  int orbs = 0, owned[3] = {};
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++) {
      int n = s.orbs[x][y], critical = (x > 0) + (x < 7) + (y > 0) + (y < 7); // counted here
      if (s.phase == PHASE_AWAIT_MOVE && (n >= critical || s.flag[x][y] || !n != !s.owner[x][y]))
        return "awaiting a move, every cell is below critical mass, unflagged, owned if not empty";
      orbs += n, owned[s.owner[x][y]]++;
    }
  if (orbs != placed) return "waves neither make nor lose orbs";
  return s.phase > 2 && owned[5 - s.phase] ? "the winner alone owns cells" : nullptr;
}

// What one key or tick may change, and the frames it draws.
const char *brokenEvent(int kind, const State &was, int frames) {
  State is = now();
  bool changed = memcmp(&was, &is, sizeof was) != 0, awaiting = was.phase == PHASE_AWAIT_MOVE;
  placed = kind == 5 && changed ? 0 : placed + (kind == 4 && changed);
  if (kind == 7
          ? frames != (was.phase == 1 || was.phase == 2 || was.angle != 750)
          : frames != (changed || (kind < 4 && awaiting)) || (changed && !awaiting && kind != 5))
    return "an event that does something draws one frame, others none; keys wait out a wave";
  if (kind == 5 && changed != (was.phase > 2)) return "Space starts a new game after a win, only";
  return brokenBoard(is);
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

// The fuzz build's entry point: a broken rule aborts, with its name, and libFuzzer keeps the input.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  startPlay();
  for (size_t i = 0; i < size; i++)
    if (const char *broke = playByte(data[i])) fprintf(stderr, "%zu: %s\n", i, broke), abort();
  return 0;
}
