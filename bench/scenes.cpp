// Game states of the benchmarked and pictured frames.
#include "scenes.h"

#include <cstring>

#include "app/frame.h"
#include "game/input.h"
#include "game/sequencer.h"
#include "game/state.h"
#include "render/sphere.h"

// The starting position, as main leaves it.
static void setStart(void) {
  setStartingState();
  burstStep = 0; // left alone by setStartingState; other scenes set it
}

// The fullest board a move can leave: every cell one orb short of bursting (160 orbs), the two
// players' cells in a checkerboard.
static void setLoaded(void) {
  setStart();
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++) {
      orbCount[x][y] = criticalMass[x][y] - 1;
      cellOwner[x][y] = (x + y) % 2 == 0 ? 1 : 2;
    }
  }
}

// The heaviest wave frame: every cell bursting at its largest sphere (step 10, just after the
// spread), each cell at its critical mass and so drawing 2, 3 or 4 orbs (224 orbs, 64 spheres of
// tessellation 15). A board where every cell bursts at once gets its own counts back from the
// spread, so this state is one the game can reach.
static void setWave(void) {
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

static void setWinner(void) {
  setLoaded();
  gamePhase = PHASE_PLAYER1_WON;
}

static void setWinner2(void) {
  setLoaded();
  gamePhase = PHASE_PLAYER2_WON;
}

// The game's first orb: player 1 has placed one at the cursor and player 2 is to move.
static void setFirstOrb(void) {
  setStart();
  orbCount[4][4] = 1;
  cellOwner[4][4] = 1;
  currentPlayer = 2;
}

// The frame that starts the first wave: player 1's second orb in a corner, drawn by Enter with
// burstStep 1 and the camera still at rest.
static void setFirstWave(void) {
  setFirstOrb();
  orbCount[0][0] = 2;
  cellOwner[0][0] = 1;
  orbCount[4][4] = 1;
  cellOwner[4][4] = 2;
  burstFlag[0][0] = 1;
  currentPlayer = 1;
  gamePhase = PHASE_BURST_GROW;
  burstStep = 1;
}

// A wave as a player sees it, played with the game's own Enter key and idle ticks: player 1 builds
// up the corner (0, 0), player 2 the middle, until player 1's second orb on (0, 0) bursts it. Its
// second wave bursts (1, 0) and (0, 1) together; the scene stops at that wave's largest spheres
// before the spread, radius 9.
static void setCascade(void) {
  static const int moves[][2] = {{0, 0}, {4, 4}, {1, 0}, {5, 4}, {1, 0}, {4, 4}, {2, 0}, {5, 4},
                                 {2, 0}, {4, 5}, {0, 1}, {3, 4}, {0, 1}, {3, 4}, {0, 0}};
  setStart();
  for (const int *move : moves) {
    cursorX = move[0];
    cursorY = move[1];
    keyboard('\r', 0, 0);
  }
  int wave = 1;
  for (int tick = 0; tick < 100 && !(wave == 2 && burstStep == 9); tick++) {
    idle();
    if (gamePhase == PHASE_BURST_GROW && burstStep == 1) wave++;
  }
}

const Scene scenes[] = {
    {"start", setStart, nullptr, true},
    {"loaded", setLoaded, nullptr, true},
    {"wave", setWave, nullptr, true},
    {"winner", setWinner, nullptr, true},
    {"build3", setFirstOrb, &sphereList3, true},
    {"build15", setFirstWave, &sphereList15, true},
    {"build100", setWinner, &sphereList100, true},
    {"winner2", setWinner2, nullptr, false},
    {"cascade", setCascade, nullptr, false},
};
const int sceneCount = sizeof scenes / sizeof scenes[0];

const Scene *findScene(const char *name) {
  for (const Scene &scene : scenes)
    if (std::strcmp(scene.name, name) == 0) return &scene;
  return nullptr;
}

void drawAllOnce(void) {
  for (int pass = 0; pass < 2; pass++) {
    for (const Scene &scene : scenes) {
      if (!scene.timed || (scene.rebuiltList != nullptr) != (pass == 1)) continue;
      scene.setState();
      display();
    }
  }
}
