// Byte-driven play with a check of every event against the rules of the game.
#include "play.h"

#include <GL/glut.h>
#include <cstring>

#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "gl_double.h"

namespace {

struct State {
  int orbs[8][8], owner[8][8], flag[8][8];
  int player, phase, step, cursorX, cursorY, angle, back;
};

State now() {
  State s;
  memcpy(s.orbs, orbCount, sizeof s.orbs), memcpy(s.owner, cellOwner, sizeof s.owner);
  memcpy(s.flag, burstFlag, sizeof s.flag);
  s.player = currentPlayer, s.phase = gamePhase, s.step = burstStep;
  s.cursorX = cursorX, s.cursorY = cursorY, s.angle = swingAngle, s.back = swingBack;
  return s;
}

bool same(const State &a, const State &b) { return memcmp(&a, &b, sizeof a) == 0; }
bool inWave(int phase) { return phase == PHASE_BURST_GROW || phase == PHASE_BURST_SHRINK; }
int clamp(int v) { return v < 0 ? 0 : v > 7 ? 7 : v; }
// Counted here rather than read from criticalMass, so a wrong table is caught too.
int neighbours(int x, int y) { return (x > 0) + (x < 7) + (y > 0) + (y < 7); }

int placed; // orbs placed since the game began: waves only move them

const char *brokenCell(int x, int y) {
  int orbs = orbCount[x][y], owner = cellOwner[x][y], flag = burstFlag[x][y];
  if (orbs < 0 || owner < 0 || owner > 2 || (orbs > 0 && owner == 0)) return "cell out of range";
  if (gamePhase == PHASE_AWAIT_MOVE && (orbs >= neighbours(x, y) || flag || (!orbs && owner)))
    return "while a move is awaited every cell is below critical mass, unflagged, owned iff full";
  if (gamePhase == PHASE_BURST_GROW && flag != (orbs >= neighbours(x, y)))
    return "a wave flags exactly the cells at critical mass";
  if (inWave(gamePhase) && flag && owner != currentPlayer) return "bursting cells are the mover's";
  return nullptr;
}

const char *brokenBoard() {
  if (gamePhase < 0 || gamePhase > 4 || currentPlayer < 1 || currentPlayer > 2)
    return "phase 0..4, player 1 or 2";
  if (inWave(gamePhase) ? burstStep < 1 || burstStep > 10 : burstStep != 0)
    return "burstStep 1..10 in a wave, else 0";
  if (swingAngle < 740 || swingAngle > 760 || clamp(cursorX) != cursorX ||
      clamp(cursorY) != cursorY)
    return "heading 740..760, cursor on the board";
  int orbs = 0, flags = 0, owned[3] = {0, 0, 0};
  for (int x = 0; x < 8; x++)
    for (int y = 0; y < 8; y++) {
      if (const char *broke = brokenCell(x, y)) return broke;
      orbs += orbCount[x][y], flags += burstFlag[x][y], owned[cellOwner[x][y]]++;
    }
  if (orbs != placed) return "waves neither make nor lose orbs";
  if (inWave(gamePhase) && flags == 0) return "a wave has a bursting cell";
  int winner = gamePhase - 2, loser = 3 - winner;
  if (gamePhase >= PHASE_PLAYER1_WON && (owned[winner] == 0 || owned[loser] != 0))
    return "the winner alone owns cells";
  return nullptr;
}

const char *arrow(int kind, const State &before, int frames) {
  State want = before;
  if (before.phase == PHASE_AWAIT_MOVE) {
    want.cursorX = clamp(before.cursorX + (kind == 2) - (kind == 0));
    want.cursorY = clamp(before.cursorY + (kind == 1) - (kind == 3));
  }
  if (same(now(), want) && frames == (before.phase == PHASE_AWAIT_MOVE)) return nullptr;
  return "an arrow moves the cursor a cell, within the board, and draws a frame, while awaited";
}

const char *enter(const State &before, int frames) {
  int x = before.cursorX, y = before.cursorY, player = before.player;
  if (before.phase != PHASE_AWAIT_MOVE || before.owner[x][y] == 3 - player)
    return same(now(), before) && frames == 0 ? nullptr : "a refused Enter changes nothing";
  placed++;
  bool bursts = gamePhase == PHASE_BURST_GROW && burstStep == 1 && currentPlayer == player;
  bool passes = gamePhase == PHASE_AWAIT_MOVE && currentPlayer == 3 - player;
  if (orbCount[x][y] == before.orbs[x][y] + 1 && cellOwner[x][y] == player && frames == 1 &&
      (bursts || passes))
    return nullptr;
  return "Enter adds the mover's orb, starts a wave or passes the turn, and draws a frame";
}

const char *space(const State &before, int frames) {
  if (before.phase < PHASE_PLAYER1_WON)
    return same(now(), before) && frames == 0 ? nullptr : "Space does nothing during a game";
  placed = 0;
  State fresh = before;
  memset(fresh.orbs, 0, sizeof fresh.orbs), memset(fresh.owner, 0, sizeof fresh.owner);
  memset(fresh.flag, 0, sizeof fresh.flag);
  fresh.player = 1, fresh.phase = PHASE_AWAIT_MOVE, fresh.cursorX = fresh.cursorY = 4;
  return same(now(), fresh) && frames == 1 ? nullptr : "Space after a win starts a new game";
}

const char *tick(const State &before, int frames) {
  if (inWave(before.phase))
    return frames == 1 && (swingAngle - before.angle) * (swingAngle - before.angle) == 1
               ? nullptr
               : "a tick of a wave sways the camera one unit and draws a frame";
  State rest = before;
  if (before.angle != 750) rest.angle = 750, rest.back = 0;
  return same(now(), rest) && frames == (before.angle != 750)
             ? nullptr
             : "a tick outside a wave only brings the camera to rest, with one frame";
}

} // namespace

void startPlay() {
  setStartingState();
  burstStep = 0;
  placed = 0;
  gl::reset();
}

const char *playByte(unsigned char byte) {
  int kind = byte & 7, ticks = kind == 7 ? (byte >> 3) + 1 : 1;
  for (int i = 0; i < ticks; i++) {
    State before = now();
    int frames = gl::frames;
    const char *broke = nullptr;
    if (kind < 4) special(GLUT_KEY_LEFT + kind, 0, 0);
    if (kind == 4 || kind == 5) keyboard(kind == 4 ? 13 : ' ', 0, 0);
    if (kind == 6 && (byte & 8)) special(byte >> 4, 0, 0); // F1..F12 and codes of no key
    if (kind == 6 && !(byte & 8)) keyboard(byte >> 4 == 13 ? 'a' : byte >> 4, 0, 0); // not Enter
    if (kind == 7) idle();
    frames = gl::frames - frames;
    if (kind < 4) broke = arrow(kind, before, frames);
    if (kind == 4) broke = enter(before, frames);
    if (kind == 5) broke = space(before, frames);
    if (kind == 6 && !(same(now(), before) && frames == 0)) broke = "other keys are ignored";
    if (kind == 7) broke = tick(before, frames);
    if (!broke) broke = brokenBoard();
    gl::reset();
    if (broke) return broke;
  }
  return nullptr;
}
