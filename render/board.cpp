// Board scene and its six materials.
#include "render/board.h"

#include <GL/gl.h>

#include "game/state.h"
#include "render/primitives.h"
#include "render/sphere.h"

// Three RGBA colours; no shininess or emission is ever set, so the GL defaults hold for those.
struct MaterialSet {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
};

static const MaterialSet tilePlainMaterial = {
    {0.2f, 0.2f, 0.2f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
static const MaterialSet tileLoadedMaterial = { // one orb short of bursting: greener
    {0.2f, 0.2f, 0.2f, 1.0f},
    {0.8f, 1.0f, 0.8f, 1.0f},
    {0.0f, 0.0f, 0.0f, 1.0f}};
static const MaterialSet cursorPlayer1Material = {
    {0.3f, 0.2f, 0.2f, 1.0f}, {1.0f, 0.6f, 0.6f, 1.0f}, {0.1f, 0.0f, 0.0f, 1.0f}};
static const MaterialSet cursorPlayer2Material = {
    {0.2f, 0.2f, 0.3f, 1.0f}, {0.6f, 0.6f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.1f, 1.0f}};
// A specular channel of 5 with shininess 0 floods the lit side with the player's colour.
static const MaterialSet orbPlayer1Material = {
    {0.3f, 0.2f, 0.2f, 1.0f}, {1.0f, 0.6f, 0.6f, 1.0f}, {5.0f, 0.0f, 0.0f, 1.0f}};
static const MaterialSet orbPlayer2Material = {
    {0.2f, 0.2f, 0.3f, 1.0f}, {0.6f, 0.6f, 1.0f, 1.0f}, {0.0f, 0.0f, 5.0f, 1.0f}};

static void applyMaterial(const MaterialSet *material) {
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material->ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material->diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material->specular);
}

// Orb centres inside a tile, as offsets from its corner, for 1, 2, 3 and 4-or-more orbs.
static const double orbOffsets[4][4][2] = {
    {{5.5, 5.5}},
    {{3, 3}, {8, 8}},
    {{3, 3}, {8, 3}, {5.5, 8}},
    {{3, 3}, {8, 8}, {8, 3}, {3, 8}},
};

static void drawOrbs(int x, int y, int x0, int y0, int h) {
  applyMaterial(cellOwner[x][y] == 1 ? &orbPlayer1Material : &orbPlayer2Material);
  int shown = orbCount[x][y] < 4 ? orbCount[x][y] : 4;
  for (int k = 0; k < shown; k++) {
    const double *offset = orbOffsets[shown - 1][k];
    drawSphere((float)(x0 + offset[0]), (float)(y0 + offset[1]), (float)h, 2.0f, 3);
  }
}

void tileTopFace(int x, int y, float corner[3], float *size) {
  // Tiles 11 wide on a pitch of 13 from -51: the board spans -51..51 with gaps of 2. The top face
  // is at height 0 at critical mass, 3 lower for each orb short of it.
  corner[0] = (float)(13 * x - 51);
  corner[1] = (float)(13 * y - 51);
  corner[2] = (float)(3 * (orbCount[x][y] - criticalMass[x][y]));
  *size = 11.0f;
}

static void drawCell(int x, int y) {
  float corner[3], size;
  tileTopFace(x, y, corner, &size);
  int x0 = (int)corner[0], y0 = (int)corner[1], h = (int)corner[2];
  if (x == cursorX && y == cursorY && gamePhase == PHASE_AWAIT_MOVE) {
    applyMaterial(currentPlayer == 1 ? &cursorPlayer1Material : &cursorPlayer2Material);
  } else if (orbCount[x][y] >= criticalMass[x][y] - 1) {
    applyMaterial(&tileLoadedMaterial);
  } else {
    applyMaterial(&tilePlainMaterial);
  }
  drawBox(corner[0], corner[1], corner[2], size, size, -1.0f); // top face facing the eye
  if (orbCount[x][y] > 0) drawOrbs(x, y, x0, y0, h);
  if (burstFlag[x][y] != 0) {
    // The wave's colour is the mover's, whoever owned the cell before.
    applyMaterial(currentPlayer == 1 ? &orbPlayer1Material : &orbPlayer2Material);
    drawSphere((float)(x0 + 5.5), (float)(y0 + 5.5), (float)h, (float)burstStep, 15);
  }
}

void drawBoard(void) {
  if (gamePhase >= PHASE_PLAYER1_WON) {
    applyMaterial(gamePhase == PHASE_PLAYER1_WON ? &orbPlayer1Material : &orbPlayer2Material);
    drawSphere(0.0f, 0.0f, 0.0f, 37.0f, 100);
    return;
  }
  for (int x = 0; x < 8; x++) {
    for (int y = 0; y < 8; y++)
      drawCell(x, y);
  }
}
