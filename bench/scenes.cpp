// Game states of the benchmarked and pictured frames.
#include "scenes.h"

#include "app/frame.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "render/sphere.h"

// The starting position, as main leaves it.
static void setStart(void) {
  setStartingState();
  burstStep = 0; // left alone by setStartingState, and other scenes set it
}

// A game in progress, played with the game's own keys: player 1 builds (4, 4), player 2 (5, 4) and
// (5, 3); the last move, player 1's third orb on the edge cell (7, 2), bursts it and takes player
// 2's (7, 1). The end-to-end test plays the same moves with real keys and compares the result.
static const int progressMoves[][2] = {{4, 4}, {5, 4}, {4, 4}, {5, 4}, {4, 4},
                                       {5, 3}, {3, 4}, {5, 3}, {4, 5}, {5, 3},
                                       {7, 2}, {7, 1}, {7, 2}, {6, 5}, {7, 2}};
static const int progressMoveCount = sizeof progressMoves / sizeof progressMoves[0];

// Plays the moves, each with its waves and the camera's return to rest; the last move's wave only
// for `lastTicks` ticks when that is not negative.
static void playProgress(int lastTicks) {
  setStart();
  for (int move = 0; move < progressMoveCount; move++) {
    cursorX = progressMoves[move][0];
    cursorY = progressMoves[move][1];
    keyboard('\r', 0, 0);
    for (int tick = 0; gamePhase != PHASE_AWAIT_MOVE || swingAngle != 750; tick++) {
      if (move == progressMoveCount - 1 && tick == lastTicks) return;
      idle();
    }
  }
}

static void setProgress(void) { playProgress(-1); }

// The last move's burst at its largest before the spread (step 9), the camera swayed.
static void setWave(void) { playProgress(8); }

// The heaviest wave frame: every cell bursting at step 10, just after the spread, which gives a
// board that bursts everywhere its own counts back (224 orbs, 64 burst spheres).
static void setFullWave(void) {
  setStart();
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      orbCount[x][y] = criticalMass[x][y];
      cellOwner[x][y] = 1;
      burstFlag[x][y] = 1;
    }
  }
  gamePhase = PHASE_BURST_SHRINK;
  burstStep = 10;
  swingAngle = 760; // tick 10 of a wave started from rest
  swingBack = 1;
}

// The start with the cursor walked to the corner (0, 0), as the end-to-end test walks it: lit at a
// slant there, player 1's red cursor stays below 255, which it does not straight under the light.
static void setCursor(void) {
  setStart();
  cursorX = 0;
  cursorY = 0;
}

static void setPlayer1Wins(void) {
  setStart();
  gamePhase = PHASE_PLAYER1_WON;
}

static void setPlayer2Wins(void) {
  setStart();
  gamePhase = PHASE_PLAYER2_WON;
}

const Scene scenes[] = {
    {"start", setStart, nullptr},
    {"cursor", setCursor, nullptr},
    {"progress", setProgress, nullptr},
    {"wave", setWave, nullptr},
    {"full-wave", setFullWave, nullptr},
    {"player1-wins", setPlayer1Wins, nullptr},
    {"player2-wins", setPlayer2Wins, nullptr},
    {"build3", setProgress, &sphereList3},
    {"build15", setWave, &sphereList15},
    {"build100", setPlayer1Wins, &sphereList100},
};
const int sceneCount = sizeof scenes / sizeof scenes[0];

void drawAllOnce(void) {
  for (const Scene &scene : scenes) {
    scene.setState();
    display();
  }
}
